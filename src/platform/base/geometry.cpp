#include "platform/base/geometry.h"

#include <algorithm>
#include <cstdint>

namespace plat {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::uint64_t num = product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
  const std::uint64_t den = static_cast<std::uint64_t>(c < 0 ? -static_cast<std::int64_t>(c) : c);
  const auto quotient = static_cast<std::int64_t>((num + den / 2) / den);
  return static_cast<int>(std::clamp<std::int64_t>(negative ? -quotient : quotient, INT32_MIN, INT32_MAX));
}

BOOL SetRect(RECT* r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = {left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(RECT* r) {
  if (!r) return FALSE;
  *r = {};
  return TRUE;
}

BOOL CopyRect(RECT* dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* r) { return !r || IsEmpty(*r); }

BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b; }

RECT Intersection(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return IsEmpty(r) ? RECT{} : r;
}

RECT Union(const RECT& a, const RECT& b) {
  if (IsEmpty(a)) return IsEmpty(b) ? RECT{} : b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  *dst = Intersection(*a, *b);
  return !IsEmpty(*dst);
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  *dst = Union(*a, *b);
  return !IsEmpty(*dst);
}

BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r = *a;
  const RECT cut = Intersection(*a, *b);
  if (!IsEmpty(cut)) {
    const bool fullWidth = cut.left == r.left && cut.right == r.right;
    const bool fullHeight = cut.top == r.top && cut.bottom == r.bottom;
    if (fullWidth && fullHeight) {
      r = {};
    } else if (fullWidth && cut.top == r.top) {
      r.top = cut.bottom;
    } else if (fullWidth && cut.bottom == r.bottom) {
      r.bottom = cut.top;
    } else if (fullHeight && cut.left == r.left) {
      r.left = cut.right;
    } else if (fullHeight && cut.right == r.right) {
      r.right = cut.left;
    }
  }
  *dst = r;
  return !IsEmpty(r);
}

BOOL OffsetRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  *r = Offset(*r, dx, dy);
  return TRUE;
}

BOOL InflateRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  r->left -= dx;
  r->top -= dy;
  r->right += dx;
  r->bottom += dy;
  return TRUE;
}

BOOL PtInRect(const RECT* r, POINT p) { return r && Contains(*r, p); }

}  // namespace plat
