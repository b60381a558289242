#!/usr/bin/env bash
# The online duel on loopback, headless: the help, a join code refused, a duel on a
# clean link, one through a link with latency, jitter, loss, duplication, reordering
# and a rain of random and replayed datagrams, a side killed mid-duel and one that
# leaves. Every finished duel ends alike on both sides, with identical replays that
# kelvidron-replay matches. The whole impairment matrix is online_matrix.sh (make soak).
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$source/tests/e2e/online.bash"

"$online" --help >"$work/help" || fail "--help failed"
grep -q "kelvidron-online join HOST\[:PORT\] CODE" "$work/help" || fail "--help shows no join"
status=0
"$online" join 127.0.0.1 0OIL1 --no-window 2>"$work/badcode" || status=$?
[[ $status -eq 2 ]] && grep -q "is no join code" "$work/badcode" || fail "a malformed code: $status"

# A wrong code is refused on both sides, and the host waits on for the right one.
host_port=$next_port
next_port=$((next_port + 2))
timeout 60 "$online" host --port "$host_port" --no-window --keys "$p1_keys" \
  --record "$work/wait.kvr" >"$work/wait.out" 2>"$work/wait.err" &
host_pid=$!
wait_line "$work/wait.out" "join code: " "$host_pid" || fail "no join code"
code=$(sed -n 's/^join code: //p' "$work/wait.out")
wrong=$(tr 3479ACDE 79ACDE34 <<<"$code")
status=0
timeout 20 "$online" join "127.0.0.1:$host_port" "$wrong" --no-window >/dev/null 2>"$work/wrong.err" || status=$?
[[ $status -eq 1 ]] && grep -q "refused the join code" "$work/wrong.err" ||
  fail "a wrong code: status $status, $(cat "$work/wrong.err")"
wait_line "$work/wait.err" "kelvidron-online: a player tried a wrong join code; still waiting" "$host_pid" ||
  fail "the host did not say it refused a wrong code"
timeout 60 "$online" join "127.0.0.1:$host_port" "$code" --no-window --keys "$p2_keys" \
  --record "$work/wait-j.kvr" >"$work/wait-j.out" 2>"$work/wait-j.err" &
join_pid=$!
# A third player, while the duel runs, is told so.
wait_line "$work/wait-j.out" "kelvidron-online: the duel starts" "$join_pid" || fail "no duel after the right code"
status=0
timeout 20 "$online" join "127.0.0.1:$host_port" "$code" --no-window >/dev/null 2>"$work/third.err" || status=$?
[[ $status -eq 1 ]] && grep -q "a duel is already running" "$work/third.err" ||
  fail "a third player: status $status, $(cat "$work/third.err")"
wait "$host_pid" || fail "the host after the refusals: $(cat "$work/wait.err")"
wait "$join_pid" || fail "the joiner after the refusals: $(cat "$work/wait-j.err")"
cmp -s "$work/wait.kvr" "$work/wait-j.kvr" || fail "the replays after the refusals differ"

run_duel clean ""
expect_matching clean

run_duel rough "--delay 30 --jitter 10 --loss 0.05 --duplicate 0.05 --reorder 0.05 --garbage 100 --seed 7"
expect_matching rough
grep -q "garbage [1-9]" "$work/rough/relay.err" || fail "the relay sent no stray datagrams"

# Killed mid-duel: the other side waits no more than the 5 s of silence, then says so.
# The joiner runs under timeout: the program is its child.
kill_joiner() { kill -KILL "$(pgrep -P "$2")"; }
on_start=kill_joiner run_duel killed ""
[[ $host_status -eq 1 ]] && grep -q "connection lost" "$work/killed/h.err" ||
  fail "after the joiner was killed: status $host_status, $(cat "$work/killed/h.err")"
"$replay_program" check "$work/killed/h.kvr" >/dev/null || fail "the killed duel's replay does not check"
# Leaving (as Ctrl-C or closing the window does): the other side is told at once.
leave_joiner() { kill -TERM "$(pgrep -P "$2")"; }
on_start=leave_joiner run_duel left ""
[[ $host_status -eq 1 ]] && grep -q "the other player left" "$work/left/h.err" ||
  fail "after the joiner left: status $host_status, $(cat "$work/left/h.err")"
[[ $join_status -eq 0 ]] || fail "the joiner who left: status $join_status"
echo "online duels: all as expected"
