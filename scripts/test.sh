#!/usr/bin/env bash
# Builds everything and runs every test: the full build with warnings as errors (core,
# command-line and desktop tests), the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short fuzz run of the input-file reader.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
jobs=2

echo "== Build and test"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSLABRATING_WERROR=ON
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== Sanitizer build and test"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DSLABRATING_SANITIZE=ON \
  -DSLABRATING_UI=OFF -DSLABRATING_BENCH=OFF -DSLABRATING_WERROR=ON
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

if [ -x fuzz/run.sh ]; then
  echo "== Fuzzing the input-file reader"
  fuzz/run.sh build/fuzz 20
fi
