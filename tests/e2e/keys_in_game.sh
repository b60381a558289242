#!/usr/bin/env bash
# Plays the real game with real X key events: 's' fires a shot that shows in the left
# view, 'r' (typed on the top-level window's frame) switches both views to the camera
# behind the ship.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
game=""
cleanup() {
  [[ -n "$game" ]] && kill "$game" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cd "$build"
./kelvidron > "$work/game.log" 2>&1 &
game=$!
window=$(timeout 20 xdotool search --sync --name '^Kelvidron$' | head -n 1)
[[ -n "$window" ]] || { echo "the game window did not appear" >&2; exit 1; }
# No window manager: give the game the keyboard focus ourselves.
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 500 250
sleep 1

shot() { import -silent -window "$window" "$work/$1.png"; }
# Pixels that differ clearly between two shots inside a rectangle WxH+X+Y.
changed() {
  local crop=$3
  convert "$work/$1.png" -crop "$crop" +repage "$work/a.png"
  convert "$work/$2.png" -crop "$crop" +repage "$work/b.png"
  compare -metric AE -fuzz 12% "$work/a.png" "$work/b.png" null: 2>&1 | cut -d' ' -f1 || true
}
press() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
}

# The middles of the two views, within the top-level window (frame of 5 pixels,
# views of 514 pixels with a gap of 5).
left_middle=200x160+162+180
right_middle=200x160+681+180

shot start
sleep 0.3
shot still
calm=$(changed start still "$left_middle")

press s
sleep 0.25
shot fired
left_after_fire=$(changed still fired "$left_middle")
right_after_fire=$(changed still fired "$right_middle")

# Keys typed while the pointer rests on the top-level window's grey frame reach the
# top-level window, which shares the sub-window's key callbacks.
xdotool mousemove --window "$window" 2 2
press r
sleep 0.4
shot behind
right_behind=$(changed fired behind "$right_middle")

kill -0 "$game" || { echo "the game ended by itself" >&2; cat "$work/game.log" >&2; exit 1; }

echo "unchanged view: $calm pixels; after 's': left $left_after_fire, right $right_after_fire;" \
     "after 'r': right $right_behind"
status=0
(( calm < 50 )) || { echo "the idle view changed between frames" >&2; status=1; }
(( left_after_fire > 300 )) || { echo "no shot appeared in the left view" >&2; status=1; }
(( right_after_fire < 50 )) || { echo "the right view changed on player 1's shot" >&2; status=1; }
(( right_behind > 100 )) || { echo "'r' did not show player 2's ship from behind" >&2; status=1; }
[[ -n "${KEEP_SHOTS:-}" ]] && cp "$work"/*.png "$KEEP_SHOTS"/
exit $status
