#!/usr/bin/env bash
# Installs the game into a temporary prefix and starts the installed launcher on the
# test run's display: the "Kelvidron" window must appear, the game must run from
# the folder that holds Data/ and go on drawing frames. Without a
# display, or without Data/, the launcher must say so and fail. Every installed tool
# answers --help and --version (the project's version) without a display.
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/frames.bash"
prefix=$(mktemp -d)
game=
cleanup() {
  stop "$game"
  rm -rf "$prefix"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix/usr" >/dev/null
launcher="$prefix/usr/games/kelvidron"
[[ -x "$launcher" ]] || fail "no launcher at $launcher"
[[ -x "$prefix/usr/libexec/kelvidron/kelvidron" ]] || fail "no game program in libexec/kelvidron"
data_files=$(find "$prefix/usr/share/kelvidron/Data" -type f | wc -l)
[[ "$data_files" == 12 ]] || fail "expected the 12 image files in share/kelvidron/Data, found $data_files"
[[ -s "$prefix/usr/share/icons/hicolor/256x256/apps/kelvidron.png" ]] || fail "no icon"
entry="$prefix/usr/share/applications/kelvidron.desktop"
grep -qx "Exec=$prefix/usr/games/kelvidron" "$entry" || fail "the desktop entry does not start the launcher: $(grep Exec "$entry")"
grep -qx "Icon=kelvidron" "$entry" || fail "the desktop entry names no icon"
[[ -s "$prefix/usr/share/man/man6/kelvidron.6.gz" ]] || fail "no manual page for the game"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
for tool in "$prefix"/usr/games/*; do
  name=$(basename "$tool")
  [[ "$name" == kelvidron ]] && continue # the game hands its arguments to GLUT
  help=$(env -u DISPLAY "$tool" --help) || fail "$name --help failed"
  [[ "$help" == "Usage: $name "* ]] || fail "$name --help does not start with its usage: $help"
  [[ $(env -u DISPLAY "$tool" --version) == "$name $version" ]] ||
    fail "$name --version does not say \"$name $version\""
done

# Started from elsewhere, through a symbolic link, as a menu or PATH would.
ln -s "$launcher" "$prefix/kelvidron-link"
cd /
LD_PRELOAD=$frame_counter FRAME_COUNTER_FILE=$prefix/swaps "$prefix/kelvidron-link" >"$prefix/out.txt" 2>&1 &
game=$!
# Start-up done and twenty swaps (ten frames or more) drawn.
wait_swaps "$prefix/swaps" 20 "$game" || fail "the game did not keep running: $(cat "$prefix/out.txt")"
window=$(xdotool search --name '^Kelvidron$' 2>/dev/null | head -1 || true)
[[ -n "$window" ]] || fail "no window named Kelvidron appeared"
[[ $(readlink "/proc/$game/cwd") == "$prefix/usr/share/kelvidron" ]] ||
  fail "the game runs in $(readlink "/proc/$game/cwd"), not in share/kelvidron"
stop "$game"
game=

# No display: a clear message and a failure, not a hang.
if out=$(env -u DISPLAY "$launcher" 2>&1); then fail "started without a display"; fi
[[ "$out" == *"no display"* ]] || fail "unclear message without a display: $out"
# The practice duel, started from another folder, finds the installed pictures and
# plays from share/kelvidron, and a replay named relative to the caller's folder is
# written there.
mkdir "$prefix/caller"
cd "$prefix/caller"
LD_PRELOAD=$frame_counter FRAME_COUNTER_FILE=$prefix/practice-swaps "$prefix/usr/games/kelvidron-practice" \
  --watch --seed 1 --record watched.kvr >"$prefix/practice.txt" 2>&1 &
game=$!
wait_swaps "$prefix/practice-swaps" 20 "$game" || fail "the practice duel did not run: $(cat "$prefix/practice.txt")"
[[ $(readlink "/proc/$game/cwd") == "$prefix/usr/share/kelvidron" ]] ||
  fail "the practice duel runs in $(readlink "/proc/$game/cwd"), not in share/kelvidron"
[[ -s "$prefix/caller/watched.kvr" ]] || fail "no replay in the caller's folder"
stop "$game"
game=
cd /

# Data/ gone: the launcher says which folder it looked for.
mv "$prefix/usr/share/kelvidron/Data" "$prefix/Data.away"
if out=$("$launcher" 2>&1); then fail "started without Data/"; fi
[[ "$out" == *"$prefix/usr/share/kelvidron/Data"* ]] || fail "unclear message without Data/: $out"
echo "ok: the installed launcher opened window $window from share/kelvidron; the tools answer --help and --version $version"
