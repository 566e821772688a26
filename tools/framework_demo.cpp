// A form built from its stored description with one of each standard control, shown on the
// headless screen and saved as a PNG.
//   framework_demo [out.png]
#include <cmath>
#include <cstdio>

#include "framework/application.h"
#include "framework/ext_controls.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "framework/stored_properties.h"
#include "platform/display/headless/headless_display.h"

namespace {

using namespace fw;

class TFrameworkDemo : public TForm {
  FW_DECLARE_CLASS

 public:
  using TForm::TForm;
  TSpeedButton* SpeedButton1 = nullptr;
  TImage* Image1 = nullptr;
};

const TMetaClass& TFrameworkDemo::StaticClass() {
  static const TMetaClass meta("TFrameworkDemo", &TForm::StaticClass(), FactoryFor<TFrameworkDemo>(),
                               Stored<TFrameworkDemo>([](auto& b) {
                                 b.Field("SpeedButton1", &TFrameworkDemo::SpeedButton1);
                                 b.Field("Image1", &TFrameworkDemo::Image1);
                               }));
  return meta;
}

// A premultiplied 32-bit disc of a colour with a soft edge, and a ring inside it.
void PaintDisc(TBitmap& bmp, int size, plat::BYTE r, plat::BYTE g, plat::BYTE b, bool ring) {
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(size, size);
  bmp.SetAlphaFormat(afPremultiplied);
  const double c = size / 2.0;
  for (int y = 0; y < size; ++y) {
    auto* row = bmp.ScanLine(y);
    for (int x = 0; x < size; ++x) {
      const double d = std::hypot(x + 0.5 - c, y + 0.5 - c);
      double a = std::clamp(c - 1 - d, 0.0, 1.0);
      if (ring && d < c * 0.55 && d > c * 0.35) a = 0;
      const auto alpha = static_cast<plat::BYTE>(std::lround(255 * a));
      row[x * 4 + 0] = static_cast<plat::BYTE>(b * a);
      row[x * 4 + 1] = static_cast<plat::BYTE>(g * a);
      row[x * 4 + 2] = static_cast<plat::BYTE>(r * a);
      row[x * 4 + 3] = alpha;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : "framework-controls.png";
  auto owned = std::make_unique<plat::display::HeadlessDisplay>();
  plat::display::HeadlessDisplay* screen = owned.get();
  plat::InitPlatform(std::move(owned));
  {
    TApplication app(nullptr);
    TFrameworkDemo* form = nullptr;
    app.CreateForm(form);
    TBitmap glyph;
    PaintDisc(glyph, 24, 255, 255, 255, true);
    form->SpeedButton1->SetGlyph(&glyph);
    TBitmap badge;
    PaintDisc(badge, 64, 0x20, 0x30, 0x48, true);
    form->Image1->Picture()->SetGraphic(&badge);
    form->Show();
    app.ProcessMessages();
    // The pointer over the flat speed button shows its hot edge.
    screen->MovePointer(form->SpeedButton1->ClientToScreen({10, 10}));
    app.ProcessMessages();
    const plat::RECT area = form->BoundsRect();
    screen->SaveScreenPng(out, &area);
  }
  plat::ShutdownPlatform();
  std::printf("%s\n", out);
  return 0;
}
