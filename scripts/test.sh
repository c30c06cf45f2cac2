#!/usr/bin/env bash
# Sets up, builds and runs every test and the start-up as an ordinary user; then builds and
# runs the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
export QT_QPA_PLATFORM=offscreen

echo "== build and test"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure --timeout 600

echo "== first identification after a start, as an ordinary user"
"$root/scripts/ordinary-user-test.sh" "$root/build"

echo "== build and test with AddressSanitizer + UndefinedBehaviorSanitizer"
"$root/scripts/build.sh" "$root/build-asan" -DZEB_SANITIZE=ON -DZEB_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure --timeout 900
