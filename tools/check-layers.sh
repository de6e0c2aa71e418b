#!/usr/bin/env bash
# check-layers.sh [ROOT] - every #include "..." of the product's folders points
# to its own folder or down the layers of tools/layers.conf, or is allowed
# there by name. Prints each include that does not and exits 1.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
conf=$root/tools/layers.conf
[ -f "$conf" ] || { echo "check-layers: no $conf" >&2; exit 2; }

declare -A level=()
declare -A allowed=()
n=0
while read -r word rest; do
  case $word in
    layer) n=$((n + 1)); for folder in $rest; do level[$folder]=$n; done ;;
    allow) read -r from to _ <<<"$rest"; allowed["$from $to"]=1 ;;
  esac
done < <(grep -v '^[[:space:]]*#' "$conf")

# The folder a path belongs to: its first component, apps/NAME for programs.
folder_of() {
  case $1 in
    apps/*/*) local rest=${1#apps/}; echo "apps/${rest%%/*}" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}
# The layer of a folder; programs share the top one.
level_of() {
  case $1 in
    apps/*) echo "${level[apps]:-}" ;;
    *) echo "${level[$1]:-}" ;;
  esac
}

bad=0
checked=0
cd "$root"
while IFS= read -r -d '' file; do
  from=$(folder_of "$file")
  from_level=$(level_of "$from")
  [ -n "$from_level" ] || continue
  while IFS= read -r include; do
    checked=$((checked + 1))
    to=$(folder_of "$include")
    [ "$to" = "$from" ] && continue
    [ -n "${allowed["$from $to"]:-}" ] && continue
    to_level=$(level_of "$to")
    if [ -z "$to_level" ]; then
      echo "$file: includes \"$include\", which is in no layer"
      bad=$((bad + 1))
    elif [ "$to_level" -gt "$from_level" ]; then
      echo "$file: includes \"$include\": $to is above $from"
      bad=$((bad + 1))
    elif [ "$to_level" -eq "$from_level" ]; then
      echo "$file: includes \"$include\": $to is beside $from"
      bad=$((bad + 1))
    fi
  done < <(sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(find . -path ./build -prune -o -path ./.git -prune -o -path ./tests -prune -o \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' -o -name '*.inc' \) -print0 | sed -z 's#^\./##')

if [ "$bad" -gt 0 ]; then
  echo "check-layers: $bad of $checked includes point up or sideways (tools/layers.conf)"
  exit 1
fi
echo "check-layers: $checked includes point down the layers"
