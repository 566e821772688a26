// The painting primitives against references measured in the same run on a 394 x 276 picture:
// one memcpy pass of it, pixman's constant-alpha cross-fade and pixman's Mitchell-like (cubic)
// separable downscale. Every figure is the best of five rounds on the thread's CPU clock, which
// the machine's other work moves less than the wall clock. "us" is microseconds per call; "vs_memcpy" is the call's time over one
// memcpy pass (2.0: twice memcpy's time); "x_pixman" is how many times faster than pixman.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>
#include <vector>

#include "paint/bitmap_ops.h"
#include "paint/resample.h"
#include "paint/row_kernels.h"
#include "reference.h"

namespace {

using namespace velmora;

constexpr int kWidth = 394, kHeight = 276;
constexpr std::size_t kPixels = static_cast<std::size_t>(kWidth) * kHeight;

std::unique_ptr<fw::TBitmap> RandomPicture(unsigned seed) {
  std::mt19937 random(seed);
  auto b = MakeBitmap32(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) b->Pixels()->Row(y)[x] = static_cast<plat::Pixel>(random()) | 0xFF000000u;
  return b;
}

double MemcpySeconds() {
  static const double seconds = [] {
    std::vector<std::uint32_t> a(kPixels, 1), b(kPixels, 2);
    return bench::BestSecondsPerCall<bench::ThreadCpuClock>([&] {
      std::memcpy(b.data(), a.data(), kPixels * 4);
      benchmark::DoNotOptimize(b.data());
    });
  }();
  return seconds;
}

double PixmanCrossFadeSeconds() {
  static const double seconds = [] {
    std::vector<std::uint32_t> a(kPixels, 0xFF336699), b(kPixels, 0xFF996633);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, a.data(), kWidth * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, b.data(), kWidth * 4);
    const pixman_color_t alpha{0, 0, 0, 0x6666};
    pixman_image_t* m = pixman_image_create_solid_fill(&alpha);
    const double t = bench::BestSecondsPerCall<bench::ThreadCpuClock>(
        [&] { pixman_image_composite32(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight); });
    pixman_image_unref(m);
    pixman_image_unref(d);
    pixman_image_unref(s);
    return t;
  }();
  return seconds;
}

double PixmanDownscaleSeconds() {
  static const double seconds = [] {
    const int w = kWidth * 3 / 4, h = kHeight * 3 / 4;
    std::vector<std::uint32_t> a(kPixels, 0xFF336699), b(static_cast<std::size_t>(w) * h);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, a.data(), kWidth * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, b.data(), w * 4);
    const double sx = static_cast<double>(kWidth) / w, sy = static_cast<double>(kHeight) / h;
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy));
    pixman_image_set_transform(s, &transform);
    int n = 0;
    pixman_fixed_t* params = pixman_filter_create_separable_convolution(
        &n, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy), PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE,
        PIXMAN_KERNEL_CUBIC, PIXMAN_KERNEL_CUBIC, 4, 4);
    pixman_image_set_filter(s, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
    free(params);
    const double t =
        bench::BestSecondsPerCall<bench::ThreadCpuClock>([&] { pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, w, h); });
    pixman_image_unref(d);
    pixman_image_unref(s);
    return t;
  }();
  return seconds;
}

// Runs the loop, then reports the call's time, taken as the references' are, against them.
template <class Call>
void Measure(benchmark::State& state, Call call, double pixmanSeconds) {
  const double memcpySeconds = MemcpySeconds();
  for (auto _ : state) {
    call();
    benchmark::ClobberMemory();
  }
  const double seconds = bench::BestSecondsPerCall<bench::ThreadCpuClock>(call);
  state.counters["us"] = seconds * 1e6;
  state.counters["memcpy_us"] = memcpySeconds * 1e6;
  state.counters["vs_memcpy"] = seconds / memcpySeconds;
  if (pixmanSeconds > 0) {
    state.counters["pixman_us"] = pixmanSeconds * 1e6;
    state.counters["x_pixman"] = pixmanSeconds / seconds;
  }
}

// range(0): 1 with the wide kernels where the processor has them, 0 on the baseline.
void BlendSameSizeBench(benchmark::State& state) {
  const bool wide = UseWideKernels(state.range(0) != 0);
  state.SetLabel(wide ? "avx2" : "sse2");
  auto a = RandomPicture(1), b = RandomPicture(2);
  Measure(state, [&] { BlendSameSize(*a, *b, 100); }, PixmanCrossFadeSeconds());
  UseWideKernels(true);
}

void BlendBitmapIntoBench(benchmark::State& state) {
  const bool wide = UseWideKernels(state.range(0) != 0);
  state.SetLabel(wide ? "avx2" : "sse2");
  auto a = RandomPicture(1), b = RandomPicture(2);
  Measure(state, [&] { BlendBitmapInto(*a, *b, 100, {0, 0}, {0, 0, kWidth, kHeight}); }, 0);
  UseWideKernels(true);
}

// range(1): the weight in tenths (4: the dimmed control's 0.4; 5: the half-shown glyph's 0.5).
void BlendKeyedBench(benchmark::State& state) {
  const bool wide = UseWideKernels(state.range(0) != 0);
  state.SetLabel(wide ? "avx2" : "sse2");
  auto a = RandomPicture(1), b = RandomPicture(2);
  for (int y = 0; y < kHeight; y += 7) b->Pixels()->Row(y)[y % kWidth] = kKeyColor;
  const double weight = static_cast<double>(state.range(1)) / 10;
  Measure(state, [&] { BlendKeyed(*a, 0, 0, kKeyColor, weight, {0, 0, kWidth - 1, kHeight - 1}, *b); }, 0);
  UseWideKernels(true);
}

void ResampleMitchellBench(benchmark::State& state) {
  auto a = RandomPicture(3);
  auto out = MakeBitmap32(1, 1);
  Measure(state, [&] { ResampleBitmap(*a, *out, kWidth * 3 / 4, kHeight * 3 / 4, ResampleFilter::Mitchell); },
          PixmanDownscaleSeconds());
}

BENCHMARK(BlendSameSizeBench)->Arg(1)->Arg(0);
BENCHMARK(BlendBitmapIntoBench)->Arg(1)->Arg(0);
BENCHMARK(BlendKeyedBench)->Args({1, 4})->Args({1, 5})->Args({0, 4});
BENCHMARK(ResampleMitchellBench);

}  // namespace
