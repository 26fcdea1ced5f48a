#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X display of its own and
# waits for Wine to wind down before the display goes.
set -uo pipefail
xvfb-run -a -s "-screen 0 1024x768x24" bash -c 'wine "$@"; status=$?; wineserver -w; exit $status' \
  run_on_display "$@"
