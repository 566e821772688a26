// The row kernels over a 394 x 276 picture (the pop-up's size), each beside references timed in
// the same run: memcpy of the picture, pixman doing the same composite, and the plain per-pixel
// loop. Counters: "us" the kernel's best time for the picture, "x_memcpy" and "x_pixman" that
// time over the reference's (below 1 is faster than the reference), "x_loop" over the per-pixel
// loop's. "sse2_us" is the same kernel built for the x86-64 baseline only. All are best-of
// figures on the thread's CPU clock, so that other work on the machine moves them less.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/base/pixel_math.h"
#include "platform/base/pixel_rows.h"
#include "platform/display/x11/x11_internal.h"
#include "reference.h"

namespace plat_sse2 {
void CopyRowKeyed(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t key, std::uint32_t keyMask,
                  std::uint32_t setBits);
void OverRow(std::uint32_t* dst, const std::uint32_t* src, int n);
void FadeRow(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t alpha);
void ScaleRow(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t alpha, std::uint32_t setBits);
}  // namespace plat_sse2

namespace {

using plat::Pixel;

constexpr int kWidth = 394;
constexpr int kHeight = 276;
constexpr std::size_t kPixels = static_cast<std::size_t>(kWidth) * kHeight;
constexpr Pixel kKey = 0x00FF00FFu;
constexpr std::uint32_t kFade = 160;

// A picture of the kind the skin draws: opaque areas, transparent ones, soft edges between, and
// every tenth pixel the key colour.
std::vector<Pixel> Picture(bool premultiplied) {
  std::mt19937 rng(394276);
  std::uniform_int_distribution<Pixel> any;
  std::vector<Pixel> p(kPixels);
  for (std::size_t i = 0; i < kPixels; ++i) {
    const std::size_t x = i % kWidth;
    Pixel v = any(rng);
    if (x < 40) v &= 0x00FFFFFFu;                                      // transparent
    else if (x < 80) v |= static_cast<Pixel>((x - 40) * 6) << 24;     // a soft edge
    else v |= 0xFF000000u;                                              // opaque
    if (i % 10 == 0) v = (v & 0xFF000000u) | kKey;
    p[i] = premultiplied ? plat::Premultiply(v) : v;
  }
  return p;
}

// Seconds for one pass of a row kernel over the whole picture.
template <class Row>
double PictureSeconds(std::vector<Pixel>& dst, const std::vector<Pixel>& src, Row row) {
  return bench::BestSecondsPerCall<bench::ThreadCpuClock>([&] {
    for (int y = 0; y < kHeight; ++y) row(dst.data() + y * kWidth, src.data() + y * kWidth, kWidth);
    benchmark::DoNotOptimize(dst.data());
  });
}

double MemcpySeconds() {
  std::vector<Pixel> a(kPixels, 1), b(kPixels, 2);
  return bench::BestSecondsPerCall<bench::ThreadCpuClock>([&] {
    std::memcpy(b.data(), a.data(), kPixels * 4);
    benchmark::DoNotOptimize(b.data());
  });
}

// One pixman composite of the picture, with a constant alpha as a solid mask when alpha < 255.
double PixmanSeconds(std::vector<Pixel>& dst, const std::vector<Pixel>& src, pixman_op_t op,
                     pixman_format_code_t srcFormat, std::uint32_t alpha) {
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, dst.data(), kWidth * 4);
  pixman_image_t* s = pixman_image_create_bits(srcFormat, kWidth, kHeight, const_cast<Pixel*>(src.data()), kWidth * 4);
  const pixman_color_t colour{0, 0, 0, static_cast<std::uint16_t>(alpha * 257)};
  pixman_image_t* m = alpha < 255 ? pixman_image_create_solid_fill(&colour) : nullptr;
  const double seconds = bench::BestSecondsPerCall<bench::ThreadCpuClock>(
      [&] { pixman_image_composite32(op, s, m, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight); });
  if (m) pixman_image_unref(m);
  pixman_image_unref(s);
  pixman_image_unref(d);
  return seconds;
}

struct Figures {
  double kernel, sse2, loop, pixman = 0;
};

void Report(benchmark::State& state, const Figures& f) {
  const double memcpy = MemcpySeconds();
  state.counters["us"] = f.kernel * 1e6;
  state.counters["sse2_us"] = f.sse2 * 1e6;
  state.counters["memcpy_us"] = memcpy * 1e6;
  state.counters["x_memcpy"] = f.kernel / memcpy;
  state.counters["x_loop"] = f.kernel / f.loop;
  if (f.pixman > 0) {
    state.counters["pixman_us"] = f.pixman * 1e6;
    state.counters["x_pixman"] = f.kernel / f.pixman;
  }
}

// Runs the kernel under the benchmark's own clock too, then reports the best-of figures.
template <class Row>
void Run(benchmark::State& state, std::vector<Pixel>& dst, const std::vector<Pixel>& src, Row row) {
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) row(dst.data() + y * kWidth, src.data() + y * kWidth, kWidth);
    benchmark::ClobberMemory();
  }
}

void BM_KeyedCopy(benchmark::State& state) {
  const std::vector<Pixel> src = Picture(false);
  std::vector<Pixel> dst(kPixels, 0xFF202020u);
  auto fast = [](Pixel* d, const Pixel* s, int n) { plat::CopyRowKeyed(d, s, n, kKey, 0x00FFFFFFu, 0); };
  Run(state, dst, src, fast);
  Report(state, {PictureSeconds(dst, src, fast),
                 PictureSeconds(dst, src, [](Pixel* d, const Pixel* s, int n) {
                   plat_sse2::CopyRowKeyed(d, s, n, kKey, 0x00FFFFFFu, 0);
                 }),
                 PictureSeconds(dst, src, [](Pixel* d, const Pixel* s, int n) {
                   plat::CopyRowKeyedReference(d, s, n, kKey, 0x00FFFFFFu, 0);
                 })});
}
BENCHMARK(BM_KeyedCopy)->Unit(benchmark::kMicrosecond);

void BM_OverPerPixelAlpha(benchmark::State& state) {
  const std::vector<Pixel> src = Picture(true);
  std::vector<Pixel> dst(kPixels, 0xFF202020u);
  Run(state, dst, src, &plat::OverRow);
  Report(state, {PictureSeconds(dst, src, &plat::OverRow), PictureSeconds(dst, src, &plat_sse2::OverRow),
                 PictureSeconds(dst, src, &plat::OverRowReference),
                 PixmanSeconds(dst, src, PIXMAN_OP_OVER, PIXMAN_a8r8g8b8, 255)});
}
BENCHMARK(BM_OverPerPixelAlpha)->Unit(benchmark::kMicrosecond);

void BM_FadeConstantAlpha(benchmark::State& state) {
  const std::vector<Pixel> src = Picture(false);
  std::vector<Pixel> dst(kPixels, 0xFF202020u);
  auto fast = [](Pixel* d, const Pixel* s, int n) { plat::FadeRow(d, s, n, kFade); };
  Run(state, dst, src, fast);
  Report(state, {PictureSeconds(dst, src, fast),
                 PictureSeconds(dst, src, [](Pixel* d, const Pixel* s, int n) { plat_sse2::FadeRow(d, s, n, kFade); }),
                 PictureSeconds(dst, src, [](Pixel* d, const Pixel* s, int n) { plat::FadeRowReference(d, s, n, kFade); }),
                 PixmanSeconds(dst, src, PIXMAN_OP_OVER, PIXMAN_x8r8g8b8, kFade)});
}
BENCHMARK(BM_FadeConstantAlpha)->Unit(benchmark::kMicrosecond);

// What an ARGB window gets for an opaque picture at a constant alpha.
void BM_X11ArgbConversion(benchmark::State& state) {
  const std::vector<Pixel> src = Picture(false);
  std::vector<Pixel> dst(kPixels);
  const plat::display::Blend blend{false, kFade, {}};
  auto fast = [&](const Pixel* s, Pixel* d, int n) { plat::display::ToArgbRow(s, d, n, blend); };
  auto swapped = [&](Pixel* d, const Pixel* s, int n) { fast(s, d, n); };
  Run(state, dst, src, swapped);
  Report(state, {PictureSeconds(dst, src, swapped),
                 PictureSeconds(dst, src, [](Pixel* d, const Pixel* s, int n) {
                   plat_sse2::ScaleRow(d, s, n, kFade, 0xFF000000u);
                 }),
                 PictureSeconds(dst, src, [](Pixel* d, const Pixel* s, int n) {
                   plat::ScaleRowReference(d, s, n, kFade, 0xFF000000u);
                 }),
                 PixmanSeconds(dst, src, PIXMAN_OP_SRC, PIXMAN_x8r8g8b8, kFade)});
}
BENCHMARK(BM_X11ArgbConversion)->Unit(benchmark::kMicrosecond);

}  // namespace
