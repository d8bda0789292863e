#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from its program folder.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
exec build/dist/QuelloxDOZEzedav "$@"
