#!/usr/bin/env bash
# install_test.sh WINE_RUN PREFIX RELEASE_DIR RELEASE_NAME EXECUTABLE_INFO GOLDEN_STRIP VERSION COMPANY DESCRIPTION
# The release as a user meets it, under Wine: the zip's contents and the
# checksums; the installer run silently into a fresh prefix, the files and
# registry values it leaves, the saver's version information and manifest;
# the installed saver started from another folder, which must find the
# bundled target file (its snapshot shows the first bundled host's name);
# the uninstaller, which must take away all it put there and nothing of the
# user's. Needs DISPLAY (CTest runs under xvfb-run).
set -uo pipefail
wine_run=$(realpath "$1") prefix=$(realpath -m "$2") release_dir=$(realpath "$3") name=$4
executable_info=$(realpath "$5") golden_strip=$(realpath "$6") version=$7 company=$8 description=$9
installer=$release_dir/$name-setup.exe
failures=0
passes=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
    exit
}
[ -f "$installer" ] || { echo "FAIL: no $installer (makensis missing? run tools/install-deps.sh)"; failures=1; finish; }

# What the user gets, in the program folder and in the zip.
release_files=(lumetra.scr lumetra-map.exe lumetra.txt README.txt licences/font-x11-fixed.txt licences/map-us-atlas.txt
               licences/mingw-w64-runtime.txt)
program_folder='C:\Program Files\Lumetra'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumetra'
desktop_key='HKCU\Control Panel\Desktop'

# The prefix is this test's own: ending its Wine server ends only what the
# test started there, a saver that missed its key included.
server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
end_prefix() { [ -d "$prefix" ] && WINEPREFIX=$prefix "$server" -k >/dev/null 2>&1; }
work=$(mktemp -d)
trap 'end_prefix; rm -rf "$work"' EXIT
wine() { "$wine_run" "$prefix" "$@"; }
unix_path() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# The value NAME of KEY as `reg query` prints it, or nothing.
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -nE "s/^ +$2 +REG_[A-Z_]+ +//p"; }
has_key() { wine reg query "$1" >/dev/null 2>&1 && echo present || echo absent; }

# The zip holds exactly the release files, in one folder; the checksums hold.
(cd "$work" && cmake -E tar xf "$release_dir/$name.zip")
check "zip entries" "$(printf "$name/%s\n" "${release_files[@]}" | sort)" \
      "$(cmake -E tar tf "$release_dir/$name.zip" | sort)"
check "checksums" "OK OK" "$(cd "$release_dir" && sha256sum -c SHA256SUMS 2>&1 | awk '{print $2}' | xargs)"

# A fresh prefix, as on a machine that never saw Lumetra.
end_prefix
rm -rf "$prefix" "$prefix.lock"
check "silent install exit code" 0 "$(wine "$installer" /S >/dev/null 2>&1; echo $?)"
installed=$(unix_path "$program_folder")
[ -d "$installed" ] || { echo "FAIL: nothing installed in $program_folder"; failures=$((failures + 1)); finish; }
for file in "${release_files[@]}"; do
    check "installed $file is the zip's" same \
          "$(cmp -s "$installed/$file" "$work/$name/$file" && echo same || echo differs)"
done
check "uninstaller installed" yes "$([ -f "$installed/uninstall.exe" ] && echo yes || echo no)"
# No folder outside the programs folders, where ordinary users might write.
check "silent install into C:\\Lumetra refused" 2 "$(wine "$installer" /S '/D=C:\Lumetra' >/dev/null 2>&1; echo $?)"
check "nothing made in C:\\Lumetra" absent "$([ -e "$(unix_path 'C:\Lumetra')" ] && echo present || echo absent)"

# The entry in the list of programs, and Lumetra made the current saver.
while IFS='|' read -r value expected; do
    check "uninstall entry $value" "$expected" "$(reg_value "$uninstall_key" "$value")"
done <<END
DisplayName|Lumetra $version
DisplayVersion|$version
Publisher|$company
InstallLocation|$program_folder
UninstallString|"$program_folder\\uninstall.exe"
END
saver_setting=$(reg_value "$desktop_key" SCRNSAVE.EXE)
check "SCRNSAVE.EXE names the installed saver" "$installed/lumetra.scr" "$(unix_path "$saver_setting")"

# The version information and the manifest read back from the installed saver.
info=$(wine "$executable_info" "$program_folder\\lumetra.scr" 2>/dev/null | tr -d '\r')
while IFS='=' read -r field expected; do
    check "version information $field" "$expected" "$(sed -n "s/^$field=//p" <<<"$info")"
done <<END
ProductName=Lumetra
CompanyName=$company
FileDescription=$description
FileVersion=$version
ProductVersion=$version
OriginalFilename=lumetra.scr
FixedFileVersion=$version.0.0
END
check "manifest selects common controls 6" yes \
      "$(grep -qiE '^CommonControlsFile=.*common-controls_6595b64144ccf1df_6\.' <<<"$info" && echo yes || echo no)"

# The user's own settings: one probe only, so the snapshot shows the first host.
appdata=$(unix_path "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')")
[ -n "$appdata" ] || { echo "FAIL: no %APPDATA% in the prefix"; failures=$((failures + 1)); finish; }
mkdir -p "$appdata"
printf '[Lumetra]\r\nPingPeriod=30000\r\n' >"$appdata/Lumetra.ini"
cp "$appdata/Lumetra.ini" "$work/settings.ini"

# The installed saver, started from a folder without a target file: it reads
# the bundled one beside it and leaves its snapshot where it was started.
mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && wine "$program_folder\\lumetra.scr" /s; echo $? >"$work/code") >/dev/null 2>&1 &
for _ in $(seq 1 150); do
    [ -n "$(xdotool search --name '^Screen Saver$' 2>/dev/null)" ] && break
    sleep 0.1
done
sleep 1.5  # the first probe starts 110 ms after the start and fails at once here
xdotool key Escape
for _ in $(seq 1 100); do [ -s "$work/code" ] && break; sleep 0.1; done
check "saver exit code" 0 "$(cat "$work/code" 2>/dev/null)"
snapshot=$work/elsewhere/lumetra.bmp
check "snapshot size" "516x310" "$(identify -format '%wx%h' "$snapshot" 2>/dev/null)"
# The host-name line at the frame's foot: its cyan pixels (no colour of the
# field is cyan) against those of a render of the first bundled host's marker.
cyan_mask() { convert "$1" -fill black +opaque '#00FFFF' -fill white -opaque '#00FFFF' "$2"; }
convert "$snapshot" -crop 516x25+0+285 +repage "$work/strip.png" 2>/dev/null
cyan_mask "$golden_strip" "$work/golden.png"
cyan_mask "$work/strip.png" "$work/snapshot.png" 2>/dev/null
check "the render shows a name" 1 "$(convert "$work/golden.png" -format '%[fx:mean>0]' info:)"
check "pixels of the first bundled host's name that differ" 0 \
      "$(compare -metric AE "$work/golden.png" "$work/snapshot.png" null: 2>&1)"

# The installed tool, started from another folder, reads the target file beside it.
code=$(cd "$work/elsewhere" && wine "$program_folder\\lumetra-map.exe" check >"$work/listing" 2>/dev/null; echo $?)
check "installed lumetra-map.exe check exit code" 0 "$code"
check "installed lumetra-map.exe check lists the bundled hosts" \
      "$(grep -v '^;' "$installed/lumetra.txt" | grep -c .)" "$(grep -c . "$work/listing")"

# The uninstaller copies itself away and returns at once: wait for its work.
cp "$snapshot" "$installed/lumetra.bmp"  # a snapshot taken with the program folder as current folder
check "silent uninstall exit code" 0 "$(wine "$program_folder\\uninstall.exe" /S >/dev/null 2>&1; echo $?)"
for _ in $(seq 1 100); do [ -e "$installed/uninstall.exe" ] || break; sleep 0.2; done
for _ in $(seq 1 20); do [ "$(has_key "$uninstall_key")" = absent ] && break; sleep 0.2; done
left=$(find "$installed" -mindepth 1 -printf '%P\n' 2>/dev/null | sort | xargs)
check "left in the program folder" lumetra.bmp "$left"
check "uninstall entry" absent "$(has_key "$uninstall_key")"
check "SCRNSAVE.EXE" "" "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
check "settings file kept as it was" same "$(cmp -s "$appdata/Lumetra.ini" "$work/settings.ini" && echo same || echo differs)"
finish
