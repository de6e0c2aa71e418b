#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS...]
# Runs a Windows program under Wine in PREFIX, creating the prefix once.
# The Wine server is kept alive between runs so that each test binary does
# not pay for a fresh server start. The server and Wine's own services are
# started with their output on /dev/null: a process that held the caller's
# pipes open would make CTest wait for it to exit.
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=$(command -v wine64 || command -v wine || true)
if [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ]; then wine=/usr/lib/wine/wine64; fi
if [ -z "$wine" ]; then
  echo "wine-run.sh: Wine is not installed (apt-get install wine wine64)" >&2
  exit 127
fi
server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
mkdir -p "$(dirname "$prefix")"
{
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&- || true
    "$server" -w
  fi
  "$server" -p300 </dev/null >/dev/null 2>&1 9>&- || true
  # Starts Wine's services under this persistent server, away from our pipes.
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
} 9>"$prefix.lock"
exec "$wine" "$@"
