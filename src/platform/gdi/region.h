#pragma once
// Regions as lists of rectangles in y-x bands: bands sorted top to bottom, each band's
// rectangles sorted left to right, disjoint, with touching spans merged and equal neighbouring
// bands coalesced. The form is canonical, so two regions covering the same pixels compare equal.
#include <span>
#include <vector>

#include "platform/base/geometry.h"

namespace plat {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r);
  // The union of any rectangles (overlapping or not, any order).
  static Region FromRects(std::span<const RECT> rects);

  bool Empty() const { return rects_.empty(); }
  RECT Box() const { return box_; }
  const std::vector<RECT>& Rects() const { return rects_; }

  void Offset(int dx, int dy);
  bool Contains(POINT p) const;
  // True when any pixel of r is in the region.
  bool Intersects(const RECT& r) const;
  // True when every pixel of r is in the region.
  bool Covers(const RECT& r) const;

  Region Intersect(const Region& other) const;
  Region Union(const Region& other) const;
  Region Subtract(const Region& other) const;
  Region Xor(const Region& other) const;

  friend bool operator==(const Region& a, const Region& b) { return a.rects_ == b.rects_; }

 private:
  std::vector<RECT> rects_;
  RECT box_{};
};

}  // namespace plat
