#pragma once
// Resizing a bitmap with a filter, in two passes (rows, then columns) of precomputed 16.16
// weight lists.
#include "framework/bitmap.h"

namespace velmora {

enum class ResampleFilter { Box = 0, Triangle = 1, Hermite = 2, Bell = 3, BSpline = 4, WindowedSine = 5, Mitchell = 6 };

enum class ResampleResult { Done, SourceTooSmall, BadArguments };
// "Source bitmap is too small" for SourceTooSmall; empty otherwise.
const char* ResampleMessage(ResampleResult result);

// dst becomes src resized to width x height. A 32-bit source is filtered on all four bytes; any
// other is first made 24-bit and filtered on its colour bytes. Painting never throws, so a source
// below 2 x 2 is answered with SourceTooSmall and dst is left alone.
ResampleResult ResampleBitmap(const fw::TBitmap& src, fw::TBitmap& dst, int width, int height, ResampleFilter filter);

}  // namespace velmora
