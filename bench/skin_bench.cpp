// Unpacking and parsing the program's skin: what every start of the program pays once.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "platform/gdi/image_codecs.h"
#include "platform/wm/wm.h"
#include "reference.h"
#include "skin/sSkinManager.h"

namespace {

const std::vector<std::uint8_t>& Archive() {
  static const std::vector<std::uint8_t> bytes = plat::ReadFileBytes(VELMORA_SKIN_ARCHIVE);
  return bytes;
}

void EnsurePlatform() {
  static const bool ready = [] {
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
    return true;
  }();
  (void)ready;
}

void BM_SkinUnpack(benchmark::State& state) {
  fw::TBytesStream stream(Archive());
  for (auto _ : state) {
    std::unique_ptr<velmora::TacSkinConvertor> c;
    velmora::UnpackFromMemory(c, stream);
    benchmark::DoNotOptimize(c.get());
  }
}
BENCHMARK(BM_SkinUnpack)->Unit(benchmark::kMicrosecond);

void BM_SkinUnpackAndParse(benchmark::State& state) {
  EnsurePlatform();
  fw::TBytesStream stream(Archive());
  for (auto _ : state) {
    velmora::TacSkinIndex index;
    velmora::LoadPackedSkin(index, stream, {});
    benchmark::DoNotOptimize(index.gd.data());
  }
  // Against copying the unpacked bytes once: the floor of any loader.
  std::vector<std::uint8_t> from(143410, 1), to(from.size());
  const double copy = bench::BestSecondsPerCall([&] { std::memcpy(to.data(), from.data(), from.size()); });
  const double load = bench::BestSecondsPerCall([&] {
    velmora::TacSkinIndex index;
    velmora::LoadPackedSkin(index, stream, {});
  });
  state.counters["load_ms"] = load * 1e3;
  state.counters["x_memcpy"] = load / copy;
}
BENCHMARK(BM_SkinUnpackAndParse)->Unit(benchmark::kMicrosecond);

}  // namespace
