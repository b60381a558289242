#!/usr/bin/env bash
# `make package-check`: installs the Debian package on a bare Debian 12 made in a
# folder, with apt, so that the package's declared dependencies are all the system
# gets, and runs every program there: the game to its first frames on the X server
# of the caller (scripts/with-display.sh), whose socket is shared into the folder,
# `kelvidron-replay check` on a replay made from the tests' key script, and --help and
# --version of every tool. A dependency the package forgot fails it. Needs root (for
# debootstrap, chroot and mount) and the network to the Debian mirror.
# Usage: scripts/package-check.sh BUILD_FOLDER [DEB] (with DISPLAY set); DEB is a
# package to check instead of the one the build folder makes.
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_FOLDER [DEB]}" && pwd)
given_deb=${2:+$(readlink -f "$2")}
source=$(cd "$(dirname "$0")/.." && pwd)
log=$build/package-check.log
: >"$log"
started=$SECONDS

say() { printf '%s\n' "$*" | tee -a "$log"; }
fail() {
  say "FAIL: $*"
  say "package-check: FAILED after $((SECONDS - started)) s; the log is $log"
  exit 1
}
# Runs a phase's command with its output in the log, showing its last line as it goes:
# debootstrap and apt print a line per package, which is the progress there is.
phase() {
  local title=$1
  shift
  local phase_start=$SECONDS status=0
  echo "== $title" >>"$log"
  if [[ -t 1 ]]; then
    local lines=0
    "$@" 2>&1 | tee -a "$log" | while IFS= read -r line; do
      printf '\r\033[K%s: [%d] %.50s' "$title" $((++lines)) "$line"
    done || status=$?
    printf '\r\033[K'
  else
    "$@" >>"$log" 2>&1 || status=$?
  fi
  ((status == 0)) || fail "$title (status $status); see $log"
  say "$title: $((SECONDS - phase_start)) s"
}

[[ $(id -u) -eq 0 ]] || fail "needs root: debootstrap, chroot and mount do"
[[ -n ${DISPLAY:-} ]] || fail "needs DISPLAY: run it through scripts/with-display.sh"
display_number=${DISPLAY#:}
display_number=${display_number%%.*}
x_socket=/tmp/.X11-unix/X$display_number
[[ -S $x_socket ]] || fail "no X socket $x_socket for DISPLAY=$DISPLAY"

# What this check needs beyond `make test`'s packages.
if ! command -v debootstrap >/dev/null; then
  phase "installing debootstrap" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends debootstrap
fi

# The Debian mirror this machine's apt uses (one-line or deb822 sources).
mirror=$(sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\(https\{0,1\}:[^ ]*debian\/\{0,1\}\) bookworm .*/\2/p' \
  /etc/apt/sources.list 2>/dev/null | head -1 || true)
if [[ -z $mirror ]]; then
  mirror=$(awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /debian\/?$/) { print $i; exit } }' \
    /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
fi
mirror=${mirror:-http://deb.debian.org/debian}

# Everything lives in a folder of its own in the build folder, removed at the end only
# once nothing is mounted in it any more.
work=$(mktemp -d "$build/package-check.XXXXXX")
root=$work/root
game=""
mounted() { grep -q " $root[/ ]" /proc/self/mounts; }
cleanup() {
  set +e
  if [[ -n $game ]] && kill -0 "$game" 2>/dev/null; then
    kill "$game"
    wait "$game" 2>/dev/null
  fi
  # The innermost first.
  grep " $root[/ ]" /proc/self/mounts | awk '{print $2}' | sort -r | while read -r point; do
    umount "$point" || umount -l "$point"
  done
  if mounted; then
    echo "package-check: still mounted in $root; it is left in place" >&2
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
# Interrupted, it still unmounts and removes the folder (the EXIT trap runs).
trap 'exit 130' INT
trap 'exit 143' TERM

say "package-check: Debian 12 from $mirror in $root"
if [[ -n $given_deb ]]; then
  deb=$given_deb
else
  phase "building the package" bash -c "cd '$work' && cpack -G DEB --config '$build/CPackConfig.cmake' -B '$work'"
  deb=$(ls "$work"/kelvidron_*_amd64.deb)
fi
phase "making a bare Debian 12 (debootstrap, minbase)" \
  debootstrap --variant=minbase bookworm "$root" "$mirror"

cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
cp "$deb" "$root/tmp/"
before=$(chroot "$root" dpkg-query -W -f='${Package}\n' | sort)
phase "apt update" chroot "$root" apt-get update
phase "installing $(basename "$deb") with its dependencies" chroot "$root" \
  env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  "/tmp/$(basename "$deb")"
added=$(comm -13 <(echo "$before") <(chroot "$root" dpkg-query -W -f='${Package}\n' | sort))
say "apt added $(echo "$added" | wc -l) packages: $(echo "$added" | tr '\n' ' ')"

# In a clean environment: nothing of the host's may leak in.
inside() { chroot "$root" env -i PATH=/usr/games:/usr/bin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

# Every tool answers --help and --version there, with no display.
version=$(dpkg-deb -f "$deb" Version)
for tool in "$root"/usr/games/*; do
  name=$(basename "$tool")
  [[ $name == kelvidron ]] && continue # the game hands its arguments to GLUT
  help=$(inside "$name" --help 2>&1) || fail "$name --help: $help"
  [[ $help == "Usage: $name "* ]] || fail "$name --help shows no usage: $help"
  answer=$(inside "$name" --version 2>&1) || fail "$name --version: $answer"
  [[ $answer == "$name $version" ]] || fail "$name --version says \"$answer\""
  say "$name: --help and --version answer ($answer)"
done

# A replay made by this build from the tests' key script checks the same there.
made=$("$build/kelvidron-replay" make "$source/tests/e2e/replays/player_one_wins.keys" \
  "$root/tmp/duel.kvr")
checked=$(inside kelvidron-replay check /tmp/duel.kvr 2>&1) || fail "kelvidron-replay check: $checked"
# The summary is check's last line (the shots and healths come before it).
[[ ${checked##*$'\n'} == "$made" ]] ||
  fail "the replay checks as \"$checked\", it was made as \"$made\""
say "kelvidron-replay check: $checked"

# The game on the caller's X server, through the socket only: the folder holds no
# X server, so Mesa and the X libraries are what the package's dependencies brought.
mkdir -p "$root/tmp/.X11-unix"
touch "$root$x_socket"
mount --bind "$x_socket" "$root$x_socket"
cp "$build/tests/libframe_counter.so" "$root/tmp/"
source "$source/tests/e2e/frames.bash" # wait_swaps
# Runs a program of the package there until start-up is done and twenty swaps (ten
# frames or more) are drawn: first_frames NAME WHAT COMMAND...
first_frames() {
  local name=$1 what=$2 start=$SECONDS
  shift 2
  # chroot itself in the background, so that $! is the program's process.
  chroot "$root" env -i PATH=/usr/games:/usr/bin:/bin HOME=/root LANG=C.UTF-8 DISPLAY="$DISPLAY" \
    LD_PRELOAD=/tmp/libframe_counter.so FRAME_COUNTER_FILE="/tmp/$name-swaps" "$@" \
    >"$work/$name.log" 2>&1 &
  game=$!
  if ! wait_swaps "$root/tmp/$name-swaps" 20 "$game"; then
    cat "$work/$name.log" >>"$log"
    fail "$what did not reach its first frames: $(tail -5 "$work/$name.log")"
  fi
  kill "$game"
  wait "$game" 2>/dev/null || true
  game=""
  {
    echo "== $name's output"
    cat "$work/$name.log"
  } >>"$log"
  say "$name: $(swaps "$root/tmp/$name-swaps") buffer swaps in $((SECONDS - start)) s"
}
first_frames kelvidron "the game" kelvidron
# The practice duel finds the installed pictures by itself, started from elsewhere.
first_frames kelvidron-practice "the practice duel" \
  sh -c 'cd /tmp && exec kelvidron-practice --watch --seed 1'
say "package-check: ok in $((SECONDS - started)) s; the log is $log"
