#!/usr/bin/env bash
# Checks that every folder under src/ includes only folders below it in the
# layer order, ground floor first. A folder's gui/ part may also include the
# gui/ parts of the folders below; no core file includes a gui/ header. The
# program's main.cpp at src/ level is the front and may include anything.
# Prints each upward include and exits 1 when there is one.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}

layers=(base settings serial site modem comms jobs logger units app)

rank() {
  local i
  for i in "${!layers[@]}"; do
    if [ "${layers[$i]}" = "$1" ]; then
      echo "$i"
      return
    fi
  done
  echo -1
}

status=0
while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  case $rel in
    */*) ;;
    *) continue ;; # the program's front
  esac
  folder=${rel%%/*}
  own=$(rank "$folder")
  if [ "$own" -lt 0 ]; then
    echo "$rel: folder '$folder' is not in the layer order (${layers[*]})"
    status=1
    continue
  fi
  own_gui=0
  [[ $rel == */gui/* ]] && own_gui=1
  lineno=0
  while IFS= read -r line; do
    lineno=$((lineno + 1))
    [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
    target=${BASH_REMATCH[1]}
    [[ $target == */* ]] || continue
    tfolder=${target%%/*}
    tr=$(rank "$tfolder")
    if [ "$tr" -lt 0 ]; then
      echo "$rel:$lineno: includes \"$target\" from outside the layers"
      status=1
    elif [ "$tr" -gt "$own" ]; then
      echo "$rel:$lineno: includes \"$target\" from the layer above ($tfolder over $folder)"
      status=1
    elif [[ $target == */gui/* ]] && [ "$own_gui" -eq 0 ]; then
      echo "$rel:$lineno: core code includes the window header \"$target\""
      status=1
    fi
  done < "$file"
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$status" -eq 0 ]; then
  echo "layers: every include goes down (${layers[*]})"
fi
exit "$status"
