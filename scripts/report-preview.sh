#!/usr/bin/env bash
# Shows a test report the way a user meets it on paper: writes a report with zebctl (of the
# document given as $1, or of a built-in sample with judged steps and a long comment), prints it
# to PDF with LibreOffice headless and turns every page into a PNG in build/report-preview/.
# Installs LibreOffice Calc (without GUI) and poppler-utils when they are missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEB_BUILD_DIR:-$root/build}
out=$build/report-preview

# shellcheck source=deps.sh
source "$root/scripts/deps.sh"
install_missing libreoffice-calc-nogui poppler-utils

if [ ! -x "$build/tools/zebctl" ]; then
    "$root/scripts/deps.sh"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --parallel "$(nproc)" --target zebctl
fi
zebctl=$build/tools/zebctl

rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

doc=${1:-}
if [ -z "$doc" ]; then
    # A three-phase AC test: five voltages, both polarities, eight phase angles -> 80 steps,
    # so the step table runs over a page break. Steps are judged PASS, one FAIL with a long
    # comment, the last one left unjudged.
    cat >"$work/sample.json" <<'JSON'
{"record": {"m_ulMachineType": 5, "m_nHWVersion": 0, "m_ulPola": 3,
  "m_valVolt": {"m_nValueType": 2, "m_nVariableKind": 1,
                "m_abUse": [1, 1, 1, 1, 1, 0, 0, 0, 0, 0],
                "m_alValue": [500, 1000, 2000, 4000, 4400, 0, 0, 0, 0, 0]},
  "m_outOutput": {"m_nOutputPort": 0, "m_aopOutputPort": [
      {"m_nSync": 1,
       "m_valAngle": {"m_nValueType": 2, "m_nVariableKind": 0,
                      "m_abUse": [1, 1, 1, 1, 1, 1, 1, 1, 0, 0],
                      "m_alValue": [0, 45, 90, 135, 180, 225, 270, 315, 0, 0]}},
      {}, {}, {}, {}, {}, {}, {}, {}, {}]}}}
JSON
    "$zebctl" build "$work/sample.json" "$work/sample.zms" >/dev/null
    "$zebctl" dump "$work/sample.zms" |
        awk '/"m_nResult"/ { n++; r = (n == 7) ? 1 : (n == 80 ? 0 : 2);
                             sub(/[0-9]+/, r) }
             /"m_strComment"/ && n == 7 {
                 sub(/""/, "\"Arc between L2 and PE at the third discharge; the EUT restarted by itself after 4 s and ran without a fault afterwards.\"") }
             { print }' >"$work/judged.json"
    doc=$work/judged.json
fi

"$zebctl" report "$doc" "$out/report.xlsx" --test-time "$(date -d '2026-01-15 10:30:00' +%s)"
HOME=$work soffice -env:UserInstallation="file://$work/lo-profile" --headless \
    --convert-to pdf --outdir "$out" "$out/report.xlsx" >/dev/null
pdftoppm -png -r 70 "$out/report.pdf" "$out/page"
ls "$out"/page*.png
