#!/usr/bin/env bash
# Starts the built game from its build folder, where Data/ lives.
set -euo pipefail
build=${1:-build}
if [[ -z "${DISPLAY:-}" ]]; then
  echo "kelvidron: no display (DISPLAY is not set); run it from a desktop session, or headless with: xvfb-run make run" >&2
  exit 1
fi
cd "$build"
exec ./kelvidron
