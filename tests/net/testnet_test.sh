#!/usr/bin/env bash
# testnet_test.sh TESTNET RESPONDER - `testnet.sh up` leaves nothing behind
# when it fails half-way, and a network it did build goes with `down`. A
# stand-in `ip` early on PATH notes every namespace made and refuses one host
# address; everything else reaches the real one. Other test networks may come
# and go meanwhile, so only the namespaces noted are looked for. Needs root
# (network namespaces); skips with 77 without.
set -uo pipefail

readonly TESTNET=$1 RESPONDER=$2
readonly REFUSED=198.18.0.11
readonly STATE_ROOT=${TMPDIR:-/tmp}
[ "$(id -u)" -eq 0 ] || {
    echo "skipped: the test network needs root (network namespaces)"
    exit 77
}

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

mkdir -p "$work/bin"
cat >"$work/bin/ip" <<EOF
#!/usr/bin/env bash
[ "\${1:-} \${2:-}" = "netns add" ] && echo "\$3" >>"$work/made"
for arg in "\$@"; do
    [ "\$arg" = "$REFUSED/32" ] && { echo "ip: refused by the test" >&2; exit 2; }
done
exec $(command -v ip) "\$@"
EOF
chmod +x "$work/bin/ip"
printf '%s\n' "host first.lumetra.test 198.18.0.10 0" "host refused.lumetra.test $REFUSED 0" >"$work/refused.conf"
printf '%s\n' "host first.lumetra.test 198.18.0.10 0" >"$work/fine.conf"

# up CONFIG RESPONDER: `testnet.sh up` with the stand-in ip, its output on
# standard output; the namespaces it makes are noted in $work/made.
up() {
    : >"$work/made"
    PATH="$work/bin:$PATH" "$TESTNET" up "$1" "$2" $$ 2>"$work/stderr"
}

# Fails unless `up` made namespaces and every trace of them is gone.
expect_no_traces() {
    local what=$1 ns
    [ -s "$work/made" ] || fail "$what: no namespace was made, so nothing was tested"
    while read -r ns; do
        ip netns list | awk '{print $1}' | grep -qx "$ns" && fail "$what: namespace $ns is left"
        [ -e "/etc/netns/$ns" ] && fail "$what: /etc/netns/$ns is left"
        compgen -G "$STATE_ROOT/$ns.testnet*" >/dev/null && fail "$what: a state folder $STATE_ROOT/$ns.testnet* is left"
    done <"$work/made"
}

if up "$work/refused.conf" "$RESPONDER" >/dev/null; then
    fail "up succeeded although an address could not be added"
fi
grep -q "refused by the test" "$work/stderr" || fail "the stand-in ip was never asked for $REFUSED"
expect_no_traces "refused address"

if up "$work/fine.conf" /bin/false >/dev/null; then
    fail "up succeeded although the responder stopped"
fi
expect_no_traces "responder stopped"

if ns=$(up "$work/fine.conf" "$RESPONDER"); then
    ip netns list | awk '{print $1}' | grep -qx "$ns" || fail "up printed $ns but built no such namespace"
    "$TESTNET" down "$ns"
    expect_no_traces "down"
else
    fail "up failed on a network it can build: $(cat "$work/stderr")"
fi

[ "$failures" -eq 0 ] && echo "passed"
exit $((failures != 0))
