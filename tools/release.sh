#!/usr/bin/env bash
# release.sh - installs what is needed and builds the release from scratch:
# the Windows installer and zip with the windows-release preset
# (build/windows-release: no tests, no debugging information, optimised with
# -O2 as the tested windows preset is; GCC 12 at -O3 warns falsely inside
# std::string), and the Debian package with the linux-release preset
# (build/linux-release). It gathers the three files in build/release with
# their SHA-256 checksums. SOURCE_DATE_EPOCH is the time of the last commit,
# so that two releases of one commit give the same Debian package, byte for
# byte. The windows and linux presets make the same files from their own
# builds and test them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
mkdir -p build
for preset in windows-release linux-release; do
  log=build/$preset.log
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j"$(nproc)"; } >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "release: the $preset build failed; the whole log is in $log" >&2
    exit 1
  fi
done
windows=build/windows-release/packaging
(cd "$windows" && sha256sum --quiet -c SHA256SUMS)

out=build/release
rm -rf "$out"
mkdir -p "$out"
# The installer and the zip as the Windows build lists them, and the package.
while read -r _sum name; do cp "$windows/$name" "$out/"; done <"$windows/SHA256SUMS"
cp build/linux-release/packaging/debian/lumetra_*.deb "$out/"
(cd "$out" && sha256sum -- * >SHA256SUMS)
echo "release: in $(pwd)/$out"
cat "$out/SHA256SUMS"
