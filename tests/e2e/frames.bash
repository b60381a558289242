# Frame counting for the scripts that run the real game (sourced, not a test; $build
# must be set). Start the game as `LD_PRELOAD=$frame_counter FRAME_COUNTER_FILE=FILE
# COMMAND`; `swaps FILE` is then the number of buffer swaps it has made (every
# frame swaps the sub-window and the top-level window), and `wait_swaps FILE N PID`
# waits until it reaches N, failing if the game ends first. `wait_line FILE TEXT PID`
# waits until a program's output FILE holds a line starting with TEXT (a basic regular
# expression), failing if PID ends first. `stop PID` ends a program a script started
# (nothing when PID is empty or already gone) and reaps it.
frame_counter="$build/tests/libframe_counter.so"
[[ -f $frame_counter ]] || { echo "FAIL: no $frame_counter in the build" >&2; exit 1; }
swaps() {
  local n=""
  [[ -f $1 ]] && n=$(tr -d ' \n' <"$1")
  echo "${n:-0}"
}
wait_swaps() {
  local file=$1 wanted=$2 pid=$3 polls=0
  # The poll limit is a safety net against a hang only (ten minutes).
  while (($(swaps "$file") < wanted)); do
    kill -0 "$pid" 2>/dev/null || return 1
    ((++polls < 12000)) || return 1
    sleep 0.05
  done
}
wait_line() {
  # tail follows the file as the program writes it (inotify), so the line is seen as
  # it comes, with no polling; --pid ends it with the program, and the timeout is a
  # safety net against a hang only. Read through a process substitution, so that
  # grep's answer does not wait for tail to notice that it has gone.
  grep -q -m1 -- "^$2" < <(timeout 300 tail -n +1 -F --pid="$3" "$1" 2>/dev/null)
}
stop() {
  if [[ -n $1 ]] && kill -0 "$1" 2>/dev/null; then
    kill "$1"
    wait "$1" 2>/dev/null || true
  fi
}
