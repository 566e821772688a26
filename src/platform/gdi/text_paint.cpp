#include "platform/gdi/text_paint.h"

namespace plat::gdi {

namespace {

// x / 255 rounded down, exact for every x a blend can produce (up to 255 * 255 + 127).
constexpr std::uint32_t Div255(std::uint32_t x) { return (x + 1 + (x >> 8)) >> 8; }

void BlendSpan(Pixel* dst, const std::uint8_t* coverage, int count, std::uint32_t r, std::uint32_t g,
               std::uint32_t b) {
  for (int i = 0; i < count; ++i) {
    const std::uint32_t a = coverage[i];
    const Pixel d = dst[i];
    const std::uint32_t inv = 255 - a;
    const std::uint32_t nb = Div255(b * a + (d & 0xFF) * inv + 127);
    const std::uint32_t ng = Div255(g * a + ((d >> 8) & 0xFF) * inv + 127);
    const std::uint32_t nr = Div255(r * a + ((d >> 16) & 0xFF) * inv + 127);
    const std::uint32_t alpha = a ? 0 : (d & 0xFF000000u);
    dst[i] = nb | (ng << 8) | (nr << 16) | alpha;
  }
}

}  // namespace

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
  const std::uint32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
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
        BlendSpan(surface_.Row(row) + part.left, src, count, r, g, b);
      }
    }
  }
}

}  // namespace plat::gdi
