#!/usr/bin/env bash
# Runs every benchmark program of the build from the build folder (where Data/ is)
# and prints one table of the figures with their targets, then the computer pilot's
# table from kelvidron-pilot-league. Each program's own report and its JSON results
# stay in bench-results/ of the build folder.
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
cd "$build"
results=bench-results
rm -rf "$results"
mkdir -p "$results"
status=0
for b in bench/*_bench; do
  [[ -x "$b" ]] || continue
  name=$(basename "$b")
  echo "running $name ..." >&2
  if ! "./$b" --benchmark_out="$results/$name.json" --benchmark_out_format=json \
      >"$results/$name.log" 2>&1; then
    echo "error: $name failed; its report is in $build/$results/$name.log" >&2
    status=1
  fi
done
echo >&2
python3 "$scripts/bench_table.py" "$results" || status=1
# The computer pilot's levels measured in duels without a window (minutes): its own
# table, kept beside the others' results.
if [[ -x ./kelvidron-pilot-league ]]; then
  echo >&2
  echo "running kelvidron-pilot-league ..." >&2
  if ./kelvidron-pilot-league >"$results/pilot-league.md"; then
    echo
    echo "Computer pilot, duels without a window (20 a pairing):"
    echo
    cat "$results/pilot-league.md"
  else
    echo "error: kelvidron-pilot-league failed" >&2
    status=1
  fi
fi
exit $status
