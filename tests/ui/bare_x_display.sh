#!/usr/bin/env bash
# The program on a bare X display: a private Xvfb with no window manager, no session bus and no
# runtime directory.
#   tests/ui/bare_x_display.sh PROGRAM shallow   on an 8-bit screen, where Qt has nothing to
#                                                paint with: one line that says so and status 1
#   tests/ui/bare_x_display.sh PROGRAM traces    started and ended with Escape: status 0, nothing
#                                                said, no file written under HOME or TMPDIR, and
#                                                no process of its own left running
set -euo pipefail
program=$1
case=$2
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (make deps)"; exit 1; }
done

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

case $case in
    shallow) depth=8 ;;
    traces) depth=24 ;;
    *) echo "no such case: $case"; exit 2 ;;
esac
Xvfb -displayfd 3 -screen 0 "1024x768x$depth" -nolisten tcp >"$work/xvfb.log" 2>&1 \
    3>"$work/display" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
display=:$(tr -d '\n' <"$work/display")
[ "$display" != : ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }

mkdir "$work/home" "$work/tmp"
marker=numerillo-bare-x-$$-$RANDOM
run() {
    env -i PATH="$PATH" DISPLAY="$display" HOME="$work/home" TMPDIR="$work/tmp" LANG=C.UTF-8 \
        NUMERILLO_TEST_MARKER="$marker" "$@"
}

shallow() {
    local status=0 said
    said=$(run timeout 20 "$program" 2>&1) || status=$?
    echo "status $status: $said"
    [ "$status" -eq 1 ] || { echo "expected status 1"; return 1; }
    [[ $said == "numerillo: lo schermo ha 8 bit di colore, ne servono almeno 15." ]] ||
        { echo "expected one line about the colours"; return 1; }
}

traces() {
    run timeout 20 "$program" >"$work/said" 2>&1 &
    started=$!
    window=$(DISPLAY=$display timeout 10 xdotool search --sync --onlyvisible --name '^Numerillo$' |
        head -n 1)
    [ -n "$window" ] || { echo "no window appeared:"; cat "$work/said"; exit 1; }
    # With no window manager, the focus goes where it is put.
    DISPLAY=$display xdotool windowfocus --sync "$window" key Escape
    local status=0 failed=0
    wait "$started" || status=$?
    echo "status $status; said: $(cat "$work/said")"
    [ "$status" -eq 0 ] || { echo "expected status 0"; failed=1; }
    [ ! -s "$work/said" ] || { echo "expected nothing said"; failed=1; }
    for dir in home tmp; do
        left=$(find "$work/$dir" -mindepth 1)
        [ -z "$left" ] || { echo "left in $dir: $left"; failed=1; }
    done
    sleep 0.2
    for environ in /proc/[0-9]*/environ; do
        if grep -qz "^NUMERILLO_TEST_MARKER=$marker$" "$environ" 2>/dev/null; then
            pid=${environ#/proc/}
            pid=${pid%/environ}
            echo "left running: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
            kill "$pid" 2>/dev/null || true
            failed=1
        fi
    done
    return "$failed"
}

"$case"
