#!/usr/bin/env bash
# run-main.sh [SECONDS] - installs what is needed, builds lumetra.scr and runs
# the saver (/s) under Wine with the bundled target file and settings.
#
# With a display (DISPLAY set and answering) it runs there until you press a
# key or move the mouse. Without one it runs on a virtual display for SECONDS
# (default 30), then ends the way a user would, with a key press. Either way
# it leaves the saver's snapshot lumetra.bmp and a screenshot lumetra.png in
# build/run-main/ and says where they are. The saver sends real ICMP echoes to
# the bundled hosts; from a machine without a way to them none answers, and
# the map stays one colour.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
[[ $seconds =~ ^[0-9]+$ ]] || { echo "usage: run-main.sh [SECONDS]" >&2; exit 2; }
# Inside the virtual display (see the end) only the run is left to do.
if [ -z "${LUMETRA_RUN_MAIN_VIRTUAL:-}" ]; then
    bash tools/install-deps.sh
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j"$(nproc)" --target lumetra >/dev/null
fi

out=$PWD/build/run-main
prefix=$PWD/build/run-main-prefix
root=$PWD
wine_run() { "$root/cmake/wine-run.sh" "$prefix" "$@"; }

# Waits for the saver's window; screenshots the screen into lumetra.png.
wait_and_shoot() {
    for _ in $(seq 1 300); do
        xdotool search --name '^Screen Saver$' >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep "$1"
    import -window root "$out/lumetra.png" 2>/dev/null || true
}

run_saver() {
    echo "run-main: starting Wine (the first start of its prefix takes half a minute)" >&2
    # Wine's desktop process starts with the server and keeps its display: start both here.
    WINEPREFIX=$prefix "$(command -v wineserver || echo /usr/lib/wine/wineserver64)" -k >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wine_run cmd /c exit >/dev/null 2>&1 || true
    (cd "$out" && wine_run "$out/lumetra.scr" /s >/dev/null 2>&1) &
    local saver=$!
    if [ "$1" = interactive ]; then
        echo "run-main: the saver runs; a key, a click or a mouse move ends it" >&2
        wait_and_shoot 5
        wait "$saver" || true
    else
        echo "run-main: the saver runs on a virtual display for $seconds seconds" >&2
        wait_and_shoot "$seconds"
        xdotool key space
        wait "$saver" || true
    fi
}

if [ -n "${LUMETRA_RUN_MAIN_VIRTUAL:-}" ]; then
    run_saver virtual
    exit 0
fi
mkdir -p "$out"
cp build/windows/apps/lumetra-scr/lumetra.scr resources/lumetra.txt "$out/"
rm -f "$out/lumetra.bmp" "$out/lumetra.png"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    run_saver interactive
else
    LUMETRA_RUN_MAIN_VIRTUAL=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$seconds"
fi

if [ ! -f "$out/lumetra.bmp" ]; then
    echo "run-main: the saver wrote no snapshot (is SaveFinalBMP 0 in its Lumetra.ini?)" >&2
    exit 1
fi
# Unanswered probes leave the field one colour: count the pixels that are
# neither black, nor that colour, nor the cyan text.
coloured=$(convert "$out/lumetra.bmp" -fill black -opaque '#00FF35' -opaque '#00FFFF' \
    -fill white +opaque black -format '%[fx:int(mean*w*h)]' info: 2>/dev/null || echo 0)
if [ "$coloured" -lt 2000 ]; then
    echo "run-main: no probe was answered: the bundled hosts could not be reached from this machine" >&2
fi
echo "run-main: the snapshot is $out/lumetra.bmp"
[ -f "$out/lumetra.png" ] && echo "run-main: a screenshot is $out/lumetra.png"
exit 0
