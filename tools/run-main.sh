#!/usr/bin/env bash
# run-main.sh - installs what is needed, builds the native tools and runs the
# main job on the bundled defaults: lists the bundled hosts as the saver reads
# them, probes each once as the saver's probe cycle does, and writes the frame
# the saver would show to lumetra.bmp. It sends real ICMP echoes to the
# bundled hosts (as root, or where net.ipv4.ping_group_range allows it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target lumetra-map >/dev/null
./build/linux/tools/lumetra-map check resources/lumetra.txt
./build/linux/tools/lumetra-map probe --targets resources/lumetra.txt --out lumetra.bmp
echo "run-main: the frame is in $(pwd)/lumetra.bmp"
