#!/usr/bin/env bash
# Checks of the Debian package, one per CTest test: check.sh CHECK.
# "build" makes the package from this build and unpacks it into $SLABRATING_ROOT;
# every other check looks at that package and at the files unpacked from it.
# Environment (set by CMakeLists.txt): SLABRATING_SOURCE, SLABRATING_BUILD,
# SLABRATING_VERSION, SLABRATING_ROOT.
set -euo pipefail

version=$SLABRATING_VERSION
root=$SLABRATING_ROOT
deb=$SLABRATING_BUILD/slabrating_${version}_$(dpkg --print-architecture).deb
share=$root/usr/share
completion=$share/bash-completion/completions/slabrating-cli

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

check_build() {
  built=$("$SLABRATING_SOURCE/scripts/package.sh" "$SLABRATING_BUILD")
  [ "$built" = "$deb" ] || fail "package.sh made $built, expected $deb"
  rm -rf "$root"
  dpkg-deb -x "$deb" "$root"
}

# Every file the package promises, and nothing outside /usr.
check_contents() {
  local listing missing=0 path
  listing=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
  while read -r path; do
    grep -qx "./usr/$path" <<<"$listing" || { echo "missing: /usr/$path" >&2; missing=1; }
  done <<EOF
bin/slabrating
bin/slabrating-cli
share/applications/slabrating.desktop
share/icons/hicolor/scalable/apps/slabrating.svg
share/icons/hicolor/16x16/apps/slabrating.png
share/icons/hicolor/32x32/apps/slabrating.png
share/icons/hicolor/48x48/apps/slabrating.png
share/icons/hicolor/64x64/apps/slabrating.png
share/icons/hicolor/128x128/apps/slabrating.png
share/icons/hicolor/256x256/apps/slabrating.png
share/mime/packages/slabrating.xml
share/metainfo/org.slabrating.SlabRating.metainfo.xml
share/man/man1/slabrating.1.gz
share/man/man1/slabrating-cli.1.gz
share/bash-completion/completions/slabrating-cli
share/doc/slabrating/README.md
share/doc/slabrating/copyright
share/doc/slabrating/changelog.gz
share/doc/slabrating/slab-result.schema.json
share/doc/slabrating/docs/screenshots/main-window.png
share/doc/slabrating/docs/screenshots/report-window.png
share/doc/slabrating/examples/ws-slab.qri
share/doc/slabrating/examples/ws-slab.qro
EOF
  [ "$missing" -eq 0 ] || fail "the package lacks files"
  if grep -v '^\./usr/' <<<"$listing" | grep -vx '\./'; then
    fail "files outside /usr"
  fi

  local field expected
  while read -r field expected; do
    [ "$(dpkg-deb --field "$deb" "$field")" = "$expected" ] ||
      fail "$field is '$(dpkg-deb --field "$deb" "$field")', expected '$expected'"
  done <<EOF
Package slabrating
Version $version
Architecture $(dpkg --print-architecture)
Section science
EOF
  # The dependencies come from the programs' shared libraries.
  dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries"
}

check_lintian() {
  # A warning the package cannot avoid belongs in a lintian override file installed from
  # packaging/, with its reason; today there is none.
  lintian --fail-on error,warning "$deb"
}

check_desktop_entry() {
  local out
  out=$(desktop-file-validate "$share/applications/slabrating.desktop" 2>&1) || fail "$out"
  [ -z "$out" ] || fail "$out"
}

check_metainfo() {
  appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml
}

check_man_pages() {
  local page out
  for page in "$share"/man/man1/*.1.gz; do
    out=$(zcat "$page" | groff -ww -z -man 2>&1) || fail "$page: $out"
    [ -z "$out" ] || fail "$page: $out"
  done
}

# The options of an option list: the first column of the lines that start with "-",
# aliases ("-h, --help") split, values ("--date TEXT") dropped.
option_column() {
  sed -n 's/^ *\(-.*\)$/\1/p' | sed 's/  .*//' | tr ', ' '\n\n' |
    grep -E '^--?[[:alpha:]][[:alnum:]-]*$' | sort -u
}

help_options() {
  "$root/usr/bin/$1" --help 2>/dev/null | grep '^  -' | option_column
}

man_options() {
  zcat "$share/man/man1/$1.1.gz" | groff -man -Tascii -P-cbou 2>/dev/null |
    awk '/^[A-Z]/ { section = $0 } section == "OPTIONS" && /^       -/' | option_column
}

completion_options() {
  (
    source "$completion"
    COMP_WORDS=(slabrating-cli -) COMP_CWORD=1
    _slabrating_cli
    printf '%s\n' "${COMPREPLY[@]}"
  ) | option_column
}

# --help is the reference; the manual pages and the completion follow it.
check_help_agrees() {
  local bad=0 row program source
  for row in "slabrating-cli man_options" "slabrating man_options" \
    "slabrating-cli completion_options"; do
    read -r program source <<<"$row"
    if ! diff <(help_options "$program") <("$source" "$program") >&2; then
      echo "^ $program: --help (<) and ${source%_options} (>) list different options" >&2
      bad=1
    fi
  done
  [ "$bad" -eq 0 ] || fail "option lists differ"
}

check_version() {
  local program expected actual
  while read -r program expected; do
    actual=$("$root/usr/bin/$program" --version 2>/dev/null)
    [ "$actual" = "$expected $version" ] ||
      fail "$program --version printed '$actual', expected '$expected $version'"
  done <<EOF
slabrating-cli slabrating-cli
slabrating Slab Rating
EOF
}

# The packaged tool rates each packaged example to its packaged report, byte for byte
# (the report file ends in one more CR LF than the report on standard output).
check_examples() {
  local input count=0
  for input in "$share"/doc/slabrating/examples/*.qri; do
    { "$root/usr/bin/slabrating-cli" --date 12/07/2026 "$input"; printf '\r\n'; } |
      cmp - "${input%.qri}.qro" || fail "$(basename "$input") does not give its report"
    count=$((count + 1))
  done
  [ "$count" -gt 0 ] || fail "no examples"
}

# Completion candidates for a command line already split into words as bash splits
# it ("=" is a word of its own).
candidates() {
  (
    source "$completion"
    read -ra COMP_WORDS <<<"$1"
    if [[ $1 == *" " ]]; then COMP_WORDS+=(""); fi
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _slabrating_cli
    echo "${COMPREPLY[*]}"
  )
}

check_completion() {
  local got
  # --summary and other --s options may come: --s must offer these two and only --s words.
  got=" $(candidates 'slabrating-cli --s') "
  [[ $got == *" --save-input "* && $got == *" --set "* ]] || fail "--s offers:$got"
  for word in $got; do
    [[ $word == --s* ]] || fail "--s offers $word"
  done

  local line expected
  while IFS='|' read -r line expected; do
    got=$(candidates "$line")
    [ "$got" = "$expected" ] || fail "'$line' offers '$got', expected '$expected'"
  done <<EOF
slabrating-cli --set Eff|EffSpan=
slabrating-cli --set LoadType =|0 1 2
EOF
}

"check_$1"
