// The window picture of the brightness window: a full rebuild against pixman's OVER of a picture
// of the size the window has with its extended border (394 x 276), and the pixels that reach
// the screen when the close button turns hot.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <memory>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "platform/display/headless/headless_display.h"
#include "platform/gdi/image_codecs.h"
#include "reference.h"
#include "skin/sSkinManagerComponent.h"
#include "windows/sSkinProvider.h"

namespace {

struct Scene {
  std::unique_ptr<fw::TApplication> app;
  velmora::TsSkinProvider* provider = nullptr;
  Scene() {
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
    app = std::make_unique<fw::TApplication>(nullptr);
    velmora::RegisterProviderClasses();
    auto* owner = fw::NewForm<fw::TForm>(app.get());
    auto* manager = fw::New<velmora::TsSkinManager>(owner);
    auto* item = manager->InternalSkins()->Add();
    item->SetName("skin");
    const std::vector<std::uint8_t> bytes = plat::ReadFileBytes(VELMORA_SKIN_ARCHIVE);
    fw::TBytesStream stream(bytes);
    item->ReadData(stream);
    manager->SetSkinName("skin");
    manager->SetActive(true);
    auto* form = fw::NewForm<fw::TForm>(app.get());
    form->SetBorderStyle(fw::bsDialog);
    form->SetBorderIcons({fw::biSystemMenu});
    form->SetCaption("輝度37％");
    form->SetClientWidth(368);
    form->SetClientHeight(224);
    provider = fw::New<velmora::TsSkinProvider>(form);
    form->Show();
    provider->PictureReady();
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

// pixman's OVER of a 394 x 276 picture with alpha onto another.
double PixmanOverSeconds() {
  constexpr int w = 394, h = 276;
  std::vector<std::uint32_t> src(w * h, 0x80402010u), dst(w * h, 0xFF808080u);
  pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, src.data(), w * 4);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, dst.data(), w * 4);
  const double seconds = bench::BestSecondsPerCall(
      [&] { pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, w, h); });
  pixman_image_unref(s);
  pixman_image_unref(d);
  return seconds;
}

void BM_PaintAllBrightnessWindow(benchmark::State& state) {
  velmora::TsSkinProvider& p = *TheScene().provider;
  auto rebuild = [&] {
    p.SkinData()->BGChanged = true;
    p.PaintAll();
  };
  for (auto _ : state) {
    rebuild();
    benchmark::ClobberMemory();
  }
  const double paint = bench::BestSecondsPerCall(rebuild);
  const double over = PixmanOverSeconds();
  const auto& bmp = *p.SkinData()->FCacheBmp;
  state.counters["width"] = bmp.Width();
  state.counters["height"] = bmp.Height();
  state.counters["paintall_us"] = paint * 1e6;
  state.counters["pixman_over_us"] = over * 1e6;
  state.counters["x_pixman_over"] = paint / over;
}
BENCHMARK(BM_PaintAllBrightnessWindow)->Unit(benchmark::kMicrosecond);

// Hovering the close button repaints that button alone from TempBmp.
void BM_HoverCloseButton(benchmark::State& state) {
  velmora::TsSkinProvider& p = *TheScene().provider;
  p.PictureReady();
  long long pushed = 0, hovers = 0;
  const int before = p.PaintAllCount();
  for (auto _ : state) {
    const long long start = p.PixelsPushed();
    p.SetHotHT(plat::HTCLOSE, true);
    p.SetHotHT(0, true);
    pushed += p.PixelsPushed() - start;
    hovers += 2;
  }
  const auto& bmp = *p.SkinData()->FCacheBmp;
  state.counters["pixels_per_change"] = hovers ? static_cast<double>(pushed) / static_cast<double>(hovers) : 0;
  state.counters["window_pixels"] = static_cast<double>(bmp.Width()) * bmp.Height();
  state.counters["paintall_calls"] = p.PaintAllCount() - before;
}
BENCHMARK(BM_HoverCloseButton)->Unit(benchmark::kMicrosecond);

}  // namespace
