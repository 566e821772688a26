#include "framework/graphic_drawing.h"

namespace fw {

namespace {

using plat::Pixel;

// v / 255, rounded.
constexpr Pixel Div255(Pixel v) { return (v + 128 + ((v + 128) >> 8)) >> 8; }

// Premultiplied source over destination, all four channels.
inline Pixel Over(Pixel s, Pixel d) {
  const Pixel inv = 255 - (s >> 24);
  const Pixel rb = (d & 0x00FF00FFu) * inv + 0x00800080u;
  const Pixel ag = ((d >> 8) & 0x00FF00FFu) * inv + 0x00800080u;
  const Pixel drb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  const Pixel dag = ((ag + ((ag >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  return s + (drb | (dag << 8));
}

inline Pixel Premultiplied(Pixel p) {
  const Pixel a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  return (a << 24) | (Div255(((p >> 16) & 0xFF) * a) << 16) | (Div255(((p >> 8) & 0xFF) * a) << 8) | Div255((p & 0xFF) * a);
}

// A memory context over a fresh 32-bit picture, released with the object.
class Scratch {
 public:
  Scratch(int width, int height) : bitmap_(plat::CreateBitmap32(width, height)) {
    if (!bitmap_) return;
    dc_ = plat::CreateCompatibleDC(nullptr);
    old_ = plat::SelectObject(dc_, bitmap_);
  }
  ~Scratch() {
    if (dc_) {
      plat::SelectObject(dc_, old_);
      plat::DeleteDC(dc_);
    }
    if (bitmap_) plat::DeleteObject(bitmap_);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  bool Ok() const { return dc_ != nullptr; }
  plat::HDC Dc() const { return dc_; }
  plat::Bitmap& Pixels() const { return *plat::BitmapOf(bitmap_); }

 private:
  plat::HBITMAP bitmap_;
  plat::HDC dc_ = nullptr;
  plat::HGDIOBJ old_ = nullptr;
};

}  // namespace

void DrawPixels(plat::HDC dc, const plat::RECT& rect, const plat::Bitmap& source, TPixelBlend blend, plat::COLORREF key) {
  const int w = plat::RectWidth(rect), h = plat::RectHeight(rect);
  if (w <= 0 || h <= 0 || source.Empty()) return;
  plat::RECT clip{};
  if (plat::GetClipBox(dc, &clip) == plat::ERROR) return;
  const plat::RECT area = plat::Intersection(rect, clip);
  if (plat::IsEmpty(area)) return;
  Scratch scratch(plat::RectWidth(area), plat::RectHeight(area));
  if (!scratch.Ok()) return;
  plat::BitBlt(scratch.Dc(), 0, 0, plat::RectWidth(area), plat::RectHeight(area), dc, area.left, area.top, plat::SRCCOPY);

  const bool direct = source.Format() == plat::PixelFormat::Bgra32;
  const Pixel keyPixel = plat::ColorToPixel(key, 0) & 0x00FFFFFFu;
  plat::Bitmap& out = scratch.Pixels();
  const int sw = source.Width(), sh = source.Height();
  for (int y = area.top; y < area.bottom; ++y) {
    const int sy = static_cast<int>(static_cast<std::int64_t>(y - rect.top) * sh / h);
    Pixel* row = out.Row(y - area.top);
    for (int x = area.left; x < area.right; ++x) {
      const int sx = static_cast<int>(static_cast<std::int64_t>(x - rect.left) * sw / w);
      const Pixel s = direct ? source.Row(sy)[sx] : source.PixelAt(sx, sy);
      Pixel& d = row[x - area.left];
      switch (blend) {
        case TPixelBlend::Keyed:
          if ((s & 0x00FFFFFFu) != keyPixel) d = s;
          break;
        case TPixelBlend::Alpha:
          d = Over(Premultiplied(s), d);
          break;
        case TPixelBlend::Premultiplied:
          d = Over(s, d);
          break;
      }
    }
  }
  plat::BitBlt(dc, area.left, area.top, plat::RectWidth(area), plat::RectHeight(area), scratch.Dc(), 0, 0, plat::SRCCOPY);
}

void PremultiplyAlpha(plat::Bitmap& bitmap) {
  if (bitmap.Format() != plat::PixelFormat::Bgra32) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    Pixel* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x] = Premultiplied(row[x]);
  }
}

void UnpremultiplyAlpha(plat::Bitmap& bitmap) {
  if (bitmap.Format() != plat::PixelFormat::Bgra32) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    Pixel* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const Pixel p = row[x], a = p >> 24;
      if (a == 0 || a == 255) continue;
      auto up = [a](Pixel c) { return c >= a ? 255u : (c * 255 + a / 2) / a; };
      row[x] = (a << 24) | (up((p >> 16) & 0xFF) << 16) | (up((p >> 8) & 0xFF) << 8) | up(p & 0xFF);
    }
  }
}

}  // namespace fw
