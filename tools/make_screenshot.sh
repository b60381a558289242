#!/usr/bin/env bash
# Regenerates docs/screenshot.png with the capture tool: both players turn towards a
# planet (player 1 the Earth, player 2 Mars), fly at it and fire, following the key
# script docs/screenshot.keys; the frame after step 360 is the picture. Needs a
# display (run it through scripts/with-display.sh when headless).
# Usage: tools/make_screenshot.sh BUILD_DIR [OUT.png]
set -euo pipefail
docs=$(cd "$(dirname "$0")/../docs" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [OUT.png]}" && pwd)
out=$(realpath -m "${2:-$docs/screenshot.png}")
cd "$build"
./kelvidron-capture "$docs/screenshot.keys" "$out" --steps 360 >/dev/null
echo "screenshot written to $out"
