#include "platform/gdi/text_paint.h"

namespace plat::gdi {

// Two channels at once, in the 16-bit lanes of a word: c * a + d * (255 - a) + 127, then the
// exact x / 255 as (x + 1 + (x >> 8)) >> 8. No lane exceeds 65535 on the way.
void BlendSpan(Pixel* dst, const std::uint8_t* coverage, int count, Pixel colour) {
  const std::uint32_t crb = colour & 0x00FF00FFu;
  const std::uint32_t cg = (colour >> 8) & 0xFFu;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t a = coverage[i];
    if (a == 0) continue;
    const Pixel d = dst[i];
    if (a == 255) {
      dst[i] = colour;
      continue;
    }
    const std::uint32_t inv = 255 - a;
    std::uint32_t rb = crb * a + (d & 0x00FF00FFu) * inv + 0x007F007Fu;
    rb = ((rb + 0x00010001u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t g = cg * a + ((d >> 8) & 0xFFu) * inv + 0x7Fu;
    g = ((g + 1 + (g >> 8)) >> 8) & 0xFFu;
    dst[i] = rb | (g << 8);
  }
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
