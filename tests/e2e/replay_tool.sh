#!/usr/bin/env bash
# kelvidron-replay without a window: replays made from key scripts check as they were
# made; a changed hash names its step (1), a damaged file is refused (2), another
# build's fingerprint is refused (3).
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
replay="$build/kelvidron-replay"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the tool, expecting the exit status $1; its output is left in $work/out.
expect_status() {
  local want=$1
  shift
  local status=0
  "$replay" "$@" >"$work/out" 2>&1 || status=$?
  [[ $status -eq $want ]] || fail "$* gave status $status, not $want: $(cat "$work/out")"
}

# Rewrites bytes of a replay at an offset and mends the checksum that covers them, so
# that only the reader's deeper checks can tell.
patch() {
  python3 - "$@" <<'PY'
import struct, sys, zlib
path, offset, value = sys.argv[1], int(sys.argv[2]), bytes.fromhex(sys.argv[3])
data = bytearray(open(path, "rb").read())
data[offset:offset + len(value)] = value
if offset < 24:
    data[24:28] = struct.pack("<I", zlib.crc32(data[:24]))
else:
    length = struct.unpack_from("<I", data, 36)[0]
    data[44 + length:48 + length] = struct.pack("<I", zlib.crc32(data[32:44 + length]))
open(path, "wb").write(data)
PY
}

expect_status 0 --help
grep -q "kelvidron-replay check FILE" "$work/out" || fail "--help does not show check"
expect_status 2 frobnicate

# The computer pilot's duels kept from its league play back as recorded.
for kept in "$source"/tests/e2e/replays/*.kvr; do
  expect_status 0 check "$kept"
  [[ $(tail -n 1 "$work/out") == *" wins, matches" ]] || fail "check of $kept: $(cat "$work/out")"
done

expect_status 0 make "$source/tests/e2e/replays/player_one_wins.keys" "$work/won.kvr"
expect_status 0 check "$work/won.kvr"
[[ $(tail -n 1 "$work/out") == "320 steps, 0:03.20, player 1 wins, matches" ]] ||
  fail "check of the won duel: $(cat "$work/out")"

expect_status 0 make "$source/tests/e2e/scenes/planet_shot_ship_explosion.keys" "$work/scene.kvr" \
  --steps 450
expect_status 0 check "$work/scene.kvr"
[[ $(tail -n 1 "$work/out") == "450 steps, 0:04.50, unfinished, matches" ]] ||
  fail "check of the scene: $(cat "$work/out")"

# The first chunk's hash (after step 100) changed: the duel differs there.
cp "$work/scene.kvr" "$work/hash.kvr"
patch "$work/hash.kvr" 50 0000000000000000
expect_status 1 check "$work/hash.kvr"
grep -q "differs from the recording after step 100" "$work/out" || fail "mismatch: $(cat "$work/out")"

cp "$work/scene.kvr" "$work/fingerprint.kvr"
patch "$work/fingerprint.kvr" 16 0102030405060708
expect_status 3 check "$work/fingerprint.kvr"
grep -q "simulates differently" "$work/out" || fail "fingerprint: $(cat "$work/out")"

cp "$work/scene.kvr" "$work/flipped.kvr"
printf '\x55' | dd of="$work/flipped.kvr" bs=1 seek=60 conv=notrunc status=none
expect_status 2 check "$work/flipped.kvr"
grep -q "flipped.kvr: .*damaged" "$work/out" || fail "flipped byte: $(cat "$work/out")"

# Cut after the header, as a recording killed mid-duel leaves it.
head -c $(($(stat -c %s "$work/scene.kvr") - 10)) "$work/scene.kvr" >"$work/cut.kvr"
expect_status 0 check "$work/cut.kvr"
grep -q "incomplete after step" "$work/out" || fail "cut file: $(cat "$work/out")"
[[ $(tail -n 1 "$work/out") == *", unfinished, matches" ]] || fail "cut file: $(cat "$work/out")"

: >"$work/empty.kvr"
expect_status 2 check "$work/empty.kvr"
grep -q "empty.kvr: the file is empty" "$work/out" || fail "empty: $(cat "$work/out")"
expect_status 2 check "$work"
expect_status 2 check "$work/missing.kvr"
echo "ok: replays made, checked, and every damaged one refused"
