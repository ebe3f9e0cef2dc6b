#!/usr/bin/env bash
# Sets everything up, builds Huddlex and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" release
program="$root/build/release/bin/huddlex"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display found: starting Huddlex on a virtual X server (xvfb-run)." >&2
    exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
