#!/bin/sh
# Prints the calculation sheet of one example with headless Chromium, with the browser's
# default header and footer left on, on A4 and on Letter, and reads the PDF's text back:
# page 1 holds the HS20 ratings as the example's report prints them, the method and the
# review box; every page holds the structure number and "page N of M"; no page holds the
# file's address, which the browser's own header or footer would print. Skipped (77) when
# Chromium is not installed.
# Usage: print_pdf_test.sh WRITE_CALC_SHEET EXAMPLE METHOD   (EXAMPLE: the path without .qri)
set -eu
tool=$1
example=$2
method=$3

if ! command -v chromium >/dev/null 2>&1; then
    echo "chromium is not installed: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" "$example.qri" "$work/sheet.html"
# The expected texts come from the example's hand-written report (CR LF line ends).
tr -d '\r' <"$example.qro" >"$work/report.txt"
structure=$(awk '/Structure NO\./ { print $3; exit }' "$work/report.txt")
inventory=$(awk '/Rating +\(Tons\)/ { print $(NF-1); exit }' "$work/report.txt")
operating=$(awk '/Rating +\(Tons\)/ { print $NF; exit }' "$work/report.txt")
status=0
expect() {
    if ! grep -Eq "$3" "$work/$2"; then
        echo "missing from the $size PDF: $1 ($3)"
        status=1
    fi
}
for size in A4 letter; do
    # The sheet sets no paper size, so it prints on the printer's; here each size in turn.
    sed "s|</style>|@page{size:$size}</style>|" "$work/sheet.html" >"$work/$size.html"
    # Root in CI has no sandbox and no display; a profile of its own keeps runs apart.
    if ! HOME="$work" timeout 25 chromium --headless --no-sandbox --disable-gpu \
        --disable-quic --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --user-data-dir="$work/profile" \
        --print-to-pdf="$work/$size.pdf" "file://$work/$size.html" >"$work/chromium.log" 2>&1; then
        cat "$work/chromium.log"
        exit 1
    fi
    pdftotext -layout "$work/$size.pdf" "$work/all.txt"
    pdftotext -layout -f 1 -l 1 "$work/$size.pdf" "$work/page1.txt"
    pages=$(pdfinfo "$work/$size.pdf" | awk '/^Pages:/ { print $2 }')
    echo "$size: $pages pages"
    expect "HS20 ratings on page 1" page1.txt \
        "Rating \\(tons\\).* +$(echo "$inventory" | sed 's/\./\\./') +$(echo "$operating" | sed 's/\./\\./') *\$"
    expect "method on page 1" page1.txt "Method: $method\\."
    expect "review box on page 1" page1.txt "^ *Review *\$"
    if grep -q "file://" "$work/all.txt"; then
        echo "the $size PDF holds the file's address: the browser printed its own header"
        status=1
    fi
    for page in $(seq 1 "$pages"); do
        pdftotext -layout -f "$page" -l "$page" "$work/$size.pdf" "$work/page.txt"
        expect "structure number on page $page" page.txt "Structure $structure"
        expect "page number on page $page" page.txt "page $page of $pages"
    done
done
if [ "$status" -ne 0 ]; then
    sed -n '1,60p' "$work/page1.txt"
fi
exit "$status"
