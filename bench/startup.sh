#!/bin/bash
# Start-up of numerillo against a minimal Qt Widgets window of the same size, on a private Xvfb.
#   bench/startup.sh [RUNS]          (or RUNS=N bench/startup.sh; default 11)
# Runs the two programs in turn, RUNS times each, under startup_probe, and prints the medians
# (with min and max) of: time to the first window mapped, time to its first painted content, and
# peak resident memory (VmHWM) and resident memory (VmRSS) 300 ms after that paint.
# numerillo's paint time and peak memory are then compared with the minimal window's: the aim is
# at most 1.25 times as much of each.
# Environment: BUILD_DIR (default: build in the repository), or NUMERILLO, MINIMAL and PROBE for the
# three programs one by one; PAUSE, the probe's pause between two looks at the window in ms
# (default 0.5).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
numerillo=${NUMERILLO:-$build/app/numerillo}
minimal=${MINIMAL:-$build/bench/startup/minimal_window}
probe=${PROBE:-$build/bench/startup/startup_probe}
runs=${1:-${RUNS:-11}}
pause=${PAUSE:-0.5}
limit=1.25

[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "startup.sh: RUNS must be a positive number, not '$runs'" >&2; exit 2; }
for program in "$numerillo" "$minimal" "$probe"; do
    [ -x "$program" ] || { echo "startup.sh: $program is missing; build it first (cmake --build build)" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "startup.sh: Xvfb is missing (apt-get install xvfb)" >&2; exit 2; }

work=$(mktemp -d)
xvfb=
cleanup() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A display of our own. -br keeps the root plain black, so a window that is mapped but not yet
# painted reads as one colour; -noreset keeps the server as it is between runs.
for d in $(seq 90 190); do [ -e "/tmp/.X11-unix/X$d" ] || [ -e "/tmp/.X$d-lock" ] || break; done
Xvfb ":$d" -screen 0 1280x1024x24 -nolisten tcp -br -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$d" ] && break; sleep 0.05; done
[ -e "/tmp/.X11-unix/X$d" ] || { echo "startup.sh: Xvfb :$d did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

export DISPLAY=:$d QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# probe NAME PROGRAM: one measured start; its result line is appended to $work/NAME.
probe_once() {
    local name=$1 program=$2 line
    if ! line=$("$probe" -i "$pause" -- "$program" 2>>"$work/$name.log"); then
        echo "startup.sh: the probe failed on $program; its messages:" >&2
        tail -n 20 "$work/$name.log" >&2
        exit 1
    fi
    [ "${3:-}" = warm-up ] || echo "$line" >>"$work/$name"
    printf '  %-10s %s\n' "$name" "$line"
}

echo "Xvfb :$d 1280x1024x24, $runs runs each, interleaved (after one warm-up run each, not counted)"
probe_once numerillo "$numerillo" warm-up >/dev/null
probe_once minimal "$minimal" warm-up >/dev/null
for i in $(seq "$runs"); do
    echo "run $i"
    probe_once numerillo "$numerillo"
    probe_once minimal "$minimal"
done

# field NAME KEY: the values of KEY=... in NAME's result lines, sorted.
field() { sed -n "s/.*\\b$2=\\([0-9.]*\\).*/\\1/p" "$work/$1" | sort -g; }
# median/min/max of sorted numbers on standard input.
stats() { awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%s %s %s\n", m, v[1], v[NR] }'; }

echo
printf '%-13s %-26s %-26s %s\n' "" "numerillo med (min-max)" "minimal med (min-max)" "ratio"
report() {
    local key=$1 unit=$2 target=${3:-} a b ratio verdict=
    read -r a amin amax < <(field numerillo "$key" | stats)
    read -r b bmin bmax < <(field minimal "$key" | stats)
    ratio=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')
    if [ -n "$target" ]; then
        if awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r <= l) }'; then
            verdict="  within $limit: yes"
        else
            verdict="  within $limit: NO"
        fi
    fi
    printf '%-13s %-26s %-26s %s%s\n' "$key" "$a $unit ($amin-$amax)" "$b $unit ($bmin-$bmax)" "$ratio" "$verdict"
}
report map_ms ms
report paint_ms ms target
report vmhwm_kb kB target
report vmrss_kb kB
