// Reads untrusted bytes as a skin description and loads it against a small built-in master
// bitmap: masks, inheritance, gradients and lookups must fail cleanly or succeed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/display/headless/headless_display.h"
#include "platform/gdi/image_codecs.h"
#include "platform/wm/wm.h"
#include "skin/sSkinManager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
    return true;
  }();
  (void)ready;
  static const std::vector<std::uint8_t> master = [] {
    plat::Bitmap b(64, 64);
    b.Fill(plat::MakePixel(255, 0, 255, 255));
    return plat::WriteBmp(b);
  }();
  velmora::TacSkinConvertor convertor;
  convertor.Files.push_back({"MASTER.BMP", true, std::make_unique<fw::TBytesStream>(master)});
  velmora::TacSkinSource source;
  source.Packed = &convertor;
  try {
    const velmora::TacIniFile ini(std::string_view(reinterpret_cast<const char*>(data), size));
    velmora::TacSkinIndex index;
    velmora::TacLoadOptions options;
    options.HueOffset = size % 7 == 0 ? 90 : 0;
    index.Load(ini, source, options);
    for (const auto& g : index.gd) index.GetMaskIndex(index.GetSkinIndex(g.ClassName), g.ClassName, "BORDERSMASK");
  } catch (const std::exception&) {
  }
  return 0;
}
