#include "platform/base/pixel_rows.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "platform/base/pixel_math.h"
#include "platform/gdi/bitmap.h"

namespace plat {
namespace {

constexpr Pixel kKey = 0x00FF00FFu;

// A seeded random row: runs of transparent, opaque and keyed pixels (so that whole vector steps
// take their short cuts) between runs of anything. Premultiplied rows keep every colour channel
// at or below alpha.
std::vector<Pixel> RandomRow(std::mt19937& rng, int n, bool premultiplied) {
  std::vector<Pixel> row(static_cast<std::size_t>(n));
  std::uniform_int_distribution<Pixel> any;
  std::uniform_int_distribution<int> kind(0, 4), run(1, 20);
  for (int i = 0; i < n;) {
    const int k = kind(rng), end = std::min(n, i + run(rng));
    for (; i < end; ++i) {
      Pixel p = any(rng);
      if (k == 0) p = 0;
      if (k == 1) p |= 0xFF000000u;
      if (k == 2) p = (p & 0xFF000000u) | kKey;
      row[static_cast<std::size_t>(i)] = premultiplied ? Premultiply(p) : p;
    }
  }
  return row;
}

using Kernel = std::function<void(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha)>;

std::vector<std::uint8_t> Coverage(const Pixel* src, int n) {
  std::vector<std::uint8_t> c(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) c[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(src[i] >> 24);
  return c;
}

struct KernelCase {
  const char* name;
  Kernel fast, reference;
  bool premultiplied = false;  // the source row is premultiplied
  bool alphas = false;         // tried at every constant alpha
};

const KernelCase kCases[] = {
    {"CopyRowKeyed whole word", [](Pixel* d, const Pixel* s, int n, std::uint32_t) { CopyRowKeyed(d, s, n, kKey); },
     [](Pixel* d, const Pixel* s, int n, std::uint32_t) { CopyRowKeyedReference(d, s, n, kKey); }},
    {"CopyRowKeyed colour, made opaque",
     [](Pixel* d, const Pixel* s, int n, std::uint32_t) { CopyRowKeyed(d, s, n, kKey, 0x00FFFFFFu, 0xFF000000u); },
     [](Pixel* d, const Pixel* s, int n, std::uint32_t) {
       CopyRowKeyedReference(d, s, n, kKey, 0x00FFFFFFu, 0xFF000000u);
     }},
    {"CopyRowOpaque", [](Pixel* d, const Pixel* s, int n, std::uint32_t) { CopyRowOpaque(d, s, n); },
     [](Pixel* d, const Pixel* s, int n, std::uint32_t) {
       for (int i = 0; i < n; ++i) d[i] = s[i] | 0xFF000000u;
     }},
    {"OverRow", [](Pixel* d, const Pixel* s, int n, std::uint32_t) { OverRow(d, s, n); },
     [](Pixel* d, const Pixel* s, int n, std::uint32_t) { OverRowReference(d, s, n); }, true},
    {"OverRowFaded", &OverRowFaded, &OverRowFadedReference, true, true},
    {"FadeRow", &FadeRow, &FadeRowReference, false, true},
    {"ScaleRow", [](Pixel* d, const Pixel* s, int n, std::uint32_t a) { ScaleRow(d, s, n, a); },
     [](Pixel* d, const Pixel* s, int n, std::uint32_t a) { ScaleRowReference(d, s, n, a); }, false, true},
    {"ScaleRow made opaque",
     [](Pixel* d, const Pixel* s, int n, std::uint32_t a) { ScaleRow(d, s, n, a, 0xFF000000u); },
     [](Pixel* d, const Pixel* s, int n, std::uint32_t a) { ScaleRowReference(d, s, n, a, 0xFF000000u); }, false,
     true},
    {"CoverageRow",
     [](Pixel* d, const Pixel* s, int n, std::uint32_t) { CoverageRow(d, Coverage(s, n).data(), n, 0x40A0B0C0u); },
     [](Pixel* d, const Pixel* s, int n, std::uint32_t) {
       CoverageRowReference(d, Coverage(s, n).data(), n, 0x40A0B0C0u);
     }},
};

TEST(PixelRows, EveryKernelGivesTheSamePixelsAsItsReference) {
  const int widths[] = {0, 1, 2, 7, 8, 9, 15, 16, 17, 33, 394};
  std::mt19937 rng(20261211);
  for (const KernelCase& k : kCases) {
    for (std::uint32_t alpha = k.alphas ? 0 : 255; alpha <= 255; ++alpha) {
      for (int n : widths) {
        const std::vector<Pixel> src = RandomRow(rng, n, k.premultiplied);
        std::vector<Pixel> fast = RandomRow(rng, n, true), reference = fast;
        k.fast(fast.data(), src.data(), n, alpha);
        k.reference(reference.data(), src.data(), n, alpha);
        ASSERT_EQ(fast, reference) << k.name << ", width " << n << ", alpha " << alpha;
      }
    }
  }
}

TEST(PixelRows, KernelsStayInsideTheirRow) {
  // Writing past n would change the guard pixels on either side.
  std::mt19937 rng(7);
  for (const KernelCase& k : kCases)
    for (int n : {1, 5, 8, 13}) {
      const std::vector<Pixel> src = RandomRow(rng, n + 16, k.premultiplied);
      std::vector<Pixel> dst(static_cast<std::size_t>(n + 2), 0xDEADBEEFu);
      k.fast(dst.data() + 1, src.data(), n, 200);
      EXPECT_EQ(dst.front(), 0xDEADBEEFu) << k.name;
      EXPECT_EQ(dst.back(), 0xDEADBEEFu) << k.name << ", width " << n;
    }
}

TEST(PixelRows, FadeAndOverMeetTheirFormulasOnKnownPixels) {
  // Three pixels repeated over nine, so that the vector step and the tail both see each.
  const Pixel source[] = {0, 0x80808080u, 0xFF102030u};
  const Pixel below[] = {0xFFFFFFFFu, 0xFF000000u, 0xFF808080u};
  const Pixel fadedBy64[] = {0xFFBFBFBFu, 0xFF202020u, 0xFF64686Cu};  // Div255(s * 64 + d * 191)
  const Pixel over[] = {0xFFFFFFFFu, 0xFF808080u, 0xFF102030u};
  Pixel src[9], faded[9], covered[9];
  for (int i = 0; i < 9; ++i) {
    src[i] = source[i % 3];
    faded[i] = covered[i] = below[i % 3];
  }
  FadeRow(faded, src, 9, 64);
  OverRow(covered, src, 9);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(faded[i], fadedBy64[i % 3]) << i;
    EXPECT_EQ(covered[i], over[i % 3]) << i;
  }
}

#if !defined(NDEBUG) || defined(VELMORA_CHECKED)
TEST(PixelRowsDeathTest, RowAccessAndKernelPreconditionsAreChecked) {
  Bitmap b(4, 3);
  EXPECT_DEATH(b.Row(3), "invariant failed");
  EXPECT_DEATH(b.Scanline(-1), "invariant failed");
  Pixel p = 0;
  EXPECT_DEATH(OverRow(&p, &p, -1), "invariant failed");
  EXPECT_DEATH(FadeRow(nullptr, &p, 1, 10), "invariant failed");
}
#endif

}  // namespace
}  // namespace plat
