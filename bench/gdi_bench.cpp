// Blits and fills against memcpy (and pixman's blitter) of the same picture, measured in the same
// run. "vs_memcpy" is the operation's throughput over memcpy's: 1.0 means as fast as memcpy.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <chrono>
#include <cstring>
#include <map>
#include <vector>

#include "platform/gdi/gdi.h"
#include "reference.h"

namespace {

using namespace plat;

double MemcpyBytesPerSecond(std::size_t bytes) {
  static std::map<std::size_t, double> measured;
  if (auto it = measured.find(bytes); it != measured.end()) return it->second;
  std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
  const double seconds = bench::BestSecondsPerCall([&] {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
  });
  return measured[bytes] = static_cast<double>(bytes) / seconds;
}

struct Surface {
  Surface(int w, int h) : dc(CreateCompatibleDC(nullptr)), bmp(CreateBitmap32(w, h)) { SelectObject(dc, bmp); }
  ~Surface() {
    DeleteDC(dc);
    DeleteObject(bmp);
  }
  HDC dc;
  HBITMAP bmp;
};

// Times the loop itself so that the ratio is a plain number.
class Ratio {
 public:
  explicit Ratio(std::size_t bytes) : bytes_(bytes), reference_(MemcpyBytesPerSecond(bytes)), start_(Clock::now()) {}
  void Report(benchmark::State& state) const {
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes_));
    state.counters["vs_memcpy"] = static_cast<double>(bytes_) * static_cast<double>(state.iterations()) / seconds / reference_;
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::size_t bytes_;
  double reference_;
  Clock::time_point start_;
};

void Memcpy(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(state.range(0) * state.range(1) * 4);
  std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
  Ratio ratio(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  ratio.Report(state);
}

void PixmanBlt(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  std::vector<std::uint32_t> a(static_cast<std::size_t>(w * h), 1), b(static_cast<std::size_t>(w * h), 2);
  Ratio ratio(static_cast<std::size_t>(w * h * 4));
  for (auto _ : state) {
    pixman_blt(a.data(), b.data(), w, w, 32, 32, 0, 0, 0, 0, w, h);
    benchmark::ClobberMemory();
  }
  ratio.Report(state);
}

void BitBltCopy(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  Surface src(w, h), dst(w, h);
  Ratio ratio(static_cast<std::size_t>(w * h * 4));
  for (auto _ : state) {
    BitBlt(dst.dc, 0, 0, w, h, src.dc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  ratio.Report(state);
}

void FillRectSolid(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  Surface dst(w, h);
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  const RECT r{0, 0, w, h};
  Ratio ratio(static_cast<std::size_t>(w * h * 4));
  for (auto _ : state) {
    FillRect(dst.dc, &r, brush);
    benchmark::ClobberMemory();
  }
  DeleteObject(brush);
  ratio.Report(state);
}

void StretchBltNearest(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  Surface src(w / 2, h / 2), dst(w, h);
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  Ratio ratio(static_cast<std::size_t>(w * h * 4));
  for (auto _ : state) {
    StretchBlt(dst.dc, 0, 0, w, h, src.dc, 0, 0, w / 2, h / 2, SRCCOPY);
    benchmark::ClobberMemory();
  }
  ratio.Report(state);
}

#define SIZES Args({394, 276})->Args({1920, 1080})
BENCHMARK(Memcpy)->SIZES;
BENCHMARK(PixmanBlt)->SIZES;
BENCHMARK(BitBltCopy)->SIZES;
BENCHMARK(FillRectSolid)->SIZES;
BENCHMARK(StretchBltNearest)->SIZES;

}  // namespace
