#include "platform/gdi/text_paint.h"

#include "platform/base/pixel_rows.h"

namespace plat::gdi {

// Glyph coverage over the surface, each covered pixel taking the colour's alpha byte.
void BlendSpan(Pixel* dst, const std::uint8_t* coverage, int count, Pixel colour) {
  CoverageRow(dst, coverage, count, colour);
}

TextPainter::TextPainter(Bitmap& surface, std::span<const RECT> clip, const RECT* limit) : surface_(surface) {
  if (surface.Format() != PixelFormat::Bgra32) return;
  RECT bounds = surface.Bounds();
  if (limit) bounds = Intersection(bounds, *limit);
  for (const RECT& c : clip) {
    const RECT r = Intersection(c, bounds);
    if (IsEmpty(r)) continue;
    rects_.push_back(r);
    box_ = rects_.size() == 1 ? r : Union(box_, r);
  }
}

void TextPainter::Fill(const RECT& area, COLORREF color) {
  const Pixel value = ColorToPixel(color, 0);
  for (const RECT& c : rects_) {
    const RECT r = Intersection(c, area);
    if (IsEmpty(r)) continue;
    for (int y = r.top; y < r.bottom; ++y) {
      Pixel* row = surface_.Row(y);
      for (int x = r.left; x < r.right; ++x) row[x] = value;
    }
  }
}

void TextPainter::Draw(const FontInstance& font, const ShapedRun& run, int x, int y, COLORREF color) {
  if (rects_.empty()) return;
  const Pixel colour = ColorToPixel(color, 0);
  for (const ShapedGlyph& glyph : run.glyphs) {
    const GlyphImage& image = font.Glyph(glyph);
    if (image.width == 0) continue;
    const int left = x + glyph.x + image.left;
    const int top = y + glyph.y + image.top;
    const RECT box{left, top, left + image.width, top + image.height};
    if (IsEmpty(Intersection(box, box_))) continue;
    for (const RECT& c : rects_) {
      const RECT part = Intersection(box, c);
      if (IsEmpty(part)) continue;
      const int count = part.right - part.left;
      for (int row = part.top; row < part.bottom; ++row) {
        const std::uint8_t* src = image.coverage.data() +
                                  static_cast<std::size_t>(row - top) * static_cast<std::size_t>(image.width) +
                                  (part.left - left);
        BlendSpan(surface_.Row(row) + part.left, src, count, colour);
      }
    }
  }
}

}  // namespace plat::gdi
