#!/usr/bin/env bash
# Builds everything and runs every test: the formatting of every C++ file, the full build
# with warnings as errors (core, command-line and desktop tests), the core tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run of the
# input-file reader and of the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
jobs=2

echo "== Formatting"
# Every C++ file follows .clang-format; a file that does not fails the test command.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  sources=$(git ls-files '*.cpp' '*.h')
else
  sources=$(find app bench cli engine files fuzz inputfile tests ui -name '*.cpp' -o -name '*.h')
fi
# shellcheck disable=SC2086
clang-format --dry-run --Werror $sources

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
  echo "== Fuzzing the input-file reader and the command-line tool"
  fuzz/run.sh build/fuzz 20
fi
