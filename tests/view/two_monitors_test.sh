#!/usr/bin/env bash
# two_monitors_test.sh WINE_RUN PREFIX PROBE - on the nested server of
# tests/support/nested_monitors.sh, X (xdpyinfo) and the saver's own monitor
# code under Wine (PROBE, in a Wine prefix whose server starts on that
# display) both see the two monitors and the virtual screen that spans them.
set -uo pipefail
if [ "${1:-}" != "--nested" ]; then
    exec "$(dirname "$0")/../support/nested_monitors.sh" "$0" --nested "$@"
fi
shift
wine_run=$1 prefix=$2 probe=$3
failures=0
expect() {  # expect WHAT EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    else
        echo "ok   $1"
    fi
}

heads=$(xdpyinfo -ext XINERAMA | sed -n 's/^ *head #\([0-9]\): \(.*\)$/\1: \2/p' | tr '\n' ';')
expect "X sees two monitors through Xinerama" "0: 1280x1024 @ 0,0;1: 1024x768 @ 1280,0;" "$heads"
expect "X has no RandR on this server" "" "$(xdpyinfo -queryExtensions | grep -o RANDR)"

# The prefix's Wine server learns the monitors when it starts: one left over
# from another display would still report that display's.
export WINEPREFIX=$prefix
server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
"$server" -k >/dev/null 2>&1
"$server" -w >/dev/null 2>&1
trap '"$server" -k >/dev/null 2>&1; "$server" -w >/dev/null 2>&1' EXIT
seen=$("$wine_run" "$prefix" "$probe" 2>/dev/null | tr -d '\r' | tr '\n' ';')
expect "Wine sees the virtual screen and both monitors" \
    "virtual 0 0 2304 1024;monitor 0 0 1280 1024 primary;monitor 1280 0 2304 768;" "$seen"

echo "$((3 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
