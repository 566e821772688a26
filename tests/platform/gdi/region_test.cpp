#include "platform/gdi/region.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/objects.h"

namespace plat {
namespace {

// A per-pixel picture of a region on a small grid: the reference every operation is held to.
constexpr int kGrid = 32;
using Pixels = std::bitset<kGrid * kGrid>;

Pixels Paint(const std::vector<RECT>& rects) {
  Pixels p;
  for (const RECT& r : rects)
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, kGrid); ++y)
      for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, kGrid); ++x) p.set(y * kGrid + x);
  return p;
}

// The same coverage built the slow way: one rectangle per run of pixels in a row.
Region FromPixels(const Pixels& p) {
  std::vector<RECT> runs;
  for (int y = 0; y < kGrid; ++y)
    for (int x = 0; x < kGrid;) {
      if (!p[y * kGrid + x]) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < kGrid && p[y * kGrid + x]) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  return Region::FromRects(runs);
}

std::string Describe(const std::vector<RECT>& rects) {
  std::ostringstream s;
  for (const RECT& r : rects) s << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << "} ";
  return s.str();
}

// The invariants of the banded form, checked directly rather than through another region.
void ExpectCanonical(const Region& r) {
  const auto& rects = r.Rects();
  SCOPED_TRACE(Describe(rects));
  RECT box{};
  std::size_t bandStart = 0, prevBandStart = 0, prevBandEnd = 0;
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const RECT& q = rects[i];
    ASSERT_FALSE(IsEmpty(q));
    box = i == 0 ? q : Union(box, q);
    if (i > bandStart) {
      const RECT& p = rects[i - 1];
      if (q.top == p.top) {
        ASSERT_EQ(q.bottom, p.bottom) << "a band has one height";
        ASSERT_LT(p.right, q.left) << "spans in a band are sorted, disjoint and not touching";
        continue;
      }
      ASSERT_GE(q.top, p.bottom) << "bands are sorted and do not overlap";
      prevBandStart = bandStart;
      prevBandEnd = i;
      bandStart = i;
    }
    if (i + 1 == rects.size() || rects[i + 1].top != q.top) {
      // The band [bandStart, i] is complete: it must differ from a touching band above.
      if (prevBandEnd > prevBandStart && rects[prevBandStart].bottom == q.top) {
        bool same = prevBandEnd - prevBandStart == i + 1 - bandStart;
        for (std::size_t k = 0; same && k < prevBandEnd - prevBandStart; ++k)
          same = rects[prevBandStart + k].left == rects[bandStart + k].left &&
                 rects[prevBandStart + k].right == rects[bandStart + k].right;
        ASSERT_FALSE(same) << "touching bands with equal spans are coalesced";
      }
    }
  }
  EXPECT_EQ(r.Box(), box);
}

enum class Op { And, Or, Diff, Xor };
Region Apply(const Region& a, const Region& b, Op op) {
  switch (op) {
    case Op::And: return a.Intersect(b);
    case Op::Or: return a.Union(b);
    case Op::Diff: return a.Subtract(b);
    case Op::Xor: return a.Xor(b);
  }
  return {};
}
Pixels Apply(const Pixels& a, const Pixels& b, Op op) {
  switch (op) {
    case Op::And: return a & b;
    case Op::Or: return a | b;
    case Op::Diff: return a & ~b;
    case Op::Xor: return a ^ b;
  }
  return {};
}
constexpr Op kOps[] = {Op::And, Op::Or, Op::Diff, Op::Xor};
const char* const kOpNames[] = {"and", "or", "diff", "xor"};

// Checks one operation against the oracle: coverage, canonical form, and equality with the
// same coverage built from pixel runs.
void ExpectMatchesOracle(const std::vector<RECT>& a, const std::vector<RECT>& b) {
  const Region ra = Region::FromRects(a), rb = Region::FromRects(b);
  ExpectCanonical(ra);
  EXPECT_EQ(Paint(ra.Rects()), Paint(a));
  for (std::size_t i = 0; i < std::size(kOps); ++i) {
    SCOPED_TRACE(kOpNames[i]);
    const Region r = Apply(ra, rb, kOps[i]);
    const Pixels want = Apply(Paint(a), Paint(b), kOps[i]);
    ExpectCanonical(r);
    EXPECT_EQ(Paint(r.Rects()), want);
    EXPECT_TRUE(r == FromPixels(want)) << Describe(r.Rects()) << " vs " << Describe(FromPixels(want).Rects());
  }
}

struct Case {
  const char* name;
  std::vector<RECT> a, b;
};

TEST(Region, CombinationsMatchPixelOracle) {
  const Case cases[] = {
      {"overlapping", {{2, 2, 12, 12}}, {{6, 6, 18, 18}}},
      {"disjoint", {{0, 0, 4, 4}}, {{10, 10, 14, 14}}},
      {"disjoint side by side", {{0, 0, 4, 4}}, {{6, 0, 10, 4}}},
      {"touching horizontally", {{0, 0, 5, 5}}, {{5, 0, 10, 5}}},
      {"touching vertically", {{0, 0, 5, 5}}, {{0, 5, 5, 10}}},
      {"touching at a corner", {{0, 0, 5, 5}}, {{5, 5, 10, 10}}},
      {"nested", {{0, 0, 20, 20}}, {{5, 5, 10, 10}}},
      {"equal", {{3, 3, 9, 9}}, {{3, 3, 9, 9}}},
      {"L shapes", {{0, 0, 4, 12}, {0, 8, 12, 12}}, {{2, 2, 14, 6}, {10, 2, 14, 14}}},
      {"multi-band combs", {{0, 0, 2, 20}, {4, 0, 6, 20}, {8, 0, 10, 20}}, {{0, 3, 20, 5}, {0, 9, 20, 11}}},
      {"frame and centre", {{0, 0, 20, 2}, {0, 18, 20, 20}, {0, 2, 2, 18}, {18, 2, 20, 18}}, {{1, 1, 19, 19}}},
      {"first empty", {}, {{1, 1, 5, 5}, {3, 3, 8, 8}}},
      {"second empty", {{1, 1, 5, 5}, {3, 3, 8, 8}}, {}},
      {"both empty", {}, {}},
      {"empty rects ignored", {{5, 5, 5, 10}, {3, 3, 8, 3}, {7, 9, 2, 12}}, {{0, 0, 4, 4}}},
      {"b splits a's band", {{0, 0, 16, 16}}, {{4, 0, 8, 16}}},
      {"staggered steps", {{0, 0, 4, 4}, {2, 2, 6, 6}, {4, 4, 8, 8}}, {{1, 1, 3, 7}, {5, 0, 7, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectMatchesOracle(c.a, c.b);
  }
}

TEST(Region, RandomCombinationsMatchPixelOracle) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> coord(0, kGrid);
  std::uniform_int_distribution<int> count(0, 9);
  auto randomRects = [&] {
    std::vector<RECT> rects(static_cast<std::size_t>(count(rng)));
    for (RECT& r : rects) {
      // Includes empty and inverted rectangles, which must be ignored.
      r = {coord(rng), coord(rng), coord(rng), coord(rng)};
      if (rng() % 4) r = {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                          std::max(r.top, r.bottom)};
    }
    return rects;
  };
  for (int round = 0; round < 400; ++round) {
    const auto a = randomRects(), b = randomRects();
    SCOPED_TRACE("round " + std::to_string(round) + ": a = " + Describe(a) + " b = " + Describe(b));
    ExpectMatchesOracle(a, b);
    if (HasFailure()) return;

    // Point and rectangle queries against the same picture.
    const Region ra = Region::FromRects(a);
    const Pixels pa = Paint(a);
    for (int y = -1; y <= kGrid; ++y)
      for (int x = -1; x <= kGrid; ++x) {
        const bool in = x >= 0 && y >= 0 && x < kGrid && y < kGrid && pa[y * kGrid + x];
        ASSERT_EQ(ra.Contains({x, y}), in) << x << "," << y;
      }
    for (int k = 0; k < 20; ++k) {
      RECT q{coord(rng), coord(rng), coord(rng), coord(rng)};
      q = {std::min(q.left, q.right), std::min(q.top, q.bottom), std::max(q.left, q.right), std::max(q.top, q.bottom)};
      const Pixels pq = Paint({q});
      ASSERT_EQ(ra.Intersects(q), (pa & pq).any()) << Describe({q});
      ASSERT_EQ(ra.Covers(q), (pq & ~pa).none()) << Describe({q});
    }
  }
}

TEST(Region, CanonicalFormIsExact) {
  const struct {
    const char* name;
    std::vector<RECT> in, want;
  } cases[] = {
      // Side by side squares merge into one rectangle; stacked ones too.
      {"touching spans merge", {{5, 0, 10, 5}, {0, 0, 5, 5}}, {{0, 0, 10, 5}}},
      {"equal bands coalesce", {{0, 5, 5, 10}, {0, 0, 5, 5}}, {{0, 0, 5, 10}}},
      {"overlap", {{0, 0, 10, 10}, {5, 5, 15, 15}}, {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}},
      {"L", {{0, 0, 4, 10}, {0, 6, 10, 10}}, {{0, 0, 4, 6}, {0, 6, 10, 10}}},
      {"two spans in one band",
       {{0, 0, 2, 4}, {6, 0, 8, 4}, {0, 4, 2, 8}, {6, 4, 8, 8}},
       {{0, 0, 2, 8}, {6, 0, 8, 8}}},
      {"gap between bands", {{0, 0, 4, 2}, {0, 3, 4, 5}}, {{0, 0, 4, 2}, {0, 3, 4, 5}}},
      {"negative coordinates", {{-10, -10, -5, -5}, {-5, -10, 0, -5}}, {{-10, -10, 0, -5}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Region::FromRects(c.in).Rects(), c.want) << Describe(Region::FromRects(c.in).Rects());
  }

  // A ring built as four bars and as a square minus its middle.
  const Region bars = Region::FromRects(std::vector<RECT>{{0, 0, 10, 2}, {0, 8, 10, 10}, {0, 2, 2, 8}, {8, 2, 10, 8}});
  const Region cut = Region(RECT{0, 0, 10, 10}).Subtract(Region(RECT{2, 2, 8, 8}));
  EXPECT_TRUE(bars == cut);
  // Taking a piece out and putting it back gives the original form.
  const Region whole(RECT{0, 0, 10, 10});
  EXPECT_TRUE(cut.Union(Region(RECT{2, 2, 8, 8})) == whole);
  EXPECT_TRUE(cut.Xor(whole) == Region(RECT{2, 2, 8, 8}));
  EXPECT_TRUE(whole.Subtract(whole).Empty());
  EXPECT_EQ(whole.Subtract(whole).Box(), RECT{});
}

TEST(Region, OffsetMovesRectsAndBox) {
  Region r = Region::FromRects(std::vector<RECT>{{0, 0, 4, 4}, {2, 2, 6, 6}});
  const auto before = r.Rects();
  r.Offset(-3, 7);
  ASSERT_EQ(r.Rects().size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(r.Rects()[i], Offset(before[i], -3, 7));
  EXPECT_EQ(r.Box(), (RECT{-3, 7, 3, 13}));
  EXPECT_TRUE(r.Contains({-3, 7}));
  EXPECT_FALSE(r.Contains({0, 0}));

  Region empty;
  empty.Offset(5, 5);
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Box(), RECT{});
}

TEST(Region, QueriesAreHalfOpen) {
  const Region r = Region::FromRects(std::vector<RECT>{{0, 0, 10, 10}, {20, 0, 30, 10}});
  const struct {
    POINT p;
    bool in;
  } points[] = {{{0, 0}, true}, {{9, 9}, true}, {{10, 0}, false}, {{0, 10}, false},
                {{15, 5}, false}, {{20, 5}, true}, {{29, 9}, true}, {{30, 9}, false}, {{-1, 0}, false}};
  for (const auto& c : points) EXPECT_EQ(r.Contains(c.p), c.in) << c.p.x << "," << c.p.y;

  const struct {
    RECT q;
    bool intersects, covers;
  } rects[] = {
      {{10, 0, 20, 10}, false, false},   // exactly the gap
      {{9, 9, 21, 10}, true, false},     // one pixel of each side
      {{0, 10, 10, 20}, false, false},   // just below
      {{20, 0, 30, 10}, true, true},     // exactly the right-hand rectangle
      {{0, 0, 30, 10}, true, false},     // across the gap
      {{5, 5, 5, 5}, false, true},       // empty: no pixel in, none missing
  };
  for (const auto& c : rects) {
    EXPECT_EQ(r.Intersects(c.q), c.intersects) << Describe({c.q});
    EXPECT_EQ(r.Covers(c.q), c.covers) << Describe({c.q});
  }
  // A cover that needs two bands stacked without a gap.
  const Region stacked = Region::FromRects(std::vector<RECT>{{0, 0, 10, 5}, {0, 5, 12, 10}});
  EXPECT_TRUE(stacked.Covers({2, 2, 9, 9}));
  EXPECT_FALSE(stacked.Covers({2, 2, 11, 9}));
}

TEST(Region, ManyRectanglesStayExact) {
  // A staircase of a few hundred overlapping rectangles, the size of a skin's shape.
  std::vector<RECT> steps;
  for (int i = 0; i < 300; ++i) steps.push_back({i, i, i + 40, i + 3});
  const Region r = Region::FromRects(steps);
  ExpectCanonical(r);
  EXPECT_EQ(r.Box(), (RECT{0, 0, 339, 302}));
  EXPECT_EQ(r.Rects().size(), 302u);  // one rectangle per row, as each row's span differs
  Region reversed = Region::FromRects(std::vector<RECT>(steps.rbegin(), steps.rend()));
  EXPECT_TRUE(r == reversed);
  EXPECT_TRUE(r.Subtract(r).Empty());
  EXPECT_TRUE(r.Xor(r).Empty());
  EXPECT_TRUE(r.Intersect(r) == r);
}

// ---- handles -------------------------------------------------------------------------------

struct RgnDeleter {
  void operator()(HRGN h) const { DeleteObject(h); }
};
using Rgn = std::unique_ptr<HRGN__, RgnDeleter>;

TEST(RegionApi, CombineAnswersComplexity) {
  Rgn a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(5, 5, 15, 15)), dst(CreateRectRgn(0, 0, 0, 0));
  ASSERT_TRUE(a && b && dst);
  const struct {
    int mode;
    int answer;
    std::vector<RECT> rects;
  } cases[] = {
      {RGN_AND, SIMPLEREGION, {{5, 5, 10, 10}}},
      {RGN_OR, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}},
      {RGN_DIFF, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 5, 10}}},
      {RGN_XOR, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 5, 10}, {10, 5, 15, 10}, {5, 10, 15, 15}}},
      {RGN_COPY, SIMPLEREGION, {{0, 0, 10, 10}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(CombineRgn(dst.get(), a.get(), b.get(), c.mode), c.answer);
    EXPECT_EQ(GetRegionRects(dst.get()), c.rects);
  }
  Rgn far(CreateRectRgn(50, 50, 60, 60));
  EXPECT_EQ(CombineRgn(dst.get(), a.get(), far.get(), RGN_AND), NULLREGION);
  EXPECT_TRUE(GetRegionRects(dst.get()).empty());
  // The copy ignores the second source entirely.
  EXPECT_EQ(CombineRgn(dst.get(), b.get(), nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(GetRegionRects(dst.get()), (std::vector<RECT>{{5, 5, 15, 15}}));
}

TEST(RegionApi, CombineIntoASource) {
  Rgn a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(5, 5, 15, 15));
  EXPECT_EQ(CombineRgn(a.get(), a.get(), b.get(), RGN_DIFF), COMPLEXREGION);
  EXPECT_EQ(GetRegionRects(a.get()), (std::vector<RECT>{{0, 0, 10, 5}, {0, 5, 5, 10}}));
  EXPECT_EQ(CombineRgn(b.get(), a.get(), b.get(), RGN_OR), COMPLEXREGION);
  EXPECT_EQ(GetRegionRects(b.get()), (std::vector<RECT>{{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}));
  // All three the same region.
  EXPECT_EQ(CombineRgn(a.get(), a.get(), a.get(), RGN_XOR), NULLREGION);
  EXPECT_EQ(CombineRgn(b.get(), b.get(), b.get(), RGN_AND), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(b.get(), b.get(), nullptr, RGN_COPY), COMPLEXREGION);
}

TEST(RegionApi, BadHandlesAndModesFail) {
  Rgn good(CreateRectRgn(0, 0, 10, 10));
  HRGN stale = CreateRectRgn(0, 0, 5, 5);
  ASSERT_TRUE(DeleteObject(stale));
  // A live object of another kind must not pass for a region.
  const HGDIOBJ brush = gdi::Register(std::make_unique<gdi::BrushObject>(LOGBRUSH{}));
  const HRGN wrongKind = static_cast<HRGN>(brush);
  RECT box{1, 2, 3, 4};
  const RECT r{0, 0, 1, 1};

  EXPECT_EQ(CombineRgn(good.get(), stale, good.get(), RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(good.get(), good.get(), stale, RGN_AND), ERROR);
  EXPECT_EQ(CombineRgn(stale, good.get(), good.get(), RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(good.get(), good.get(), nullptr, RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(good.get(), good.get(), good.get(), 0), ERROR);
  EXPECT_EQ(CombineRgn(good.get(), good.get(), good.get(), 6), ERROR);
  EXPECT_EQ(GetRegionRects(good.get()), (std::vector<RECT>{{0, 0, 10, 10}})) << "failed calls leave dst alone";

  EXPECT_EQ(OffsetRgn(stale, 1, 1), ERROR);
  EXPECT_FALSE(PtInRegion(stale, 1, 1));
  EXPECT_FALSE(RectInRegion(stale, &r));
  EXPECT_FALSE(EqualRgn(stale, stale));
  EXPECT_FALSE(EqualRgn(good.get(), stale));
  EXPECT_EQ(GetRgnBox(stale, &box), ERROR);
  EXPECT_EQ(box, (RECT{1, 2, 3, 4}));
  EXPECT_FALSE(SetRectRgn(stale, 0, 0, 1, 1));
  EXPECT_TRUE(GetRegionRects(stale).empty());
  EXPECT_FALSE(DeleteObject(stale));

  EXPECT_EQ(CombineRgn(good.get(), wrongKind, good.get(), RGN_OR), ERROR);
  EXPECT_EQ(CombineRgn(wrongKind, good.get(), good.get(), RGN_COPY), ERROR);
  EXPECT_EQ(OffsetRgn(wrongKind, 1, 1), ERROR);
  EXPECT_FALSE(PtInRegion(wrongKind, 0, 0));
  EXPECT_EQ(GetRgnBox(wrongKind, &box), ERROR);
  EXPECT_TRUE(GetRegionRects(wrongKind).empty());
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(CreateRectRgnIndirect(nullptr), nullptr);
  EXPECT_FALSE(RectInRegion(good.get(), nullptr));
}

TEST(RegionApi, CreateSetOffsetAndQuery) {
  // Corners may come in either order.
  Rgn a(CreateRectRgn(10, 10, 0, 0));
  RECT box;
  EXPECT_EQ(GetRgnBox(a.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 10, 10}));

  const RECT r{2, 3, 6, 7};
  Rgn b(CreateRectRgnIndirect(&r));
  EXPECT_EQ(GetRegionRects(b.get()), std::vector<RECT>{r});

  Rgn c(CreateRegionFromRects({{0, 0, 4, 4}, {10, 0, 14, 4}, {3, 3, 3, 9}}));
  EXPECT_EQ(GetRgnBox(c.get(), &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{0, 0, 14, 4}));
  EXPECT_EQ(OffsetRgn(c.get(), 1, 2), COMPLEXREGION);
  EXPECT_EQ(GetRegionRects(c.get()), (std::vector<RECT>{{1, 2, 5, 6}, {11, 2, 15, 6}}));
  EXPECT_TRUE(PtInRegion(c.get(), 1, 2));
  EXPECT_FALSE(PtInRegion(c.get(), 5, 2));
  EXPECT_FALSE(PtInRegion(c.get(), 8, 4));
  const RECT gap{5, 0, 11, 10}, touch{4, 0, 12, 3};
  EXPECT_FALSE(RectInRegion(c.get(), &gap));
  EXPECT_TRUE(RectInRegion(c.get(), &touch));

  EXPECT_TRUE(SetRectRgn(c.get(), 4, 4, 4, 8));
  EXPECT_EQ(GetRgnBox(c.get(), &box), NULLREGION);
  EXPECT_EQ(box, RECT{});
  EXPECT_EQ(OffsetRgn(c.get(), 3, 3), NULLREGION);

  Rgn empty(CreateRectRgn(0, 0, 0, 0));
  EXPECT_TRUE(EqualRgn(c.get(), empty.get()));
  EXPECT_TRUE(SetRectRgn(c.get(), 0, 0, 10, 10));
  EXPECT_TRUE(EqualRgn(c.get(), a.get()));
  EXPECT_FALSE(EqualRgn(c.get(), b.get()));
  // Equal coverage built differently is equal.
  Rgn pieces(CreateRegionFromRects({{5, 0, 10, 10}, {0, 0, 5, 10}}));
  EXPECT_TRUE(EqualRgn(pieces.get(), a.get()));
}

}  // namespace
}  // namespace plat
