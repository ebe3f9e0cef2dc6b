#!/usr/bin/env bash
# The Windows build's tests under Wine: the cross-built suites through CTest, then the
# packages end to end (tests/wine/package_test.sh). One scratch Wine prefix under build/,
# made once; Wine's server is stopped at the end whatever happened.
# Usage: windows_test.sh REPOSITORY   (after scripts/windows.sh)
set -euo pipefail
root="$1"
export WINEPREFIX="$root/build/wine" WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "== making the Wine prefix $WINEPREFIX"
    # Under a virtual X server wineboot asks nothing.
    xvfb-run -a wineboot -i </dev/null >"$root/build/wineboot.log" 2>&1
    wineserver -w
fi

cd "$root"
echo "== the Windows suites under Wine"
ctest --preset windows -j "$(nproc)"
# The packages start a Wine session of their own, on their display: one left from the suites,
# which ran without a display, may still be ending and would take their windows.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
echo "== the packages under Wine"
bash "$root/tests/wine/package_test.sh" "$root/build/windows"
