#!/usr/bin/env bash
# Builds Velmora and runs it. For now: the graphics-layer demonstration, written to out/gdi-demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target gdi_demo
mkdir -p out
./build/tools/gdi_demo out/gdi-demo.png
echo "wrote out/gdi-demo.png"
