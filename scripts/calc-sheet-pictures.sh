#!/bin/sh
# Builds the sheet writer and photographs the top of two example calculation sheets with
# headless Chromium, for the README: a load factor and a working stress slab.
# Usage: scripts/calc-sheet-pictures.sh [build-dir]   (pictures go to docs/screenshots/)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-calc-pictures"}
out="$root/docs/screenshots"

if ! command -v chromium >/dev/null 2>&1; then
    echo "calc-sheet-pictures.sh: chromium is needed (Debian package chromium)" >&2
    exit 1
fi

cmake -S "$root" -B "$build" -DSLABRATING_UI=OFF -DSLABRATING_BENCH=OFF >/dev/null
cmake --build "$build" --target write_calc_sheet -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
# The window shows what page 1 holds: the header, the rating, the review box and the
# sign-off; a picture of the whole sheet would be several times larger.
for pair in lf-state-trucks:calc-load-factor ws-slab:calc-working-stress; do
    example=${pair%%:*}
    picture=${pair#*:}
    (cd "$root" && "$build/tests/calcsheet/write_calc_sheet" "examples/$example.qri" \
        "$work/$example.html" 12/07/2026)
    HOME="$work" chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync --hide-scrollbars \
        --user-data-dir="$work/profile" --force-device-scale-factor=1 --window-size=820,1120 \
        --screenshot="$out/$picture.png" "file://$work/$example.html" >/dev/null 2>&1
    echo "wrote $out/$picture.png"
done
