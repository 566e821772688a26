#include "paint/color_ops.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

struct Rgb {
  double r, g, b;
};

std::uint32_t Channel(double v) { return static_cast<std::uint32_t>(std::clamp(std::nearbyint(v), 0.0, 255.0)); }

// Colours and pixels differ only in where red and blue sit; both keep the top byte.
std::uint32_t Pack(std::uint32_t top, double r, double g, double b) {
  return (top & 0xFF000000u) | Channel(r) | (Channel(g) << 8) | (Channel(b) << 16);
}
Rgb Unpack(std::uint32_t c) {
  return {static_cast<double>(c & 0xFF), static_cast<double>((c >> 8) & 0xFF), static_cast<double>((c >> 16) & 0xFF)};
}

template <class Op>
void ForEachPixel(plat::Bitmap& bitmap, Op op) {
  if (bitmap.Format() != plat::PixelFormat::Bgra32) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    plat::Pixel* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x] = ExchangeRedBlue(op(ExchangeRedBlue(row[x])));
  }
}

}  // namespace

std::uint32_t WeighColors(std::uint32_t a, std::uint32_t b, double weight) {
  const Rgb x = Unpack(a), y = Unpack(b);
  return Pack(a, weight * x.r + (1 - weight) * y.r, weight * x.g + (1 - weight) * y.g, weight * x.b + (1 - weight) * y.b);
}

std::uint32_t ScaleSaturation(std::uint32_t color, int percent) {
  if (percent == 0) return color;
  const Rgb c = Unpack(color);
  const double mean = (c.r + c.g + c.b) / 3;
  const double k = percent / 100.0;
  return Pack(color, c.r - (mean - c.r) * k, c.g - (mean - c.g) * k, c.b - (mean - c.b) * k);
}

std::uint32_t ShiftHue(std::uint32_t color, int degrees) {
  if (degrees == 0) return color;
  const Rgb c = Unpack(color);
  const double v = std::max({c.r, c.g, c.b});
  const double lowest = std::min({c.r, c.g, c.b});
  const double s = v == 0 ? 0 : (v - lowest) / v;
  if (s == 0) return Pack(color, c.r, c.g, c.b);
  const double span = v - lowest;
  double hue;
  if (v == c.r) hue = 60 * (c.g - c.b) / span;
  else if (v == c.g) hue = 120 + 60 * (c.b - c.r) / span;
  else hue = 240 + 60 * (c.r - c.g) / span;
  if (hue < 0) hue += 360;
  int h = static_cast<int>(std::nearbyint(hue + degrees)) % 360;
  if (h < 0) h += 360;
  const int sector = h / 60;
  const double f = h / 60.0 - sector;
  const double p = v * (1 - s), q = v * (1 - f * s), t = v * (1 - (1 - f) * s);
  switch (sector) {
    case 0: return Pack(color, v, t, p);
    case 1: return Pack(color, q, v, p);
    case 2: return Pack(color, p, v, t);
    case 3: return Pack(color, p, q, v);
    case 4: return Pack(color, t, p, v);
    default: return Pack(color, v, p, q);
  }
}

void ShiftBitmapHue(plat::Bitmap& bitmap, int degrees) {
  if (degrees == 0) return;
  ForEachPixel(bitmap, [degrees](std::uint32_t c) { return ShiftHue(c, degrees); });
}

void ScaleBitmapSaturation(plat::Bitmap& bitmap, int percent) {
  if (percent == 0) return;
  ForEachPixel(bitmap, [percent](std::uint32_t c) { return ScaleSaturation(c, percent); });
}

void GrayBitmap(plat::Bitmap& bitmap) {
  if (bitmap.Format() != plat::PixelFormat::Bgra32) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    plat::Pixel* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t mean = ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3;
      row[x] = (p & 0xFF000000u) | mean | (mean << 8) | (mean << 16);
    }
  }
}

void ShiftBitmapHue(fw::TBitmap& bitmap, int degrees) {
  if (plat::Bitmap* pixels = bitmap.Pixels()) ShiftBitmapHue(*pixels, degrees);
}

void ScaleBitmapSaturation(fw::TBitmap& bitmap, int percent) {
  if (plat::Bitmap* pixels = bitmap.Pixels()) ScaleBitmapSaturation(*pixels, percent);
}

void GrayBitmap(fw::TBitmap& bitmap) {
  if (plat::Bitmap* pixels = bitmap.Pixels()) GrayBitmap(*pixels);
}

}  // namespace velmora
