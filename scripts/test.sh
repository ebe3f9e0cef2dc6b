#!/usr/bin/env bash
# Sets everything up, builds the test preset and runs the whole suite.
# Usage: scripts/test.sh [testing|asan|debug]   (default: testing)
set -euo pipefail
preset="${1:-testing}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" "$preset"
cd "$root"
ctest --preset "$preset" -j "$(nproc)"
