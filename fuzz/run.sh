#!/usr/bin/env bash
# Bounded fuzz run of both targets: the input-file reader with the rating run, and the
# whole command-line tool in memory.
#   fuzz/run.sh BUILD_DIR [SECONDS] [RUNS]
# Configures a clang build with SLABRATING_FUZZ=ON in BUILD_DIR, builds the targets and
# runs each for half of SECONDS (default 20 in all), or for RUNS executions each when
# RUNS is given, with a fixed seed on a copy of its seed corpus, so the repository is
# never modified. Exits non-zero on a finding.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 3 ]; then
  echo "usage: fuzz/run.sh BUILD_DIR [SECONDS] [RUNS]" >&2
  exit 2
fi
build_dir=$1
seconds=${2:-20}
runs=${3:-}
for number in "$seconds" ${runs:+"$runs"}; do
  case $number in
    ''|*[!0-9]*) echo "fuzz/run.sh: SECONDS and RUNS must be whole numbers, not '$number'" >&2; exit 2 ;;
  esac
done

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
cmake --build "$build_dir" --target slabrating_fuzz_reader slabrating_fuzz_cli -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for target in reader cli; do
  corpus=$source_dir/fuzz/corpus
  [ "$target" = cli ] && corpus=$source_dir/fuzz/corpus-cli
  mkdir "$work/$target" "$work/$target-artifacts"
  cp "$corpus"/* "$work/$target/"
  limit=(-max_total_time=$(( (seconds + 1) / 2 )))
  [ -n "$runs" ] && limit=(-runs="$runs")
  # A finding (crash, sanitizer report, timeout) makes libFuzzer exit non-zero and
  # leaves the input in the artifacts folder, which is kept for the user.
  "$build_dir/fuzz/slabrating_fuzz_$target" "$work/$target" \
    -seed=1 "${limit[@]}" -max_len=512 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/$target-artifacts/" -print_final_stats=1 || status=$?
  if [ "$status" -ne 0 ]; then
    kept="$build_dir/fuzz-findings"
    mkdir -p "$kept"
    cp -r "$work/$target-artifacts/." "$kept/" 2>/dev/null || true
    echo "fuzz/run.sh: the $target fuzzer found a fault (status $status); inputs kept in $kept" >&2
    exit "$status"
  fi
done
