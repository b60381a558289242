#!/usr/bin/env bash
# The key check under real X key events: each of the game's keys lights a cap of its
# own while held, all twenty held together are shown as the most held at once, and
# that set is printed when Esc ends the program.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
check=""
cleanup() {
  [[ -n "$check" ]] && kill "$check" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cd "$build"
./kelvidron-keycheck > "$work/out.txt" 2> "$work/err.txt" &
check=$!
window=$(timeout 20 xdotool search --sync --name '^Kelvidron key check' | head -n 1)
[[ -n "$window" ]] || { echo "the key check window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window"

# The title names what the window has drawn: wait until it reads as expected.
shown() {
  local want="Kelvidron key check: $1 held, most at once $2" end=$((SECONDS + 20))
  until [[ "$(xdotool getwindowname "$window")" == "$want" ]]; do
    (( SECONDS < end )) || { echo "the window never showed '$want'" >&2; exit 1; }
  done
}
# Pixels of the amber of a held key's cap.
lit() {
  import -silent -window "$window" png:- |
    convert - -alpha off -fuzz 2% -fill black +opaque '#ffc020' -fill white -opaque '#ffc020' \
      -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}

# The game's keys in the order of the README's table, player 1's before player 2's.
keys=(q Up a Down i 8 k 5 j 4 l 6 u 7 o 9 s Right e r)
labels="q, up arrow, a, down arrow, i, 8, k, 5, j, 4, l, 6, u, 7, o, 9, s, right arrow, e, r"
cap=$((120 * 20))
status=0

shown 0 0
before=$(lit)
(( before == 0 )) || { echo "$before amber pixels with no key held" >&2; status=1; }
held=0
for key in "${keys[@]}"; do
  xdotool keydown "$key"
  held=$((held + 1))
  shown $held $held
  now=$(lit)
  # One more cap lit, less the dark letters of its label.
  added=$((now - before))
  if (( added < cap * 3 / 4 || added > cap )); then
    echo "holding $key lit $added more pixels, not one key cap ($cap less its label)" >&2
    status=1
  fi
  before=$now
done
for key in "${keys[@]}"; do xdotool keyup "$key"; done
shown 0 ${#keys[@]}
after=$(lit)
(( after == 0 )) || { echo "$after amber pixels after every key was let go" >&2; status=1; }

xdotool key Escape
wait "$check" || { echo "the key check ended with status $?" >&2; status=1; }
check=""
out=$(cat "$work/out.txt")
echo "key check said: $out"
[[ "$out" == "most keys held at once: ${#keys[@]} ($labels)" ]] ||
  { echo "unexpected closing line" >&2; status=1; }
exit $status
