#!/usr/bin/env bash
# Remakes the README's screenshots in docs/screenshots/: builds the release preset and the
# screenshot tool, then grabs the real windows on a virtual X server at twice the size.
# Usage: scripts/screenshots.sh [output folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/docs/screenshots}"
"$root/scripts/setup.sh" release
cmake --build --preset release --target huddlex-screenshots
QT_SCALE_FACTOR="${QT_SCALE_FACTOR:-2}" xvfb-run -a -s "-screen 0 2560x1600x24" \
    "$root/build/release/bin/huddlex-screenshots" "$out"
