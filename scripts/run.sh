#!/usr/bin/env bash
# Sets up and builds, then shows a link exchange with a simulated device
# (connect, identity, variant, serial number, version, disconnect).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh linux
build/linux/simulator/kst90-link-demo
