#!/usr/bin/env bash
# Installs the Debian packages the build needs, but only when one is missing.
set -euo pipefail
packages=(build-essential cmake pkg-config clang libgtest-dev libgmock-dev
          qt6-base-dev qt6-serialport-dev qt6-svg-dev libxlsxwriter-dev libzip-dev
          fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
