#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the whole native test suite.
# Without a display the window tests get a virtual one, so they run rather
# than skip; their screenshots are left in build/linux/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh linux
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a ctest --preset linux "$@"
fi
exec ctest --preset linux "$@"
