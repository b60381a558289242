#!/usr/bin/env bash
# The online duel's whole impairment matrix, headless on loopback (make soak): the same
# scripted duel under a clean link, 50 ms each way, 100 ms with 20 ms of jitter, 5%
# loss, bursts of 20% loss, duplication and reordering, random and replayed
# datagrams, one side on the C library's plainer maths, and a silence of 3 s; each
# must end alike on both sides with identical replays kelvidron-replay matches. Then a
# silence of 6 s, which ends the duel as a lost connection on both. Prints the table of
# figures (docs/online.md holds one).
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$source/tests/e2e/online.bash"

echo "| link | steps | rollbacks/min host / joiner | longest rollback | stalls/min | bytes/s sent host / joiner | shot to other side (ms) |"
echo "|---|---|---|---|---|---|---|"
row() {
  local name=$1 options=$2
  shift 2
  run_duel "$name" "$options" "$@"
  expect_matching "$name"
  figures_row "$name"
}
row clean ""
row "50 ms" "--delay 50"
row "100 ms, 20 ms jitter" "--delay 100 --jitter 20"
row "5% loss" "--loss 0.05"
row "bursts of 20% loss" "--burst 1000,300,0.2"
row "duplication, reordering" "--duplicate 0.1 --reorder 0.1 --jitter 5"
row "stray datagrams" "--garbage 200"
row "host without AVX2, FMA" "--delay 20" GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA
# The silence starts 4 s after the first datagram: past the 3 s countdown.
row "3 s silence" "--silence 4000,3000"
[[ $(stat "3 s silence" h stalls) -ge 1 ]] || fail "the 3 s silence did not stall the host"

run_duel "6 s silence" "--silence 4000,6000"
for side in h j; do
  grep -q "connection lost" "$work/6 s silence/$side.err" ||
    fail "6 s silence, side $side: $(cat "$work/6 s silence/$side.err")"
done
[[ $host_status -eq 1 && $join_status -eq 1 ]] || fail "6 s silence: statuses $host_status $join_status"
echo "6 s silence: connection lost on both sides, status 1"
