#!/usr/bin/env bash
# test-all.sh - installs what is needed, builds every preset and runs every
# test: native, sanitized, Windows under Wine, and the bounded fuzz runs.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh || exit 1

jobs=$(nproc)
passed=0
failed=0
status=0

run_preset() {
  local preset=$1
  shift
  echo "=== preset $preset ==="
  if ! cmake --preset "$preset" >"build/$preset.log" 2>&1 || ! cmake --build --preset "$preset" -j"$jobs" >>"build/$preset.log" 2>&1; then
    tail -n 60 "build/$preset.log"
    echo "preset $preset: build failed"
    failed=$((failed + 1))
    status=1
    return
  fi
  "$@" ctest --preset "$preset" -j"$jobs" 2>&1 | tee "build/$preset-ctest.log"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "build/$preset-ctest.log" | tail -n 1)
  if [ -z "$line" ]; then
    echo "preset $preset: ctest printed no summary"
    failed=$((failed + 1))
    status=1
    return
  fi
  local total bad
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*tests passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  [ "$bad" -eq 0 ] || status=1
}

mkdir -p build
run_preset linux
run_preset linux-asan
run_preset windows xvfb-run -a -s "-screen 0 1024x768x24"
run_preset fuzz

echo "all presets: $passed passed, $failed failed"
exit $status
