#!/usr/bin/env bash
# release.sh - installs what is needed and builds the Windows release from
# scratch with the windows-release preset (build/windows-release: no tests,
# no debugging information, optimised with -O2 as the tested windows preset
# is; GCC 12 at -O3 warns falsely inside std::string): the installer, the zip
# and their SHA-256 checksums, in build/windows-release/packaging. The windows
# preset makes the same files from its own build and tests them under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
mkdir -p build
log=build/windows-release.log
if ! { cmake --preset windows-release && cmake --build --preset windows-release -j"$(nproc)"; } >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "release: the build failed; the whole log is in $log" >&2
  exit 1
fi
out=build/windows-release/packaging
(cd "$out" && sha256sum --quiet -c SHA256SUMS)
echo "release: in $(pwd)/$out"
cat "$out/SHA256SUMS"
