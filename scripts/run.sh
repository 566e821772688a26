#!/usr/bin/env bash
# Builds Velmora and runs it. The brightness program itself is still being built; until it is,
# this runs the demonstrations of the layers beneath it:
#   on an X display ($DISPLAY set and reachable): the window scene on the desktop (close its
#   framed window to end);
#   otherwise headless: the graphics layer, the window scene and the platform's own controls,
#   each saved as a PNG under out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target gdi_demo wm_demo controls_demo x11_demo
mkdir -p out
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "showing the window scene on $DISPLAY"
  exec ./build/tools/x11_demo
fi
./build/tools/gdi_demo out/gdi-demo.png
./build/tools/wm_demo out/wm-demo.png
./build/tools/controls_demo out/platform-controls.png
echo "no X display: rendered headless to out/gdi-demo.png, out/wm-demo.png and out/platform-controls.png"
