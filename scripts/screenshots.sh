#!/usr/bin/env bash
# Remakes the README's screenshots in docs/screenshots/: builds the release preset and the
# screenshot tool, then grabs the real windows on a virtual X server at twice the size, and
# the main window once more at its real size (main-window-1x.png), then the league check's page.
# Usage: scripts/screenshots.sh [output folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/docs/screenshots}"
"$root/scripts/setup.sh" release
cmake --build --preset release --target huddlex-screenshots
tool="$root/build/release/bin/huddlex-screenshots"
QT_SCALE_FACTOR="${QT_SCALE_FACTOR:-2}" xvfb-run -a -s "-screen 0 2560x1600x24 -dpi 96" "$tool" "$out"
actual="$(mktemp -d)"
trap 'rm -rf "$actual"' EXIT
QT_SCALE_FACTOR=1 xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" "$tool" "$actual" >/dev/null
cp "$actual/main-window.png" "$out/main-window-1x.png"
echo "$out/main-window-1x.png"
# The league check's page in chromium: its test takes the picture.
"$root/scripts/setup.sh" testing >/dev/null
HUDDLEX_LEAGUE_SCREENSHOT="$out/league-page.png" "$root/build/testing/bin/tst_leaguehtml" inChromium >/dev/null
echo "$out/league-page.png"
