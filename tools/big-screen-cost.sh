#!/usr/bin/env bash
# big-screen-cost.sh [SECONDS] - what the saver costs between probes on a
# 3840 x 2160 screen, at MapScale 1 and at 0 (sized for the screen): the CPU
# of lumetra-x11 -fullscreen with the X server's, then of lumetra.scr /s under
# Wine with the Wine server's and the X server's, each over SECONDS (default
# 30), in per cent of one core. A target file without entries keeps every
# probe away, so only the motion ticks and their repaints count. Reports
# figures; asserts nothing. Needs the linux and windows presets built.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
root=$PWD
if [ -z "${BIG_SCREEN_INNER:-}" ]; then
    BIG_SCREEN_INNER=1 exec xvfb-run -a -s "-screen 0 3840x2160x24" "$0" "$@"
fi
work=$(mktemp -d)
export WINEPREFIX=$root/build/windows/wineprefix-cost
server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
trap '"$server" -k >/dev/null 2>&1; rm -rf "$work"' EXIT
: >"$work/lumetra.txt"
cd "$work" || exit 1
export HOME=$work XDG_CONFIG_HOME=$work

hz=$(getconf CLK_TCK)
ticks() {  # the user and system ticks of the given processes
    local sum=0 pid
    for pid in "$@"; do sum=$((sum + $(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || echo 0))); done
    echo "$sum"
}
xserver=$(pgrep -f "^Xvfb $DISPLAY " | head -n 1)
# The processes of this script's Wine prefix, by name: other saver runs may be about.
in_prefix() {
    local pid
    for pid in $(pgrep "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
    done
}
measure() {  # measure NAME PID... : each one's share of one core over SECONDS, and the sum
    local name=$1 before=() pid i total=0 share
    shift
    for pid in "$@"; do before+=("$(ticks "$pid")"); done
    sleep "$seconds"
    i=0
    for pid in "$@"; do
        share=$(($(ticks "$pid") - before[i]))
        total=$((total + share))
        printf '  %-12s %6.2f %%\n' "$(cat "/proc/$pid/comm" 2>/dev/null)" "$(awk -v t=$share -v h="$hz" -v s="$seconds" 'BEGIN { print 100 * t / h / s }')"
        i=$((i + 1))
    done
    printf '%-40s %6.2f %% of one core in all\n' "$name" "$(awk -v t=$total -v h="$hz" -v s="$seconds" 'BEGIN { print 100 * t / h / s }')"
}

echo "3840 x 2160, no probes, $seconds s each"
for scale in 1 0; do
    "$root/build/linux/libexec/xscreensaver/lumetra-x11" -fullscreen -scale "$scale" >/dev/null 2>&1 &
    hack=$!
    sleep 3
    measure "lumetra-x11 -fullscreen -scale $scale" "$hack" "$xserver"
    kill "$hack"
    wait "$hack" 2>/dev/null
done

"$root/cmake/wine-run.sh" "$WINEPREFIX" cmd /c exit >/dev/null 2>&1
ini="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Lumetra.ini"
mkdir -p "$(dirname "$ini")"
for scale in 1 0; do
    printf '[Lumetra]\r\nMapScale=%s\r\n' "$scale" >"$ini"
    "$root/cmake/wine-run.sh" "$WINEPREFIX" "$root/build/windows/apps/lumetra-scr/lumetra.scr" /s >/dev/null 2>&1 &
    sleep 5
    # shellcheck disable=SC2046
    measure "lumetra.scr /s, MapScale=$scale" $(in_prefix lumetra.scr) $(in_prefix wineserver) "$xserver"
    xdotool key space
    wait
done
