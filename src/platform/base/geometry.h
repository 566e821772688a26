#pragma once
// Points, sizes and rectangles. Rectangles are half-open: right and bottom lie outside.
#include "platform/base/types.h"

namespace plat {

struct POINT {
  LONG x = 0;
  LONG y = 0;
  friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
  friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
  friend bool operator==(const RECT&, const RECT&) = default;
};

constexpr LONG RectWidth(const RECT& r) { return r.right - r.left; }
constexpr LONG RectHeight(const RECT& r) { return r.bottom - r.top; }
constexpr RECT MakeRect(LONG left, LONG top, LONG width, LONG height) {
  return {left, top, left + width, top + height};
}

// a * b / c in 64 bits, rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

BOOL SetRect(RECT* r, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* r);
BOOL CopyRect(RECT* dst, const RECT* src);
BOOL IsRectEmpty(const RECT* r);
BOOL EqualRect(const RECT* a, const RECT* b);
// The result is empty (all zero) and the answer FALSE when the two do not overlap.
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
// Empty rectangles take no part in a union.
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);
// The part of a outside b, when that part is itself a rectangle; else a.
BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
BOOL PtInRect(const RECT* r, POINT p);

// Value forms for code that has no use for the out-parameters.
constexpr bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
constexpr bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
RECT Intersection(const RECT& a, const RECT& b);
RECT Union(const RECT& a, const RECT& b);
constexpr RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace plat
