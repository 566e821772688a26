// Fills, frames, lines and pixels.
#include <algorithm>
#include <cstdlib>

#include "platform/gdi/objects.h"
#include "platform/gdi/raster_ops.h"

namespace plat {

using namespace gdi;

namespace {

void FillWithBrush(DcObject& dc, const RECT& logical, HBRUSH brush) {
  if (const auto color = BrushColor(brush)) FillSurface(dc, dc.ToSurface(logical), ColorToPixel(*color, 0));
}

// XORs the colour bits of pixels in a surface rectangle, where the clip allows.
template <class Keep>
void InvertSurface(DcObject& dc, const RECT& surfaceRect, Keep keep) {
  Bitmap* s = dc.Surface();
  if (!s || s->Format() != PixelFormat::Bgra32) return;
  for (const RECT& c : dc.Clip().Rects()) {
    const RECT r = Intersection(c, surfaceRect);
    for (int y = r.top; y < r.bottom; ++y) {
      Pixel* row = s->Row(y);
      for (int x = r.left; x < r.right; ++x)
        if (keep(x, y)) row[x] = ~row[x];
    }
  }
}

void PlotSurface(DcObject& dc, Bitmap& s, POINT p, Pixel value) {
  if (Contains(s.Bounds(), p) && dc.Clip().Contains(p)) s.SetPixelAt(p.x, p.y, value);
}

const PenObject* CurrentPen(DcObject& dc) {
  const PenObject* pen = Get<PenObject>(dc.state.pen);
  return pen ? pen : Get<PenObject>(GetStockObject(BLACK_PEN));
}

// Bresenham from a to b, b excluded; dashes follow the pen's style.
void DrawLine(DcObject& dc, POINT a, POINT b) {
  const PenObject* pen = CurrentPen(dc);
  Bitmap* s = dc.Surface();
  if (!s || pen->pen.lopnStyle == PS_NULL) return;
  const Pixel value = ColorToPixel(pen->pen.lopnColor, 0);
  const int width = std::max(1, static_cast<int>(pen->pen.lopnWidth.x));
  const POINT from = dc.ToSurface(a), to = dc.ToSurface(b);
  const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
  const int stepX = from.x < to.x ? 1 : -1, stepY = from.y < to.y ? 1 : -1;
  int error = dx + dy;
  POINT p = from;
  for (int n = 0; p != to; ++n) {
    const bool on = pen->pen.lopnStyle == PS_SOLID || (pen->pen.lopnStyle == PS_DOT ? (n / 2) % 2 == 0 : n % 8 < 6);
    if (on) {
      if (width == 1) {
        PlotSurface(dc, *s, p, value);
      } else {
        const RECT dot = MakeRect(p.x - width / 2, p.y - width / 2, width, width);
        FillSurface(dc, dot, value);
      }
    }
    const int e2 = 2 * error;
    if (e2 >= dy) error += dy, p.x += stepX;
    if (e2 <= dx) error += dx, p.y += stepY;
  }
}

}  // namespace

int FillRect(HDC handle, const RECT* r, HBRUSH brush) {
  DcObject* dc = GetDc(handle);
  if (!dc || !r) return 0;
  if (!BrushColor(brush) && !Get<BrushObject>(brush)) return 0;
  FillWithBrush(*dc, *r, brush);
  return 1;
}

int FrameRect(HDC handle, const RECT* r, HBRUSH brush) {
  DcObject* dc = GetDc(handle);
  if (!dc || !r) return 0;
  if (IsEmpty(*r)) return 1;
  const RECT& f = *r;
  FillWithBrush(*dc, {f.left, f.top, f.right, f.top + 1}, brush);
  FillWithBrush(*dc, {f.left, f.bottom - 1, f.right, f.bottom}, brush);
  FillWithBrush(*dc, {f.left, f.top + 1, f.left + 1, f.bottom - 1}, brush);
  FillWithBrush(*dc, {f.right - 1, f.top + 1, f.right, f.bottom - 1}, brush);
  return 1;
}

BOOL InvertRect(HDC handle, const RECT* r) {
  DcObject* dc = GetDc(handle);
  if (!dc || !r) return FALSE;
  InvertSurface(*dc, dc->ToSurface(*r), [](int, int) { return true; });
  return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* r) {
  DcObject* dc = GetDc(handle);
  if (!dc || !r) return FALSE;
  if (IsEmpty(*r)) return TRUE;
  const RECT s = dc->ToSurface(*r);
  // Every other pixel of the one-pixel frame, by the pixel's position on the surface.
  auto dotted = [](int x, int y) { return ((x + y) & 1) == 0; };
  InvertSurface(*dc, {s.left, s.top, s.right, s.top + 1}, dotted);
  if (RectHeight(s) > 1) InvertSurface(*dc, {s.left, s.bottom - 1, s.right, s.bottom}, dotted);
  InvertSurface(*dc, {s.left, s.top + 1, s.left + 1, s.bottom - 1}, dotted);
  if (RectWidth(s) > 1) InvertSurface(*dc, {s.right - 1, s.top + 1, s.right, s.bottom - 1}, dotted);
  return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  const PenObject* pen = CurrentPen(*dc);
  const bool outline = pen->pen.lopnStyle != PS_NULL;
  const RECT inside = outline ? RECT{left + 1, top + 1, right - 1, bottom - 1} : RECT{left, top, right, bottom};
  FillWithBrush(*dc, inside, dc->state.brush);
  if (outline) {
    DrawLine(*dc, {left, top}, {right - 1, top});
    DrawLine(*dc, {right - 1, top}, {right - 1, bottom - 1});
    DrawLine(*dc, {right - 1, bottom - 1}, {left, bottom - 1});
    DrawLine(*dc, {left, bottom - 1}, {left, top});
  }
  return TRUE;
}

BOOL MoveToEx(HDC handle, int x, int y, POINT* previous) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.currentPos;
  dc->state.currentPos = {x, y};
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  DrawLine(*dc, dc->state.currentPos, {x, y});
  dc->state.currentPos = {x, y};
  return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
  DcObject* dc = GetDc(handle);
  if (!dc || !points || count < 2) return FALSE;
  for (int i = 1; i < count; ++i) DrawLine(*dc, points[i - 1], points[i]);
  // The polyline's last point is drawn, unlike LineTo's.
  if (Bitmap* s = dc->Surface(); s && CurrentPen(*dc)->pen.lopnStyle != PS_NULL)
    PlotSurface(*dc, *s, dc->ToSurface(points[count - 1]), ColorToPixel(CurrentPen(*dc)->pen.lopnColor, 0));
  return TRUE;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DcObject* dc = GetDc(handle);
  Bitmap* s = dc ? dc->Surface() : nullptr;
  if (!s) return CLR_INVALID;
  const POINT p = dc->ToSurface(POINT{x, y});
  if (!Contains(s->Bounds(), p) || !dc->Clip().Contains(p)) return CLR_INVALID;
  s->SetPixelAt(p.x, p.y, ColorToPixel(color, 0));
  return color & 0x00FFFFFF;
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DcObject* dc = GetDc(handle);
  Bitmap* s = dc ? dc->Surface() : nullptr;
  if (!s) return CLR_INVALID;
  const POINT p = dc->ToSurface(POINT{x, y});
  if (!Contains(s->Bounds(), p) || !dc->Clip().Contains(p)) return CLR_INVALID;
  return PixelToColor(s->PixelAt(p.x, p.y));
}

BOOL DrawEdge(HDC handle, RECT* r, UINT edge, UINT flags) {
  DcObject* dc = GetDc(handle);
  if (!dc || !r) return FALSE;
  // Colours of the outer and inner rings: top-left, then bottom-right.
  auto ring = [&](UINT raised, UINT sunken, bool outer, int* tl, int* br) {
    if (edge & raised) {
      *tl = outer ? (flags & BF_SOFT ? COLOR_3DHILIGHT : COLOR_3DLIGHT) : (flags & BF_SOFT ? COLOR_3DLIGHT : COLOR_3DHILIGHT);
      *br = outer ? COLOR_3DDKSHADOW : COLOR_3DSHADOW;
    } else if (edge & sunken) {
      *tl = outer ? (flags & BF_SOFT ? COLOR_3DDKSHADOW : COLOR_3DSHADOW) : (flags & BF_SOFT ? COLOR_3DSHADOW : COLOR_3DDKSHADOW);
      *br = outer ? COLOR_3DHILIGHT : COLOR_3DLIGHT;
    } else {
      return false;
    }
    if (flags & BF_MONO) *tl = *br = outer ? COLOR_WINDOWFRAME : COLOR_WINDOW;
    else if (flags & BF_FLAT) *tl = *br = outer ? COLOR_3DSHADOW : COLOR_3DFACE;
    return true;
  };
  RECT inner = *r;
  for (int pass = 0; pass < 2; ++pass) {
    int tl, br;
    const bool outer = pass == 0;
    if (!ring(outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER, outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER, outer, &tl, &br))
      continue;
    const RECT& f = inner;
    auto band = [&](RECT b, int color) { FillWithBrush(*dc, b, GetSysColorBrush(color)); };
    if (flags & BF_TOP) band({f.left, f.top, f.right - 1, f.top + 1}, tl);
    if (flags & BF_LEFT) band({f.left, f.top, f.left + 1, f.bottom - 1}, tl);
    if (flags & BF_BOTTOM) band({f.left, f.bottom - 1, f.right, f.bottom}, br);
    if (flags & BF_RIGHT) band({f.right - 1, f.top, f.right, f.bottom}, br);
    if (flags & BF_LEFT) ++inner.left;
    if (flags & BF_TOP) ++inner.top;
    if (flags & BF_RIGHT) --inner.right;
    if (flags & BF_BOTTOM) --inner.bottom;
  }
  if (flags & BF_MIDDLE)
    FillWithBrush(*dc, inner, GetSysColorBrush(flags & (BF_MONO | BF_FLAT) ? COLOR_WINDOW : COLOR_3DFACE));
  if (flags & BF_ADJUST) *r = inner;
  return TRUE;
}

}  // namespace plat
