#!/usr/bin/env bash
# Builds the program and starts the desktop window.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSLABRATING_TEST=OFF -DSLABRATING_BENCH=OFF
cmake --build build/release -j2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<MSG
No display here, so the desktop window cannot open. Either
  run it under a virtual display:   xvfb-run -a build/release/app/slabrating
  or rate from the command line:    build/release/cli/slabrating-cli examples/ws-slab.qri
Rating the bundled example with the command-line tool:

MSG
  exec build/release/cli/slabrating-cli examples/ws-slab.qri
fi
exec build/release/app/slabrating "$@"
