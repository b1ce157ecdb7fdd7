#!/bin/bash
# Start-up of numerillo.exe against a minimal Qt window of the same size, both cross-built with
# the same static Qt (scripts/build-windows --bench), under wine on a private Xvfb.
#   bench/startup-windows.sh [RUNS]          (or RUNS=N; default 11)
# The measurement is bench/startup.sh's, run as it is: its startup_probe starts each program
# (here: wine with the .exe), takes the time to the first window mapped and to its first painted
# content on the X server, and the process's peak memory (VmHWM) 300 ms after that paint; wine
# runs a Windows program in a Linux process of its own, so that is the program's memory, wine's
# own code in it included. Runs are interleaved, after one warm-up run each, which also brings
# up the wine prefix's session on that Xvfb. Then the file sizes.
# Environment: BUILD_DIR, the Linux build with the probe (default: build); WINDOWS_BUILD, the
# cross build (default: build-windows/build-x86_64-bench); WINE_BENCH_PREFIX, the wine prefix
# (default: ~/.cache/numerillo/wine-x86_64-bench, set up on first use).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
windows_build=${WINDOWS_BUILD:-$root/build-windows/build-x86_64-bench}
probe=$build/bench/startup/startup_probe
prefix=${WINE_BENCH_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/numerillo/wine-x86_64-bench}

numerillo=$windows_build/numerillo.exe
minimal=$windows_build/minimal_window.exe
for program in "$numerillo" "$minimal"; do
    [ -f "$program" ] || {
        echo "startup-windows.sh: $program is missing (scripts/build-windows --bench x86_64)" >&2
        exit 2
    }
done
[ -x "$probe" ] || { echo "startup-windows.sh: $probe is missing (make bench-startup builds it)" >&2; exit 2; }
command -v wine >/dev/null || { echo "startup-windows.sh: wine is missing (apt-get install wine wine64)" >&2; exit 2; }

work=$(mktemp -d)
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A prefix of its own, set up once without a display, as scripts/wine-run sets up its own.
if [ ! -f "$prefix/.ready" ]; then
    echo "setting up the wine prefix $prefix"
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    (unset DISPLAY; wineboot --init >/dev/null 2>&1 && wineserver --wait)
    touch "$prefix/.ready"
fi
# Whatever of the prefix's session still runs is on some other display: it ends here.
wineserver -k 2>/dev/null || true

# The programs as shipped, stripped; each started by a script that the probe runs.
strip=x86_64-w64-mingw32-strip
for name in numerillo minimal; do
    exe=$numerillo
    [ $name = minimal ] && exe=$minimal
    "$strip" -o "$work/$name.exe" "$exe"
    # Qt's variables are bench/startup.sh's, for Linux programs: not for these.
    printf '#!/bin/sh\nunset QT_QPA_PLATFORM\nexec wine %s\n' "$work/$name.exe" >"$work/$name"
    chmod +x "$work/$name"
done

NUMERILLO=$work/numerillo MINIMAL=$work/minimal PROBE=$probe "$root/bench/startup.sh" "$@"

echo
size() { stat -c %s "$1"; }
printf '%-28s %10s bytes\n' "numerillo.exe (stripped)" "$(size "$work/numerillo.exe")"
printf '%-28s %10s bytes\n' "minimal_window.exe (stripped)" "$(size "$work/minimal.exe")"
awk -v a="$(size "$work/numerillo.exe")" -v b="$(size "$work/minimal.exe")" \
    'BEGIN { printf "%-28s %10.2f\n", "size ratio", a / b }'
for msi in "$root"/build-windows/x86_64/numerillo-*.msi "$root"/build-windows/i686/numerillo-*.msi; do
    [ -f "$msi" ] && printf '%-28s %10s bytes\n' "$(basename "$msi")" "$(size "$msi")"
done
