#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, test and run. Safe to run again:
# when everything is there it only asks dpkg and returns.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  clang libclang-rt-14-dev            # sanitizer build and libFuzzer targets
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpng-dev libjpeg62-turbo-dev
  libfreetype-dev libharfbuzz-dev libfontconfig-dev libfribidi-dev
  fonts-ipafont-gothic fonts-dejavu-core
  libpixman-1-dev                     # reference for the blit benchmarks
  libsystemd-dev                      # sd-bus, for logind's SetBrightness
  libx11-dev libxext-dev libxfixes-dev libxrandr-dev   # the X11 display
  libxtst-dev                                          # X11 tests inject input with XTest
  xvfb xauth openbox xcompmgr x11-utils                # X11 tests: a server, a window manager, a compositor, xmessage
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/tmp/velmora-setup.log 2>&1 || { cat /tmp/velmora-setup.log; exit 1; }
