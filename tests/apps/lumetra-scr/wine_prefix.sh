# wine_prefix.sh - sets up the Wine prefix of the saver's end-to-end scripts,
# which source it inside the test network (tests/net/testnet.sh run).
# Expects wine_run, prefix and saver set; makes $work with the program and the
# end-to-end target file in $work/bin and an empty $work/run, puts INI
# (default Lumetra.ini here) in the prefix's settings folder ($settings_dir),
# and stops the prefix's Wine server now and at exit: a server started outside
# this network would send its echoes from there. Exits 0 with a note when not
# inside the test network.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${LUMETRA_TESTNET_DIR:-}" ]; then
    echo "$(basename "$0"): skipped: ${LUMETRA_TESTNET_SKIP:-not inside the test network}"
    exit 0
fi
export WINEPREFIX=$prefix
server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
stop_server() { "$server" -k >/dev/null 2>&1; "$server" -w >/dev/null 2>&1; }
work=$(mktemp -d)
stop_server
trap 'stop_server; rm -rf "$work"' EXIT
wine() { "$wine_run" "$prefix" "$@"; }

mkdir -p "$work/bin" "$work/run"
cp "$saver" "$here/lumetra.txt" "$work/bin/"
wine cmd /c exit >/dev/null 2>&1  # the prefix and its server, before any timing
settings_dir="$prefix/drive_c/users/$(id -un)/AppData/Roaming"
mkdir -p "$settings_dir"
cp "${ini:-$here/Lumetra.ini}" "$settings_dir/Lumetra.ini"
rm -f "$settings_dir/lumetra.bmp"

# Waits for the full-screen saver's window to appear.
wait_for_saver() {
    for _ in $(seq 1 500); do
        xdotool search --name '^Screen Saver$' >/dev/null 2>&1 && return 0
        sleep 0.02
    done
    return 1
}
