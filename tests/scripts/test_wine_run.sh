#!/usr/bin/env bash
# scripts/wine-run against a stand-in for wine: a run that wine could not set up is started
# again, at most three times; the program's own failures and hangs are not.
set -euo pipefail

wine_run=$(realpath "$(dirname "$0")/../../scripts/wine-run")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/prefix"
touch "$work/prefix/.ready" "$work/program.exe"

# The stand-in plays one word of $PLAN per run of the program, in order:
#   ok        prints "ran" and ends with 0      fails     ends with 3
#   no-start  wine's "ShellExecuteEx failed",   hangs     sleeps well past any limit
#             on standard output, as start.exe writes it
#   no-window Qt's message for a thread without its window, then hangs
cat >"$work/bin/wine" <<'STAND_IN'
#!/usr/bin/env bash
[ "$3" = exit ] && exit 0
read -r -a plan <<<"$PLAN"
runs=$(cat "$WORK/runs" 2>/dev/null || echo 0)
echo $((runs + 1)) >"$WORK/runs"
case ${plan[$runs]:-ok} in
    ok) echo ran ;;
    fails) exit 3 ;;
    no-start) echo "ShellExecuteEx failed: Internal error."; exit 1 ;;
    hangs) sleep 60 ;;
    no-window)
        echo "CreateWindow() for QEventDispatcherWin32 internal window failed (Success.)" >&2
        sleep 60 ;;
esac
STAND_IN
chmod +x "$work/bin/wine"

failures=0
# case: plan, time limit, expected status, runs, what the output holds, what stderr holds
check() {
    local plan=$1 limit=$2 want_status=$3 want_runs=$4 want_output=$5 want_errors=$6
    local status=0 output errors runs
    rm -f "$work/runs"
    output=$(cd "$work" && PATH="$work/bin:$PATH" PLAN=$plan WORK=$work \
        WINE_RUN_TIME_LIMIT=$limit "$wine_run" --prefix="$work/prefix" program.exe \
        2>"$work/errors") || status=$?
    errors=$(cat "$work/errors")
    runs=$(cat "$work/runs")
    if [ "$status" != "$want_status" ] || [ "$runs" != "$want_runs" ] ||
        [[ $output != *"$want_output"* ]] || [[ $errors != *"$want_errors"* ]]; then
        echo "FAIL: plan \"$plan\": status $status (want $want_status), $runs runs" \
            "(want $want_runs)"
        echo "  output: $output"
        echo "  errors: $errors"
        failures=$((failures + 1))
    else
        echo "ok: plan \"$plan\""
    fi
}

check "ok" 0 0 1 ran ""
check "fails" 0 3 1 "" "ended with status 3, and wrote nothing"
check "no-window ok" 20 0 2 ran "attempt 1 of 3): CreateWindow()"
check "no-start ok" 20 0 2 ran "attempt 1 of 3): ShellExecuteEx failed"
check "no-start no-window ok" 20 0 3 ran "attempt 2 of 3): CreateWindow()"
check "no-window no-window no-window ok" 20 143 3 "" "internal window failed (Success.)"
check "hangs ok" 1 124 1 "" "did not end within 1 s"
check "fails ok" 0 3 1 "" ""

[ "$failures" -eq 0 ]
