#!/usr/bin/env bash
# Builds everything and runs every test: the formatting of every C++ file, the full build
# with warnings as errors (core, command-line and desktop tests), the core tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run of the
# input-file reader and of the command-line tool. Every stage runs even when one before it
# failed; the failed stages are listed at the end, and the status is then 1.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || exit 1

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
jobs=2
failed=()

# stage NAME COMMAND...: runs one step, noting it when it fails.
stage() {
  local name=$1
  shift
  "$@" || failed+=("$name")
}

echo "== Formatting"
# Every C++ file follows .clang-format; a file that does not fails the test command.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  sources=$(git ls-files '*.cpp' '*.h')
else
  sources=$(find app bench cli engine files fuzz inputfile tests ui -name '*.cpp' -o -name '*.h')
fi
# shellcheck disable=SC2086
stage "formatting" clang-format --dry-run --Werror $sources

echo "== Build and test"
stage "configure" cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSLABRATING_WERROR=ON
stage "build" cmake --build build/test -j"$jobs"
stage "tests" ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== Sanitizer build and test"
stage "sanitizer configure" cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug \
  -DSLABRATING_SANITIZE=ON -DSLABRATING_UI=OFF -DSLABRATING_BENCH=OFF -DSLABRATING_WERROR=ON
stage "sanitizer build" cmake --build build/sanitize -j"$jobs"
stage "sanitizer tests" env ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

if [ -x fuzz/run.sh ]; then
  echo "== Fuzzing the input-file reader and the command-line tool"
  stage "fuzzing" fuzz/run.sh build/fuzz 20
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "== FAILED: $(IFS=,; echo "${failed[*]}" | sed 's/,/, /g')" >&2
  exit 1
fi
echo "== All stages passed"
