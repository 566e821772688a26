#pragma once
// Small drawings made of single pixels and lines.
#include "framework/canvas.h"
#include "framework/colors.h"
#include "platform/base/geometry.h"

namespace velmora {

// kind 8: a down arrow 8 x 4; kind 4: a right arrow 4 x 7; centred in rect. Other kinds: nothing.
void DrawArrow(fw::TCanvas& canvas, fw::TColor color, const plat::RECT& rect, int kind);
// `rings` one-pixel rings, lit top-left in `first` (resolved) and shaded bottom-right in `second`,
// each inside the last. rings is counted down to 0.
void BevelRings(plat::HDC dc, const plat::RECT& rect, fw::TColor first, int& rings, fw::TColor second);

}  // namespace velmora
