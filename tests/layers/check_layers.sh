#!/usr/bin/env bash
# Fails when a layer includes a header of a layer above it (or of one it does not use):
# check_layers.sh SOURCE_DIR. Each line below names a layer and the layers it may include,
# from the layer table of the guide; the build's include folders enforce the same order.
set -euo pipefail
cd "$1"
bad=0
while read -r layer allowed; do
  while IFS= read -r hit; do
    used=${hit#*#include \"}
    used=${used%%/*}
    if [[ " $allowed " != *" $used "* ]]; then
      echo "$hit: $layer may not include $used/" >&2
      bad=1
    fi
  done < <(grep -Hn '^#include "[a-z]*/' "$layer"/*.cpp "$layer"/*.h 2>/dev/null || true)
done <<'LAYERS'
files files
engine engine
inputfile inputfile engine files
export export engine files
cli cli export inputfile engine files
ui ui export inputfile engine files
app app ui export inputfile engine files
LAYERS
exit "$bad"
