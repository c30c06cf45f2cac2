#!/usr/bin/env bash
# The first identification after a start, as an ordinary user: RUNS times (20) `zebctl scan`
# against a freshly started zeb-sim, and RUNS starts of `zeb --simulate=6` offscreen; each must
# identify the simulated instrument. A start counts as identified when the main window with its
# first document is drawn: without an instrument the machine selection dialog would wait for a
# choice first, and nobody makes one here.
#
# Run as root, it makes a throw-away user (zeb-ci) for the test, and before that leaves in the
# lock folder what a killed program of root leaves behind: a serial lock file for every
# pseudo-terminal number free now (those are the numbers the simulators get next). An ordinary
# user cannot remove such a file, so any simulator that offered the kernel's reused pty name
# would not be found. The files are removed again at the end. Not root and without sudo, it
# runs as the current user and leaves no lock files.
#
# usage: scripts/ordinary-user-test.sh [BUILD_DIR]   (default build/; RUNS in the environment)
set -euo pipefail

user=zeb-ci
runs=${RUNS:-20}
parallel=4        # program starts at a time; each holds its opening dialog for 2 s
start_timeout=30  # seconds for one start or scan under a loaded machine

# ---- the part that runs as the test user: $2 is the private work folder -----------------------
if [[ ${1:-} == --as-user ]]; then
    work=$2
    bin=$work/bin
    cd "$work"
    unset ZEB_SERIAL_PORTS DISPLAY WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=offscreen
    failed=0

    # Everything a run writes (settings, the single-instance lock, the simulator's device
    # link) goes into a folder of its own.
    private_env() {
        local dir=$1
        mkdir -p "$dir/config" "$dir/runtime"
        chmod 700 "$dir/runtime"
        export HOME=$dir XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir/runtime TMPDIR=$dir
    }

    scan_once() {
        local dir=$1
        (
            private_env "$dir"
            mkfifo "$dir/sim-in" "$dir/sim-out"
            "$bin/zeb-sim" --machine-type 6 <"$dir/sim-in" >"$dir/sim-out" 2>"$dir/sim.log" &
            local sim=$!
            exec 4>"$dir/sim-in" 3<"$dir/sim-out"
            local device=
            read -r -t "$start_timeout" device <&3 || true
            local rc=1
            if [[ -n $device ]]; then
                ZEB_SERIAL_PORTS=$device timeout "$start_timeout" "$bin/zebctl" scan \
                    >"$dir/scan.out" 2>"$dir/scan.err" && rc=0
            fi
            exec 4>&- 3<&-
            wait "$sim" || true
            [[ $rc -eq 0 ]] && grep -q '^ident=0x' "$dir/scan.out" &&
                grep -qx 'machinetype=6' "$dir/scan.out"
        )
    }

    start_once() {
        local dir=$1
        (
            private_env "$dir"
            ZEB_REPORT_SHOWN=1 timeout "$start_timeout" "$bin/zeb" --simulate=6 \
                >"$dir/zeb.out" 2>"$dir/zeb.err" &
            local zeb=$!
            local waited=0
            while ! grep -q '^zeb: shown' "$dir/zeb.out" 2>/dev/null; do
                kill -0 "$zeb" 2>/dev/null || break
                sleep 0.1
                waited=$((waited + 1))
                [[ $waited -lt $((start_timeout * 10)) ]] || break
            done
            kill "$zeb" 2>/dev/null || true
            wait "$zeb" 2>/dev/null || true
            grep -q '^zeb: shown' "$dir/zeb.out"
        )
    }

    report() {  # kind number folder ok
        if [[ $4 == ok ]]; then
            return
        fi
        failed=$((failed + 1))
        echo "FAILED: $1 $2 did not identify the instrument"
        for f in "$3"/scan.err "$3"/zeb.err "$3"/sim.log; do
            if [[ -s $f ]]; then
                sed 's/^/    /' "$f" | head -20
            fi
        done
    }

    scans_ok=0
    for ((i = 1; i <= runs; i++)); do
        dir=$work/home/scan-$i
        if scan_once "$dir"; then
            scans_ok=$((scans_ok + 1))
            report scan "$i" "$dir" ok
        else
            report scan "$i" "$dir" failed
        fi
    done

    starts_ok=0
    for ((i = 1; i <= runs; i += parallel)); do
        pids=()
        for ((j = i; j < i + parallel && j <= runs; j++)); do
            start_once "$work/home/start-$j" &
            pids+=("$!")
        done
        for ((k = 0; k < ${#pids[@]}; k++)); do
            if wait "${pids[$k]}"; then
                starts_ok=$((starts_ok + 1))
            else
                report start "$((i + k))" "$work/home/start-$((i + k))" failed
            fi
        done
    done

    # A program ended by a signal leaves its serial lock file; these name our own folders.
    prefix=$(printf 'LCK..%s' "${work//\//_}")
    for folder in /var/lock /run/lock /tmp /var/tmp; do
        rm -f "$folder/$prefix"* 2>/dev/null || true
    done

    echo "as $(id -un): $scans_ok of $runs scans and $starts_ok of $runs starts identified the instrument"
    [[ $scans_ok -eq $runs && $starts_ok -eq $runs ]]
    exit
fi

# ---- the part that prepares and hands over -------------------------------------------------
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
for program in app/zeb tools/zebctl tools/zeb-sim; do
    if [[ ! -x $build/$program ]]; then
        echo "ordinary-user-test: $build/$program is missing; build first" >&2
        exit 2
    fi
done

if [[ $(id -u) -ne 0 ]] && command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    exec sudo -n RUNS="$runs" "$0" "$build"
fi

# The build folder may sit where the test user cannot read; the programs are copied to a
# private folder that user can use.
work=$(mktemp -d /tmp/zeb-user-test.XXXXXX)
planted=()
dead_pid=
cleanup() {
    for f in "${planted[@]}"; do
        # Only a file still as it was left: someone may have taken the number since.
        if [[ $(head -n1 "$f" 2>/dev/null) == "$dead_pid" ]]; then
            rm -f "$f"
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/bin" "$work/home"
cp "$build/app/zeb" "$build/tools/zebctl" "$build/tools/zeb-sim" "$0" "$work/bin/"
chmod 755 "$work" "$work/bin" "$work/bin/"*
script=$work/bin/$(basename "$0")

if [[ $(id -u) -eq 0 ]]; then
    if ! id "$user" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
    fi
    chown "$user:" "$work/home"
    if [[ -d /var/lock && -w /var/lock ]]; then
        # A process number that has certainly ended: a subshell that was waited for.
        (exit 0) &
        dead_pid=$!
        wait "$dead_pid"
        for ((n = 0; n < 64; n++)); do
            f=/var/lock/LCK..pts_$n
            [[ -e /dev/pts/$n || -e $f ]] && continue
            printf '%s\nzeb-sim\n%s\n' "$dead_pid" "$(hostname)" >"$f"
            chmod 644 "$f"
            planted+=("$f")
        done
        echo "left ${#planted[@]} lock files of root behind for the free pty numbers"
    fi
    runuser -u "$user" -- bash "$script" --as-user "$work"
else
    echo "not root and no sudo: running as $(id -un)"
    bash "$script" --as-user "$work"
fi
