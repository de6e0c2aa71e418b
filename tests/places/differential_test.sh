#!/usr/bin/env bash
# differential_test.sh CHECKER - the C++ placement against the resource
# generator: the generator places a grid over the lower 48 and every bundled
# host, CHECKER (place_points_check) places the same points and compares.
# Needs Node and the generator's packages; skips (exit 77) without them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if ! command -v node >/dev/null; then
  echo "skipped: node is not installed (tools/install-deps.sh installs it)"
  exit 77
fi
if [ ! -d "$root/tools/resgen/node_modules/d3-geo" ]; then
  echo "skipped: the generator's packages are missing (npm --prefix tools/resgen ci)"
  exit 77
fi
node "$root/tools/resgen/place-points.mjs" | "$1"
