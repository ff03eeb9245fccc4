#!/usr/bin/env python3
"""Runs slabrating-cli on slabs of every outcome and checks what it writes beside the
report: each JSON result (single run and JSON Lines summary) against the JSON Schema in
docs/, every number of the calculation sheet against the JSON result, and the CSV summary
read back by Python's own CSV reader.

    check_results.py SLABRATING_CLI SCHEMA EXAMPLES_DIR

Without Python's jsonschema module (Debian package python3-jsonschema) the schema checks
cannot run: the script says so, runs the other checks and exits with 77, which CTest
reports as skipped.
"""
import csv
import io
import json
import subprocess
import sys
import tempfile
from pathlib import Path

from html.parser import HTMLParser

try:
    import jsonschema
except ImportError:
    jsonschema = None
    print("check_results.py: the Python module jsonschema is missing (Debian package "
          "python3-jsonschema), so no result is checked against the schema",
          file=sys.stderr)

cli, schema_path, examples = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3])
validator = (jsonschema.Draft202012Validator(json.loads(schema_path.read_text()))
             if jsonschema else None)
failures = []


def run(*args):
    return subprocess.run([cli, "--date", "12/07/2026", *args], capture_output=True)


def check(name, document):
    if validator is None:
        return
    for error in validator.iter_errors(document):
        failures.append(f"{name}: {error.json_path}: {error.message}")


class SheetNumbers(HTMLParser):
    """The numbers of a calculation sheet: (JSON pointer, value text) of each <data>."""

    def __init__(self):
        super().__init__()
        self.numbers = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "data" and "data-q" in attrs:
            self.numbers.append((attrs["data-q"], attrs["value"]))


def at(document, pointer):
    for part in pointer.lstrip("/").split("/"):
        document = document[int(part)] if isinstance(document, list) else document[part]
    return document


def check_sheet(name, sheet, result):
    parser = SheetNumbers()
    parser.feed(sheet.read_text(encoding="utf-8"))
    if result["outcome"] == "complete" and len(parser.numbers) < 50:
        failures.append(f"{name}: only {len(parser.numbers)} numbers on the sheet")
    for pointer, text in parser.numbers:
        try:
            expected = at(result, pointer)
        except (KeyError, IndexError, ValueError):
            failures.append(f"{name}: the sheet's {pointer} is not in the JSON result")
            continue
        if float(text) != float(expected):
            failures.append(f"{name}: the sheet's {pointer} is {text}, the JSON's {expected}")


# The worked example of the input file, with a field changed per outcome.
slab = ["--set", "Bitum=2", "--set", "EffSpan=12", "--set", "SlabThick=8",
        "--set", "StAreaTop=0.62", "--set", "StDistTop=6.5", "--set", "STAreaBot=0.62",
        "--set", "StDistBot=1.5", "--set", "Concfc=4000", "--set", "SteelFy=60000"]
cases = {f"example {path.name}": [str(path)] for path in sorted(examples.glob("*.qri"))}
cases.update({
    "not numeric": ["--set", "Bitum=x"],
    "range failure": slab + ["--set", "EffSpan=30"],
    "arithmetic fault": slab + ["--set", "Concfc=0"],
    "file not found": [str(examples / "no-such-slab.qri")],
})
sheets = tempfile.TemporaryDirectory()
for number, (name, args) in enumerate(cases.items()):
    sheet = Path(sheets.name) / f"sheet-{number}.html"
    done = run("--format", "json", "--calc", str(sheet), *args)
    result = json.loads(done.stdout)
    check(name, result)
    if sheet.exists():
        check_sheet(name, sheet, result)
    elif result["outcome"] != "file not found":
        failures.append(f"{name}: no calculation sheet")

with tempfile.TemporaryDirectory() as work:
    work = Path(work)
    hostile = work / "hostile.qri"
    # Texts with commas, quotes, Latin-1 letters and markup, right-aligned in their columns.
    texts = [(b'"A,B"C', 7), (b"\xc4\xe9", 3), (b"50", 3), (b'a"b', 6), (b'<b>&amp;, "x"\xfc', 21)]
    record = b"1" + b"".join(text.rjust(width) for text, width in texts)
    hostile.write_bytes(record + b"185001400012500031020030004000000150060\r\n")
    inputs = [str(p) for p in sorted(examples.glob("*.qri"))] + [str(hostile),
                                                                 str(work / "missing.qri")]
    run("--summary", str(work / "s.jsonl"), "--out", str(work / "r"), *inputs)
    for number, line in enumerate((work / "s.jsonl").read_text(encoding="utf-8").splitlines()):
        check(f"summary line {number + 1}", json.loads(line))

    run("--summary", str(work / "s.csv"), "--out", str(work / "r"), *inputs)
    rows = list(csv.DictReader(io.StringIO((work / "s.csv").read_text(encoding="utf-8"),
                                           newline="")))
    if len(rows) != len(inputs):
        failures.append(f"CSV summary: {len(rows)} rows for {len(inputs)} inputs")
    by_file = {row["file"]: row for row in rows}
    row = by_file.get(str(hostile), {})
    expected = {"structure_number": '"A,B"C', "rater": "Äé", "batch_id": 'a"b',
                "outcome": "complete"}
    for column, text in expected.items():
        if row.get(column) != text:
            failures.append(f"CSV summary: {column} is {row.get(column)!r}, not {text!r}")
    missing = by_file.get(str(work / "missing.qri"), {})
    if (missing.get("outcome") != "file not found" or missing.get("hs20_operating_tons") != ""
            or missing.get("review_for_posting") != ""):
        failures.append(f"CSV summary: the missing file's row is {missing}")
    for row in rows:
        rated = row["outcome"] == "complete"
        if rated and row["review_for_posting"] not in ("yes", "no"):
            failures.append(f"CSV summary: {row['file']} has review_for_posting "
                            f"{row['review_for_posting']!r}")
        if bool(row["legal_series"]) != bool(row["controlling_truck"]):
            failures.append(f"CSV summary: {row['file']} has legal series "
                            f"{row['legal_series']!r} and controlling truck "
                            f"{row['controlling_truck']!r}")

for failure in failures:
    print(failure, file=sys.stderr)
print(f"{len(cases) + 2} checked, {len(failures)} failures")
sys.exit(1 if failures else 0 if validator else 77)
