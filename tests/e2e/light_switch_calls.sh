#!/usr/bin/env bash
# Records every OpenGL call of a lighting test with apitrace: switching a light to the
# state it already has must reach OpenGL not at all.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apitrace trace -o calls.trace \
  "$build/tests/gl_tests" --gtest_filter=Lighting.SetLightEnabledFollowsItsFlag >/dev/null
apitrace dump calls.trace > calls.txt
enables=$(grep -c 'glEnable(cap = GL_LIGHT0)' calls.txt || true)
disables=$(grep -c 'glDisable(cap = GL_LIGHT0)' calls.txt || true)
# One enable from the start-up set-up, then (0, true) again, (0, false) twice.
if [[ "$enables" != 1 || "$disables" != 1 ]]; then
  echo "expected one glEnable and one glDisable of GL_LIGHT0, got $enables and $disables" >&2
  exit 1
fi
echo "ok: $enables enable, $disables disable"
