#!/usr/bin/env bash
# run-main.sh - installs what is needed, builds the native tools and runs the
# main job on the bundled defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target lumetra-map >/dev/null
./build/linux/tools/lumetra-map check
