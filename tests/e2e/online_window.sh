#!/usr/bin/env bash
# One online duel in real windows, both sides on the suite's display and flown from
# key scripts: each opens the game's window, the duel runs to its end, both end by
# themselves two seconds later with status 0, and their replays are identical and
# match kelvidron-replay's check. (The impairments are the headless harness's.)
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$source/tests/e2e/online.bash"
[[ -n ${DISPLAY:-} ]] || { echo "no display: run under scripts/with-display.sh"; exit 77; }

cd "$build"
port=$next_port
timeout 120 "$online" host --port "$port" --keys "$p1_keys" --record "$work/h.kvr" \
  --stats "$work/h.stats" >"$work/h.out" 2>"$work/h.err" &
host_pid=$!
wait_line "$work/h.out" "join code: " "$host_pid" || fail "no join code: $(cat "$work/h.err")"
code=$(sed -n 's/^join code: //p' "$work/h.out")
timeout 120 "$online" join "127.0.0.1:$port" "$code" --keys "$p2_keys" --record "$work/j.kvr" \
  --stats "$work/j.stats" >"$work/j.out" 2>"$work/j.err" &
join_pid=$!
host_status=0
join_status=0
wait "$host_pid" || host_status=$?
wait "$join_pid" || join_status=$?
mkdir -p "$work/window"
mv "$work"/h.* "$work"/j.* "$work/window/"
expect_matching window
for side in h j; do
  grep -q "the duel is over after 322 steps: player 1 wins" "$work/window/$side.out" ||
    fail "side $side: $(cat "$work/window/$side.out" "$work/window/$side.err")"
done
echo "a windowed online duel: both ended alike"
