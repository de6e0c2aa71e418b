#!/usr/bin/env bash
# nested_monitors.sh COMMAND [ARGS...] - runs COMMAND on a nested X server
# with two monitors side by side: 1280 x 1024 at 0,0 (the first, which X
# programs and Wine take for the primary) and 1024 x 768 at 1280,0, a virtual
# screen of 2304 x 1024 whose lower right corner no monitor shows.
#
# The server is Xephyr inside the X display that $DISPLAY names (the tests'
# Xvfb). It offers Xinerama and no RandR, so Wine and X programs alike learn
# the monitors from Xinerama. COMMAND runs with DISPLAY set to it; the server
# ends with the command; without an outer display it makes one with xvfb-run.
# Exit status: the command's, or 77 (a skip) when there is no outer display
# nor xvfb-run, or no Xephyr, 1 when the server does not come up.
set -uo pipefail

if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "nested_monitors.sh: skipped: no outer X display to nest the server in"
    exit 77
fi
if ! command -v Xephyr >/dev/null; then
    echo "nested_monitors.sh: skipped: Xephyr is not installed (apt-get install xserver-xephyr)"
    exit 77
fi

work=$(mktemp -d)
# The server writes its display number to descriptor 3 once it takes clients.
Xephyr -displayfd 3 +xinerama -extension RANDR -screen 1280x1024 -screen 1024x768 \
    -ac -br -noreset -nolisten tcp 3>"$work/display" >"$work/server.log" 2>&1 &
server=$!
stop() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT

for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "nested_monitors.sh: Xephyr did not come up:" >&2
    cat "$work/server.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"
"$@"
