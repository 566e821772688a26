// Region handles: the functions that need no device context.
#include <algorithm>
#include <memory>
#include <utility>

#include "platform/gdi/gdi.h"
#include "platform/gdi/objects.h"

namespace plat {

namespace {

// The platform accepts the corners in either order.
RECT Ordered(int left, int top, int right, int bottom) {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

int Complexity(const Region& r) {
  if (r.Empty()) return NULLREGION;
  return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN NewRegion(Region r) {
  return static_cast<HRGN>(gdi::Register(std::make_unique<gdi::RegionObject>(std::move(r))));
}

Region* RegionOf(HRGN h) {
  gdi::RegionObject* o = gdi::Get<gdi::RegionObject>(h);
  return o ? &o->region : nullptr;
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewRegion(Region(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* r) {
  if (!r) return nullptr;
  return CreateRectRgn(r->left, r->top, r->right, r->bottom);
}

HRGN CreateRegionFromRects(const std::vector<RECT>& rects) { return NewRegion(Region::FromRects(rects)); }

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  Region* r = RegionOf(rgn);
  if (!r) return FALSE;
  *r = Region(Ordered(left, top, right, bottom));
  return TRUE;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  Region* d = RegionOf(dst);
  const Region* a = RegionOf(src1);
  if (!d || !a) return ERROR;
  if (mode == RGN_COPY) {
    if (d != a) *d = *a;
    return Complexity(*d);
  }
  const Region* b = RegionOf(src2);
  if (!b) return ERROR;
  // The result is built aside and then stored, so dst may be either source.
  Region result;
  switch (mode) {
    case RGN_AND: result = a->Intersect(*b); break;
    case RGN_OR: result = a->Union(*b); break;
    case RGN_XOR: result = a->Xor(*b); break;
    case RGN_DIFF: result = a->Subtract(*b); break;
    default: return ERROR;
  }
  *d = std::move(result);
  return Complexity(*d);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  Region* r = RegionOf(rgn);
  if (!r) return ERROR;
  r->Offset(dx, dy);
  return Complexity(*r);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  const Region* r = RegionOf(rgn);
  return r && r->Contains({x, y}) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
  const Region* r = RegionOf(rgn);
  if (!r || !rect) return FALSE;
  return r->Intersects(Ordered(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
  const Region* ra = RegionOf(a);
  const Region* rb = RegionOf(b);
  return ra && rb && *ra == *rb ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, RECT* box) {
  const Region* r = RegionOf(rgn);
  if (!r || !box) return ERROR;
  *box = r->Box();
  return Complexity(*r);
}

std::vector<RECT> GetRegionRects(HRGN rgn) {
  const Region* r = RegionOf(rgn);
  return r ? r->Rects() : std::vector<RECT>{};
}

}  // namespace plat
