#pragma once
// Inside the text code: putting shaped runs and decoration lines on a 32-bit surface. Coverage
// is blended over the destination per channel; covered pixels get alpha 0, like every other
// GDI write. Nothing outside the clip rectangles or the surface is touched.
#include <span>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/font_engine.h"

namespace plat::gdi {

// Blends colour over count pixels by coverage: d + (c - d) * a / 255 rounded, per channel; the
// alpha of every covered pixel becomes 0, uncovered pixels stay as they are.
void BlendSpan(Pixel* dst, const std::uint8_t* coverage, int count, Pixel colour);

class TextPainter {
 public:
  // clip: surface rectangles that may be drawn on; limit, when given, cuts them further.
  TextPainter(Bitmap& surface, std::span<const RECT> clip, const RECT* limit);

  bool Empty() const { return rects_.empty(); }
  void Fill(const RECT& r, COLORREF color);
  // The run's pen starts at x on the baseline y.
  void Draw(const FontInstance& font, const ShapedRun& run, int x, int y, COLORREF color);

 private:
  Bitmap& surface_;
  std::vector<RECT> rects_;
  RECT box_{};
};

}  // namespace plat::gdi
