#!/usr/bin/env bash
# check-format.sh [--fix] - every C++ file of ours must be as clang-format
# writes it (generated font and resource tables included).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find framework host targets imaging places view probe settings config resources apps tools tests bench \
  \( -name node_modules -prune \) -o \( -name '*.cpp' -o -name '*.h' \) -print | sort)
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
  echo "format: ${#files[@]} files clean"
fi
