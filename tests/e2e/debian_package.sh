#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks what it holds and
# what it declares: the launchers, the key check and the replay tool in /usr/bin, the game
# and the practice duel in /usr/libexec, the twelve images, the desktop entry and the icon, and the shared
# libraries the game needs (SDL2 for the gamepads among them) as dependencies.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >cpack.log 2>&1) ||
  fail "cpack failed: $(cat "$work/cpack.log")"
deb=$(ls "$work"/kelvidron_*_amd64.deb 2>/dev/null | head -1)
[[ -n "$deb" ]] || fail "no package was written"

dpkg-deb -c "$deb" | awk '{print $1, $6}' >"$work/contents"
has() { grep -q -- "$1" "$work/contents" || fail "the package lacks $2"; }
has '^-rwxr-xr-x ./usr/bin/kelvidron$' "an executable /usr/bin/kelvidron"
has '^-rwxr-xr-x ./usr/libexec/kelvidron/kelvidron$' "the game program"
has '^-rwxr-xr-x ./usr/bin/kelvidron-keycheck$' "the key check"
has '^-rwxr-xr-x ./usr/bin/kelvidron-replay$' "the replay tool"
has '^-rwxr-xr-x ./usr/bin/kelvidron-practice$' "the practice duel's launcher"
has '^-rwxr-xr-x ./usr/libexec/kelvidron/kelvidron-practice$' "the practice duel"
has ' ./usr/share/applications/kelvidron.desktop$' "the desktop entry"
has ' ./usr/share/icons/hicolor/256x256/apps/kelvidron.png$' "the icon"
images=$(grep -c ' ./usr/share/kelvidron/Data/.*\.\(bmp\|tga\)$' "$work/contents" || true)
[[ "$images" == 12 ]] || fail "expected 12 images in /usr/share/kelvidron/Data, found $images"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libglut3.12 libglu1-mesa libopengl0 libsdl2-2.0-0 libsdl2-mixer-2.0-0 libasound2 \
  libstdc++6 libc6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends does not name $library: $depends"
done
[[ "$depends" == *libsdl2-2.0-0* ]] || fail "Depends does not name SDL2 (the gamepads): $depends"
[[ $(dpkg-deb -f "$deb" Package) == kelvidron && $(dpkg-deb -f "$deb" Section) == games ]] ||
  fail "wrong package name or section"

dpkg-deb -x "$deb" "$work/root"
grep -qx 'Exec=/usr/bin/kelvidron' "$work/root/usr/share/applications/kelvidron.desktop" ||
  fail "the packaged desktop entry does not start /usr/bin/kelvidron"
echo "ok: $(basename "$deb"), depends on $depends"
