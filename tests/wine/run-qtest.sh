#!/usr/bin/env bash
# Runs a cross-built QtTest suite under Wine. QtTest's log written to a pipe is lost under
# Wine, so the suite writes it to a file, which is then shown; the exit status is the suite's
# (its number of failures), so a failing test fails CTest. Wine's own output goes to a file
# too: the Wine services the first program starts outlive it, and would hold CTest's pipe.
# Usage: run-qtest.sh SUITE.exe [ARGS...]
set -uo pipefail
suite="$1"
shift
log="$(mktemp --suffix=.txt)"
output="$(mktemp)"
trap 'rm -f "$log" "$output"' EXIT
# Wine passes no QT_ variable to Windows programs; WINEQT_QPA_PLATFORM becomes QT_QPA_PLATFORM.
export WINEQT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
winlog="$(winepath -w "$log" 2>/dev/null </dev/null)"
wine "$suite" -o "$winlog",txt "$@" </dev/null >"$output" 2>&1
status=$?
cat "$output" "$log"
if [[ ! -s "$log" ]]; then
    echo "$(basename "$suite"): no test log was written (exit status $status)" >&2
    ((status != 0)) || status=1
fi
exit "$status"
