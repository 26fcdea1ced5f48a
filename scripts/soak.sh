#!/usr/bin/env bash
# Builds the soak tool and runs a long series of whole updates under random
# faults in virtual time: scripts/soak.sh [runs, default 1000] [seed, default 1].
# Prints the runs, the faults by kind, the outcomes and any problem; exits 1
# when a run broke an expectation.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-1000}"
seed="${2:-1}"
cmake --preset linux >/dev/null
cmake --build --preset linux --target kst90-soak >/dev/null
build/linux/soak/kst90-soak --runs "$runs" --seed "$seed"
