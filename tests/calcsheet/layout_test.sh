#!/bin/sh
# Lays out the calculation sheets of the bundled examples and of slabs of 2 ft and 24 ft span,
# with negative ratings, in headless Chromium, and fails on every text of a drawing that
# overlaps another text, crosses the edge of a bar or leaves its figure, and on every
# bordered box broken across lines (its border would strike through its own text). A script
# added to a copy of each sheet measures the laid-out page and writes what it finds into the
# page, which --dump-dom prints. Skipped (77) when Chromium is not installed.
# Usage: layout_test.sh SLABRATING_CLI EXAMPLES_DIR
set -eu
cli=$1
examples=$2

if ! command -v chromium >/dev/null 2>&1; then
    echo "chromium is not installed: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/measure.js" <<'SCRIPT'
(function () {
  const faults = [];
  const box = (e) => e.getBoundingClientRect();
  const tol = 0.5;
  const meets = (a, b) => a.left < b.right - tol && b.left < a.right - tol &&
                          a.top < b.bottom - tol && b.top < a.bottom - tol;
  const within = (a, b) => a.left >= b.left - tol && a.right <= b.right + tol &&
                           a.top >= b.top - tol && a.bottom <= b.bottom + tol;
  document.querySelectorAll("svg").forEach((svg, n) => {
    const figure = box(svg);
    const texts = [...svg.querySelectorAll("text")];
    const rects = [...svg.querySelectorAll("rect")].filter((r) => box(r).width > 0);
    texts.forEach((t, i) => {
      const a = box(t);
      const name = `figure ${n + 1}: "${t.textContent}"`;
      if (!within(a, figure)) faults.push(`${name} leaves its figure`);
      texts.slice(i + 1).forEach((u) => {
        if (meets(a, box(u))) faults.push(`${name} overlaps "${u.textContent}"`);
      });
      rects.forEach((r) => {
        const b = box(r);
        if (meets(a, b) && !within(a, b)) faults.push(`${name} crosses the edge of a bar`);
      });
    });
  });
  document.querySelectorAll("body *").forEach((e) => {
    const s = getComputedStyle(e);
    if (s.display === "inline" && parseFloat(s.borderTopWidth) > 0 && e.getClientRects().length > 1)
      faults.push(`"${e.textContent.slice(0, 50)}": a bordered box broken across lines`);
  });
  const out = document.createElement("pre");
  out.id = "layout-faults";
  out.textContent = "FAULTS[" + faults.join("\n") + "]";
  document.body.appendChild(out);
})();
SCRIPT

status=0
check() {
    name=$1
    shift
    "$cli" --date 12/07/2026 --calc "$work/sheet.html" "$@" >/dev/null 2>&1 || true
    if [ ! -s "$work/sheet.html" ]; then
        echo "$name: no sheet"
        status=1
        return
    fi
    { sed 's|</body></html>||' "$work/sheet.html"; printf '<script>'; cat "$work/measure.js"
      printf '</script></body></html>\n'; } >"$work/measured.html"
    if ! HOME="$work" timeout 30 chromium --headless --no-sandbox --disable-gpu --disable-quic \
        --no-first-run --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work/profile" --window-size=800,1200 --virtual-time-budget=5000 \
        --dump-dom "file://$work/measured.html" >"$work/dom.html" 2>"$work/chromium.log"; then
        cat "$work/chromium.log"
        exit 1
    fi
    faults=$(tr '\n' '\1' <"$work/dom.html" | sed -n 's/.*FAULTS\[\([^]]*\)\].*/\1/p' | tr '\1' '\n')
    if ! grep -q 'FAULTS\[' "$work/dom.html"; then
        echo "$name: the measuring script did not run"
        status=1
    elif [ -n "$faults" ]; then
        echo "$name:"
        echo "$faults" | sed 's/^/  /'
        status=1
    else
        echo "$name: no overlap"
    fi
    rm -f "$work/sheet.html"
}

for example in "$examples"/*.qri; do
    check "$(basename "$example")" "$example"
done
ws="--set EffSpan=10 --set SlabThick=8 --set Bitum=2 --set StAreaTop=0.62 --set StDistTop=6.5
    --set STAreaBot=0.62 --set StDistBot=1.5 --set Concfc=1200 --set SteelFy=20000
    --set ModRatio=10 --set LoadType=1 --set StructNo=LAYOUT"
lf="--set EffSpan=12 --set SlabThick=8 --set Bitum=2 --set StAreaTop=0.62 --set StDistTop=6.5
    --set STAreaBot=0.62 --set StDistBot=1.5 --set Concfc=4000 --set SteelFy=60000
    --set ModRatio= --set LoadType=2 --set StructNo=LAYOUT"
# shellcheck disable=SC2086
{
    check "working stress, 2 ft span" $ws --set EffSpan=2
    check "load factor, 2 ft span" $lf --set EffSpan=2
    check "working stress, 2 ft span, little bottom steel" $ws --set EffSpan=2 --set STAreaBot=0.15
    check "working stress, midspan governs" $ws --set STAreaBot=0.15
    check "working stress, 24 ft span, negative rating" $ws --set EffSpan=24 --set SlabThick=30 \
        --set StDistTop=28 --set StAreaTop=0.1
    check "load factor, 24 ft span, negative rating" $lf --set EffSpan=24 --set SlabThick=30 \
        --set StDistTop=28 --set StAreaTop=0.1 --set STAreaBot=0.1
    check "load factor, 24 ft span" $lf --set EffSpan=24 --set SlabThick=14 --set StDistTop=12
}
exit $status
