#!/usr/bin/env bash
# Bounded fuzz run of the input-file reader and the rating run.
#   fuzz/run.sh BUILD_DIR [SECONDS]
# Configures a clang build with SLABRATING_FUZZ=ON in BUILD_DIR, builds the fuzz
# target and runs it for SECONDS (default 20) with a fixed seed on a copy of the
# seed corpus, so the repository is never modified. Exits non-zero on a finding.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: fuzz/run.sh BUILD_DIR [SECONDS]" >&2
  exit 2
fi
build_dir=$1
seconds=${2:-20}
case $seconds in
  ''|*[!0-9]*) echo "fuzz/run.sh: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# libFuzzer comes with clang's runtime package.
if ! command -v clang++ >/dev/null 2>&1 || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-14-dev
fi

cmake -S "$source_dir" -B "$build_dir" \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSLABRATING_FUZZ=ON -DSLABRATING_UI=OFF -DSLABRATING_TEST=OFF -DSLABRATING_BENCH=OFF >/dev/null
cmake --build "$build_dir" --target slabrating_fuzz_reader -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/artifacts"
cp "$source_dir"/fuzz/corpus/* "$work/corpus/"

# A finding (crash, sanitizer report, timeout) makes libFuzzer exit non-zero and
# leaves the input in the artifacts folder, which is kept for the user.
status=0
"$build_dir/fuzz/slabrating_fuzz_reader" "$work/corpus" \
  -seed=1 -max_total_time="$seconds" -max_len=512 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 || status=$?

if [ "$status" -ne 0 ]; then
  kept="$build_dir/fuzz-findings"
  mkdir -p "$kept"
  cp -r "$work/artifacts/." "$kept/" 2>/dev/null || true
  echo "fuzz/run.sh: the fuzzer found a fault (status $status); inputs kept in $kept" >&2
fi
exit "$status"
