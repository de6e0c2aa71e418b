#!/usr/bin/env bash
# map_tool_wine_test.sh files|probe WINE_RUN PREFIX TOOL SOURCE_DIR
# lumetra-map.exe under Wine, given paths as a Windows user types them.
#   files: check on the bundled target file; render of the golden scenes,
#          pixel for pixel the Linux tool's frames; place and import.
#   probe: one probe cycle inside the test network (run through
#          tests/net/testnet.sh with tests/net/probe_hosts.conf).
set -uo pipefail
mode=$1 wine_run=$2 prefix=$3 tool=$4 source_dir=$5
failures=0
passes=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
win() { local path=${1//\//\\}; echo "Z:$path"; }  # Wine's drive Z: is /
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tool's stdout and stderr in $work/out and $work/err (line ends as on
# Linux), its exit code as the result.
map() {
    if [ "$mode" = probe ]; then
        "$source_dir/tests/net/wine-in-testnet.sh" "$prefix" "$tool" "$@" >"$work/out" 2>"$work/err"
    else
        "$wine_run" "$prefix" "$tool" "$@" >"$work/out" 2>"$work/err"
    fi
    local code=$?
    sed -i 's/\r$//' "$work/out" "$work/err"
    return $code
}
frames=$source_dir/tests/data/frames
bundled=$source_dir/resources/lumetra.txt

if [ "$mode" = files ]; then
    # Each record as the saver reads it: every bundled host is probed by name (address 0).
    expected=$(awk -F'\t' '!/^;/ && NF { split($6, xy, ","); print $1 "\t0\t" $2 "\t" $3 "\t" $4 "\t" $5 "\t" xy[1] "\t" xy[2] "\t" $7 }' "$bundled")
    map check "$(win "$bundled")"
    check "check exit code" 0 $?
    check "check lists the bundled hosts" "$expected" "$(cat "$work/out")"

    while read -r scene results settings current; do
        case $scene in '' | '#'*) continue ;; esac
        args=(--targets "$(win "$frames/targets.txt")" --results "$(win "$frames/$results")"
              --settings "$(win "$frames/$settings")" --out "$(win "$work/$scene.bmp")")
        [ "$current" != - ] && args+=(--current "$current")
        map render "${args[@]}"
        check "render $scene exit code" 0 $?
        check "render $scene: pixels unlike the Linux tool's" 0 \
              "$(compare -metric AE "$frames/$scene.bmp" "$work/$scene.bmp" null: 2>&1)"
    done <"$frames/scenes.txt"

    washington=$(awk -F'\t' '$3 == "www.washington.edu" { print $6 }' "$bundled")
    map place 47.6553 -122.3035
    check "place exit code" 0 $?
    check "place prints the bundled position" "$washington" "$(cat "$work/out")"
    printf 'host,lat,lon,note\r\nwww.washington.edu,47.6553,-122.3035,Seattle\r\nx.example,,-100,\r\n' >"$work/hosts.csv"
    map import --csv "$(win "$work/hosts.csv")" --out "$(win "$work/hosts.txt")"
    check "import exit code" 1 $?
    check "import names the row it left out" "3: no coordinates" "$(head -n 1 "$work/err")"
    check "import writes the row it placed" \
          "$(printf '1\tname\twww.washington.edu\t47.6553,-122.3035\tSeattle\t%s\tUSA' "$washington")" \
          "$(grep -v '^;' "$work/hosts.txt")"
elif [ -z "${LUMETRA_TESTNET_DIR:-}" ]; then
    echo "skipped: ${LUMETRA_TESTNET_SKIP:-not inside the test network}"
    exit 0
else
    target() { printf '1\t%s\t%s\ti\t*\t%s\tUSA\n' "$@"; }  # ADDRESS HOST X,Y
    { target 198.18.0.10 fast.lumetra.test 100,60; target 198.18.0.12 ms150.lumetra.test 300,60
      target 198.18.0.20 silent.lumetra.test 400,60; target name ms50.lumetra.test 100,200
      target name nowhere.invalid 200,200; } >"$work/targets.txt"
    printf '[Lumetra]\r\nPingTimeout=400\r\n' >"$work/Lumetra.ini"
    log=$LUMETRA_TESTNET_DIR/responder.log
    : >"$log"
    map probe --targets "$(win "$work/targets.txt")" --settings "$(win "$work/Lumetra.ini")" --out "$(win "$work/frame.bmp")"
    check "probe exit code" 0 $?
    # HOST:RESULT per row; "ok" for a round trip of its host's delay to 60 ms more.
    rows=$(awk 'BEGIN { lo["fast.lumetra.test"] = 0; lo["ms150.lumetra.test"] = 150; lo["ms50.lumetra.test"] = 50 }
        $1 ~ /\.(test|invalid)$/ { t = $(NF-1); r = $NF == "host" ? "unknown" : $NF
            if (r == "ms") r = (t >= lo[$1] && t <= lo[$1] + 60) ? "ok" : t; print $1 ":" r }' "$work/out" | xargs)
    check "probe table" "fast.lumetra.test:ok ms150.lumetra.test:ok silent.lumetra.test:timeout ms50.lumetra.test:ok nowhere.invalid:unknown" "$rows"
    check "probe summary" "3 of 5 targets answered" "$(tail -n 1 "$work/out")"
    check "echo data is 32 bytes of 0xAA" 0 "$(awk '$1 == "request" && ($10 != 32 || $12 != "aa")' "$log" | wc -l)"
    check "one echo to each host that has an address" 4 "$(awk '$1 == "request"' "$log" | wc -l)"
    check "the frame" "516x310" "$(identify -format '%wx%h' "$work/frame.bmp" 2>/dev/null)"
fi
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
