#!/usr/bin/env bash
# Renders the game's icon, packaging/kelvidron.png (256x256, transparent corners):
# player 1's ship as the game lights it, on a round badge of night sky with a rim
# in the cockpit's grey. Needs a display (run it through scripts/with-display.sh
# when headless) and ImageMagick.
# Usage: tools/make_icon.sh BUILD_DIR [OUT.png]
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [OUT.png]}
out=${2:-$(dirname "$0")/../packaging/kelvidron.png}
view="$build/tools/kelvidron-model-view"
convert=/usr/bin/convert
[[ -x "$view" ]] || { echo "error: $view is not built" >&2; exit 1; }
[[ -x "$convert" ]] || { echo "error: ImageMagick's convert is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Drawn at twice the size and scaled down, for smooth edges.
"$view" --model first --yaw 35 --pitch 25 --distance 1.55 --size 512x512 --out "$work/ship.png"
"$convert" -size 512x512 xc:none \
    \( -size 512x512 radial-gradient:'#1d2b4a'-'#03050c' \) \
    \( -size 512x512 xc:none -fill white -draw 'circle 256,256 256,12' \) \
    -compose over -composite "$work/badge.png"
# The badge's sky only where the circle is: the mask's alpha cuts the gradient.
"$convert" "$work/badge.png" -alpha off \
    \( -size 512x512 xc:black -fill white -draw 'circle 256,256 256,12' \) \
    -compose copy_opacity -composite "$work/sky.png"
# The renderer's near-black background becomes transparent around the ship.
"$convert" "$work/ship.png" -fuzz 6% -transparent "$("$convert" "$work/ship.png" -format '%[pixel:p{0,0}]' info:)" \
    "$work/ship-cut.png"
"$convert" "$work/sky.png" "$work/ship-cut.png" -compose over -composite \
    -fill none -stroke '#5c6670' -strokewidth 14 -draw 'circle 256,256 256,19' \
    -resize 256x256 "$out"
echo "icon written to $out"
