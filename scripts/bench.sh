#!/usr/bin/env bash
# Builds the program, kst90-sim and the benchmark, then runs whole updates in
# real time against the simulated device pacing a 9600-baud line, and prints
# one table per image and adapter turnaround. Options go to kst90-bench
# (--turnaround 0,1,16 --image a,b --runs N); a build directory other than
# build/linux is named by KST_BUILD_DIR. Each run takes about 40 s: run it
# on a quiet machine, and note the load printed beside each table.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KST_BUILD_DIR:-build/linux}"
cmake --preset linux -B "$build" >/dev/null
cmake --build "$build" -j2 --target kst90-bench >/dev/null
"$build/bench/kst90-bench" "$@"
