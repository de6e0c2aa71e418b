#!/usr/bin/env bash
# saver_monitors_test.sh KIND ARGS... - a full-screen saver on the two
# monitors of nested_monitors.sh (1280 x 1024 at 0,0, the primary, and
# 1024 x 768 at 1280,0): the root's colour shows nowhere, the map stays on the
# primary monitor over many motion ticks, AllMonitors puts one on each,
# MapScale 2 doubles it, and a key ends the saver. KIND and its ARGS:
#   wine WINE_RUN PREFIX SAVER PREVIEW_PARENT   lumetra.scr /s, the settings in
#       the prefix's Lumetra.ini; and the preview in a 152 x 112 parent
#   x11 PROGRAM                                 lumetra-x11 -fullscreen with switches
# No target file entries, so nothing is probed and the picture only moves.
set -uo pipefail
if [ "${1:-}" != "--nested" ]; then
    exec "$(dirname "$0")/nested_monitors.sh" "$0" --nested "$@"
fi
kind=$2
shift 2
work=$(mktemp -d)
: >"$work/lumetra.txt"
cd "$work" || exit 1
failures=0
passes=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}

case $kind in
    wine)
        wine_run=$1 prefix=$2 saver=$3 preview_parent=$4
        export WINEPREFIX=$prefix
        server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
        # A Wine server started on another display would report its monitors.
        stop_server() { "$server" -k >/dev/null 2>&1; "$server" -w >/dev/null 2>&1; }
        stop_server
        trap 'stop_server; rm -rf "$work"' EXIT
        "$wine_run" "$prefix" cmd /c exit >/dev/null 2>&1
        ini="$prefix/drive_c/users/$(id -un)/AppData/Roaming/Lumetra.ini"
        mkdir -p "$(dirname "$ini")"
        name='^Screen Saver$'
        start() {  # start MAP_SCALE ALL_MONITORS
            printf '[Lumetra]\r\nMapScale=%s\r\nAllMonitors=%s\r\n' "$1" "$2" >"$ini"
            ("$wine_run" "$prefix" "$saver" /s >/dev/null 2>&1; echo $? >"$work/code") &
        }
        ;;
    x11)
        program=$1
        export HOME=$work XDG_CONFIG_HOME=$work
        trap 'rm -rf "$work"' EXIT
        name='^Lumetra$'
        start() {
            local switches=(-fullscreen -scale "$1")
            [ "$2" = 1 ] && switches+=(-all-monitors)
            ("$program" "${switches[@]}" >/dev/null 2>&1; echo $? >"$work/code") &
        }
        ;;
    *) echo "unknown kind $kind" >&2; exit 2 ;;
esac

box() {  # LEFT TOP RIGHT BOTTOM of all that is not black in IMAGE [CROP]
    [[ $(convert "$1" ${2:+-crop "$2" +repage} -format '%@' info: 2>/dev/null) =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return
    echo "${BASH_REMATCH[3]} ${BASH_REMATCH[4]} $((BASH_REMATCH[3] + BASH_REMATCH[1])) $((BASH_REMATCH[4] + BASH_REMATCH[2]))"
}
# A map of N times the frame: its black rim may hide up to 40 N pixels.
is_map() {  # N LEFT TOP RIGHT BOTTOM
    local w=$(($4 - $2)) h=$(($5 - $3))
    ((w > 476 * $1 && w <= 516 * $1 && h > 270 * $1 && h <= 310 * $1))
}
shot() { import -window root "$work/$1.png"; }
magenta() { convert "$work/$1.png" -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' \
    -colorspace gray -format '%[fx:round(mean*w*h)]' info: 2>/dev/null; }

# Starts the saver, waits for its window and a second of drawing.
run() {  # run MAP_SCALE ALL_MONITORS
    rm -f "$work/code"
    start "$1" "$2"
    for _ in $(seq 1 150); do xdotool search --name "$name" >/dev/null 2>&1 && break; sleep 0.1; done
    sleep 1
}
# A key ends it with 0, within 3 s; the key again if the first came too early.
ends_on_key() {  # ends_on_key WHAT
    for _ in 1 2 3; do
        xdotool key space
        for _ in $(seq 1 10); do [ -s "$work/code" ] && break 2; sleep 0.1; done
    done
    check "$1: a key ends the saver" 0 "$(cat "$work/code" 2>/dev/null || echo 'still running')"
    wait
}

xsetroot -solid '#FF00FF'
run 1 0
inside=yes
moved=no
for i in $(seq 1 10); do
    shot "m$i"
    read -r l t r b <<<"$(box "$work/m$i.png")"
    is_map 1 "${l:-0}" "${t:-0}" "${r:-0}" "${b:-0}" && ((r <= 1280 && b <= 1024)) || inside="no: $l,$t-$r,$b"
    [ "$i" -gt 1 ] && [ "$l,$t" != "$first" ] && moved=yes
    [ "$i" = 1 ] && first="$l,$t"
    sleep 0.2
done
check "the root's colour shows nowhere" 0 "$(magenta m1)"
check "one map, on the primary monitor, in every screenshot" yes "$inside"
check "the map moves" yes "$moved"
ends_on_key "primary only"

run 1 1
shot all
check "AllMonitors=1: a map on the primary monitor" yes \
    "$(is_map 1 $(box "$work/all.png" 1280x1024+0+0) && echo yes || echo "no: $(box "$work/all.png" 1280x1024+0+0)")"
check "AllMonitors=1: a map on the second monitor" yes \
    "$(is_map 1 $(box "$work/all.png" 1024x768+1280+0) && echo yes || echo "no: $(box "$work/all.png" 1024x768+1280+0)")"
check "AllMonitors=1: the root's colour shows nowhere" 0 "$(magenta all)"
ends_on_key "all monitors"

run 2 0
shot twice
read -r l t r b <<<"$(box "$work/twice.png")"
check "MapScale=2: a map of 1032 x 620 on the primary monitor" yes \
    "$(is_map 2 "${l:-0}" "${t:-0}" "${r:-0}" "${b:-0}" && ((r <= 1280)) && echo yes || echo "no: $l,$t-$r,$b")"
ends_on_key "twice the size"

# The display settings' preview, 152 x 112, ends with 0 and still writes the
# full-size frame. (What it shows is the view test's: Wine puts no window of
# one process inside another's on the X display, so a screenshot of it is
# black whatever the saver draws.)
if [ "$kind" = wine ]; then
    printf '[Lumetra]\r\nSaveFinalBMP=1\r\n' >"$ini"
    rm -f "$work/lumetra.bmp"
    "$wine_run" "$prefix" "$preview_parent" "$saver" p 152x112 >"$work/preview.out" 2>/dev/null
    check "preview: ends with 0" 0 "$?"
    check "preview: its size" 152x112 "$(grep -o '^preview [0-9]*x[0-9]*' "$work/preview.out" | cut -d' ' -f2)"
    check "preview: the snapshot is the whole frame" 516x310 "$(identify -format '%wx%h' "$work/lumetra.bmp" 2>/dev/null)"
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
