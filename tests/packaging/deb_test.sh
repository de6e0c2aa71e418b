#!/usr/bin/env bash
# deb_test.sh DEB VERSION GOLDEN_STRIP - the Debian package as a Debian user
# meets it, on this machine, inside the test network (testnet.sh runs it): its
# files exactly; lintian without an error or a warning; installed with dpkg,
# both programs' versions, `lumetra-map check` on the bundled hosts, the hack
# on an Xvfb of the test's own and its snapshot (the first bundled host's name
# in the same pixels as a render of it), both manual pages through man
# without a warning; removed again, nothing of it left. Needs root; skips
# (77) without it, or when a lumetra package is installed here already.
set -uo pipefail
deb=$(realpath "$1") version=$2 golden_strip=$(realpath "$3")
[ -n "${LUMETRA_TESTNET_SKIP:-}" ] && { echo "SKIP: $LUMETRA_TESTNET_SKIP"; exit 77; }
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
if dpkg-query -W -f='${Status}' lumetra 2>/dev/null | grep -q installed; then
    echo "SKIP: a lumetra package is installed on this machine; this test installs and removes its own"
    exit 77
fi
failures=0
passes=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
work=$(mktemp -d)
chmod 0755 "$work"
installed=no
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    [ "$installed" = yes ] && dpkg --purge lumetra >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
    exit
}

# Exactly these files and folders, owned by root.
files=(usr/bin/lumetra-map usr/libexec/xscreensaver/lumetra-x11 usr/share/xscreensaver/config/lumetra-x11.xml
       usr/share/lumetra/lumetra.txt usr/share/man/man1/lumetra-map.1.gz usr/share/man/man6/lumetra-x11.6.gz
       usr/share/doc/lumetra/copyright usr/share/doc/lumetra/changelog.Debian.gz usr/share/doc/lumetra/README.Debian
       usr/share/lintian/overrides/lumetra)
listing=$(dpkg-deb -c "$deb")
check "files" "$(printf '%s\n' "${files[@]}" | sort)" \
      "$(awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' <<<"$listing" | sort)"
check "owners" "root/root" "$(awk '{print $2}' <<<"$listing" | sort -u)"
check "version" "$version-1" "$(dpkg-deb -f "$deb" Version)"
check "recommends" "xscreensaver" "$(dpkg-deb -f "$deb" Recommends)"
for lib in libc6 libstdc++6 libx11-6 libxext6; do
    check "depends on $lib" yes "$(dpkg-deb -f "$deb" Depends | grep -qw "$lib" && echo yes)"
done
check "lintian errors and warnings" "" "$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^[EW]:')"

dpkg -i "$deb" >"$work/dpkg.log" 2>&1 && installed=yes
check "dpkg -i" yes "$installed"
[ "$installed" = yes ] || { cat "$work/dpkg.log"; finish; }
for program in /usr/bin/lumetra-map /usr/libexec/xscreensaver/lumetra-x11; do
    check "$program --version" "$(basename "$program") (Lumetra) $version" "$("$program" --version)"
done
for program in /usr/bin/lumetra-map /usr/libexec/xscreensaver/lumetra-x11; do
    check "$program's symbols and debugging sections" 0 "$(readelf -S "$program" | grep -cE '\.(symtab|debug)')"
done

# The bundled hosts, found from the program's own folder by a user anywhere.
mkdir "$work/elsewhere"
check "lumetra-map check finds the bundled hosts" "$(/usr/bin/lumetra-map check /usr/share/lumetra/lumetra.txt)" \
      "$(cd "$work/elsewhere" && setpriv --reuid=65534 --regid=65534 --clear-groups /usr/bin/lumetra-map check)"

# The manual pages through man, as lintian reads them.
for page in /usr/share/man/man1/lumetra-map.1.gz /usr/share/man/man6/lumetra-x11.6.gz; do
    check "warnings of man -l $page" "" "$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 \
        -Z "$page" 2>&1 >/dev/null)"
    check "$page has a NAME line" yes "$(man -l "$page" 2>/dev/null | grep -q "^NAME" && echo yes)"
done

# The hack on the root window of an Xvfb of the test's own, started from a
# folder without a target file: it reads the bundled one, probes its first
# host (nothing answers in the test network) and on SIGTERM, which ends it,
# leaves its snapshot in the user's state folder, as a saver does.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.1; done
mkdir -p "$work/home"
(cd "$work/elsewhere" && HOME=$work/home XDG_CONFIG_HOME=$work/home/.config DISPLAY=:$(cat "$work/display") \
    exec /usr/libexec/xscreensaver/lumetra-x11 -root) 2>"$work/hack.err" &
hack=$!
sleep 1.5  # the first probe starts 110 ms after the start, the second 2 s after it
kill -TERM "$hack"
wait "$hack"
check "hack's exit status after SIGTERM (128 + 15: ended by it)" 143 "$?"
snapshot=$work/home/.local/state/lumetra/lumetra.bmp
check "snapshot size" "516x310" "$(identify -format '%wx%h' "$snapshot" 2>/dev/null)"
check "snapshot folder's mode" 700 "$(stat -c %a "$(dirname "$snapshot")")"
check "snapshot in the current folder" no "$([ -e "$work/elsewhere/lumetra.bmp" ] && echo yes || echo no)"
# The host-name line at the frame's foot: its cyan pixels (no colour of the
# field is cyan) against those of a render of the first bundled host's marker.
cyan_mask() { convert "$1" -fill black +opaque '#00FFFF' -fill white -opaque '#00FFFF' "$2"; }
convert "$snapshot" -crop 516x25+0+285 +repage "$work/strip.png" 2>/dev/null
cyan_mask "$golden_strip" "$work/golden.png"
cyan_mask "$work/strip.png" "$work/shown.png" 2>/dev/null
check "pixels of the first bundled host's name that differ" 0 \
      "$(compare -metric AE "$work/golden.png" "$work/shown.png" null: 2>&1)"

# Removed, nothing of it stays: no file, and no folder of its own.
dpkg --purge lumetra >"$work/dpkg.log" 2>&1 && installed=no
check "dpkg --purge" no "$installed"
left=""
for file in "${files[@]}" usr/share/lumetra usr/share/doc/lumetra; do [ -e "/$file" ] && left+=" /$file"; done
check "left after the purge" "" "$left"
finish
