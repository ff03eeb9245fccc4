#!/usr/bin/env bash
# Batch rates side by side in one run, in memory (tmpfs) and on the disk: a batch into a
# fresh folder, the same batch replacing its reports, with a CSV and a JSON Lines summary,
# and a plain create-write-close loop of the same report files. Prints the rates (files a
# second, the median of RUNS runs) and the ratios the batch is held to:
#   replacing >= 0.8 x fresh (tmpfs and disk), fresh >= 0.5 x plain loop (tmpfs).
#
#   bench/batch/compare_rates.sh BUILD_DIR [FILES] [RUNS] [DISK_DIR]
set -euo pipefail
build=${1:?usage: compare_rates.sh BUILD_DIR [FILES] [RUNS] [DISK_DIR]}
count=${2:-20000}
runs=${3:-5}
disk=${4:-${TMPDIR:-/tmp}}
cli=$build/cli/slabrating-cli
plain=$build/bench/batch/slabrating_plain_writes
[ -x "$cli" ] && [ -x "$plain" ] || { echo "build slabrating-cli and slabrating_plain_writes first" >&2; exit 2; }

records=(
  "1B-12-AC JD 50           SH 50 OVER CREEK185001400012500031020030004000000150060"
  "2 S-1001ABC 12 B0001        LF END TO END120000800006500062020040006000000150062"
  "2  C-417 MK281WS2026   OLD WS SLAB US 281160000800006000050030012002000010150050"
  "1 W-2002 RS 35        WORKING STRESS SLAB100000800006500062020012002000010150062"
)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f\n", a / b }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One batch run, its output dropped; a run that fails shows why and stops the measure.
batch() {
  "$cli" --date 01/02/2024 --no-progress "$@" >/dev/null 2>"$work/stderr" ||
    { cat "$work/stderr" >&2; exit 1; }
}

# Files a second of one batch run: rate ARGS...
rate() {
  local start end
  start=$(date +%s.%N)
  batch "$@"
  end=$(date +%s.%N)
  awk -v n="$count" -v s="$start" -v e="$end" 'BEGIN { printf "%.0f\n", n / (e - s) }'
}

measure() {  # measure PARENT LABEL
  local work=$1/slabrating-compare-rates-$$ label=$2 i fresh replace csv jsonl plainrate
  rm -rf "$work"
  mkdir -p "$work/in"
  for ((i = 0; i < count; i++)); do
    printf '%s\r\n' "${records[i % 4]}" >"$work/in/slab$i.qri"
  done
  batch --out "$work/warm" "$work/in"  # warms the caches
  fresh=$(for ((i = 0; i < runs; i++)); do rm -rf "$work/out"; rate --out "$work/out" "$work/in"; done | median)
  replace=$(for ((i = 0; i < runs; i++)); do rate --out "$work/out" "$work/in"; done | median)
  csv=$(for ((i = 0; i < runs; i++)); do rate --summary "$work/s.csv" --out "$work/out" "$work/in"; done | median)
  jsonl=$(for ((i = 0; i < runs; i++)); do rate --summary "$work/s.jsonl" --out "$work/out" "$work/in"; done | median)
  plainrate=$(for ((i = 0; i < runs; i++)); do rm -rf "$work/plain"; mkdir "$work/plain"; "$plain" "$work/out" "$work/plain"; done | median)
  rm -rf "$work"
  printf '%-6s fresh %7d  replacing %7d  replacing+csv %7d  replacing+jsonl %7d  plain loop %7d files/s\n' \
    "$label" "$fresh" "$replace" "$csv" "$jsonl" "$plainrate"
  printf '%-6s replacing / fresh %.2f (>= 0.8)   fresh / plain loop %.2f   csv / replacing %.2f   jsonl / replacing %.2f\n' \
    "$label" "$(ratio "$replace" "$fresh")" "$(ratio "$fresh" "$plainrate")" \
    "$(ratio "$csv" "$replace")" "$(ratio "$jsonl" "$replace")"
}

echo "$count files, median of $runs runs"
measure /dev/shm tmpfs
measure "$disk" disk
