#!/usr/bin/env bash
# The real game against damaged image files: each of the twelve files under Data/
# missing, empty, cut inside its header, cut inside its pixels, of the wrong bit
# depth, claiming 65535 by 65535 pixels, and 0 pixels wide; each BMP also as a
# top-down file whose 64-bit size width * height * 3 wraps past 2^64 to 3872 bytes,
# less than the file holds; and two start-ups that each meet every other TGA
# damaged, so that a failed load follows a good one and a good one a failed one.
# Each case runs the game in a folder of its own whose Data/ holds the other files
# untouched. A bad BMP must end the game with status 1 and its message, before the
# event loop; a bad TGA must print its message and leave the game drawing frames.
# Never a crash, a hang or a sanitizer report (in the sanitized build the first
# report ends the program with status 66).
#
# The plain build runs every case. The sanitized build, where each start-up costs
# many times more, runs the cases that reach the game's own start-up code in a way
# the others do not: every BMP damage on the first file read (these end before any
# relief is built), the last BMP read (after every relief), the undamaged game and
# the two start-ups of many damaged TGAs. The readers' and loaders' every damaged
# path runs under the sanitizers in the loader tests and the fuzz targets.
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/frames.bash"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

BMPS=(Stars1.bmp planet.bmp Earthmap.bmp Pastellarust.bmp)
TGAS=(Earthbump.tga Plutobump.tga Marsbump.tga Venusbump.tga Cloudmap.tga test1.tga
  Earthmap.tga crosshair.tga)
DAMAGES=(missing empty header pixels depth absurd zero)
HEIGHT_MAPS=" Earthbump.tga Plutobump.tga Marsbump.tga Venusbump.tga "
# Only a guard against a hang, never a measure of speed: start-up under the
# sanitizers, three games at a time on a loaded machine, can take minutes.
START_LIMIT=600
# A TGA case passes once the game has drawn this many frames after start-up (two
# swaps a frame while the top-level window is redrawn too).
RUNS_ON_FOR_SWAPS=20
PARALLEL=3

# Overwrites bytes of a file at an offset: put FILE OFFSET HEXBYTES...
put() {
  local file=$1 offset=$2
  shift 2
  printf "$(printf '\\x%s' "$@")" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
}

# Writes the damaged copy of $name into $dir/Data (or leaves it out).
damage() {
  local dir=$1 name=$2 kind=$3
  local original="$build/Data/$name" copy="$dir/Data/$name"
  local size
  size=$(stat -c %s "$original")
  rm -f "$copy"
  case "$name:$kind" in
  *:missing) ;;
  *:empty) : >"$copy" ;;
  *.bmp:header) head -c 27 "$original" >"$copy" ;;
  *.tga:header) head -c 15 "$original" >"$copy" ;;
  *.bmp:pixels) head -c $((54 + (size - 54) / 2)) "$original" >"$copy" ;;
  *.tga:pixels) head -c $((18 + (size - 18) / 2)) "$original" >"$copy" ;;
  *.bmp:depth) cp "$original" "$copy" && put "$copy" 28 20 00 ;;
  *.tga:depth) cp "$original" "$copy" && put "$copy" 16 10 ;;
  *.bmp:absurd) cp "$original" "$copy" && put "$copy" 18 ff ff 00 00 ff ff 00 00 ;;
  *.tga:absurd) cp "$original" "$copy" && put "$copy" 12 ff ff ff ff ;;
  *.bmp:zero) cp "$original" "$copy" && put "$copy" 18 00 00 00 00 ;;
  # Width 4274494808, height -1438512612.
  *.bmp:wrap) cp "$original" "$copy" && put "$copy" 18 58 9d c7 fe 1c 0a 42 aa ;;
  *.tga:zero) cp "$original" "$copy" && put "$copy" 12 00 00 ;;
  esac
}

# 16-bit little-endian field of the original file.
field16() { od -An -tu2 -j "$2" -N2 "$build/Data/$1" | tr -d ' '; }

# What the game must print for this damage (a part of its standard output).
expected_bmp() {
  local p="Data/$1"
  case $2 in
  missing) printf 'File Not Found : %s\n' "$p" ;;
  empty) printf 'Error reading width from %s.\n' "$p" ;;
  header) printf 'Error reading planes from %s.\n' "$p" ;;
  pixels) printf 'Error reading image data from %s.\n' "$p" ;;
  depth) printf 'Bpp from %s is not 24: 32\n' "$p" ;;
  absurd) printf 'Width of %s: 65535\nHeight of %s: 65535\nError allocating memory for color-corrected image data' "$p" "$p" ;;
  wrap) printf 'Width of %s: 4274494808\nHeight of %s: 1438512612\nError allocating memory for color-corrected image data' "$p" "$p" ;;
  zero) printf 'Width of %s: 0\nHeight of %s: %s\nNo pixels in %s.\n' "$p" "$p" \
    "$(od -An -tu4 -j 22 -N4 "$build/Data/$1" | tr -d ' ')" "$p" ;;
  esac
}

expected_tga() {
  local bpp
  bpp=$(($(od -An -tu1 -j 16 -N1 "$build/Data/$1" | tr -d ' ') / 8))
  case $2 in
  missing | empty | header) printf 'error loading Data/%s\n' "$1" ;;
  pixels) printf 'texture width %s\ntexture height %s\nbytes per pixel %s\nbailing 2\n' \
    "$(field16 "$1" 12)" "$(field16 "$1" 14)" "$bpp" ;;
  absurd) printf 'texture width 65535\ntexture height 65535\nbytes per pixel %s\nbailing 2\n' "$bpp" ;;
  depth | zero) printf 'bailing 1\n' ;;
  esac
}

sanitizer_report() { grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: UndefinedBehaviorSanitizer' "$1"; }

# The number of TGA loads that have finished, well or badly.
tga_outcomes() { grep -cE '^(type TGA is|error loading .*\.tga$|bailing [12]$)' "$1" 2>/dev/null || true; }

# The TGAs a case damages, in the order the game reads them, and the BMP it
# damages (at most one: the first bad BMP ends the game).
case_tgas() { for d in "$@"; do if [[ $d == *.tga:* ]]; then echo "$d"; fi; done; }
case_bmp() { for d in "$@"; do if [[ $d == *.bmp:* ]]; then echo "$d"; fi; done; }

# One case, in its own folder; prints "ok ..." or "FAIL ..." lines into $dir/result.
# Its words are FILE:DAMAGE, or "none".
run_case() {
  local dir="$work/$(printf '%s' "$*" | tr ' :' '_-')"
  mkdir -p "$dir/Data"
  for f in "${BMPS[@]}" "${TGAS[@]}"; do ln -s "$build/Data/$f" "$dir/Data/$f"; done
  local d
  for d in "$@"; do [[ $d == none ]] || damage "$dir" "${d%%:*}" "${d#*:}"; done
  local out="$dir/out" err="$dir/err" result="$dir/result"
  # timeout only as a safety net against a hang: the loop below stops the game.
  (cd "$dir" && LD_PRELOAD=$frame_counter FRAME_COUNTER_FILE=$dir/swaps exec timeout -k 5 $((START_LIMIT * 2)) \
    "$build/kelvidron" >"$out" 2>"$err") &
  local pid=$! waited=0 status=running
  # A BMP case ends by itself; a TGA case runs until every TGA load has finished,
  # then draws frames.
  while ((waited < START_LIMIT * 10)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      break
    fi
    [[ $(tga_outcomes "$out") -ge ${#TGAS[@]} ]] && break
    sleep 0.1
    waited=$((waited + 1))
  done
  if [[ $status == running ]]; then
    if wait_swaps "$dir/swaps" $(($(swaps "$dir/swaps") + RUNS_ON_FOR_SWAPS)) "$pid"; then
      kill -TERM "$pid"
      wait "$pid" 2>/dev/null || true
    else
      wait "$pid" && status=0 || status=$?
    fi
  fi

  local label="$*" text failed="" bmp tgas=()
  bmp=$(case_bmp "$@")
  mapfile -t tgas < <(case_tgas "$@")
  text=$(cat "$out")
  if sanitizer_report "$err" || [[ $status == 66 ]]; then
    failed="sanitizer report"
  elif [[ -n $bmp ]]; then
    local want
    want=$(expected_bmp "${bmp%%:*}" "${bmp#*:}")
    if [[ $status != 1 ]]; then
      failed="status $status, not 1"
    elif [[ $text != *"$want"* ]]; then
      failed="message missing: $want"
    elif [[ $text != *"$want"*"whoops, couldn't load the image" ]]; then
      failed="did not end with the BMP failure"
    elif [[ $text == *"whoops, couldn't load the image"?* ]]; then
      failed="went on after the BMP failure"
    fi
  else
    local failures smooth wanted_smooth=0 rest=$text want t
    failures=$(grep -cE '^(error loading|bailing [12]$)' "$out" || true)
    smooth=$(grep -c 'is a smooth sphere$' "$out" || true)
    if [[ $status != running ]]; then
      failed="the game ended (status $status) instead of running on"
    elif [[ $(tga_outcomes "$out") -lt ${#TGAS[@]} ]]; then
      failed="start-up did not finish within ${START_LIMIT}s"
    elif [[ $failures != "${#tgas[@]}" ]]; then
      failed="$failures load failures, not ${#tgas[@]}"
    else
      # Each damaged file's message, in the order the game reads them; a damaged
      # height map leaves its three reliefs smooth spheres.
      for t in "${tgas[@]}"; do
        want=$(expected_tga "${t%%:*}" "${t#*:}")
        if [[ $rest != *"$want"* ]]; then
          failed="message missing: $want"
          break
        fi
        rest=${rest#*"$want"}
        [[ $HEIGHT_MAPS == *" ${t%%:*} "* ]] && wanted_smooth=$((wanted_smooth + 3))
      done
      if [[ -z $failed && $smooth != "$wanted_smooth" ]]; then
        failed="$smooth smooth reliefs, not $wanted_smooth"
      fi
    fi
  fi
  if [[ -n $failed ]]; then
    {
      echo "FAIL $label: $failed"
      echo "--- standard output:"
      tail -n 20 "$out"; echo
      echo "--- standard error:"
      tail -n 40 "$err"
    } >"$result"
  else
    echo "ok   $label" >"$result"
  fi
}

# Every other TGA damaged, each in another way; between them they damage each TGA
# once.
MANY_TGAS_EVEN="Earthbump.tga:pixels Marsbump.tga:absurd Cloudmap.tga:header Earthmap.tga:zero"
MANY_TGAS_ODD="Plutobump.tga:depth Venusbump.tga:empty test1.tga:missing crosshair.tga:pixels"

cases=(none "$MANY_TGAS_EVEN" "$MANY_TGAS_ODD")
if grep -qs '^KELVIDRON_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  for kind in "${DAMAGES[@]}" wrap; do cases+=("Stars1.bmp:$kind"); done
  cases+=("Pastellarust.bmp:pixels")
else
  for name in "${BMPS[@]}" "${TGAS[@]}"; do
    for kind in "${DAMAGES[@]}"; do cases+=("$name:$kind"); done
  done
  for name in "${BMPS[@]}"; do cases+=("$name:wrap"); done
fi

start=$(date +%s)
for c in "${cases[@]}"; do
  # shellcheck disable=SC2086
  run_case $c &
  pids+=($!)
  while (($(jobs -rp | wc -l) >= PARALLEL)); do wait -n || true; done
done
wait || true

failures=0
for c in "${cases[@]}"; do
  result="$work/$(printf '%s' "$c" | tr ' :' '_-')/result"
  if [[ -f $result ]]; then cat "$result"; else echo "FAIL $c: no result" && failures=$((failures + 1)); fi
  [[ -f $result ]] && grep -q '^FAIL' "$result" && failures=$((failures + 1))
done
echo "${#cases[@]} cases in $(($(date +%s) - start))s, $failures failed"
[[ $failures == 0 ]]
