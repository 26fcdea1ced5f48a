#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the whole native test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh linux
ctest --preset linux "$@"
