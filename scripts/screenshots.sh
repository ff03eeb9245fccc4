#!/bin/sh
# Builds the screenshot tool and photographs the desktop program's windows under a
# virtual X display: the main window with the example slab opened from its input file, and
# the report window after its run.
# Usage: scripts/screenshots.sh [build-dir]   (pictures go to docs/screenshots/)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-screenshots"}
out="$root/docs/screenshots"

if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "screenshots.sh: xvfb-run is needed (Debian package xvfb)" >&2
    exit 1
fi

cmake -S "$root" -B "$build" -DSLABRATING_TEST=OFF -DSLABRATING_BENCH=OFF >/dev/null
cmake --build "$build" --target slabrating-screenshots -j2

mkdir -p "$out"
# A fixed screen and the C locale give the same pictures on every machine.
LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORMTHEME= \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$build/app/slabrating-screenshots" "$out" "$root/examples/lf-state-trucks.qri"
echo "wrote $out/main-window.png and $out/report-window.png"
