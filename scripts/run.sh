#!/usr/bin/env bash
# Sets up and builds, then starts the update wizard: in a window where a
# display exists, in the terminal otherwise.
#
# Unless a real port is named, a simulated device is attached as COM4, posing
# as the maker's USB adapter, so the port step preselects it:
#   scripts/run.sh                   wizard + simulated device
#   scripts/run.sh --port COM33      a real device on COM33 (terminal, straight to the update)
#   scripts/run.sh --real [options]  the machine's own ports only
# Any other option goes to the program (--terminal, --lang fr|en, --yes, --no;
# see README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh linux >/dev/null

program=build/linux/app/Kst90VIIMj3_5Daz
args=()
simulate=1
for arg in "$@"; do
  case "$arg" in
    --real) simulate=0 ;;
    --port | --port=*) simulate=0; args+=("$arg") ;;
    *) args+=("$arg") ;;
  esac
done
if ((!simulate)); then
  exec "$program" "${args[@]}"
fi

# The simulated device's COM link lives in a folder of its own, so nothing
# else on the machine sees it and nothing is left behind.
KST90_COM_DIR="$(mktemp -d)"
export KST90_COM_DIR
build/linux/simulator/kst90-sim --com 4 --as-adapter >/dev/null &
simulator=$!
trap 'kill "$simulator" 2>/dev/null; wait "$simulator" 2>/dev/null; rm -rf "$KST90_COM_DIR"' EXIT
for _ in $(seq 50); do
  [ -e "$KST90_COM_DIR/COM4" ] && break
  sleep 0.1
done
status=0
"$program" "${args[@]}" || status=$?
exit "$status"
