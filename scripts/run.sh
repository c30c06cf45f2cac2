#!/usr/bin/env bash
# Builds the program and starts it against the built-in instrument simulator. Arguments are
# passed to the program (for example --simulate=6 build/examples/dc-ring-wave.zms).
# Without a display the desktop program cannot show a window: the headless demonstration runs
# instead, a sample document on the standalone simulator with zebctl, writing its report.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
build=$root/build

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    if [[ $# -eq 0 ]]; then
        set -- --simulate
    fi
    exec "$build/app/zeb" "$@"
fi

echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the headless demonstration."
example=$build/examples/dc-ring-wave.zms
report=$root/build/demo-report.xlsx
fifo=$(mktemp -u)
mkfifo "$fifo"
# zeb-sim prints its device path as the first line and then serves until its input closes.
# The sample is for a ZEB-M40B3 (machine type 6); the instrument's clock runs 50 times faster.
sleep infinity | "$build/tools/zeb-sim" --machine-type 6 --time-scale 50 >"$fifo" &
sim=$!
trap 'kill $sim 2>/dev/null || true; pkill -P $$ sleep 2>/dev/null || true; rm -f "$fifo"' EXIT
exec 3<"$fifo"
read -r device <&3
echo "simulator serving $device"
export ZEB_SERIAL_PORTS=$device
"$build/tools/zebctl" scan
# The report of the previous demonstration goes first: zebctl never replaces a file.
rm -f "$report"
"$build/tools/zebctl" run "$example" --report "$report"
echo "report written to $report"
