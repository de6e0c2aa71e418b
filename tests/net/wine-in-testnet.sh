#!/usr/bin/env bash
# wine-in-testnet.sh PREFIX PROGRAM [ARGS...] - runs a Windows program under
# Wine inside the test network (call it through testnet.sh exec or run).
# Wine sends ICMP from its own service processes, which belong to the Wine
# server of the prefix, so PREFIX must be one whose server starts here, in
# this namespace, and stops before the namespace goes away.
set -uo pipefail
prefix=$1
shift
if [ -z "${LUMETRA_TESTNET_DIR:-}" ]; then
    echo "wine-in-testnet.sh: skipped: ${LUMETRA_TESTNET_SKIP:-not inside the test network}"
    exit 0
fi
export WINEPREFIX=$prefix
server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
stop_server() {
    "$server" -k >/dev/null 2>&1
    "$server" -w >/dev/null 2>&1
}
# A server left over from an earlier run would still send from its old namespace.
stop_server
trap stop_server EXIT
"$(dirname "$0")/../../cmake/wine-run.sh" "$prefix" "$@"
