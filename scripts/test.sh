#!/usr/bin/env bash
# Sets everything up, builds the test preset and runs the whole suite.
# Usage: scripts/test.sh [testing|asan|debug|windows]   (default: testing)
# `windows` cross-builds the Windows packages and test suites (scripts/windows.sh) and runs
# the suites and the packages under Wine (tests/wine/windows_test.sh).
set -euo pipefail
preset="${1:-testing}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [[ "$preset" == windows ]]; then
    "$root/scripts/windows.sh"
    exec "$root/tests/wine/windows_test.sh" "$root"
fi
"$root/scripts/setup.sh" "$preset"
cd "$root"
ctest --preset "$preset" -j "$(nproc)"
