#!/usr/bin/env bash
# Renders every window and dialog of the desktop program in a representative state to
# build/screenshots/*.png (offscreen, 96 dpi, DejaVu fonts), and the test report's pages as the
# operator meets them on paper (report-page-*.png). Installs what it needs when it is missing:
# the build dependencies (scripts/deps.sh), LibreOffice Calc and poppler-utils for the report.
# Not part of the test run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEB_BUILD_DIR:-$root/build}
out=$build/screenshots

"$root/scripts/deps.sh" libreoffice-calc-nogui poppler-utils

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target zeb-screenshots zebctl

rm -rf "$out"
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 "$build/tools/zeb-screenshots" "$out"

ZEB_BUILD_DIR=$build "$root/scripts/report-preview.sh" >/dev/null
for page in "$build"/report-preview/page*.png; do
    name=$(basename "$page")
    cp "$page" "$out/report-${name}"
done
echo "Pictures in $out:"
ls "$out"
