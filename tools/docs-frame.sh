#!/usr/bin/env bash
# docs-frame.sh [LUMETRA_MAP] - draws docs/frame.png for people: the frame the
# saver shows once it has probed every bundled host, rendered by
# `lumetra-map render` with the default settings from round-trip times made
# up for a saver in Chicago, scaled up 2x. Needs ImageMagick and a built
# lumetra-map (default: the linux preset's).
# Run: bash tools/docs-frame.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-build/linux/bin/lumetra-map}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Times as a home connection in Chicago sees them: about 20 ms to reach the
# network at large, then routes three times as long as the straight line in
# fibre (1 ms per 100 km there and back), 0.3 ms for every pixel of the map
# (about 9 km) away from the saver; a few ms of each host's own; every 19th
# host not answering. The last host is marked, as the one probed last.
"$tool" check resources/lumetra.txt | awk -F'\t' -v x0=324 -v y0=117 '{
    i = NR - 1
    rtt = i % 19 == 18 ? -1 : int(20 + 0.3 * sqrt(($7 - x0) ^ 2 + ($8 - y0) ^ 2) + (i * 37) % 23)
    print i, rtt
  } END { print NR - 1 > "/dev/stderr" }' >"$work/results.txt" 2>"$work/last"
"$tool" render --targets resources/lumetra.txt --results "$work/results.txt" --settings /dev/null \
  --current "$(cat "$work/last")" --out "$work/frame.bmp"
mkdir -p docs
convert "$work/frame.bmp" -scale 200% -strip docs/frame.png
echo "wrote docs/frame.png"
