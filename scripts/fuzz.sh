#!/usr/bin/env bash
# make fuzz: runs every libFuzzer target of a fuzz build for a bounded time
# (FUZZ_SECONDS each, 60 by default), starting from the seeds under
# tests/data/<folder>/<target>/ and the dictionary <target>.dict beside
# them. A crash, a leak, a hang or an unexpected exception fails the run.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
found=0
for target in "$build"/tests/*/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=2048
        -print_final_stats=1)
  for dict in "$root"/tests/data/*/"$name".dict; do args+=(-dict="$dict"); done
  seeds=("$root"/tests/data/*/"$name")
  echo "== $name for ${seconds}s"
  "$target" "${args[@]}" "$corpus" "${seeds[@]}"
done
if [ "$found" -eq 0 ]; then
  echo "fuzz: no fuzz target in $build" >&2
  exit 1
fi
