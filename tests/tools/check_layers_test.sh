#!/usr/bin/env bash
# check_layers_test.sh CHECK_LAYERS - the layer check on a small tree of its
# own: it names each include that points up, sideways or out of the layers,
# passes what points down or is allowed, and fails the run.
set -uo pipefail
check=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{tools,framework,targets,settings,view,config,apps/one,apps/two}
cat >"$root/tools/layers.conf" <<'CONF'
layer framework
layer targets settings
layer view
layer config
layer apps
allow settings targets
CONF
put() { printf '#include "%s"\n' "$2" >"$root/$1"; }
put framework/f.h "framework/g.h"          # its own folder
put targets/t.cpp "framework/f.h"          # down
put targets/s.cpp "settings/s.h"           # sideways
put settings/a.cpp "targets/t.h"           # sideways, but allowed
put view/v.cpp "config/c.h"                # up
put apps/one/m.cpp "apps/two/n.h"          # another program
put apps/two/n.cpp "view/v.h"              # down from a program
put config/c.cpp "tests/support/files.h"   # no layer

out=$(bash "$check" "$root")
status=$?
expected='targets/s.cpp: includes "settings/s.h": settings is beside targets
view/v.cpp: includes "config/c.h": config is above view
apps/one/m.cpp: includes "apps/two/n.h": apps/two is beside apps/one
config/c.cpp: includes "tests/support/files.h", which is in no layer'
fail=0
[ "$status" -eq 1 ] || { echo "exit $status, expected 1"; fail=1; }
if [ "$(sort <<<"${out%$'\n'*}")" != "$(sort <<<"$expected")" ]; then
  printf 'reported:\n%s\nexpected:\n%s\n' "$out" "$expected"
  fail=1
fi
[ "$fail" -eq 0 ] && echo "check_layers_test: passed"
exit $fail
