#!/usr/bin/env bash
# Runs a command on an X server of its own, whatever DISPLAY says: test windows never
# appear on the user's desktop, and no window manager moves or decorates them. Xvfb
# picks a free display number itself (-displayfd), so runs side by side never meet,
# and the server is stopped when the command ends, fails or is interrupted.
# -noreset keeps the server from resetting whenever its last client leaves: a test
# that connects during such a reset cannot open the display.
set -euo pipefail
[[ $# -gt 0 ]] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

numberfile=$(mktemp)
server=""
child=""
cleanup() {
  set +e
  if [[ -n $child ]]; then
    kill -TERM "$child" 2>/dev/null
    wait "$child" 2>/dev/null
  fi
  if [[ -n $server ]]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -f "$numberfile"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

Xvfb -displayfd 3 -screen 0 2560x1440x24 -nolisten tcp -noreset 3>"$numberfile" 2>/dev/null &
server=$!
# Xvfb writes the number once it accepts clients.
until [[ -s $numberfile ]]; do
  kill -0 "$server" 2>/dev/null || { echo "error: Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(head -n 1 "$numberfile")"
unset XAUTHORITY WAYLAND_DISPLAY
# In the background, so that a signal to this script stops the command at once
# (the traps above) instead of after it.
"$@" <&0 &
child=$!
status=0
wait "$child" || status=$?
child=""
exit $status
