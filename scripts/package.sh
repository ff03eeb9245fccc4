#!/usr/bin/env bash
# Builds the Debian package slabrating_<version>_<arch>.deb from a build folder and
# prints its path.
# Usage: scripts/package.sh [build-dir]   (default build/release, configured as a
# release build when it does not exist yet; an existing build is packaged as it is
# configured, so the test build's package holds the tested programs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build/release"}

if [ ! -f "$build/CMakeCache.txt" ]; then
  "$root/scripts/install-deps.sh"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSLABRATING_TEST=OFF \
    -DSLABRATING_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j2 >/dev/null

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
rm -f "$build"/slabrating_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/slabrating_"$version"_*.deb)
echo "$deb"
