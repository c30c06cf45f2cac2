#!/usr/bin/env bash
# Installs the Debian packages the build needs, but only when one is missing. Package names
# given as arguments are installed along with them (the same way: only when missing).
# Sourced instead of run, it only defines install_missing for scripts that need other packages.
set -euo pipefail

# install_missing PACKAGE...: installs those of the named Debian packages that are not yet
# installed, with sudo when not root; does nothing (not even apt-get update) when all are there.
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local SUDO=""
        [ "$(id -u)" -ne 0 ] && SUDO=sudo
        $SUDO apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    install_missing build-essential cmake pkg-config clang libgtest-dev libgmock-dev \
        qt6-base-dev qt6-serialport-dev qt6-svg-dev libxlsxwriter-dev libzip-dev \
        fonts-dejavu-core poppler-utils "$@"
fi
