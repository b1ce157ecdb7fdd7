#!/usr/bin/env bash
# The program on an 8-bit X screen, where Qt has nothing to paint with: one line that says so and
# status 1, never a crash.
#   tests/ui/shallow_screen.sh PROGRAM
set -euo pipefail
program=$1
command -v Xvfb >/dev/null || { echo "Xvfb is missing (Debian package xvfb)"; exit 1; }

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x8 -nolisten tcp >"$work/xvfb.log" 2>&1 3>"$work/display" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
display=$(tr -d '\n' <"$work/display")
[ -n "$display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }

mkdir -m 700 "$work/runtime"
status=0
said=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$display" XDG_RUNTIME_DIR="$work/runtime" \
    timeout 20 "$program" 2>&1) || status=$?
echo "status $status: $said"
[ "$status" -eq 1 ] || { echo "expected status 1"; exit 1; }
[ "$(printf '%s\n' "$said" | wc -l)" -eq 1 ] || { echo "expected one line"; exit 1; }
[[ $said == "numerillo: lo schermo ha 8 bit di colore, ne servono almeno 15." ]] ||
    { echo "expected the line about the colours"; exit 1; }
