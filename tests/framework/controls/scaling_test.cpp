// Forms stored at 96 dots per inch shown on screens of other resolutions: sizes, places and
// fonts scale by the ratio, fonts that follow the form follow its scaled font, docked controls
// stay docked; an unscaled form keeps its stored sizes.
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "framework/stored_properties.h"
#include "platform/display/headless/headless_display.h"
#include "platform/wm/wm.h"

namespace fw::test {
namespace {

class TScaledForm : public TForm {
  FW_DECLARE_CLASS

 public:
  using TForm::TForm;
  TLabel* Label1 = nullptr;
  TButton* Button1 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
};

}  // namespace

const TMetaClass& TScaledForm::StaticClass() {
  static const TMetaClass meta("TScaledForm", &TForm::StaticClass(), FactoryFor<TScaledForm>(),
                               Stored<TScaledForm>([](auto& b) {
                                 b.Field("Label1", &TScaledForm::Label1);
                                 b.Field("Button1", &TScaledForm::Button1);
                                 b.Field("StatusBar1", &TScaledForm::StatusBar1);
                               }));
  return meta;
}

namespace {

struct Expected {
  int dpi;
  int clientWidth, clientHeight, formFont;
  plat::RECT button;
  int buttonFont;
  int barTop;
};

class Scaling : public ::testing::TestWithParam<Expected> {
 protected:
  void SetUp() override {
    plat::display::HeadlessDisplay::Options options;
    options.dotsPerInch = GetParam().dpi;
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>(options));
    app = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    app.reset();
    plat::ShutdownPlatform();
  }
  std::unique_ptr<TApplication> app;
};

TEST_P(Scaling, StoredSizesAndFontsFollowTheScreensResolution) {
  const Expected& e = GetParam();
  EXPECT_EQ(Screen->PixelsPerInch(), e.dpi);
  TScaledForm* form = nullptr;
  app->CreateForm(form);
  EXPECT_EQ(form->ClientWidth(), e.clientWidth);
  EXPECT_EQ(form->ClientHeight(), e.clientHeight);
  EXPECT_EQ(form->Font()->Height(), e.formFont);
  EXPECT_EQ(form->Label1->Font()->Height(), e.formFont) << "a label with the form's font follows it";
  EXPECT_EQ(form->Button1->BoundsRect(), e.button);
  EXPECT_EQ(form->Button1->Font()->Height(), e.buttonFont);
  EXPECT_EQ(form->StatusBar1->Top(), e.barTop) << "still docked at the bottom";
  EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), e.clientHeight);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, Scaling,
                         ::testing::Values(Expected{96, 368, 224, -11, {24, 48, 116, 103}, -24, 205},
                                           Expected{144, 552, 336, -17, {36, 72, 174, 155}, -36, 307},
                                           Expected{120, 460, 280, -14, {30, 60, 145, 129}, -30, 256}));

}  // namespace
}  // namespace fw::test
