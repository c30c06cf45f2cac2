#!/usr/bin/env bash
# What a screen reader on the AT-SPI bus hears of zeb: starts it with a simulated instrument under
# a virtual display and an accessibility bus of its own, presses the controls named on the command
# line, and prints the named controls (scripts/atspi-names.py). Needs Xvfb, dbus, at-spi2-core and
# python3-pyatspi. Not part of the test run.
#   scripts/atspi-names.sh "push button:Test execution" "push button:OK"
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEB_BUILD_DIR:-$root/build}
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ -z "${ZEB_ATSPI_INNER:-}" ]; then
    exec env ZEB_ATSPI_INNER=1 dbus-run-session -- "$0" "$@"
fi
home=$(mktemp -d)
trap 'kill $zeb $bus $display 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
Xvfb :97 -screen 0 1400x1000x24 >/dev/null 2>&1 &
display=$!
export DISPLAY=:97
sleep 1
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$build/app/zeb" --simulate=6 \
    >"$home/zeb.log" 2>&1 &
zeb=$!
timeout 120 /usr/bin/python3 "$root/scripts/atspi-names.py" ZEB "$@"
