// Section painting and skinned text as the program's windows use them: the "BUTTON" section at
// the brightness window's button size over its parent's picture, and a six-character caption
// written again into a 32-bit picture. "us" is the best time per call on the thread's CPU clock
// (which the machine's other work moves less), "x_memcpy" that time against one memcpy of the
// painted picture's bytes measured the same way in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/sections.h"
#include "paint/text.h"
#include "platform/display/headless/headless_display.h"
#include "platform/wm/wm.h"
#include "reference.h"
#include "skin/sSkinManager.h"

namespace {

using namespace velmora;

constexpr int kButtonW = 92, kButtonH = 55;

const TacSkinIndex& ProgramSkin() {
  static const std::unique_ptr<TacSkinIndex> skin = [] {
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
    auto index = std::make_unique<TacSkinIndex>();
    LoadPackedSkinFile(*index, VELMORA_SKIN_ARCHIVE, {});
    return index;
  }();
  return *skin;
}

double MemcpySeconds(int w, int h) {
  std::vector<std::uint32_t> from(static_cast<std::size_t>(w) * h, 0xFF808080u), to(from.size());
  return bench::BestSecondsPerCall<bench::ThreadCpuClock>([&] { std::memcpy(to.data(), from.data(), from.size() * 4); });
}

void Report(benchmark::State& state, double seconds, int w, int h) {
  state.counters["us"] = seconds * 1e6;
  state.counters["x_memcpy"] = seconds / MemcpySeconds(w, h);
}

// The button over the form's picture, in each state the window shows.
void BM_PaintSectionButton(benchmark::State& state) {
  const TacSkinIndex& skin = ProgramSkin();
  const int index = skin.GetSkinIndex("BUTTON");
  auto parent = MakeBitmap32(394, 276);
  FillPixels(*parent, {0, 0, 394, 276}, 0xEEEEEE, 255);
  auto button = MakeBitmap32(kButtonW, kButtonH);
  const TCacheInfo behind{parent.get(), 0, 0, kKeyColor, {}, true};
  const int paintState = static_cast<int>(state.range(0));
  auto paint = [&] {
    PaintSection(index, "BUTTON", behind, -1, -1, &skin, button.get(), {40, 120}, {0, 0, kButtonW, kButtonH},
                 paintState, true);
  };
  for (auto _ : state) {
    paint();
    benchmark::ClobberMemory();
  }
  Report(state, bench::BestSecondsPerCall<bench::ThreadCpuClock>(paint), kButtonW, kButtonH);
}
BENCHMARK(BM_PaintSectionButton)->Arg(0)->Arg(1)->Arg(2);

// "Cancel" in the program's font, centred on a button's picture, its coverage kept from before.
void BM_WriteText32CachedCaption(benchmark::State& state) {
  ProgramSkin();
  auto button = MakeBitmap32(kButtonW, kButtonH);
  FillPixels(*button, {0, 0, kButtonW, kButtonH}, 0xF0F0F0, 255);
  button->Canvas().Font().SetName("Tahoma");
  button->Canvas().Font().SetHeight(-11);
  const plat::UINT format = plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE;
  auto write = [&] { WriteText32(*button, "Cancel", 0x202020, format, {0, 0, kButtonW, kButtonH}); };
  write();
  for (auto _ : state) {
    write();
    benchmark::ClobberMemory();
  }
  Report(state, bench::BestSecondsPerCall<bench::ThreadCpuClock>(write), kButtonW, kButtonH);
}
BENCHMARK(BM_WriteText32CachedCaption);

}  // namespace
