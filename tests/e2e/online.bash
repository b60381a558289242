# The online duel's headless harness (sourced, not a test; $build, $source and $work
# must be set): two real sides of kelvidron-online without windows, talking real ENet
# over 127.0.0.1 through kelvidron-net-relay, which impairs the link. Every process
# runs under `timeout`, so nothing outlives a hung duel.
online="$build/kelvidron-online"
relay_program="$build/kelvidron-net-relay"
replay_program="$build/kelvidron-replay"
p1_keys="$source/tests/e2e/replays/player_one_wins.keys"
p2_keys="$source/tests/e2e/online/player_two_turns.keys"
# Ports of this run's own, away from the well-known ones; each duel takes two more.
next_port=$((21000 + ($$ % 400) * 20))

fail() { echo "FAIL: $*" >&2; exit 1; }

source "$source/tests/e2e/frames.bash" # wait_line

# stat DUEL SIDE NAME: one figure from a side's --stats file.
stat() { sed -n "s/^$3 //p" "$work/$1/$2.stats"; }

# run_duel NAME "RELAY OPTIONS" [ENV=VALUE...]: a scripted duel, player 1 from its
# key script on the host (started with the given environment), player 2 from its own
# on the joiner. $on_start, if set, is run with the duel's folder and the joiner's
# process once the duel has started (to kill it, say). Leaves the outputs, stats and
# replays in $work/NAME and the exit statuses in host_status and join_status.
run_duel() {
  local name=$1 relay_options=$2
  shift 2
  local d="$work/$name" host_port=$next_port listen_port=$((next_port + 1))
  next_port=$((next_port + 2))
  mkdir -p "$d"
  # shellcheck disable=SC2086
  timeout 120 "$relay_program" "$listen_port" "$host_port" $relay_options --lifetime 100 \
    2>"$d/relay.err" &
  local relay_pid=$!
  env "$@" timeout 100 "$online" host --port "$host_port" --no-window --keys "$p1_keys" \
    --record "$d/h.kvr" --stats "$d/h.stats" ${HOST_OPTIONS:-} >"$d/h.out" 2>"$d/h.err" &
  local host_pid=$!
  wait_line "$d/h.out" "join code: " "$host_pid" || fail "$name: the host gave no join code: $(cat "$d/h.err")"
  local code
  code=$(sed -n 's/^join code: //p' "$d/h.out")
  timeout 100 "$online" join "127.0.0.1:$listen_port" "$code" --no-window --keys "$p2_keys" \
    --record "$d/j.kvr" --stats "$d/j.stats" ${JOIN_OPTIONS:-} >"$d/j.out" 2>"$d/j.err" &
  local join_pid=$!
  if [[ -n ${on_start:-} ]]; then
    wait_line "$d/j.out" "kelvidron-online: go" "$join_pid" || fail "$name: the duel never started"
    "$on_start" "$d" "$join_pid"
  fi
  host_status=0
  join_status=0
  wait "$host_pid" || host_status=$?
  wait "$join_pid" || join_status=$?
  kill "$relay_pid" 2>/dev/null || true
  wait "$relay_pid" 2>/dev/null || true
}

# expect_matching NAME: both sides finished the same duel: status 0, the same steps and
# winner, byte-identical replays, and kelvidron-replay's check matches both.
expect_matching() {
  local d="$work/$1"
  [[ $host_status -eq 0 && $join_status -eq 0 ]] ||
    fail "$1: exit statuses $host_status and $join_status: $(cat "$d/h.err" "$d/j.err")"
  local steps result
  steps=$(stat "$1" h steps)
  result=$(stat "$1" h result)
  [[ $(stat "$1" j steps) == "$steps" && $(stat "$1" j result) == "$result" ]] ||
    fail "$1: the sides disagree: $steps $result against $(stat "$1" j steps) $(stat "$1" j result)"
  [[ $result == "player 1 wins" ]] || fail "$1: the duel ended '$result'"
  cmp -s "$d/h.kvr" "$d/j.kvr" || fail "$1: the two replays differ"
  for side in h j; do
    "$replay_program" check "$d/$side.kvr" >"$d/$side.check" 2>&1 ||
      fail "$1: kelvidron-replay check of the $side side: $(cat "$d/$side.check")"
    [[ $(tail -n 1 "$d/$side.check") == "$steps steps, "*", player 1 wins, matches" ]] ||
      fail "$1: check says $(tail -n 1 "$d/$side.check")"
  done
}

# A row of the impairment table: rollbacks and stalls per minute of play on each side,
# the longest rollback, bytes per second each way (headers included), and the median
# time from player 1's shot read on the host to it running on the joiner.
figures_row() {
  python3 - "$work/$1" "$1" <<'PY'
import statistics, sys
folder, name = sys.argv[1], sys.argv[2]
def read(side):
    stats, shots = {}, {}
    for line in open(f"{folder}/{side}.stats"):
        key, *rest = line.split()
        if key in ("shot", "shown"):
            shots.setdefault(key, {})[int(rest[0])] = float(rest[1])
        else:
            stats[key] = " ".join(rest)
    return stats, shots
h, hs = read("h")
j, js = read("j")
minutes = float(h["played_ms"]) / 60000
lat = [js["shown"][s] - t for s, t in hs.get("shot", {}).items() if s in js.get("shown", {})]
latency = f"{statistics.median(lat):.0f}" if lat else "-"
print(f"| {name} | {h['steps']} | {float(h['rollbacks'])/minutes:.0f} / {float(j['rollbacks'])/minutes:.0f} "
      f"| {h['longest_rollback']} / {j['longest_rollback']} "
      f"| {float(h['stalls'])/minutes:.1f} / {float(j['stalls'])/minutes:.1f} "
      f"| {h['sent_bytes_per_s']} / {j['sent_bytes_per_s']} | {latency} |")
PY
}
