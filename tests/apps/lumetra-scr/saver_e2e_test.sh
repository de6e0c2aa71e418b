#!/usr/bin/env bash
# saver_e2e_test.sh WINE_RUN PREFIX SAVER PREVIEW_PARENT
# The whole saver under Wine inside the test network (run through
# tests/net/testnet.sh), on the virtual display: the probe cycle against
# hosts of known delays, the drift, the colours, the snapshot and where the
# files are found and written.
set -uo pipefail
wine_run=$1 prefix=$2 saver=$3 preview_parent=$4
source "$(dirname "$0")/wine_prefix.sh"

failures=0
passes=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
now_ms() { date +%s%3N; }
log=$LUMETRA_TESTNET_DIR/responder.log
ip_of() { awk -v n="$1" '$2 == n { print $3 }' "$here/hosts.conf"; }

# --- The saver runs from a folder other than its own, probes, drifts and ends
# on a key.
: >"$log"
cd "$work/run"
(wine "$work/bin/lumetra.scr" /s >/dev/null 2>&1; echo $? >"$work/code") &
appeared=""
wait_for_saver && appeared=$(now_ms)
check "the saver window appears" yes "$([ -n "$appeared" ] && echo yes || echo no)"
sleep 1
import -window root "$work/a.png"
sleep 0.6
import -window root "$work/b.png"
# Two full rounds of the four hosts of the region.
for _ in $(seq 1 200); do
    [ "$(grep -c '^request' "$log")" -ge 8 ] && break
    sleep 0.1
done
xdotool key space
for _ in $(seq 1 100); do [ -s "$work/code" ] && break; sleep 0.1; done
check "a key ends the saver with 0" 0 "$(cat "$work/code" 2>/dev/null)"

# The order: the region's hosts in file order, wrapping; the other region never.
order=$(awk '$1 == "request" { print $2 }' "$log" | head -n 8 | tr '\n' ' ')
f=$(ip_of fast.lumetra.test) s1=$(ip_of ms150.lumetra.test) s4=$(ip_of ms400.lumetra.test) q=$(ip_of silent.lumetra.test)
check "probe order" "$f $s1 $s4 $q $f $s1 $s4 $q " "$order"
check "the other region is never probed" 0 "$(grep -c " $(ip_of other.lumetra.test) " "$log")"
check "echo data is 32 bytes of 0xAA" 0 "$(awk '$1 == "request" && ($10 != 32 || $12 != "aa")' "$log" | wc -l)"

# The timing: the first probe about 110 ms after the start (the window's
# appearance as seen from here, which lags it by up to a poll and xdotool's
# own start), well before one period would have passed; then one period
# (1000 ms) after each probe ended: the delay of the host, or the timeout.
# The two clocks and the timer allow 50 ms of slack.
mapfile -t at < <(awk '$1 == "request" { print $14 }' "$log")
first=$((at[0] - appeared))
check "first probe about 110 ms after the start (was ${first} ms after the window was seen)" yes "$([ "$first" -ge -500 ] && [ "$first" -le 500 ] && echo yes || echo no)"
expected_min=(1000 1150 1400 1600)  # period + delay of fast, ms150, ms400, and the silent host's timeout
for i in 0 1 2 3 4 5 6; do
    gap=$((at[i + 1] - at[i]))
    low=${expected_min[$((i % 4))]}
    check "gap after probe $i (${gap} ms, at least ${low})" yes "$([ "$gap" -ge $((low - 50)) ] && [ "$gap" -le $((low + 400)) ] && echo yes || echo no)"
done

# The frame moves: in both screenshots the box around all that is not black
# is the frame (less its black rim), and in the second both its left and
# right edges, or both its top and bottom edges, have moved the same way. A
# render between the two may move one edge of the box, not two.
edges() {  # LEFT TOP RIGHT BOTTOM WIDTH HEIGHT of the box around all that is not black
    [[ $(convert "$1" -format '%@' info: 2>/dev/null) =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return
    local w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
    echo "$x $y $((x + w)) $((y + h)) $w $h"
}
is_frame() { (($1 > 476 && $1 <= 516 && $2 > 270 && $2 <= 310)); }  # WIDTH HEIGHT
same_way() { ((($2 - $1) * ($4 - $3) > 0)); }                     # FROM1 TO1 FROM2 TO2
read -r l1 t1 r1 b1 w1 h1 <<<"$(edges "$work/a.png")"
read -r l2 t2 r2 b2 w2 h2 <<<"$(edges "$work/b.png")"
check "the frame moves (from $l1,$t1-$r1,$b1 to $l2,$t2-$r2,$b2)" yes "$(is_frame "${w1:-0}" "${h1:-0}" && is_frame "${w2:-0}" "${h2:-0}" &&
    { same_way "$l1" "$l2" "$r1" "$r2" || same_way "$t1" "$t2" "$b1" "$b2"; } && echo yes || echo no)"

# The snapshot: the last frame, found in the current folder.
snap=$work/run/lumetra.bmp
[ -n "${LUMETRA_E2E_KEEP:-}" ] && cp "$snap" "$work/b.png" "$LUMETRA_E2E_KEEP/"
check "snapshot size" "516x310" "$(identify -format '%wx%h' "$snap" 2>/dev/null)"
pixel() { convert "$snap" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info: 2>/dev/null; }
# Beside each host (its icon and label cover the spot itself).
read -r r g b <<<"$(pixel 95 125)"
check "fast host is red ($r $g $b)" yes "$([ "$r" -ge 200 ] && [ "$g" -le 80 ] && [ "$b" -le 80 ] && echo yes || echo no)"
read -r r g b <<<"$(pixel 422 176)"
check "400 ms host is violet ($r $g $b)" yes "$([ "$b" -ge 200 ] && [ "$g" -le 80 ] && [ "$r" -ge 60 ] && echo yes || echo no)"
read -r r g b <<<"$(pixel 240 240)"
check "silent host stays uncoloured ($r $g $b)" "0 255 53" "$r $g $b"
# The last probed host's name is written in the frame's bottom strip, in cyan.
cyan=$(convert "$snap" -crop 477x18+21+289 +repage -fill black +opaque '#00FFFF' -format '%[fx:int(mean*w*h*3)]' info: 2>/dev/null)
check "the marker's name is drawn" yes "$([ "${cyan:-0}" -gt 0 ] && echo yes || echo no)"

# --- A read-only current folder: the old snapshot there stays as it was and
# the new one goes to the settings folder. The saver and a Wine server of its
# own (the server opens the files) run in a mount namespace in which the
# folder is read-only: root writes through mere permissions.
mkdir -p "$work/readonly"
cp "$snap" "$work/readonly/lumetra.bmp"
printf 'old' >>"$work/readonly/lumetra.bmp"  # not a frame the saver could write
old_sum=$(md5sum <"$work/readonly/lumetra.bmp")
rm -f "$settings_dir/lumetra.bmp" "$work/code"
cd "$work/readonly"
stop_server
(unshare -m sh -c 'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && cd "$1" && shift && exec "$@"' \
    sh "$work/readonly" "$wine_run" "$prefix" "$work/bin/lumetra.scr" /s >/dev/null 2>&1
    echo $? >"$work/code") &
wait_for_saver
sleep 1
xdotool key space
for _ in $(seq 1 100); do [ -s "$work/code" ] && break; sleep 0.1; done
check "read-only folder: the saver ends with 0" 0 "$(cat "$work/code" 2>/dev/null)"
stop_server
check "read-only folder: the old snapshot is unchanged" "$old_sum" "$(md5sum <"$work/readonly/lumetra.bmp")"
check "read-only folder: no temporary file left" 1 "$(find "$work/readonly" -type f | wc -l)"
check "read-only folder: the snapshot is in the settings folder" "516x310" \
    "$(identify -format '%wx%h' "$settings_dir/lumetra.bmp" 2>/dev/null)"

# --- The preview writes its snapshot too. ------------------------------------
mkdir -p "$work/preview"
cd "$work/preview"
check "preview ends with 0" 0 "$(wine "$preview_parent" "$work/bin/lumetra.scr" p >/dev/null 2>&1; echo $?)"
check "preview snapshot" "516x310" "$(identify -format '%wx%h' "$work/preview/lumetra.bmp" 2>/dev/null)"

# --- A name server that never answers, a silent host and PingTimeout 5000:
# during the name look-up the frame moves on, a key ends the saver within
# 1.5 s, and the snapshot is whole.
nsswitch=$(cat "$LUMETRA_TESTNET_NSSWITCH")
printf '%s\n' "${nsswitch/hosts: files/hosts: files dns}" >"$LUMETRA_TESTNET_NSSWITCH"
mkdir -p "$work/hang"
printf '1\tname\thangs.lumetra.test\tname\t*\t100,120\tUSA\n6\t%s\tsilent.lumetra.test\tsilent\t*\t250,240\tUSA\n' \
    "$(ip_of silent.lumetra.test)" >"$work/hang/lumetra.txt"
printf '[Lumetra]\r\nPingTimeout=5000\r\nSaveFinalBMP=1\r\n' >"$settings_dir/Lumetra.ini"
queries() { grep -c '^query' "$log"; }
asked=$(queries)
rm -f "$work/code"
# Without a window manager on the virtual display, Wine waits 2 s for one at
# the hiding of a managed window, before WM_DESTROY: the saver's window is
# shown unmanaged here, as the Windows test programs' are.
unmanaged='HKCU\Software\Wine\AppDefaults\lumetra.scr\X11 Driver'
wine reg add "$unmanaged" /v Managed /d N /f >/dev/null 2>&1
cd "$work/hang"
(wine "$work/bin/lumetra.scr" /s >/dev/null 2>&1; echo $? >"$work/code") &
wait_for_saver
for _ in $(seq 1 100); do [ "$(queries)" -gt "$asked" ] && break; sleep 0.05; done
check "a name look-up that never answers is in flight" yes "$([ "$(queries)" -gt "$asked" ] && echo yes || echo no)"
import -window root "$work/c.png"
sleep 0.6
import -window root "$work/d.png"
read -r l1 t1 _ <<<"$(edges "$work/c.png")"
read -r l2 t2 _ <<<"$(edges "$work/d.png")"
check "the frame moves during the look-up (from $l1,$t1 to $l2,$t2)" yes "$([ "${l1:-x},${t1:-x}" != "${l2:-x},${t2:-x}" ] && echo yes || echo no)"
pressed=$(now_ms)
xdotool key space
for _ in $(seq 1 500); do [ -s "$work/code" ] && break; sleep 0.01; done
took=$(($(now_ms) - pressed))
written=$(($(date -r lumetra.bmp +%s%3N 2>/dev/null || echo "$pressed") - pressed))
echo "lumetra.scr /s: ended $took ms after the key press (its snapshot written after $written ms), during a name look-up that never answers"
check "a key during the look-up ends the saver within 1.5 s (${took} ms)" yes "$([ "$took" -le 1500 ] && echo yes || echo no)"
check "and with 0" 0 "$(cat "$work/code" 2>/dev/null)"
check "the snapshot is whole" "516x310 479934" \
    "$(identify -format '%wx%h' lumetra.bmp 2>/dev/null) $(stat -c %s lumetra.bmp 2>/dev/null)"
printf '%s\n' "$nsswitch" >"$LUMETRA_TESTNET_NSSWITCH"
wine reg delete "$unmanaged" /f >/dev/null 2>&1

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
