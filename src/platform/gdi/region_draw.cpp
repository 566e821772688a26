// Painting through regions.
#include "platform/gdi/objects.h"

namespace plat {

using namespace gdi;

BOOL FillRgn(HDC handle, HRGN rgn, HBRUSH brush) {
  DcObject* dc = GetDc(handle);
  auto* r = Get<RegionObject>(rgn);
  if (!dc || !r) return FALSE;
  const auto color = BrushColor(brush);
  if (!color) return FALSE;
  // Regions are in logical coordinates here.
  for (const RECT& rect : r->region.Rects()) FillSurface(*dc, dc->ToSurface(rect), ColorToPixel(*color, 0));
  return TRUE;
}

BOOL PaintRgn(HDC handle, HRGN rgn) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  return FillRgn(handle, rgn, dc->state.brush);
}

BOOL FrameRgn(HDC handle, HRGN rgn, HBRUSH brush, int width, int height) {
  DcObject* dc = GetDc(handle);
  auto* r = Get<RegionObject>(rgn);
  if (!dc || !r || width < 1 || height < 1) return FALSE;
  const auto color = BrushColor(brush);
  if (!color) return FALSE;
  // The frame is the region less the region shrunk by the frame's width and height: a pixel
  // survives the shrink when the region holds it and its neighbours that far away.
  Region inner = r->region;
  for (const POINT shift : {POINT{width, 0}, POINT{-width, 0}, POINT{0, height}, POINT{0, -height}}) {
    Region moved = r->region;
    moved.Offset(shift.x, shift.y);
    inner = inner.Intersect(moved);
  }
  const Region frame = r->region.Subtract(inner);
  for (const RECT& rect : frame.Rects())
    FillSurface(*dc, dc->ToSurface(rect), ColorToPixel(*color, 0));
  return TRUE;
}

}  // namespace plat
