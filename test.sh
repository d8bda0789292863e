#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: first the normal build, then
# the sanitizer build (build-asan/, AddressSanitizer and UndefinedBehaviorSanitizer, leak
# detection on). --fast skips the sanitizer build for local work; CI runs both.
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
status=0
(cd build && ctest --output-on-failure -j "$(nproc)" "$@") || status=1
if [ "$fast" -eq 0 ]; then
  tools/setup.sh --sanitize
  echo "Sanitizer build:"
  (cd build-asan && ctest --output-on-failure -j "$(nproc)" "$@") || status=1
fi
exit "$status"
