// GradientFill: rectangles shaded across or down, and triangles shaded between their corners.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/objects.h"

namespace plat {

using namespace gdi;

namespace {

struct Channels {
  std::int64_t r, g, b, a;
};

Channels Of(const TRIVERTEX& v) { return {v.Red, v.Green, v.Blue, v.Alpha}; }

Pixel ToPixel(std::int64_t r, std::int64_t g, std::int64_t b, std::int64_t a) {
  return MakePixel(static_cast<BYTE>(r >> 8), static_cast<BYTE>(g >> 8), static_cast<BYTE>(b >> 8),
                   static_cast<BYTE>(a >> 8));
}

void FillRectGradient(DcObject& dc, Bitmap& s, const TRIVERTEX& v1, const TRIVERTEX& v2, bool vertical) {
  const RECT logical{std::min(v1.x, v2.x), std::min(v1.y, v2.y), std::max(v1.x, v2.x), std::max(v1.y, v2.y)};
  const RECT target = dc.ToSurface(logical);
  const TRIVERTEX& first = (vertical ? v1.y <= v2.y : v1.x <= v2.x) ? v1 : v2;
  const TRIVERTEX& last = &first == &v1 ? v2 : v1;
  const Channels c0 = Of(first), c1 = Of(last);
  const std::int64_t span = std::max<std::int64_t>(1, vertical ? RectHeight(target) : RectWidth(target));
  auto at = [&](std::int64_t i) {
    return ToPixel(c0.r + (c1.r - c0.r) * i / span, c0.g + (c1.g - c0.g) * i / span,
                   c0.b + (c1.b - c0.b) * i / span, c0.a + (c1.a - c0.a) * i / span);
  };
  for (const RECT& c : dc.Clip().Rects()) {
    const RECT r = Intersection(c, target);
    for (int y = r.top; y < r.bottom; ++y) {
      Pixel* row = s.Row(y);
      for (int x = r.left; x < r.right; ++x) row[x] = at(vertical ? y - target.top : x - target.left);
    }
  }
}

std::int64_t Edge(POINT a, POINT b, std::int64_t x, std::int64_t y) {
  return (static_cast<std::int64_t>(b.x) - a.x) * (y - a.y) - (static_cast<std::int64_t>(b.y) - a.y) * (x - a.x);
}

// Each pixel inside the triangle or on its edges, sampled at its top-left corner, takes the
// corners' colours weighted by its barycentric coordinates.
void FillTriangle(DcObject& dc, Bitmap& s, const TRIVERTEX& t0, const TRIVERTEX& t1, const TRIVERTEX& t2) {
  POINT p0 = dc.ToSurface(POINT{t0.x, t0.y}), p1 = dc.ToSurface(POINT{t1.x, t1.y}), p2 = dc.ToSurface(POINT{t2.x, t2.y});
  Channels c0 = Of(t0), c1 = Of(t1), c2 = Of(t2);
  std::int64_t area = Edge(p0, p1, p2.x, p2.y);
  if (area == 0) return;
  if (area < 0) {
    std::swap(p1, p2);
    std::swap(c1, c2);
    area = -area;
  }
  const RECT bounds{std::min({p0.x, p1.x, p2.x}), std::min({p0.y, p1.y, p2.y}), std::max({p0.x, p1.x, p2.x}) + 1,
                    std::max({p0.y, p1.y, p2.y}) + 1};
  for (const RECT& c : dc.Clip().Rects()) {
    const RECT r = Intersection(c, bounds);
    for (int y = r.top; y < r.bottom; ++y) {
      Pixel* row = s.Row(y);
      for (int x = r.left; x < r.right; ++x) {
        const std::int64_t w0 = Edge(p1, p2, x, y), w1 = Edge(p2, p0, x, y), w2 = Edge(p0, p1, x, y);
        if (w0 < 0 || w1 < 0 || w2 < 0) continue;
        row[x] = ToPixel((w0 * c0.r + w1 * c1.r + w2 * c2.r) / area, (w0 * c0.g + w1 * c1.g + w2 * c2.g) / area,
                         (w0 * c0.b + w1 * c1.b + w2 * c2.b) / area, (w0 * c0.a + w1 * c1.a + w2 * c2.a) / area);
      }
    }
  }
}

}  // namespace

BOOL GradientFill(HDC handle, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount,
                  ULONG mode) {
  DcObject* dc = GetDc(handle);
  Bitmap* s = dc ? dc->Surface() : nullptr;
  if (!s || !vertices || !mesh || s->Format() != PixelFormat::Bgra32) return FALSE;
  auto valid = [&](ULONG i) { return i < vertexCount; };
  if (mode == GRADIENT_FILL_TRIANGLE) {
    const auto* triangles = static_cast<const GRADIENT_TRIANGLE*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
      const GRADIENT_TRIANGLE& t = triangles[i];
      if (!valid(t.Vertex1) || !valid(t.Vertex2) || !valid(t.Vertex3)) return FALSE;
      FillTriangle(*dc, *s, vertices[t.Vertex1], vertices[t.Vertex2], vertices[t.Vertex3]);
    }
    return TRUE;
  }
  if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
      if (!valid(rects[i].UpperLeft) || !valid(rects[i].LowerRight)) return FALSE;
      FillRectGradient(*dc, *s, vertices[rects[i].UpperLeft], vertices[rects[i].LowerRight], mode == GRADIENT_FILL_RECT_V);
    }
    return TRUE;
  }
  return FALSE;
}

}  // namespace plat
