#!/usr/bin/env bash
# Runs a command with an X display: the current one if DISPLAY is set, otherwise
# a private Xvfb that is started for the command and stopped after it. -noreset keeps
# the server from resetting whenever its last client leaves: a test that connects
# during such a reset cannot open the display.
set -euo pipefail
if [[ -n "${DISPLAY:-}" ]]; then
  exec "$@"
fi
exec xvfb-run --auto-servernum --server-args="-screen 0 2560x1440x24 -nolisten tcp -noreset" "$@"
