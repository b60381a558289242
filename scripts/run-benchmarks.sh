#!/usr/bin/env bash
# Runs every benchmark program of the build from the build folder.
set -euo pipefail
build=${1:-build}
cd "$build"
for b in bench/*_bench; do
  [[ -x "$b" ]] || continue
  echo "== $(basename "$b")"
  "./$b" --benchmark_counters_tabular=true
done
