#!/usr/bin/env python3
"""Merges the summary of an incremental batch into the summary of the whole inventory.

    scripts/merge-summaries.py WHOLE NEW > MERGED

WHOLE and NEW are summaries that slabrating-cli wrote (both CSV, or both JSON Lines) from
the same folder, naming the inputs the same way (the same --root). Each row of NEW takes
the place of WHOLE's row of the same input file; a file that WHOLE does not have is added
at the end. A row of WHOLE whose input file is no longer there is left out, with a note on
stderr. The rows are copied byte for byte, so MERGED reads as the tool's own summary.
"""
import json
import os
import sys


def csv_rows(data):
    """The rows of a CSV summary as the tool writes it: each ends in CR LF outside quotes."""
    if data and not data.endswith("\r\n"):
        sys.exit("merge-summaries: the CSV summary does not end with a line end")
    rows, pending = [], ""
    for piece in data.split("\r\n")[:-1]:
        pending += piece + "\r\n"
        # An even count of quotes: the line end stands outside every quoted field.
        if pending.count('"') % 2 == 0:
            rows.append(pending)
            pending = ""
    if pending:
        sys.exit("merge-summaries: the CSV summary ends inside a quoted field")
    return rows


def csv_key(row):
    """The first field of a CSV row: the input file."""
    if not row.startswith('"'):
        return row.split(",", 1)[0]
    text, i = [], 1
    while i < len(row):
        if row[i] == '"':
            if row.startswith('""', i):
                text.append('"')
                i += 2
                continue
            break
        text.append(row[i])
        i += 1
    return "".join(text)


def read(path):
    with open(path, encoding="utf-8", newline="") as f:
        data = f.read()
    if path.endswith(".jsonl"):
        lines = [line + "\n" for line in data.split("\n") if line]
        return "", [(json.loads(line)["file"], line) for line in lines]
    rows = csv_rows(data)
    if not rows:
        sys.exit(f"merge-summaries: {path} has no header row")
    return rows[0], [(csv_key(row), row) for row in rows[1:]]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    whole_path, new_path = sys.argv[1:]
    if whole_path.endswith(".jsonl") != new_path.endswith(".jsonl"):
        sys.exit("merge-summaries: both summaries must be CSV, or both JSON Lines")
    header, whole = read(whole_path)
    new_header, new = read(new_path)
    if header != new_header:
        sys.exit("merge-summaries: the two summaries have different columns")
    newer = dict(new)
    out = sys.stdout
    out.reconfigure(encoding="utf-8", newline="")
    out.write(header)
    seen = set()
    for key, row in whole:
        if key in newer:
            row = newer[key]
        elif key is not None and not os.path.lexists(key):
            print(f"merge-summaries: {key} is gone: its row is left out", file=sys.stderr)
            continue
        seen.add(key)
        out.write(row)
    for key, row in new:
        if key not in seen:
            seen.add(key)
            out.write(row)


main()
