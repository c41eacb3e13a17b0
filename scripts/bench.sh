#!/usr/bin/env bash
# make bench: runs every benchmark of the build and prints its figures.
set -euo pipefail
build=${1:-build}
shopt -s nullglob
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
