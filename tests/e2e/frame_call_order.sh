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
apitrace dump --color=never "$work/frame.trace" | sed -E 's/^[0-9]+ //' > "$work/calls.txt"
python3 "$source_dir/tests/e2e/check_frame_calls.py" "$work/calls.txt"
