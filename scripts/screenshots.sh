#!/usr/bin/env bash
# Renders every window and dialog of the desktop program in a representative state to
# build/screenshots/*.png (offscreen, 96 dpi, DejaVu fonts), and the test report's pages as the
# operator meets them on paper (report-page-*.png), and the issued PDF report's first page, a
# results page and last page for a 6-step and a 1000-step run (issued-6-*.png, issued-1000-*.png). Installs what it needs when it is missing:
# the build dependencies (scripts/deps.sh), LibreOffice Calc and poppler-utils for the report.
# Not part of the test run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEB_BUILD_DIR:-$root/build}
out=$build/screenshots

"$root/scripts/deps.sh" libreoffice-calc-nogui poppler-utils

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target zeb-screenshots zebctl report_bench

rm -rf "$out"
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 "$build/tools/zeb-screenshots" "$out"

ZEB_BUILD_DIR=$build "$root/scripts/report-preview.sh" >/dev/null
for page in "$build"/report-preview/page*.png; do
    name=$(basename "$page")
    cp "$page" "$out/report-${name}"
done
# The issued report: the 6-step one written by zeb-screenshots, the 1000-step one by the
# benchmark; the results page is the second.
QT_QPA_PLATFORM=offscreen "$build/bench/report_bench" "$out" >/dev/null
for run in 6 1000; do
    pdf=$out/issued-$run.pdf
    [ $run = 1000 ] && mv "$out/bench-1000.pdf" "$pdf"
    pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
    for page in 1 2 "$pages"; do
        pdftoppm -r 80 -png -singlefile -f "$page" -l "$page" "$pdf" "$out/issued-$run-page$page"
    done
done
echo "Pictures in $out:"
ls "$out"
