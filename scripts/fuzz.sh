#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, address and undefined-behaviour
# sanitizers) and runs each fuzz target for a bounded time, default 30 s,
# from its seed corpus in fuzz/corpus/<target>; prints the executions of each.
# New inputs and any crashing input go to build/fuzz/runs/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"

declare -A max_len=(
  [language_setting_fuzz]=512 [port_discovery_fuzz]=4096
  [link_replies_fuzz]=1024 [row_decoder_fuzz]=220
)
targets=(language_setting_fuzz port_discovery_fuzz link_replies_fuzz row_decoder_fuzz)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}" kst90-soak >/dev/null

status=0
for target in "${targets[@]}"; do
  run="build/fuzz/runs/$target"
  mkdir -p "$run/corpus"
  # -timeout bounds one input in real time: the link works in virtual time,
  # so an input that takes seconds is a hang.
  if ! "build/fuzz/fuzz/$target" "$run/corpus" "fuzz/corpus/$target" \
    -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$run/" >"$run/log" 2>&1; then
    status=1
    echo "$target: FAILED (log: $run/log)"
    grep -E 'broken:|ERROR|SUMMARY|Test unit written' "$run/log" || tail -n 30 "$run/log"
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -n 1)
  printf '%-22s %10s executions in %s s\n' "$target" "${executions:-?}" "$seconds"
done
exit "$status"
