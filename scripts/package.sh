#!/usr/bin/env bash
# Builds the Debian package zeb_<version>_<arch>.deb in build-package/ (or the folder given as
# $1) with CPack, then checks it with lintian, which must report no errors. Installs lintian
# when it is missing. Prints the path of the package as its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build-package}

"$root/scripts/deps.sh" lintian dpkg-dev file

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
