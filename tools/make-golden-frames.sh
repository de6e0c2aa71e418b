#!/usr/bin/env bash
# make-golden-frames.sh [LUMETRA_MAP] - renders the golden frames of the view
# tests (tests/data/frames/NAME.bmp) from the scenes in
# tests/data/frames/scenes.txt with `lumetra-map render`, and a PNG of each
# into build/golden-frames/ for review. Run it only when a change to the
# picture is intended, look at every PNG, and commit the BMP files.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-build/linux/tools/lumetra-map}
dir=tests/data/frames
review=build/golden-frames
mkdir -p "$review"
while read -r name results settings current; do
  case "$name" in '#'* | '') continue ;; esac
  args=(render --targets "$dir/targets.txt" --results "$dir/$results" --settings "$dir/$settings"
        --out "$dir/$name.bmp")
  if [ "$current" != "-" ]; then args+=(--current "$current"); fi
  "$tool" "${args[@]}"
  convert "$dir/$name.bmp" "$review/$name.png"
done <"$dir/scenes.txt"
echo "review the pictures in $review before committing $dir/*.bmp"
