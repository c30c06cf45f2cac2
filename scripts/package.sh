#!/usr/bin/env bash
# Builds the Debian package zeb_<version>_<arch>.deb in build-package/ (or the folder given as
# $1) with CPack, then checks it with lintian, which must report no errors. Installs lintian
# when it is missing. Prints the path of the package as its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build-package}

"$root/scripts/deps.sh"
missing=()
for p in lintian dpkg-dev file; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian's usual build flags (optimisation, fortified functions, stack protector, read-only
# relocations) plus immediate binding; no tests, benchmarks or fuzzers in a package build.
export DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DZEB_BUILD_TESTS=OFF -DZEB_BUILD_BENCH=OFF -DZEB_FUZZ=OFF -DZEB_SANITIZE=OFF \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
rm -f "$dir"/zeb_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/zeb_*.deb)

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "$deb"
