#include "paint/gradient.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "paint/bitmap_ops.h"
#include "paint/color_ops.h"
#include "paint/platform_bindings.h"

namespace velmora {

namespace {

using plat::Pixel;
using plat::RECT;

// Colour channels running down or across a band in single precision, as skins were tuned with.
struct Running {
  float r, g, b;
  float dr = 0, dg = 0, db = 0;

  Running(TColor from, TColor to, int steps)
      : r(static_cast<float>(plat::GetRValue(from))), g(static_cast<float>(plat::GetGValue(from))),
        b(static_cast<float>(plat::GetBValue(from))) {
    if (steps <= 0) return;
    const auto n = static_cast<float>(steps);
    dr = (static_cast<float>(plat::GetRValue(to)) - r) / n;
    dg = (static_cast<float>(plat::GetGValue(to)) - g) / n;
    db = (static_cast<float>(plat::GetBValue(to)) - b) / n;
  }
  static Pixel Byte(float v) { return static_cast<Pixel>(std::clamp(std::nearbyint(v), 0.0f, 255.0f)); }
  Pixel Value() const { return 0xFF000000u | (Byte(r) << 16) | (Byte(g) << 8) | Byte(b); }
  void Step() { r += dr, g += dg, b += db; }
};

Pixel OpaquePixel(TColor color) { return 0xFF000000u | ExchangeRedBlue(static_cast<std::uint32_t>(color) & 0x00FFFFFFu); }

// Mode 0: every row of the clipped rectangle r gets one colour, told to row(y, pixel). Bands
// share their boundary row, which the later band paints again.
template <class Row>
void VerticalBands(const RECT& r, const TsGradArray& pies, int offset, Row row) {
  const int height = r.bottom - r.top, last = r.bottom - 1;
  int start = r.top + offset;
  for (std::size_t i = 0; i < pies.size(); ++i) {
    const TsGradPie& pie = pies[i];
    int end = last;
    if (i + 1 < pies.size()) end = std::min(last, static_cast<int>(start + (static_cast<long long>(offset) + height) * pie.Percent / 100));
    if (end - start <= 0) {
      start = end;
      continue;
    }
    Running run(pie.Color1, pie.Color2, end - start);
    for (int y = start; y <= end; ++y, run.Step())
      if (y >= r.top) row(y, pie.Color1 == pie.Color2 ? OpaquePixel(pie.Color1) : run.Value());
    start = end;
  }
}

// Mode 1: the colours of one row across the clipped rectangle r, from r.left.
std::vector<Pixel> HorizontalBands(const RECT& r, const TsGradArray& pies) {
  const int width = r.right - r.left, last = r.right - 1;
  std::vector<Pixel> line(static_cast<std::size_t>(width), 0xFF000000u);
  int x = r.left;
  for (std::size_t i = 0; i < pies.size(); ++i) {
    const TsGradPie& pie = pies[i];
    int end = last;
    if (i + 1 < pies.size())
      end = static_cast<int>(std::min<double>(last, std::nearbyint(pie.Percent * (width / 100.0) + x)));
    if (end <= x) continue;
    Running run(pie.Color1, pie.Color2, end - x);
    for (int c = x; c <= end; ++c, run.Step()) line[static_cast<std::size_t>(c - r.left)] = run.Value();
    x = end;
  }
  return line;
}

// Mode 2: five vertices shaded by the platform's gradient fill, when it has one.
void CornerGradient(fw::TBitmap& bitmap, const RECT& r, const TsGradArray& pies) {
  const plat::GradientFillProc fill = GradientFillFunction();
  if (!fill) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  const plat::POINT corners[5] = {{r.left, r.top}, {r.left + w / 2, r.top + h / 2}, {r.right, r.top},
                                  {r.right, r.bottom}, {r.left, r.bottom}};
  plat::TRIVERTEX v[5];
  TColor color = pies[0].Color1;
  for (std::size_t i = 0; i < 5; ++i) {
    if (pies.size() > i) color = pies[i].Color1;
    v[i].x = corners[i].x;
    v[i].y = corners[i].y;
    v[i].Red = static_cast<plat::COLOR16>(plat::GetRValue(static_cast<plat::COLORREF>(color)) << 8);
    v[i].Green = static_cast<plat::COLOR16>(plat::GetGValue(static_cast<plat::COLORREF>(color)) << 8);
    v[i].Blue = static_cast<plat::COLOR16>(plat::GetBValue(static_cast<plat::COLORREF>(color)) << 8);
    v[i].Alpha = 0xFF00;
  }
  const plat::GRADIENT_TRIANGLE mesh[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  fill(bitmap.Canvas().Handle(), v, 5, mesh, 4, plat::GRADIENT_FILL_TRIANGLE);
}

// Where the texture repeats: its rectangle (the whole texture when empty), the tile cut one
// short of the texture's right and bottom edges.
struct Tiling {
  const plat::Bitmap* texture = nullptr;
  int left = 0, top = 0, width = 0, height = 0;
  std::uint32_t weight = 0;

  bool Usable() const { return texture && width > 0 && height > 0; }
  const Pixel* Row(int y) const { return texture->Row(top + y % height); }
  int Column(int x) const { return left + x % width; }
};

Tiling MakeTiling(const fw::TBitmap& texture, const RECT& textureRect, std::uint8_t weight) {
  Tiling t;
  t.texture = Pixels32(texture);
  if (!t.texture) return t;
  const RECT whole = t.texture->Bounds();
  const RECT tr = plat::IsEmpty(textureRect) ? whole : textureRect;
  t.left = std::max(tr.left, 0);
  t.top = std::max(tr.top, 0);
  t.width = std::min(tr.right - t.left, whole.right - t.left - 1);
  t.height = std::min(tr.bottom - t.top, whole.bottom - t.top - 1);
  t.weight = weight;
  return t;
}

// g = (a (t − g) + 256 g) >> 8 per channel, alpha 255.
Pixel MixTexture(Pixel g, Pixel t, std::uint32_t a) {
  Pixel out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int gc = static_cast<int>((g >> shift) & 0xFF), tc = static_cast<int>((t >> shift) & 0xFF);
    out |= static_cast<Pixel>((static_cast<int>(a) * (tc - gc) + gc * 256) >> 8) << shift;
  }
  return out;
}

void MixRow(Pixel* out, const Pixel* gradient, bool oneColour, int x0, int width, int y, const Tiling& t) {
  const Pixel* texture = t.Row(y);
  for (int i = 0; i < width; ++i) out[i] = MixTexture(oneColour ? gradient[0] : gradient[i], texture[t.Column(x0 + i)], t.weight);
}

void CopyRowDown(plat::Bitmap& b, const RECT& r, int fromY, int toY) {
  std::memcpy(b.Row(toY) + r.left, b.Row(fromY) + r.left, static_cast<std::size_t>(r.right - r.left) * sizeof(Pixel));
}

}  // namespace

void DrawGradient(fw::TBitmap& bitmap, const RECT& rect, const TsGradArray& pies, int offset) {
  plat::Bitmap* b = Pixels32(bitmap);
  if (!b || pies.empty()) return;
  const RECT r = ClipTo(rect, *b);
  if (plat::IsEmpty(r)) return;
  switch (pies[0].Mode1) {
    case 0:
      VerticalBands(r, pies, offset, [&](int y, Pixel p) { std::fill(b->Row(y) + r.left, b->Row(y) + r.right, p); });
      break;
    case 1: {
      const std::vector<Pixel> line = HorizontalBands(r, pies);
      std::copy(line.begin(), line.end(), b->Row(r.top) + r.left);
      for (int y = r.top + 1; y < r.bottom; ++y) CopyRowDown(*b, r, r.top, y);
      break;
    }
    case 2:
      CornerGradient(bitmap, r, pies);
      break;
    default:
      break;
  }
}

void DrawGradientTextured(fw::TBitmap& bitmap, const RECT& rect, const TsGradArray& pies, std::uint8_t textureWeight,
                          const RECT& textureRect, const fw::TBitmap& texture) {
  plat::Bitmap* b = Pixels32(bitmap);
  if (!b || pies.empty() || (pies[0].Mode1 != 0 && pies[0].Mode1 != 1)) return;
  const RECT r = ClipTo(rect, *b);
  if (plat::IsEmpty(r)) return;
  const Tiling tiling = MakeTiling(texture, textureRect, textureWeight);
  // A texture too small to tile (or none) leaves the plain gradient.
  if (!tiling.Usable()) return DrawGradient(bitmap, r, pies, 0);
  const int width = r.right - r.left;
  if (pies[0].Mode1 == 0) {
    VerticalBands(r, pies, 0, [&](int y, Pixel p) { MixRow(b->Row(y) + r.left, &p, true, r.left, width, y, tiling); });
    return;
  }
  const std::vector<Pixel> line = HorizontalBands(r, pies);
  const int period = std::min(r.bottom - r.top, tiling.height);
  for (int y = r.top; y < r.top + period; ++y) MixRow(b->Row(y) + r.left, line.data(), false, r.left, width, y, tiling);
  for (int y = r.top + period; y < r.bottom; ++y) CopyRowDown(*b, r, y - period, y);
}

}  // namespace velmora
