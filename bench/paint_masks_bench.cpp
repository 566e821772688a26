// Border masks: the title bar's frame, drawn for every repaint of a skinned window's title.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "platform/display/headless/headless_display.h"
#include "platform/gdi/image_codecs.h"
#include "platform/wm/wm.h"
#include "reference.h"
#include "skin/sSkinManager.h"

namespace {

const velmora::TacSkinIndex& ProgramSkin() {
  static const std::unique_ptr<velmora::TacSkinIndex> index = [] {
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
    const std::vector<std::uint8_t> bytes = plat::ReadFileBytes(VELMORA_SKIN_ARCHIVE);
    fw::TBytesStream stream(bytes);
    auto skin = std::make_unique<velmora::TacSkinIndex>();
    velmora::LoadPackedSkin(*skin, stream, {});
    return skin;
  }();
  return *index;
}

// "FORMTITLE" across a 394-pixel title, in the hot state (the mask draws nothing in state 0),
// with its corners over the picture itself.
void BM_DrawBorderMaskFormTitle(benchmark::State& state) {
  const velmora::TacSkinIndex& skin = ProgramSkin();
  const int section = skin.GetSkinIndex("FORMTITLE");
  const int maskIndex = skin.GetMaskIndex(section, "FORMTITLE", "BORDERSMASK");
  if (maskIndex < 0) {
    state.SkipWithError("FORMTITLE has no BORDERSMASK");
    return;
  }
  const int width = 394, height = velmora::ImageHeightOf(skin.ma[static_cast<std::size_t>(maskIndex)]);
  auto picture = velmora::MakeBitmap32(width, height);
  const plat::RECT rect{0, 0, width, height};
  const velmora::TCacheInfo cache = velmora::SelfCacheInfo(*picture, 0, 0);
  auto draw = [&] { velmora::DrawBorderMask(*picture, rect, 1, true, skin, maskIndex, cache); };
  draw();
  for (auto _ : state) {
    draw();
    benchmark::ClobberMemory();
  }
  // Against one memcpy of the same picture: the floor of anything that writes every pixel.
  const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
  std::vector<std::uint8_t> from(bytes, 1), to(bytes);
  const double copy = bench::BestSecondsPerCall([&] { std::memcpy(to.data(), from.data(), bytes); });
  const double border = bench::BestSecondsPerCall(draw);
  state.counters["height"] = height;
  state.counters["border_us"] = border * 1e6;
  state.counters["memcpy_us"] = copy * 1e6;
  state.counters["x_memcpy"] = border / copy;
}
BENCHMARK(BM_DrawBorderMaskFormTitle)->Unit(benchmark::kMicrosecond);

}  // namespace
