#!/usr/bin/env bash
# Records every OpenGL call of one drawn frame with apitrace and checks that the
# frame makes them in the game's fixed order: set-up, then per view the material,
# viewport, clear, camera, clip planes, world light, star box, the world (planets,
# shots, ships, explosions) and the overlay; one buffer swap for the two views.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$build"
apitrace trace -o "$work/frame.trace" ./kelvidron-capture \
  "$source_dir/tests/e2e/scenes/planet_shot_ship_explosion.keys" "$work/frame.png" --steps 120 \
  > /dev/null
# Only the last frame is checked: dumping the whole recording (the start-up's
# relief lists, millions of vertices) would cost most of the test's time.
last_two_swaps=$(apitrace dump --color=never --grep='^glXSwapBuffers$' "$work/frame.trace" |
  grep -oE '^[0-9]+ glXSwapBuffers' | tail -n 2 | cut -d' ' -f1 | paste -sd-)
apitrace dump --color=never --calls="$last_two_swaps" "$work/frame.trace" |
  sed -E 's/^[0-9]+ //' > "$work/calls.txt"
python3 "$source_dir/tests/e2e/check_frame_calls.py" "$work/calls.txt"
