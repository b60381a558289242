#!/usr/bin/env bash
# kelvidron-replay with the game's window, under real X key events: a duel recorded
# with real keys checks as recorded, whether the recording is stopped (Ctrl-C's
# signal: the duel so far is kept whole) or killed (all but the last chunk kept);
# play follows the watcher's keys and ends as the recording does.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill -9 "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
replay="$build/kelvidron-replay"
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$build"

# The game writes a chunk of a second's steps at a time: waits until the file holds
# more than $2 bytes, which only steps run can bring.
grown_past() {
  local end=$((SECONDS + 60))
  until (( $(stat -c %s "$1" 2>/dev/null || echo 0) > $2 )); do
    (( SECONDS < end )) || fail "$1 stayed at $(stat -c %s "$1" 2>/dev/null) bytes"
  done
}
# Waits until the program's standard output has a line matching $2.
said() {
  local end=$((SECONDS + 60))
  until grep -q -- "$2" "$1"; do
    (( SECONDS < end )) || fail "never said '$2': $(cat "$1")"
  done
}
window=""
game_window() {
  window=$(timeout 30 xdotool search --sync --name "$1" | head -n 1)
  [[ -n "$window" ]] || fail "no window named '$1'"
  xdotool windowfocus --sync "$window"
}

# Player 1 turns left and fires three times; player 2 fires once.
"$replay" record "$work/real.kvr" >"$work/game.out" 2>"$work/record.err" &
pid=$!
game_window '^Kelvidron$'
grown_past "$work/real.kvr" 32
xdotool keydown j
grown_past "$work/real.kvr" 60
xdotool keyup j
for _ in 1 2 3; do
  size=$(stat -c %s "$work/real.kvr")
  xdotool key s
  grown_past "$work/real.kvr" "$size"
done
xdotool key Right
size=$(stat -c %s "$work/real.kvr")
grown_past "$work/real.kvr" "$size"
kill -INT "$pid"
wait "$pid" || fail "the recording ended with status $?: $(cat "$work/record.err")"
pid=""
grep -q 'steps kept, unfinished$' "$work/record.err" || fail "record said: $(cat "$work/record.err")"
"$replay" check "$work/real.kvr" >"$work/check.out" || fail "check: $(cat "$work/check.out")"
grep -q '^shots fired: player 1 3, player 2 1;' "$work/check.out" ||
  fail "the real keys are not in the replay: $(cat "$work/check.out")"
grep -q ', unfinished, matches$' "$work/check.out" || fail "check said: $(cat "$work/check.out")"
kept=$(grep -o '[0-9]* steps kept' "$work/record.err" | cut -d' ' -f1)
grep -q "^$kept steps," "$work/check.out" || fail "record kept $kept steps, check: $(cat "$work/check.out")"

# Killed outright: the whole chunks written before are all there is, and they check.
"$replay" record "$work/killed.kvr" >/dev/null 2>&1 &
pid=$!
game_window '^Kelvidron$'
xdotool keydown a
grown_past "$work/killed.kvr" 100
xdotool keyup a
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
pid=""
"$replay" check "$work/killed.kvr" >"$work/check.out" || fail "check: $(cat "$work/check.out")"
grep -q 'incomplete after step' "$work/check.out" || fail "check said: $(cat "$work/check.out")"
grep -q ', unfinished, matches$' "$work/check.out" || fail "check said: $(cat "$work/check.out")"

# Playing back: pause, two single steps, faster, on to the end.
"$replay" play "$work/real.kvr" >"$work/play.out" 2>&1 &
pid=$!
game_window '^Kelvidron replay'
xdotool key space
said "$work/play.out" '^paused at step'
paused=$(grep -o 'paused at step [0-9]*' "$work/play.out" | grep -o '[0-9]*$')
xdotool key period
said "$work/play.out" "^step $((paused + 1))$"
xdotool key period
said "$work/play.out" "^step $((paused + 2))$"
xdotool key plus
said "$work/play.out" '^speed 2x$'
[[ "$(xdotool getwindowname "$window")" == "Kelvidron replay, 2x, paused" ]] ||
  fail "the title reads '$(xdotool getwindowname "$window")'"
xdotool key space
said "$work/play.out" "^playing from step $((paused + 2))$"
said "$work/play.out" "^end of the replay: $kept steps, unfinished, matches$"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
echo "recorded $kept steps with real keys; checked, killed and played back"
