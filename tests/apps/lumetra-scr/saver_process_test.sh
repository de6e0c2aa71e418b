#!/usr/bin/env bash
# saver_process_test.sh WINE_RUN PREFIX SAVER FAULT_SAVER PREVIEW_PARENT RAW_LAUNCH MPR_DIR
# The saver as a process under Wine: every command-line tail with its exit
# code, the dialog cancelled and confirmed, input sent by xdotool on the
# virtual display, the preview inside a real parent window, the password
# change through a stand-in MPR.DLL, and forced faults. Needs DISPLAY (CTest
# runs under xvfb-run). The saver loads libraries from the system folder
# only, so the stand-ins go into the prefix's system32: MPR.DLL for as long
# as its case runs, PASSWORD.CPL (which Wine lacks) for good, as the host's
# tests put it there too.
set -uo pipefail
wine_run=$1 prefix=$2 saver=$3 fault_saver=$4 preview_parent=$5 raw_launch=$6 mpr_dir=$7
work=$(mktemp -d)
system32=$prefix/drive_c/windows/system32
verifier=$(dirname "$fault_saver")/PASSWORD.CPL
trap 'rm -rf "$work"; [ -f "$work.mpr" ] && mv -f "$work.mpr" "$system32/mpr.dll"' EXIT
failures=0
passes=0

wine() { "$wine_run" "$prefix" "$@"; }
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: expected $2, got $3"; failures=$((failures + 1)); fi
}
code_of() {  # exit code of: wine SAVER ARGS... (Windows' -1 arrives as 255)
    wine "$@" >/dev/null 2>&1
    echo $?
}
set_reg() { wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1; }
del_reg() { wine reg delete "$1" /v "$2" /f >/dev/null 2>&1; }

saver_windows() { xdotool search --name '^Screen Saver$' 2>/dev/null; }
wait_for_saver() {
    for _ in $(seq 1 100); do
        [ -n "$(saver_windows)" ] && return 0
        sleep 0.1
    done
    return 1
}
# Starts the saver with /s in the background; its exit code lands in $work/code.
start_saver() {
    rm -f "$work/code"
    (wine "$saver" /s >/dev/null 2>&1; echo $? >"$work/code") &
    wait_for_saver || echo "saver window never appeared"
    sleep 0.5
}
wait_code() {
    for _ in $(seq 1 100); do
        [ -s "$work/code" ] && { cat "$work/code"; return; }
        sleep 0.1
    done
    echo "still running"
}
# Sends input (xdotool arguments) until the saver has ended, at most three
# times: on a loaded machine the first may come before the window has the
# focus. Prints the exit code.
end_by() {
    for _ in 1 2 3; do
        xdotool "$@"
        for _ in $(seq 1 30); do
            [ -s "$work/code" ] && { cat "$work/code"; return; }
            sleep 0.1
        done
    done
    wait_code
}
end_saver() {  # for checks that must leave no saver behind
    [ -n "$(saver_windows)" ] && xdotool key Escape
    wait_code >/dev/null
}

# Tails that end at once, with their exit codes.
check "/x" 255 "$(code_of "$saver" /x)"
check "/p:1234" 255 "$(code_of "$saver" /p:1234)"
check "/p 0" 255 "$(code_of "$saver" "/p 0")"
check "/a 1234 on NT" 255 "$(code_of "$saver" /a 1234)"
saver_win=$(wine winepath -w "$saver" 2>/dev/null | tr -d '\r')
check "tab after separator" 255 "$(code_of "$raw_launch" "\"$saver_win\" /	s")"

# Every spelling of S runs the saver until a key ends it.
for tail in /s -S s /-s; do
    rm -f "$work/code"
    (wine "$saver" "$tail" >/dev/null 2>&1; echo $? >"$work/code") &
    wait_for_saver && sleep 0.5
    check "$tail ends with 0 on a key" 0 "$(end_by key a)"
done

# A click ends it; so does a mouse move of 5 pixels, and one of 4 does not.
start_saver
check "click ends the saver" 0 "$(end_by click 1)"
xdotool mousemove 300 300
start_saver
xdotool mousemove 303 301
sleep 0.7
check "a move of 4 keeps the saver" 1 "$(saver_windows | wc -l)"
xdotool mousemove 304 301
check "a move of 5 ends the saver" 0 "$(wait_code)"

# A second full-screen start finds the first, brings it forward and ends with 0.
start_saver
check "second /s exits at once" 0 "$(code_of "$saver" /s)"
check "the first one still runs" 1 "$(saver_windows | wc -l)"
end_saver

# The quoted program path with spaces and a tab after it, exactly as written.
spaced="$work/dir with spaces"
mkdir -p "$spaced"
cp "$saver" "$spaced/lumetra.scr"
spaced_win=$(wine winepath -w "$spaced/lumetra.scr" 2>/dev/null | tr -d '\r')
check "quoted path, /x" 255 "$(code_of "$raw_launch" "\"$spaced_win\" /x")"
rm -f "$work/code"
(wine "$raw_launch" "\"$spaced_win\"	/s" >/dev/null 2>&1; echo $? >"$work/code") &
wait_for_saver && sleep 0.5
check "quoted path, tab, /s" 0 "$(end_by key a)"

# Shows the dialog for a command-line tail, sends a key to it and prints the exit code.
answer_dialog() {  # answer_dialog TAIL KEY
    rm -f "$work/code"
    (wine "$saver" $1 >/dev/null 2>&1; echo $? >"$work/code") &
    local found=""
    for _ in $(seq 1 100); do
        found=$(xdotool search --name '^Lumetra 1.0$' 2>/dev/null | head -n 1)
        [ -n "$found" ] && break
        sleep 0.1
    done
    [ -n "$found" ] && { sleep 0.5; xdotool windowactivate --sync "$found" 2>/dev/null; }
    end_by key "$2"
}

# The dialog: an empty line, separators only, /c and /c:1234; Escape cancels.
for tail in "" " - /" "/c" "/c:1234"; do
    check "dialog for '$tail' cancelled" 2 "$(answer_dialog "$tail" Escape)"
done

# Return presses the default button, OK, which stores the settings in the
# user's own file: a period the slider cannot show comes back in whole seconds.
ini="$(wine winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r')/Lumetra.ini"
[ -f "$ini" ] && cp "$ini" "$work/user.ini"
for tail in "" "/c"; do
    printf '[Lumetra]\r\nPingPeriod=2500\r\n' >"$ini"
    check "dialog for '$tail' confirmed" 1 "$(answer_dialog "$tail" Return)"
    check "dialog for '$tail' stored the period" "PingPeriod=2000" "$(grep -o 'PingPeriod=[0-9]*' "$ini")"
done
if [ -f "$work/user.ini" ]; then cp "$work/user.ini" "$ini"; else rm -f "$ini"; fi

# The preview runs inside a real window and ends with 0 when it is destroyed.
check "/p HANDLE" 0 "$(code_of "$preview_parent" "$saver" p)"
check "/l HANDLE" 0 "$(code_of "$preview_parent" "$saver" l)"

# The password change on the 9x family, through our own MPR.DLL. A saver
# (started before the 9x setting) holds the foreground, for the owner to
# fall back to.
start_saver
cp "$saver" "$work/lumetra.scr"
cp "$system32/mpr.dll" "$work.mpr"  # Wine's own, back at the end
cp "$mpr_dir/mpr.dll" "$system32/mpr.dll"
appkey='HKCU\Software\Wine\AppDefaults\lumetra.scr'
set_reg "$appkey" Version REG_SZ win98
export LUMETRA_TEST_MPR_LOG="$work/mpr.log"
check "/a 1234 on 9x" 0 "$(WINEDLLOVERRIDES="mpr=n;mscoree,mshtml=" code_of "$work/lumetra.scr" /a 1234)"
mv -f "$work.mpr" "$system32/mpr.dll"
mpr_line=$(head -n 1 "$work/mpr.log" 2>/dev/null | tr -d '\r')
check "MPR provider and the two zeros" "SCRSAVE 0 0000000000000000" "$(cut -d' ' -f1,3,4 <<<"$mpr_line")"
read -r _ owner _ _ foreground <<<"$mpr_line"
check "owner falls back from 1234 to the foreground window ($owner, foreground ${foreground:-none})" yes \
    "$([ "${owner:-0}" != 0 ] && [ "$owner" = "$foreground" ] && echo yes || echo no)"
del_reg "$appkey" Version
unset LUMETRA_TEST_MPR_LOG
end_saver

# A fault in the saver's own code ends the run with 70. A structured fault
# ends the process at once, with the verifier still loaded: the 9x running
# flag (raised here first, kept by the system across processes) must be
# lowered before. A C++ exception unwinds to SaverMain, which unloads the
# verifier on the way. A fault that system code raises and handles itself
# leaves the saver running until a key ends it.
cp "$verifier" "$system32/PASSWORD.CPL"
set_reg 'HKCU\Software\Wine\AppDefaults\lumetra_fault.scr' Version REG_SZ win98
set_reg 'HKCU\Control Panel\Desktop' ScreenSaveUsePassword REG_DWORD 1
saver_flag() { wine rundll32 'C:\windows\system32\PASSWORD.CPL,SaverRunningFlag' "$1" >/dev/null 2>&1; }
for kind in seh cpp; do
    rm -f "$work/cpl.log"
    saver_flag raise
    check "fault ($kind) exit code" 70 "$(LUMETRA_TEST_FAULT=$kind code_of "$fault_saver" /s)"
    LUMETRA_TEST_CPL_LOG="$work/cpl.log" saver_flag report
    check "fault ($kind) flag" lowered "$(tr -d '\r' <"$work/cpl.log" 2>/dev/null)"
done
del_reg 'HKCU\Control Panel\Desktop' ScreenSaveUsePassword
del_reg 'HKCU\Software\Wine\AppDefaults\lumetra_fault.scr' Version
rm -f "$work/code"
(LUMETRA_TEST_FAULT=handled wine "$fault_saver" /s >/dev/null 2>&1; echo $? >"$work/code") &
wait_for_saver && sleep 0.5
check "a fault that system code handles keeps the saver running until a key" 0 "$(end_by key a)"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
