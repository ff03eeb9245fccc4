#!/usr/bin/env python3
"""Peak memory of a large batch: FILES input files (default 150,000) in a temporary folder
in memory, rated by slabrating-cli with a CSV and with a JSON Lines summary. Prints the
peak resident set size of each run; the target is at most 64 MB, flat as the batch grows.

    bench/batch/peak_memory.py BUILD_DIR [FILES] [PARENT_DIR]
"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile

RECORDS = [
    "1B-12-AC JD 50           SH 50 OVER CREEK185001400012500031020030004000000150060",
    "2 S-1001ABC 12 B0001        LF END TO END120000800006500062020040006000000150062",
    "2  C-417 MK281WS2026   OLD WS SLAB US 281160000800006000050030012002000010150050",
    "1 W-2002 RS 35        WORKING STRESS SLAB100000800006500062020012002000010150062",
]
TARGET_MB = 64


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    cli = os.path.join(sys.argv[1], "cli", "slabrating-cli")
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 150000
    parent = sys.argv[3] if len(sys.argv) > 3 else "/dev/shm"
    work = tempfile.mkdtemp(prefix="slabrating-peak-memory-", dir=parent)
    try:
        for i in range(count):
            folder = os.path.join(work, "in", f"d{i // 1000:04d}")
            if i % 1000 == 0:
                os.makedirs(folder)
            with open(os.path.join(folder, f"slab{i}.qri"), "w", newline="") as f:
                f.write(RECORDS[i % len(RECORDS)] + "\r\n")
        worst = 0
        for summary in ("s.csv", "s.jsonl"):
            # Each run is a child of its own, so that its peak is not an earlier run's.
            probe = ("import resource, subprocess, sys;"
                     "subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True);"
                     "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)")
            done = subprocess.run([sys.executable, "-c", probe, cli, "--date", "01/02/2024",
                                   "--summary", os.path.join(work, summary), "--out",
                                   os.path.join(work, "out"), os.path.join(work, "in")],
                                  capture_output=True, text=True, check=True)
            peak_mb = int(done.stdout) / 1024
            worst = max(worst, peak_mb)
            print(f"{count} files, {summary[2:]} summary: peak RSS {peak_mb:.1f} MB")
        print(f"target: at most {TARGET_MB} MB: {'met' if worst <= TARGET_MB else 'MISSED'}")
    finally:
        shutil.rmtree(work)


main()
