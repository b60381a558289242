#!/usr/bin/env bash
# The benchmark table of `make bench` looks its figures up by benchmark name: every
# name it reads must be one that a benchmark program of the build runs, or a row
# would silently come out empty.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$build"
if grep -qs '^KELVIDRON_SANITIZE:BOOL=ON' CMakeCache.txt; then
  echo "skipped: the sanitized build makes no benchmarks; the plain build's run checks them"
  exit 77
fi
for b in bench/*_bench; do
  "./$b" --benchmark_list_tests=true >>"$work/listed" 2>"$work/errors" ||
    { echo "FAIL: $b could not list its benchmarks: $(cat "$work/errors")" >&2; exit 1; }
done
python3 "$source/scripts/bench_table.py" --names >"$work/read"
missing=$(grep -vxFf "$work/listed" "$work/read" || true)
if [[ -n "$missing" ]]; then
  echo "FAIL: the table reads benchmarks that no program runs:" >&2
  echo "$missing" >&2
  exit 1
fi
echo "ok: all $(wc -l <"$work/read") names the table reads are benchmarks of the build"
