#!/usr/bin/env bash
# Builds Velmora and runs it.
#   On an X display ($DISPLAY set and reachable): the brightness window on the desktop, reading
#   and setting the real primary display.
#   Otherwise: headless, on a built-in simulated machine (a monitor at 37 of 100), saving a
#   screenshot of the window to out/velmora.png. Extra arguments are passed to velmora.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target velmora
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "showing Velmora on $DISPLAY"
  exec ./build/src/velmora "$@"
fi
mkdir -p out
./build/src/velmora --headless --simulate resources/machines/demo.ini --screenshot out/velmora.png "$@"
echo "no X display: ran Velmora headless on a simulated machine; its window is in out/velmora.png"
