#!/usr/bin/env bash
# The README's picture of kelvidron-practice --watch: two computer pilots (level 3 in
# the view, level 2 against it, seed 5), taken once SWAPS buffer swaps have been
# drawn. The duel steps by the clock, so the moment shown depends on the frame rate.
# Run on a display of its own: scripts/with-display.sh tools/make_practice_screenshot.sh build
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(realpath -m "${2:-$(dirname "$0")/../docs/practice-watch.png}")
wanted=${SWAPS:-150}
source "$(dirname "$0")/../tests/e2e/frames.bash"
work=$(mktemp -d)
pid=
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$build"
LD_PRELOAD=$frame_counter FRAME_COUNTER_FILE=$work/swaps ./kelvidron-practice --watch --level 2 \
  --seed 5 >/dev/null 2>&1 &
pid=$!
wait_swaps "$work/swaps" "$wanted" "$pid"
window=$(xdotool search --name '^Kelvidron$' | head -n 1)
import -silent -window "$window" "$out"
echo "wrote $out"
