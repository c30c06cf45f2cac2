#!/usr/bin/env bash
# Sets up, builds and runs the program's main job: an instrument simulator is started on a
# pseudo-terminal and zebctl scans the serial ports, identifies it and names the model found.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
bin=$root/build/tools

fifo=$(mktemp -u)
mkfifo "$fifo"
# zeb-sim prints its device path as the first line and then serves until its input closes.
sleep infinity | "$bin/zeb-sim" "$@" >"$fifo" &
sim=$!
trap 'kill $sim 2>/dev/null || true; pkill -P $$ sleep 2>/dev/null || true; rm -f "$fifo"' EXIT
exec 3<"$fifo"
read -r device <&3
echo "simulator serving $device"
ZEB_SERIAL_PORTS=$device "$bin/zebctl" scan
