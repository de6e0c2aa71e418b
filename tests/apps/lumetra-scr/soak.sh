#!/usr/bin/env bash
# soak.sh WINE_RUN PREFIX SAVER SECONDS [SAVER_MARGIN_KB SERVER_MARGIN_KB [INI]]
# Runs the saver under Wine inside the test network (through
# tests/net/testnet.sh run, with hosts.conf beside it) with a 1-second probe period
# for SECONDS and samples, every 10 seconds, the resident memory of the
# saver's process and of the Wine server. Wine's GetGuiResources always
# answers 0, so a leak of drawing objects or windows shows as growth of the
# server. Prints the samples and first, last and maximum of each; with
# margins given, fails when either grew from its first sample (taken after a
# 10-second warm-up) to its last by more than its margin.
# INI replaces the settings (Lumetra.ini beside it). tools/soak.sh runs it for ten
# minutes.
set -uo pipefail
wine_run=$1 prefix=$2 saver=$3 seconds=$4 saver_margin=${5:-} server_margin=${6:-}
ini=${7:-}
source "$(dirname "$0")/wine_prefix.sh"

cd "$work/run"
(wine "$work/bin/lumetra.scr" /s >/dev/null 2>&1; echo $? >"$work/code") &
wait_for_saver
saver_pid=$(pgrep -f 'lumetra.scr /s' | head -n 1)
# The server of this prefix: it works in a folder named after the prefix's device and inode.
server_dir=server-$(printf '%x-%x' "0x$(stat -c %D "$prefix")" "$(stat -c %i "$prefix")")
server_pid=""
for pid in $(pgrep wineserver); do
    [[ $(readlink "/proc/$pid/cwd") == */"$server_dir" ]] && server_pid=$pid
done
[ -n "$saver_pid" ] && [ -n "$server_pid" ] || { echo "FAIL no saver ($saver_pid) or Wine server ($server_pid) to watch"; exit 1; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

sleep 10  # warm-up: the first renders, Wine's own caches
saver_kb=() server_kb=()
ticks_start=$(cpu_ticks "$saver_pid")
start=$(date +%s)
for ((t = 0; t <= seconds; t += 10)); do
    saver_kb+=("$(rss_kb "$saver_pid")")
    server_kb+=("$(rss_kb "$server_pid")")
    printf '%4d s  saver %7d kB  wineserver %7d kB\n' "$t" "${saver_kb[-1]}" "${server_kb[-1]}"
    [ "$t" -lt "$seconds" ] && sleep 10
done
ticks=$(($(cpu_ticks "$saver_pid") - ticks_start))
elapsed=$(($(date +%s) - start))
xdotool key space
for _ in $(seq 1 100); do [ -s "$work/code" ] && break; sleep 0.1; done

summary() {  # NAME VALUES...
    local name=$1 max=0 v
    shift
    for v in "$@"; do ((v > max)) && max=$v; done
    printf '%s: first %d kB, last %d kB, max %d kB, growth %d kB\n' "$name" "$1" "${!#}" "$max" $((${!#} - $1))
}
summary saver "${saver_kb[@]}"
summary wineserver "${server_kb[@]}"
hz=$(getconf CLK_TCK)
echo "saver CPU: $ticks ticks of 1/$hz s in $elapsed s ($(awk -v t="$ticks" -v h="$hz" -v e="$elapsed" 'BEGIN { printf "%.2f", 100 * t / h / e }') %)"
echo "saver exit code: $(cat "$work/code" 2>/dev/null)"

status=0
if [ -n "$saver_margin" ] && ((${saver_kb[-1]} - ${saver_kb[0]} > saver_margin)); then
    echo "FAIL the saver grew by more than $saver_margin kB"
    status=1
fi
if [ -n "$server_margin" ] && ((${server_kb[-1]} - ${server_kb[0]} > server_margin)); then
    echo "FAIL the Wine server grew by more than $server_margin kB"
    status=1
fi
[ "$(cat "$work/code" 2>/dev/null)" = 0 ] || { echo "FAIL the saver did not end with 0"; status=1; }
exit $status
