#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for the given number of seconds, side by
# side, starting from the committed seed corpus in fuzz/corpus/. Inputs that reach
# new code are kept in <build>/corpus/ (not in the source tree); an input that makes
# a target fail is written to <build>/artifacts/ and the script fails: fix the
# fault and copy the input into fuzz/corpus/<target>/ as a regression case.
set -euo pipefail
build=$(cd "${1:-build-fuzz}" && pwd)
seconds=${2:-300}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/artifacts"

pids=()
names=()
for target in bmp tga relief replay packet; do
  mkdir -p "$build/corpus/$target" "$work/$target"
  # -rss_limit_mb: a reader that allocates what a header claims rather than what the
  # file holds fails here. -timeout: generous, for a loaded machine; an input takes
  # well under a second.
  TMPDIR="$work/$target" "$build/${target}_fuzzer" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" \
    "$build/corpus/$target" "$source_dir/fuzz/corpus/$target" \
    > "$work/$target.log" 2>&1 &
  pids+=($!)
  names+=("$target")
done

status=0
for i in "${!pids[@]}"; do
  name=${names[$i]}
  if wait "${pids[$i]}"; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$' || echo '?')
    echo "fuzz $name: ${seconds}s, $runs inputs, no failure"
  else
    status=1
    echo "fuzz $name: FAILED; the input is in $build/artifacts/; the run's end:" >&2
    tail -n 60 "$work/$name.log" >&2
  fi
done
exit $status
