#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: first the normal build, then
# the sanitizer build (build-asan/, AddressSanitizer and UndefinedBehaviorSanitizer, leak
# detection on). --fast skips the sanitizer build for local work; CI runs both. JOBS sets the
# parallel jobs of the builds and of ctest (all cores without it).
# Other arguments go to ctest in both builds (e.g. ./test.sh -R production).
set -euo pipefail
cd "$(dirname "$0")"

fast=0
if [ "${1:-}" = "--fast" ]; then
  fast=1
  shift
fi
export QT_QPA_PLATFORM=offscreen

tools/setup.sh

# A private X server for the tests that need a real display (the programs of tests/xdisplay); the rest run
# offscreen whatever DISPLAY says.
xvfb_pid=""
stop_xvfb() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true; }
trap stop_xvfb EXIT
display_file=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1600x1200x24 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
if [ -s "$display_file" ]; then
  export DISPLAY=":$(head -n1 "$display_file")"
else
  echo "Xvfb did not start: the real-display tests will fail" >&2
  unset DISPLAY
fi
rm -f "$display_file"

status=0
(cd build && ctest --output-on-failure -j "${JOBS:-$(nproc)}" "$@") || status=1
if [ "$fast" -eq 0 ]; then
  tools/setup.sh --sanitize
  echo "Sanitizer build:"
  (cd build-asan && ctest --output-on-failure -j "${JOBS:-$(nproc)}" -LE whole_program "$@") || status=1
  # Each window-layer test program once more as one process, after the single tests: the same
  # tests at the same time would share their kept products.
  echo "Sanitizer build, each window-layer test program as one process:"
  (cd build-asan && ctest --output-on-failure -j "${JOBS:-$(nproc)}" -L whole_program "$@") || status=1
fi
exit "$status"
