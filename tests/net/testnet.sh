#!/usr/bin/env bash
# testnet.sh - a private test network for the probe tests, made of two
# network namespaces joined by a veth pair. Nothing in it can reach any
# address outside this machine: the only routes lead to 198.18.0.0/24
# (reserved for network tests), which exists only between the two namespaces.
#
#   testnet.sh up CONFIG RESPONDER [OWNER_PID]  creates a network, prints its name NS
#   testnet.sh exec NS COMMAND...               runs COMMAND in NS (the prober's side)
#   testnet.sh down NS                          removes NS and everything made for it
#   testnet.sh run CONFIG RESPONDER -- COMMAND...
#                                               up, exec, down (also when COMMAND fails)
#   testnet.sh sweep                            removes networks whose owner process is gone
#
# CONFIG: see echo_responder.cpp. Every address must lie in 198.18.0.3 to
# 198.18.0.254; "host" lines also give the names, written to the hosts file
# that the namespace's resolver reads (a name on several lines gets several
# addresses, in line order). Names outside that file never resolve: the
# namespace's resolver consults no DNS, unless a test rewrites the hosts line
# of LUMETRA_TESTNET_NSSWITCH to "hosts: files dns". Then they go to the name
# server of a "dns-blackhole ADDRESS" line, which reads every query and
# answers none, so that each look-up waits for the resolver's timeout.
#
# In NS the prober side has 198.18.0.1 (lmp0); the hosts' namespace NS-h has
# 198.18.0.2 and every host address (lmh0), ignores echo requests itself and
# runs RESPONDER. COMMAND gets these variables:
#   LUMETRA_TESTNET_DIR     the state folder: hosts.conf (CONFIG), responder.log
#   LUMETRA_TESTNET_NS      NS
#   LUMETRA_TESTNET_HOSTS   the hosts file behind NS's /etc/hosts (rewrite it in place)
#   LUMETRA_TESTNET_NSSWITCH  the file behind NS's /etc/nsswitch.conf (likewise)
#   LUMETRA_TESTNET_PROBER  198.18.0.1
# Without root, `run` says why and runs COMMAND with LUMETRA_TESTNET_SKIP set
# to the reason instead, so that the tests can report their skip.
set -uo pipefail

readonly PROBER_ADDRESS=198.18.0.1
readonly HOSTS_GATEWAY=198.18.0.2
# "net-": copies of this script that kept their state under a fixed name
# (lumetra-PID) neither see these networks nor sweep them away.
readonly NAME_PATTERN='^lumetra-net-[0-9]+(-[0-9]+)?$'
readonly STATE_ROOT=${TMPDIR:-/tmp}

die() {
    echo "testnet.sh: $*" >&2
    exit 1
}

# The state folder of NS, made by mktemp -d in a folder that anyone may write
# to, and found again by its name and its owner.
state_dir() {
    local dir
    for dir in "$STATE_ROOT/$1.testnet."*; do
        [ -d "$dir" ] && [ ! -L "$dir" ] && [ -O "$dir" ] && echo "$dir" && return 0
    done
    return 1
}

is_test_address() {
    [[ $1 =~ ^198\.18\.0\.([0-9]{1,3})$ ]] && ((BASH_REMATCH[1] >= 3 && BASH_REMATCH[1] <= 254))
}

# Checks CONFIG; prints "ADDRESS NAME" for every host line.
read_config() {
    local kind name address behaviour rest
    while read -r kind name address behaviour rest; do
        case $kind in
            '' | '#'*) continue ;;
            host)
                [[ $name =~ ^[A-Za-z0-9][A-Za-z0-9.-]*$ ]] || die "bad host name '$name'"
                is_test_address "$address" || die "$address is not a test address (198.18.0.3 to .254)"
                [[ -n $behaviour && -z $rest ]] || die "bad host line for $name"
                echo "$address $name"
                ;;
            flood | dns-blackhole)
                is_test_address "$name" || die "$name is not a test address (198.18.0.3 to .254)"
                ;;
            *) die "unknown line '$kind' in the configuration" ;;
        esac
    done <"$1"
}

responder_pid_of() {
    local dir pid
    dir=$(state_dir "$1")
    pid=$(cat "$dir/responder.pid" 2>/dev/null) || return 1
    # Only the responder that this network started, never a reused pid.
    grep -qa echo_responder "/proc/$pid/cmdline" 2>/dev/null && echo "$pid"
}

cmd_down() {
    local ns=$1 pid dir
    [[ $ns =~ $NAME_PATTERN ]] || die "'$ns' is not a test network name"
    dir=$(state_dir "$ns") || dir=
    if pid=$(responder_pid_of "$ns"); then
        kill "$pid" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.02; done
    fi
    ip netns del "$ns" 2>/dev/null
    ip netns del "$ns-h" 2>/dev/null
    rm -rf "/etc/netns/$ns" ${dir:+"$dir"}
    rmdir /etc/netns 2>/dev/null
    return 0
}

cmd_sweep() {
    local ns owner dir
    for ns in $(ip netns list | awk '{print $1}'); do
        [[ $ns =~ $NAME_PATTERN ]] || continue
        # A network whose state folder is not found here may be another
        # copy's, still in use: only one whose owner is known to be gone goes.
        dir=$(state_dir "$ns") || continue
        owner=$(cat "$dir/owner.pid" 2>/dev/null) || owner=
        if [ -z "$owner" ] || ! kill -0 "$owner" 2>/dev/null; then
            echo "testnet.sh: removing $ns, left behind by a process that is gone" >&2
            cmd_down "$ns"
        fi
    done
}

cmd_up() {
    local config=$1 responder=$2 owner=${3:-$PPID}
    [ "$(id -u)" -eq 0 ] || die "the test network needs root (network namespaces)"
    [ -r "$config" ] || die "cannot read $config"
    [ -x "$responder" ] || die "no responder at $responder"
    local hosts dns
    hosts=$(read_config "$config") || exit 1
    dns=$(awk '$1 == "dns-blackhole" { print $2 }' "$config" | tail -n 1)
    cmd_sweep

    local ns=lumetra-net-$$
    while ip netns list | awk '{print $1}' | grep -qx -e "$ns" -e "$ns-h"; do ns=lumetra-net-$$-$RANDOM; done
    # From here on any way out but success takes down what has been built.
    # Global: the EXIT trap runs after this function has returned.
    UP_NS=$ns
    trap 'cmd_down "$UP_NS"' EXIT
    trap 'exit 130' INT TERM
    local dir
    dir=$(mktemp -d "$STATE_ROOT/$ns.testnet.XXXXXXXX") && mkdir -p "/etc/netns/$ns" ||
        die "cannot create a state folder in $STATE_ROOT or /etc/netns/$ns"
    echo "$owner" >"$dir/owner.pid"
    cp "$config" "$dir/hosts.conf"

    # Names resolve from our hosts file only: no DNS query can leave.
    {
        echo "127.0.0.1 localhost"
        echo "$PROBER_ADDRESS prober.lumetra.test"
        echo "$hosts"
    } >"/etc/netns/$ns/hosts"
    if [ -n "$dns" ]; then
        printf 'nameserver %s\n' "$dns" >"/etc/netns/$ns/resolv.conf"
    else
        printf 'nameserver 127.0.0.1\noptions timeout:1 attempts:1\n' >"/etc/netns/$ns/resolv.conf"
    fi
    printf '%s\n' 'passwd: files' 'group: files' 'shadow: files' 'hosts: files' 'networks: files' \
        'protocols: files' 'services: files' >"/etc/netns/$ns/nsswitch.conf"

    local address
    if ! {
        ip netns add "$ns" && ip netns add "$ns-h" &&
            ip -n "$ns" link set lo up && ip -n "$ns-h" link set lo up &&
            ip link add lmp0 netns "$ns" type veth peer name lmh0 netns "$ns-h" &&
            ip -n "$ns" addr add "$PROBER_ADDRESS/24" dev lmp0 &&
            ip -n "$ns-h" addr add "$HOSTS_GATEWAY/24" dev lmh0 &&
            for address in $({ awk '{print $1}' <<<"$hosts"; echo "$dns"; } | sort -u); do
                ip -n "$ns-h" addr add "$address/32" dev lmh0 || exit 1
            done &&
            ip netns exec "$ns-h" sysctl -qw net.ipv4.icmp_echo_ignore_all=1 &&
            ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1 &&
            ip netns exec "$ns-h" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1 &&
            ip -n "$ns" link set lmp0 up && ip -n "$ns-h" link set lmh0 up
    } >&2; then
        die "could not build the namespaces"
    fi

    : >"$dir/responder.log"
    ip netns exec "$ns-h" "$responder" "$dir/hosts.conf" "$dir/responder.log" "$PROBER_ADDRESS" \
        </dev/null >"$dir/responder.out" 2>&1 &
    echo $! >"$dir/responder.pid"
    for _ in $(seq 250); do
        grep -qx ready "$dir/responder.log" && break
        if ! kill -0 "$(cat "$dir/responder.pid")" 2>/dev/null; then
            cat "$dir/responder.out" >&2
            die "the responder stopped"
        fi
        sleep 0.02
    done
    grep -qx ready "$dir/responder.log" || die "the responder did not start"
    trap - EXIT INT TERM
    echo "$ns"
}

cmd_exec() {
    local ns=$1
    shift
    [[ $ns =~ $NAME_PATTERN ]] || die "'$ns' is not a test network name"
    ip netns exec "$ns" env LUMETRA_TESTNET_DIR="$(state_dir "$ns")" LUMETRA_TESTNET_NS="$ns" \
        LUMETRA_TESTNET_HOSTS="/etc/netns/$ns/hosts" LUMETRA_TESTNET_NSSWITCH="/etc/netns/$ns/nsswitch.conf" \
        LUMETRA_TESTNET_PROBER="$PROBER_ADDRESS" "$@"
}

cmd_run() {
    local config=$1 responder=$2
    shift 2
    [ "${1:-}" = "--" ] || die "usage: testnet.sh run CONFIG RESPONDER -- COMMAND..."
    shift
    if [ "$(id -u)" -ne 0 ]; then
        local reason="the test network needs root (network namespaces); skipped"
        echo "testnet.sh: $reason" >&2
        LUMETRA_TESTNET_SKIP=$reason "$@"
        return $?
    fi
    # Global: the EXIT trap runs after this function has returned.
    RUN_NS=$(cmd_up "$config" "$responder" $$) || exit 1
    trap 'cmd_down "$RUN_NS"' EXIT
    trap 'exit 130' INT TERM
    cmd_exec "$RUN_NS" "$@"
}

case ${1:-} in
    up) shift; [ $# -ge 2 ] || die "usage: testnet.sh up CONFIG RESPONDER [OWNER_PID]"; cmd_up "$@" ;;
    exec) shift; [ $# -ge 2 ] || die "usage: testnet.sh exec NS COMMAND..."; cmd_exec "$@" ;;
    down) shift; [ $# -eq 1 ] || die "usage: testnet.sh down NS"; cmd_down "$1" ;;
    run) shift; [ $# -ge 4 ] || die "usage: testnet.sh run CONFIG RESPONDER -- COMMAND..."; cmd_run "$@" ;;
    sweep) cmd_sweep ;;
    *) die "usage: testnet.sh up|exec|down|run|sweep (see the comment at the top)" ;;
esac
