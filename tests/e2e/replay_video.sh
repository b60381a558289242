#!/usr/bin/env bash
# kelvidron-replay video: a short won duel becomes an MP4 of the expected streams,
# size, rate and length; chosen frames show what the capture tool draws after the
# same steps, within H.264's own loss on that picture; player 1's shots are heard on
# the left alone, the hits on player 2 on the right; a video that cannot be written
# or is interrupted leaves no file.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
full=""
trap '[[ -z $full ]] || umount "$full"; rm -rf "$work"' EXIT
replay="$build/kelvidron-replay"
source "$source/tests/e2e/frames.bash" # wait_swaps
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$build"

# Player 1 turns to player 2 and fires every fifth step from step 120; the first hit
# lands at step 215 and the duel is won at step 320.
keys="$source/tests/e2e/replays/player_one_wins.keys"
"$replay" make "$keys" "$work/won.kvr" >/dev/null
"$replay" video "$work/won.kvr" "$work/won.mp4" >"$work/out" 2>&1 || fail "video: $(cat "$work/out")"

# 320 steps of 10 ms: frames 0 to 192, the last one showing the duel's end.
probe() { ffprobe -v error -select_streams "$1" -show_entries "$2" -of csv=p=0 "$work/won.mp4"; }
[[ $(probe v stream=codec_name,width,height,pix_fmt,avg_frame_rate,nb_frames) == \
  "h264,1038,522,yuv420p,60/1,193" ]] || fail "video stream: $(probe v stream)"
[[ $(probe a stream=codec_name,sample_rate,channels) == "aac,44100,2" ]] ||
  fail "sound stream: $(probe a stream)"
[[ $(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$work/won.mp4" | sort | tr '\n' ' ') == \
  "audio video " ]] || fail "not one stream of each kind"
# The file's duration is counted in milliseconds: one more for its rounding.
duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/won.mp4")
awk -v d="$duration" 'BEGIN { exit !(d >= 3.20 - 1/60 - 0.001 && d <= 3.20 + 1/60 + 0.001) }' ||
  fail "duration $duration s, not 3.20 s within a frame"

# Frame k shows the steps whose time has come at k/60 s: 120 -> 200 (shots in flight),
# 150 -> 250 (hits under way: player 2's cockpit tinted, an explosion at its ship).
# The capture draws the same steps once; its picture loses its odd last column as the
# video's does. Compared within the windshields: the cockpit's hit tint counts down
# with the frames drawn; and in frame 150 only the left view's outer strip is
# compared there, as the particles of the explosions at player 2's ship, which
# depend on when frames were drawn, fill the rest of it.
ffmpeg -v error -i "$work/won.mp4" -vf 'select=eq(n\,0)+eq(n\,120)+eq(n\,150)' -vsync 0 \
  "$work/frame%d.png"
whole="70,140,375,260 590,140,375,260"
around_explosion="70,140,120,260 590,140,375,260"
rmse() { { compare -metric RMSE "$1" "$2" null: 2>&1 || true; } | sed 's/.*(\(.*\))/\1/'; }
region() { # FILE X,Y,W,H OUT
  local x y w h
  IFS=, read -r x y w h <<<"$2"
  convert "$1" -crop "${w}x${h}+${x}+${y}" +repage "$3"
}
# The loss allowed in a region: what the same H.264 settings lose on the capture's
# own picture, with a 25 % margin (the video's frames, coded against their
# neighbours, measured 0.56 to 0.99 of it), and a thousandth for rounding.
allowed() {
  ffmpeg -v error -y -i "$1" -c:v libx264 -preset fast -crf 18 -pix_fmt yuv420p \
    -sws_flags neighbor "$work/still.mp4"
  ffmpeg -v error -y -i "$work/still.mp4" "$work/still.png"
}
check_frame() { # VIDEO_FRAME STEPS REGIONS [expect-different]
  local capture="$work/capture$2.png" r
  "$build/kelvidron-capture" "$keys" "$capture" --steps "$2" >/dev/null 2>&1 ||
    fail "capture of $2 steps"
  convert "$capture" -crop 1038x522+0+0 +repage "$capture"
  allowed "$capture"
  for r in $3; do
    region "$1" "$r" "$work/a.png"
    region "$capture" "$r" "$work/b.png"
    region "$work/still.png" "$r" "$work/c.png"
    local error limit
    error=$(rmse "$work/a.png" "$work/b.png")
    limit=$(awk -v l="$(rmse "$work/c.png" "$work/b.png")" 'BEGIN { print 1.25 * l + 0.001 }')
    if [[ ${4:-} == expect-different ]]; then
      awk -v e="$error" -v l="$limit" 'BEGIN { exit !(e > l) }' && return 0
    else
      awk -v e="$error" -v l="$limit" 'BEGIN { exit !(e <= l) }' ||
        fail "$1 against $2 steps in $r: error $error above $limit"
    fi
  done
  [[ ${4:-} != expect-different ]] || fail "$1 is not told apart from $2 steps"
}
check_frame "$work/frame1.png" 0 "$whole"
check_frame "$work/frame2.png" 200 "$whole"
check_frame "$work/frame3.png" 250 "$around_explosion"
# The comparison sees one step: the picture of the next step is told apart (the
# direction indicator and the shots move; measured 13 times the allowed error).
check_frame "$work/frame2.png" 201 "$whole" expect-different

# The sound: each side's loudest and mean level (dB) over a stretch of time.
levels() { # FROM TO
  ffmpeg -v info -i "$work/won.mp4" -vn \
    -af "atrim=$1:$2,astats=measure_overall=none:measure_perchannel=RMS_level" -f null - 2>&1 |
    sed -n 's/.*RMS level dB: //p' | tr '\n' ' '
}
loud() { awk -v v="$1" 'BEGIN { exit !(v != "-inf" && v > -40) }'; }
silent() { [[ $1 == -inf ]]; }
read -r left right <<<"$(levels 0 1.18)"
silent "$left" && silent "$right" || fail "sound before the first shot: $left $right dB"
read -r left right <<<"$(levels 1.21 2.1)"
loud "$left" && silent "$right" || fail "player 1's shots: left $left, right $right dB"
# The first shot is fired by step 121 (0-based 120): its sound starts at 1.21 s, when
# that step's time has come, as its picture does (frame 73 at 1.217 s is the first to
# show it); AAC may smear the onset a few milliseconds early.
onset=$(ffmpeg -i "$work/won.mp4" -vn -af 'pan=mono|c0=c0,silencedetect=n=-60dB:d=0.05' -f null - 2>&1 |
  sed -n 's/.*silence_end: \([0-9.]*\).*/\1/p' | head -n 1)
awk -v t="$onset" 'BEGIN { exit !(t >= 1.205 && t <= 1.215) }' ||
  fail "the first shot is heard at ${onset:-no} s, not at 1.21 s"
read -r left right <<<"$(levels 2.2 3.2)"
loud "$right" || fail "the hits on player 2 are not on the right: $right dB"

# Failures to write: no file under the name asked for, and no temporary one beside it.
status=0
"$replay" video "$work/won.kvr" "$work/missing/x.mp4" >"$work/out" 2>&1 || status=$?
[[ $status -eq 2 ]] && grep -q "missing/x.mp4: cannot write there" "$work/out" ||
  fail "a missing folder gave $status: $(cat "$work/out")"
status=0
DISPLAY= "$replay" video "$work/won.kvr" "$work/nodisplay.mp4" >"$work/out" 2>&1 || status=$?
[[ $status -eq 2 ]] && grep -q "needs a display" "$work/out" ||
  fail "without a display gave $status: $(cat "$work/out")"
# A full disk: a small memory file system where mounting is allowed (as root).
mkdir "$work/full"
if mount -t tmpfs -o size=300k tmpfs "$work/full" 2>/dev/null; then
  full="$work/full"
  status=0
  "$replay" video "$work/won.kvr" "$full/won.mp4" >"$work/out" 2>&1 || status=$?
  [[ $status -eq 2 ]] && grep -q "full/won.mp4: cannot write (No space left on device)" "$work/out" ||
    fail "a full disk gave $status: $(cat "$work/out")"
  [[ -z $(ls -A "$full") ]] || fail "a full disk kept $(ls -A "$full")"
else
  echo "note: no full disk tried (cannot mount a small file system here)"
fi
mkdir "$work/stopped"
LD_PRELOAD=$frame_counter FRAME_COUNTER_FILE=$work/swaps \
  "$replay" video "$work/won.kvr" "$work/stopped/won.mp4" >/dev/null 2>&1 &
pid=$!
# Stopped half-way, once 200 of the 390 buffer swaps are drawn (two a frame): about
# 100 frames made, of which the encoder's lookahead (30) and the writer's buffer
# (32 KB) hold back fewer than 40, so the file holds some 60 frames of about 4 KB,
# over twice what is asked of it here.
wait_swaps "$work/swaps" 200 "$pid" || fail "the video to be interrupted ended early"
size=$(stat -c %s "$work"/stopped/.won.mp4.* 2>/dev/null || echo 0)
((size > 100000)) || fail "the interrupted video never wrote frames"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[[ $status -eq 143 ]] || fail "SIGTERM gave status $status"
[[ -z $(ls -A "$work/stopped") ]] || fail "an interrupted video left $(ls -A "$work/stopped")"
[[ ! -e $work/won.mp4.part && ! -e $work/nodisplay.mp4 && ! -e $work/missing ]] ||
  fail "a failed video left a file"
echo "ok: the video's streams, frames and sides are the duel's; failures leave no file"
