#!/usr/bin/env bash
# screenshot-dialog.sh - draws docs/dialog.png: the configuration dialog of
# lumetra.scr as Wine shows it, with the settings at their defaults and the
# bundled target file listed. Builds the windows preset's lumetra target,
# runs `lumetra.scr /c` on a virtual display (in a Wine prefix of its own, so
# no settings of earlier runs show), grabs the dialog's window with
# ImageMagick and presses Escape. Needs wine, xvfb, xdotool and ImageMagick.
# Run: bash tools/screenshot-dialog.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

[ -f build/windows/CMakeCache.txt ] || cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target lumetra >/dev/null
saver=$root/build/windows/apps/lumetra-scr/lumetra.scr
prefix=$root/build/windows/wineprefix-screenshot
wine() { "$root/cmake/wine-run.sh" "$prefix" "$@"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The default target file, .\lumetra.txt, is read from the current folder.
cp resources/lumetra.txt "$work/"
appdata=$(wine winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r')
rm -f "$appdata/Lumetra.ini"

(cd "$work" && wine "$saver" /c >/dev/null 2>&1) &
runner=$!
window=""
for _ in $(seq 1 150); do
    window=$(xdotool search --name '^Lumetra [0-9.]*$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "screenshot-dialog.sh: the dialog never appeared" >&2
    kill "$runner" 2>/dev/null
    exit 1
fi
sleep 1  # a few ticks of the dialog's timer: the labels over the sliders follow the focus
mkdir -p docs
import -window "$window" -strip docs/dialog.png
xdotool key --window "$window" Escape
wait "$runner" || true
echo "wrote docs/dialog.png"
