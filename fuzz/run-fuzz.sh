#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each, starting from the committed seeds in
# fuzz/corpus/NAME; what a run discovers goes to BUILD/corpus/NAME, so the
# committed seeds stay as they are. A crash leaves its input in BUILD/ and
# fails the run.
set -euo pipefail
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)

for target in high_scores script recording; do
  mkdir -p "$build/corpus/$target"
  dict=()
  if [ -f "$here/$target.dict" ]; then dict=(-dict="$here/$target.dict"); fi
  echo "fuzz: $target for ${seconds}s"
  log="$build/fuzz_$target.log"
  if ! "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/crash_${target}_" "${dict[@]}" \
      "$build/corpus/$target" "$here/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $target FAILED (input saved as $build/crash_${target}_*)"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz: $target ok, $runs executions"
done
