#!/bin/sh
# Prints the calculation sheet of one example with headless Chromium and reads the PDF's
# text back: the structure number, the HS20 operating rating as the example's report
# prints it, and a formula. Skipped (77) when Chromium is not installed.
# Usage: print_pdf_test.sh WRITE_CALC_SHEET EXAMPLE   (EXAMPLE: the path without .qri)
set -eu
tool=$1
example=$2

if ! command -v chromium >/dev/null 2>&1; then
    echo "chromium is not installed: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" "$example.qri" "$work/sheet.html"
# Root in CI has no sandbox and no display; a profile of its own keeps runs apart.
if ! HOME="$work" timeout 25 chromium --headless --no-sandbox --disable-gpu \
    --no-pdf-header-footer --user-data-dir="$work/profile" \
    --print-to-pdf="$work/sheet.pdf" "file://$work/sheet.html" >"$work/chromium.log" 2>&1; then
    cat "$work/chromium.log"
    exit 1
fi
pdftotext -layout "$work/sheet.pdf" "$work/sheet.txt"
pdftotext -layout -f 2 -l 2 "$work/sheet.pdf" "$work/page2.txt"

# The expected texts come from the example's hand-written report (CR LF line ends).
tr -d '\r' <"$example.qro" >"$work/report.txt"
structure=$(awk '/Structure NO\./ { print $3; exit }' "$work/report.txt")
tons=$(awk '/Rating +\(Tons\)/ { print $NF; exit }' "$work/report.txt")
status=0
expect() {
    if ! grep -Eq "$3" "$work/$2"; then
        echo "missing from the PDF: $1 ($3)"
        status=1
    fi
}
expect "structure number" sheet.txt "Structure Number +$structure"
expect "HS20 operating rating" sheet.txt \
    "Rating \\(tons\\) +[-0-9.]+ +$(echo "$tons" | sed 's/\./\\./') *\$"
expect "formula" sheet.txt "w = 12\\.5 h \\+ 12 b"
# The print styles repeat the page header, structure number included, on every page.
expect "page header of page 2" page2.txt "^ *Slab Rating calculation sheet .* Structure $structure "
if [ "$status" -ne 0 ]; then
    sed -n '1,40p' "$work/sheet.txt"
fi
exit "$status"
