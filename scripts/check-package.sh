#!/usr/bin/env bash
# Checks a built package (path as $1) with dpkg-deb: its name, its control fields and its file
# list. What the desktop program brings (zeb, its menu entry and manual page) is required when
# the source tree has it, and the example document built from every examples/*.json and every
# standard profile of standards/profiles always.
# Exits non-zero on the first fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=$1

version=$(sed -n 's/^project(zeb VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
arch=$(dpkg --print-architecture)
fail() {
    echo "package check: $*" >&2
    exit 1
}

[ "$(basename "$deb")" = "zeb_${version}_${arch}.deb" ] || fail "file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zeb ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Section)" = electronics ] || fail "Section: $(field Section)"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
required_depends=(libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6serialport6 libxlsxwriter fonts-dejavu-core)
desktop=no
[ -f "$root/app/CMakeLists.txt" ] && desktop=yes
[ $desktop = yes ] && required_depends+=(libqt6widgets6 qt6-qpa-plugins libqt6svg6)
for d in "${required_depends[@]}"; do
    grep -q "\b$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done

files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
required_files=(
    ./usr/bin/zebctl
    ./usr/bin/zeb-sim
    ./usr/share/icons/hicolor/scalable/apps/zeb.svg
    ./usr/share/mime/packages/zeb.xml
    ./usr/share/doc/zeb/copyright
    ./usr/share/doc/zeb/changelog.gz
    ./usr/share/man/man1/zebctl.1.gz
    ./usr/share/man/man1/zeb-sim.1.gz
)
if [ $desktop = yes ]; then
    required_files+=(./usr/bin/zeb ./usr/share/applications/zeb.desktop ./usr/share/man/man1/zeb.1.gz)
fi
# Every example document, one for each JSON source beside the examples' build rules.
for example in "$root"/examples/*.json; do
    [ -e "$example" ] && required_files+=("./usr/share/zeb/examples/$(basename "$example" .json).zms")
done
# Every shipped standard profile.
for profile in "$root"/standards/profiles/*.json; do
    [ -e "$profile" ] && required_files+=("./usr/share/zeb/standards/$(basename "$profile")")
done
for f in "${required_files[@]}"; do
    grep -qxF "$f" <<<"$files" || fail "missing $f"
done
# Nothing outside /usr, and no build leftovers.
if grep -v '^\./usr/' <<<"$files" | grep -qv '^\./$'; then
    fail "files outside /usr: $(grep -v '^\./usr/' <<<"$files" | tr '\n' ' ')"
fi
if grep -qE '\.(a|o|h|cmake)$' <<<"$files"; then
    fail "build files in the package"
fi
dpkg-deb -f "$deb" Package Version Architecture Depends
echo "package check: $(basename "$deb") has ${#required_files[@]} required files and its control fields"
