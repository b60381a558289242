#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks what it holds and
# what it declares: the launcher, the key check, the replay tool, the online duel and
# the practice duel in /usr/games, the game in /usr/libexec, the twelve images, a
# manual page for every program, the desktop entry, its AppStream metainfo and the
# icon, and the shared libraries the game needs (SDL2 for the gamepads among them) as
# dependencies. Then it judges the package as Debian would: lintian, appstreamcli and
# desktop-file-validate, with nothing to say.
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
has '^-rwxr-xr-x ./usr/games/kelvidron$' "an executable /usr/games/kelvidron"
has '^-rwxr-xr-x ./usr/libexec/kelvidron/kelvidron$' "the game program"
has '^-rwxr-xr-x ./usr/games/kelvidron-keycheck$' "the key check"
has '^-rwxr-xr-x ./usr/games/kelvidron-replay$' "the replay tool"
has '^-rwxr-xr-x ./usr/games/kelvidron-online$' "the online duel"
has '^-rwxr-xr-x ./usr/games/kelvidron-practice$' "the practice duel"
has ' ./usr/share/applications/kelvidron.desktop$' "the desktop entry"
has ' ./usr/share/metainfo/org.kelvidron.kelvidron.metainfo.xml$' "the AppStream metainfo"
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
root=$work/root
grep -qx 'Exec=/usr/games/kelvidron' "$root/usr/share/applications/kelvidron.desktop" ||
  fail "the packaged desktop entry does not start /usr/games/kelvidron"
# Every program a player can start has its page, and the page is the program's.
for program in "$root"/usr/games/*; do
  name=$(basename "$program")
  page=$root/usr/share/man/man6/$name.6.gz
  [[ -f "$page" ]] || fail "no manual page for $name"
  zcat "$page" | grep -qE "^$name "'(\\)?- ' || fail "the page $name.6 does not name $name"
done

# The newest release the metainfo and the changelog list is this version.
version=$(dpkg-deb -f "$deb" Version)
[[ $(zcat "$root/usr/share/doc/kelvidron/changelog.gz" | head -1) == "kelvidron ($version) "* ]] ||
  fail "the changelog's newest entry is not $version: $(zcat "$root/usr/share/doc/kelvidron/changelog.gz" | head -1)"
metainfo=$root/usr/share/metainfo/org.kelvidron.kelvidron.metainfo.xml
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1)
[[ "$newest" == "<release version=\"$version\"" ]] ||
  fail "the metainfo's newest release is $newest, the package's version $version"

# Debian's checkers: any error, warning or pedantic tag fails, with lintian's
# explanation. Its informational tags stay allowed: the binaries' hardening flags (the
# build's own) and the pictures making most of the package. Lintian prints a notice on
# its standard error when run as root.
lintian_out=$(lintian --info --pedantic "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[[ -z "$lintian_out" ]] || fail "lintian: $lintian_out"
appstream_out=$(appstreamcli validate --pedantic --no-net --no-color "$metainfo" 2>&1) ||
  fail "appstreamcli: $appstream_out"
[[ "$appstream_out" != *$'\n'[EWIP]:* && "$appstream_out" != [EWIP]:* ]] ||
  fail "appstreamcli: $appstream_out"
desktop_out=$(desktop-file-validate "$root/usr/share/applications/kelvidron.desktop" 2>&1) ||
  fail "desktop-file-validate: $desktop_out"
[[ -z "$desktop_out" ]] || fail "desktop-file-validate: $desktop_out"
echo "ok: $(basename "$deb"), depends on $depends"
