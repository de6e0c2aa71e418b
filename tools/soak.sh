#!/usr/bin/env bash
# soak.sh [SECONDS [INI]] - runs the saver under Wine in the test network for
# SECONDS (default 600) with a 1-second probe period, sampling the memory of
# the saver and of the Wine server every 10 seconds (see
# tests/apps/lumetra-scr/soak.sh). Needs root for the test network, and the
# windows preset built (cmake --preset windows && cmake --build --preset
# windows).
# It keeps a Wine prefix of its own, so the tests may run meanwhile.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
ini=${2:-$PWD/tests/apps/lumetra-scr/Lumetra.ini}
build=$PWD/build/windows
xvfb-run -a -s "-screen 0 1024x768x24" \
    tests/net/testnet.sh run tests/apps/lumetra-scr/hosts.conf "$build/tests/net/echo_responder" -- \
    tests/apps/lumetra-scr/soak.sh "$PWD/cmake/wine-run.sh" "$build/wineprefix-soak" \
    "$build/apps/lumetra-scr/lumetra.scr" "$seconds" "" "" "$ini"
