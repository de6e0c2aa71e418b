#!/usr/bin/env bash
# make-golden-frames.sh [LUMETRA_MAP] - renders the golden frames of the view
# tests (tests/data/frames/NAME.bmp) from the scenes in
# tests/data/frames/scenes.txt with `lumetra-map render`, and a PNG of each
# into build/golden-frames/ for review; and the foot of the installed saver's
# first frame (tests/data/frames/bundled_marker_strip.png). Run it only when a
# change to the picture is intended, look at every PNG, and commit the files.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-build/linux/bin/lumetra-map}
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
# The foot of the frame that the installed saver shows after its first probe
# of the bundled hosts, none answering: the first host's marker and name
# (tests/packaging/install_test.sh).
"$tool" render --targets resources/lumetra.txt --results "$dir/results-none.txt" --settings /dev/null --current 0 \
  --out "$review/bundled_first_host.bmp"
convert "$review/bundled_first_host.bmp" -crop 516x25+0+285 +repage "$dir/bundled_marker_strip.png"
cp "$dir/bundled_marker_strip.png" "$review/"
echo "review the pictures in $review before committing $dir/*.bmp and $dir/*.png"
