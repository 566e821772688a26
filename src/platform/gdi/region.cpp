#include "platform/gdi/region.h"

#include <algorithm>
#include <limits>

namespace plat {

namespace {

// A band is a run of rectangles in a region's list sharing top and bottom.
struct Band {
  const RECT* begin;
  const RECT* end;
  LONG top() const { return begin->top; }
  LONG bottom() const { return begin->bottom; }
};

std::vector<Band> BandsOf(const std::vector<RECT>& rects) {
  std::vector<Band> bands;
  const RECT* p = rects.data();
  const RECT* const end = p + rects.size();
  while (p != end) {
    const RECT* q = p + 1;
    while (q != end && q->top == p->top) ++q;
    bands.push_back({p, q});
    p = q;
  }
  return bands;
}

// Collects the output band by band, joining a band to the one above when they touch and have
// the same spans; this is what keeps the result canonical.
class Builder {
 public:
  std::vector<RECT> rects;

  // Spans [first, rects.end()) were just appended for the band [top, bottom).
  void EndBand(std::size_t first, LONG top, LONG bottom) {
    const std::size_t count = rects.size() - first;
    if (count == 0) return;
    for (std::size_t i = first; i < rects.size(); ++i) {
      rects[i].top = top;
      rects[i].bottom = bottom;
    }
    if (prevCount_ == count && rects[prevFirst_].bottom == top &&
        std::equal(rects.begin() + static_cast<std::ptrdiff_t>(prevFirst_),
                   rects.begin() + static_cast<std::ptrdiff_t>(first),
                   rects.begin() + static_cast<std::ptrdiff_t>(first),
                   [](const RECT& a, const RECT& b) { return a.left == b.left && a.right == b.right; })) {
      for (std::size_t i = prevFirst_; i < first; ++i) rects[i].bottom = bottom;
      rects.resize(first);
      return;
    }
    prevFirst_ = first;
    prevCount_ = count;
  }

 private:
  std::size_t prevFirst_ = 0;
  std::size_t prevCount_ = 0;
};

// Merges the spans of two bands (either may be empty) by a boolean operation, appending the
// result in canonical form: every x where membership may change is visited once, so touching
// spans come out merged.
template <class Op>
void MergeSpans(const RECT* a, const RECT* aEnd, const RECT* b, const RECT* bEnd, Op op,
                std::vector<RECT>& out) {
  constexpr LONG kNone = std::numeric_limits<LONG>::max();
  const std::size_t na = 2 * static_cast<std::size_t>(aEnd - a);
  const std::size_t nb = 2 * static_cast<std::size_t>(bEnd - b);
  auto edge = [](const RECT* spans, std::size_t i) { return i % 2 ? spans[i / 2].right : spans[i / 2].left; };
  std::size_t i = 0, j = 0;
  bool inside = false;
  LONG start = 0;
  while (i < na || j < nb) {
    const LONG x = std::min(i < na ? edge(a, i) : kNone, j < nb ? edge(b, j) : kNone);
    while (i < na && edge(a, i) == x) ++i;
    while (j < nb && edge(b, j) == x) ++j;
    const bool now = op(i % 2 == 1, j % 2 == 1);
    if (now && !inside) start = x;
    if (!now && inside) out.push_back({start, 0, x, 0});
    inside = now;
  }
}

// The band sweep: walks both band lists top-down, cutting them at every band edge of either
// region, and merges the spans of each slice. Slices where neither region has pixels are
// skipped; every operation here maps (out, out) to out.
template <class Op>
std::vector<RECT> Combine(const std::vector<RECT>& a, const std::vector<RECT>& b, Op op) {
  const std::vector<Band> ba = BandsOf(a);
  const std::vector<Band> bb = BandsOf(b);
  constexpr LONG kNone = std::numeric_limits<LONG>::max();
  const bool keepsAOnly = op(true, false);
  const bool keepsBOnly = op(false, true);

  Builder out;
  out.rects.reserve(a.size() + b.size());
  std::size_t ia = 0, ib = 0;
  LONG y = std::numeric_limits<LONG>::min();
  while (ia < ba.size() || ib < bb.size()) {
    if (ia == ba.size() && !keepsBOnly) break;
    if (ib == bb.size() && !keepsAOnly) break;
    const LONG aTop = ia < ba.size() ? ba[ia].top() : kNone;
    const LONG bTop = ib < bb.size() ? bb[ib].top() : kNone;
    y = std::max(y, std::min(aTop, bTop));
    const bool aIn = aTop <= y;
    const bool bIn = bTop <= y;
    const LONG aEdge = aIn ? ba[ia].bottom() : aTop;
    const LONG bEdge = bIn ? bb[ib].bottom() : bTop;
    const LONG yEnd = std::min(aEdge, bEdge);

    const std::size_t first = out.rects.size();
    const RECT* ap = aIn ? ba[ia].begin : nullptr;
    const RECT* ae = aIn ? ba[ia].end : nullptr;
    const RECT* bp = bIn ? bb[ib].begin : nullptr;
    const RECT* be = bIn ? bb[ib].end : nullptr;
    MergeSpans(ap, ae, bp, be, op, out.rects);
    out.EndBand(first, y, yEnd);

    y = yEnd;
    if (aIn && ba[ia].bottom() <= y) ++ia;
    if (bIn && bb[ib].bottom() <= y) ++ib;
  }
  return std::move(out.rects);
}

RECT BoxOf(const std::vector<RECT>& rects) {
  if (rects.empty()) return {};
  RECT box{rects.front().left, rects.front().top, rects.front().right, rects.back().bottom};
  for (const RECT& r : rects) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
  }
  return box;
}

// The first rectangle of the band holding row y, or end when no band does.
std::vector<RECT>::const_iterator BandAt(const std::vector<RECT>& rects, LONG y) {
  // Bottoms never decrease along the list, so the band is found by bisection.
  auto it = std::partition_point(rects.begin(), rects.end(), [y](const RECT& r) { return r.bottom <= y; });
  return it != rects.end() && it->top <= y ? it : rects.end();
}

// The first span of the band starting at band whose right edge lies beyond x (or the band's end).
std::vector<RECT>::const_iterator SpanFrom(std::vector<RECT>::const_iterator band,
                                           std::vector<RECT>::const_iterator end, LONG x) {
  const LONG top = band->top;
  return std::partition_point(band, end, [top, x](const RECT& r) { return r.top == top && r.right <= x; });
}

}  // namespace

Region::Region(const RECT& r) {
  if (!IsEmpty(r)) {
    rects_.push_back(r);
    box_ = r;
  }
}

Region Region::FromRects(std::span<const RECT> rects) {
  // Pairwise unions in a balanced tree, so each rectangle goes through log n merges.
  std::vector<Region> level;
  level.reserve(rects.size());
  for (const RECT& r : rects)
    if (!IsEmpty(r)) level.emplace_back(r);
  if (level.empty()) return {};
  while (level.size() > 1) {
    std::vector<Region> next;
    next.reserve((level.size() + 1) / 2);
    for (std::size_t i = 0; i + 1 < level.size(); i += 2) next.push_back(level[i].Union(level[i + 1]));
    if (level.size() % 2) next.push_back(std::move(level.back()));
    level = std::move(next);
  }
  return std::move(level.front());
}

void Region::Offset(int dx, int dy) {
  if (rects_.empty()) return;
  for (RECT& r : rects_) r = plat::Offset(r, dx, dy);
  box_ = plat::Offset(box_, dx, dy);
}

bool Region::Contains(POINT p) const {
  if (!plat::Contains(box_, p)) return false;
  const auto band = BandAt(rects_, p.y);
  if (band == rects_.end()) return false;
  const auto span = SpanFrom(band, rects_.end(), p.x);
  return span != rects_.end() && span->top == band->top && span->left <= p.x;
}

bool Region::Intersects(const RECT& r) const {
  if (IsEmpty(r) || IsEmpty(Intersection(box_, r))) return false;
  auto it = std::partition_point(rects_.begin(), rects_.end(), [&](const RECT& q) { return q.bottom <= r.top; });
  while (it != rects_.end() && it->top < r.bottom) {
    const auto span = SpanFrom(it, rects_.end(), r.left);
    if (span != rects_.end() && span->top == it->top && span->left < r.right) return true;
    const LONG top = it->top;
    it = std::find_if(span, rects_.end(), [top](const RECT& q) { return q.top != top; });
  }
  return false;
}

bool Region::Covers(const RECT& r) const {
  if (IsEmpty(r)) return true;
  LONG y = r.top;
  while (y < r.bottom) {
    const auto band = BandAt(rects_, y);
    if (band == rects_.end()) return false;
    // Touching spans are merged, so a covered row lies within a single span.
    const auto span = SpanFrom(band, rects_.end(), r.left);
    if (span == rects_.end() || span->top != band->top || span->left > r.left || span->right < r.right) return false;
    y = band->bottom;
  }
  return true;
}

Region Region::Intersect(const Region& other) const {
  Region out;
  if (IsEmpty(Intersection(box_, other.box_))) return out;
  out.rects_ = Combine(rects_, other.rects_, [](bool a, bool b) { return a && b; });
  out.box_ = BoxOf(out.rects_);
  return out;
}

Region Region::Union(const Region& other) const {
  if (other.Empty()) return *this;
  if (Empty()) return other;
  Region out;
  out.rects_ = Combine(rects_, other.rects_, [](bool a, bool b) { return a || b; });
  out.box_ = BoxOf(out.rects_);
  return out;
}

Region Region::Subtract(const Region& other) const {
  if (IsEmpty(Intersection(box_, other.box_))) return *this;
  Region out;
  out.rects_ = Combine(rects_, other.rects_, [](bool a, bool b) { return a && !b; });
  out.box_ = BoxOf(out.rects_);
  return out;
}

Region Region::Xor(const Region& other) const {
  if (other.Empty()) return *this;
  if (Empty()) return other;
  Region out;
  out.rects_ = Combine(rects_, other.rects_, [](bool a, bool b) { return a != b; });
  out.box_ = BoxOf(out.rects_);
  return out;
}

}  // namespace plat
