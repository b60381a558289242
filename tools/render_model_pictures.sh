#!/usr/bin/env bash
# Renders the pictures of the game's models under docs/models/ (or OUT_DIR):
# each ship from four sides and as the camera 12 units behind it sees it, the
# tilting model, and the cockpit view of the running game (made by kelvidron-capture).
# Usage: tools/render_model_pictures.sh BUILD_DIR [OUT_DIR]   (needs a display;
# run it through scripts/with-display.sh when headless)
set -euo pipefail

build=$(cd "${1:?usage: $0 BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$(dirname "$0")/../docs/models}
view="$build/tools/kelvidron-model-view"
capture="$build/kelvidron-capture"
convert=/usr/bin/convert
[[ -x "$view" ]] || { echo "error: $view is not built" >&2; exit 1; }
[[ -x "$convert" ]] || { echo "error: ImageMagick's convert is not installed" >&2; exit 1; }
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Front three-quarter, rear three-quarter from below, side, top.
angles=("35 25" "150 -25" "90 0" "0 89")

sheet() {
    local model=$1 name=$2
    local files=()
    for a in "${angles[@]}"; do
        set -- $a
        "$view" --model "$model" --yaw "$1" --pitch "$2" --distance 1.6 --size 360x300 \
            --out "$work/$model-$1-$2.png"
        files+=("$work/$model-$1-$2.png")
    done
    if [[ $model == first || $model == second ]]; then
        # The chase camera's view at the game's size, its middle enlarged fourfold.
        "$view" --scene chase --model "$model" --size 514x512 --out "$work/$model-chase.png"
        "$convert" "$work/$model-chase.png" -crop 90x75+212+218 +repage -filter point \
            -resize 400% "$work/$model-chase-near.png"
        files+=("$work/$model-chase-near.png")
    fi
    "$convert" "${files[@]}" +append "$out/$name.png"
}

sheet first first_ship
sheet second second_ship
sheet tilting tilting_ship

# Player 1's view in the game: at rest, then pitching down and rolling right with the
# other ship ahead (the capture runs in the build folder, where Data/ is).
out=$(cd "$out" && pwd)
printf '0 j down\n98 j up\n' > "$work/rest.keys"
printf '0 j down\n98 j up\n240 k down\n240 o down\n262 k up\n262 o up\n' > "$work/turning.keys"
(cd "$build" && "$capture" "$work/rest.keys" "$work/rest.png" --steps 240 > /dev/null)
(cd "$build" && "$capture" "$work/turning.keys" "$work/turning.png" --steps 262 > /dev/null)
for picture in rest turning; do
    "$convert" "$work/$picture.png" -crop 514x512+5+5 +repage "$work/$picture-left.png"
done
"$convert" "$work/rest-left.png" "$work/turning-left.png" +append "$out/cockpit_overlay.png"
echo "pictures written to $out"
