#!/usr/bin/env bash
# Includes name their layer ("world/RobotSimulation.h", "common/NumberText.h") and data
# flows one way, down: common, then world (and beside it res, the compiled-in
# resources), then interop, then runner, then tuner, export and reasoning (the Qt
# pictures of the controller's reasoning), then the programs (app, tools, python). A
# file may include its own layer and those
# below it, never one above or beside it; the controller knows common alone. Prints
# every include that breaks this and fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank=([common]=0 [world]=1 [res]=1 [interop]=2 [runner]=3 [tuner]=4 [export]=4 [reasoning]=4 [app]=5 [tools]=5 [python]=5)
simulator_layers="world res interop runner tuner export reasoning app tools python"
status=0
refuse() {
  echo "$1: $2" >&2
  status=1
}

while IFS= read -r -d '' file; do
  case "$file" in
  common/*) layer=common ;;
  simulator/*) layer=${file#simulator/} && layer=${layer%%/*} ;;
  *) layer=controller ;;
  esac
  while IFS= read -r line; do
    included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]*)".*/\1/' <<<"${line#*:}")
    number=${line%%:*}
    target=${included%%/*}
    if [ "$layer" = controller ]; then
      for forbidden in $simulator_layers; do
        [ "$target" = "$forbidden" ] && refuse "$file:$number" "the controller includes the simulator's \"$included\""
      done
      continue
    fi
    if [ "$target" = "$included" ] || [ -z "${rank[$target]+set}" ]; then
      refuse "$file:$number" "\"$included\" does not name its layer (common/, world/, res/, interop/, runner/, tuner/, export/, reasoning/, app/)"
    elif [ "$target" != "$layer" ] && [ "${rank[$target]}" -ge "${rank[$layer]}" ]; then
      refuse "$file:$number" "$layer includes \"$included\", a layer above or beside it"
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$file" || true)
done < <(find common simulator controller \( -name '*.cpp' -o -name '*.h' \) -print0)
exit $status
