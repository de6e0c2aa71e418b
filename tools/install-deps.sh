#!/usr/bin/env bash
# install-deps.sh - installs the Debian packages that building and testing
# Lumetra need, when any is missing, and the resource generator's npm
# packages for the test that holds the C++ map placement against it. Needs
# root (apt-get) for the Debian packages.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ git ca-certificates         # native build
  googletest libbenchmark-dev                # tests and benchmarks
  clang libclang-rt-14-dev                   # libFuzzer targets
  mingw-w64 g++-mingw-w64-x86-64-posix       # lumetra.scr cross build
  wine wine64 xvfb xauth xdotool x11-utils   # Windows tests under Wine; xdpyinfo
  xserver-xephyr x11-xserver-utils           # two monitors nested in Xvfb; xsetroot
  nsis                                       # the Windows installer (makensis)
  imagemagick                                # an independent reader of our BMP files
  iproute2 procps                            # the test network (ip netns)
  libx11-dev libxext-dev                     # lumetra-x11 (Xlib, MIT-SHM)
  libxrandr-dev libxinerama-dev              # lumetra-x11: the monitors of a full screen
  xscreensaver                               # lumetra-x11 run as xscreensaver's hack in a test
  dpkg-dev lintian man-db                    # the Debian package: made, checked, its manual pages read
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Node and npm run the resource generator in the placement's differential
# test. Asked for by command, since a Node of another origin may be there.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  missing+=(nodejs npm)
fi
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps.sh: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  echo "install-deps.sh: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The generator's packages, as its lock file pins them. Without them the
# differential test skips, so a registry that cannot be reached is no failure.
if [ ! -d tools/resgen/node_modules/d3-geo ]; then
  npm --prefix tools/resgen ci --no-audit --no-fund >&2 ||
    echo "install-deps.sh: npm could not install tools/resgen's packages; places_differential will skip" >&2
fi
