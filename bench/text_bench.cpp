// DrawText of the brightness caption (Japanese and Latin, 16 px) into the pop-up's bitmap.
// "vs_pixman" compares with pixman blending a coverage mask the size of the caption's line box
// in the same run: 1.0 means as fast as that one composite.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

namespace {

using namespace plat;

const std::string kCaption = "輝度37％ Brightness 明るさ";
constexpr int kWidth = 394;
constexpr int kHeight = 276;
constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

struct Surface {
  Surface() : dc(CreateCompatibleDC(nullptr)), bmp(CreateBitmap32(kWidth, kHeight)) {
    old = SelectObject(dc, bmp);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(240, 240, 240));
  }
  ~Surface() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
  }
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
};

HFONT CaptionFont(int height) {
  return CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
}

// Seconds for one pixman composite of an a8 mask of w x h over the surface.
double PixmanMaskSeconds(int w, int h) {
  std::vector<std::uint32_t> dst(static_cast<std::size_t>(kWidth) * kHeight, 0xFF202020u);
  const int stride = (w + 3) & ~3;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(stride) * h);
  for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = static_cast<std::uint8_t>((i * 37) % 3 == 0 ? 0 : i * 11);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, dst.data(), kWidth * 4);
  pixman_image_t* m = pixman_image_create_bits(PIXMAN_a8, w, h, reinterpret_cast<std::uint32_t*>(mask.data()), stride);
  pixman_color_t colour{0xF000, 0xF000, 0xF000, 0xFFFF};
  pixman_image_t* s = pixman_image_create_solid_fill(&colour);
  using Clock = std::chrono::steady_clock;
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    int n = 0;
    const auto start = Clock::now();
    auto now = start;
    do {
      pixman_image_composite32(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, (kWidth - w) / 2, (kHeight - h) / 2, w, h);
      benchmark::ClobberMemory();
      ++n;
      now = Clock::now();
    } while (now - start < std::chrono::milliseconds(20));
    best = std::min(best, std::chrono::duration<double>(now - start).count() / n);
  }
  pixman_image_unref(s);
  pixman_image_unref(m);
  pixman_image_unref(d);
  return best;
}

void ReportAgainstPixman(benchmark::State& state, HDC dc, double seconds) {
  SIZE extent;
  GetTextExtentPoint32(dc, kCaption.data(), static_cast<int>(kCaption.size()), &extent);
  const double reference = PixmanMaskSeconds(extent.cx, extent.cy);
  state.counters["vs_pixman"] = reference / (seconds / static_cast<double>(state.iterations()));
}

// The caption drawn again: every cache warm.
void BM_DrawTextCaptionWarm(benchmark::State& state) {
  Surface surface;
  HFONT font = CaptionFont(-16);
  HGDIOBJ old = SelectObject(surface.dc, font);
  RECT r{0, 0, kWidth, kHeight};
  DrawText(surface.dc, kCaption, &r, kFormat);
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(DrawText(surface.dc, kCaption, &r, kFormat));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  ReportAgainstPixman(state, surface.dc, seconds);
  SelectObject(surface.dc, old);
  DeleteObject(font);
}
BENCHMARK(BM_DrawTextCaptionWarm);

// A logical font of a size not seen before, each time: a face opened at that size, shaping and
// rasterising. Face-name resolution stays cached, as it would in the program.
void BM_DrawTextCaptionNewSize(benchmark::State& state) {
  Surface surface;
  RECT r{0, 0, kWidth, kHeight};
  int height = 10;
  for (auto _ : state) {
    HFONT font = CaptionFont(-height);
    HGDIOBJ old = SelectObject(surface.dc, font);
    benchmark::DoNotOptimize(DrawText(surface.dc, kCaption, &r, kFormat));
    SelectObject(surface.dc, old);
    DeleteObject(font);
    height = height >= 200 ? 10 : height + 1;  // past the caches' reach before a size returns
  }
}
BENCHMARK(BM_DrawTextCaptionNewSize)->Unit(benchmark::kMicrosecond);

// Measuring only, as a label sizing itself does.
void BM_DrawTextCalcRectWarm(benchmark::State& state) {
  Surface surface;
  HFONT font = CaptionFont(-16);
  HGDIOBJ old = SelectObject(surface.dc, font);
  RECT r{0, 0, kWidth, kHeight};
  for (auto _ : state) {
    RECT m = r;
    benchmark::DoNotOptimize(DrawText(surface.dc, kCaption, &m, kFormat | DT_CALCRECT));
  }
  SelectObject(surface.dc, old);
  DeleteObject(font);
}
BENCHMARK(BM_DrawTextCalcRectWarm);

}  // namespace
