#!/usr/bin/env bash
# kelvidron-practice in a real window with real keys: player 1 holds keys of both key
# sets (yaw left on player 1's, thrust on player 2's arrows) while the level 3 pilot
# flies player 2. The computer hits the human side until its health is gone; the
# picture freezes with the end line, the recorded replay checks with kelvidron-replay,
# and the keys are in it as player 1's channels.
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/frames.bash"
work=$(mktemp -d)
practice=
cleanup() {
  stop "$practice"
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$build"

./kelvidron-practice --help >"$work/help"
grep -q -- "--watch" "$work/help" || fail "--help does not name --watch"
if ./kelvidron-practice --level 4 >"$work/bad" 2>&1; then fail "--level 4 was taken"; fi

LD_PRELOAD=$frame_counter FRAME_COUNTER_FILE=$work/swaps ./kelvidron-practice --level 3 \
  --seed 7 --record "$work/duel.kvr" >"$work/out" 2>"$work/err" &
practice=$!
wait_swaps "$work/swaps" 10 "$practice" || fail "no frames: $(cat "$work/err")"
window=$(xdotool search --name '^Kelvidron$' | head -n 1)
[[ -n "$window" ]] || fail "no window named Kelvidron"
xdotool windowfocus --sync "$window"
xdotool keydown j keydown Up

# The duel's end is printed once the step that ends it has run: wait on that line.
wait_line "$work/out" ".* wins after \|.* destroyed after " "$practice" ||
  fail "the program ended without an end line: $(cat "$work/out" "$work/err")"
xdotool keyup j keyup Up
end=$(tail -n 1 "$work/out")
echo "practice said: $end"
[[ "$end" == "The computer wins after "*": player 1 was hit 20 times, player 2 "*" times" ]] ||
  fail "unexpected end: $end"

# The picture freezes and stays up until the window is closed.
kill -0 "$practice" || fail "the program did not stay open at the end"
stop "$practice"
practice=

./kelvidron-replay check "$work/duel.kvr" >"$work/check" 2>&1 ||
  fail "the recorded duel does not check: $(cat "$work/check")"
grep -q "player 2 wins, matches" "$work/check" || fail "check says: $(cat "$work/check")"

# Player 1's channels in the recording: yaw left (bit 3, from 'j') and thrust forward
# (bit 0, from the up arrow of the other key set) held together in some run.
python3 - "$work/duel.kvr" <<'PY' || fail "the keys held are not player 1's channels in the replay"
import struct, sys
data = open(sys.argv[1], "rb").read()
pos, found = 32, False
while pos < len(data):
    kind, length = data[pos:pos + 1], struct.unpack_from("<I", data, pos + 4)[0]
    payload = data[pos + 12:pos + 12 + length]
    pos += 16 + length
    if kind != b"I":
        continue
    at = 14
    while at < len(payload):
        flags = payload[at]; at += 1
        if flags & 16:
            one = payload[at]; at += 2
            found = found or (one & 0b1001) == 0b1001
        while payload[at] & 0x80:
            at += 1
        at += 1
sys.exit(0 if found else 1)
PY
echo "ok: the computer hit the human side 20 times; $(tail -n 1 "$work/check")"
