#!/usr/bin/env python3
"""scripts/merge-summaries.py on hand-written summaries: a changed row replaces its old
one, a new file is added at the end, a row of a file that is gone is left out with a note,
and quoted fields holding commas, quotes and line ends are copied byte for byte.

    merge_summaries_test.py SCRIPT
"""
import os
import subprocess
import sys
import tempfile

HEADER = "file,structure_number,outcome,message\r\n"


def main():
    script = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        os.chdir(work)
        for name in ("a.qri", "b,c.qri", "d.qri"):
            open(name, "w").close()
        whole = HEADER + (
            "a.qri,A-1,complete,\r\n"
            '"b,c.qri","B ""2""",complete,\r\n'
            "gone.qri,G-1,complete,\r\n"
            'd.qri,D-1,not numeric,"Error: line one\r\nline two"\r\n')
        new = HEADER + (
            '"b,c.qri","B ""3""",complete,\r\n'
            "e.qri,,file not found,File not found.\r\n")
        with open("whole.csv", "w", newline="") as f:
            f.write(whole)
        with open("new.csv", "w", newline="") as f:
            f.write(new)
        done = subprocess.run([sys.executable, script, "whole.csv", "new.csv"],
                              capture_output=True)
        done.stdout = done.stdout.decode()
        done.stderr = done.stderr.decode()
        expected = HEADER + (
            "a.qri,A-1,complete,\r\n"
            '"b,c.qri","B ""3""",complete,\r\n'
            'd.qri,D-1,not numeric,"Error: line one\r\nline two"\r\n'
            "e.qri,,file not found,File not found.\r\n")
        failures = []
        if done.returncode != 0:
            failures.append(f"status {done.returncode}: {done.stderr}")
        if done.stdout != expected:
            failures.append(f"merged:\n{done.stdout!r}\nexpected:\n{expected!r}")
        if done.stderr != "merge-summaries: gone.qri is gone: its row is left out\n":
            failures.append(f"stderr: {done.stderr!r}")
        if failures:
            sys.exit("\n".join(failures))


main()
