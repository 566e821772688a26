// A form's window on the screen: where it is placed when shown, and its alpha blending.
#include "controls_fixture.h"

namespace fw::test {
namespace {

struct PlaceCase {
  const char* name;
  TPosition position;
  plat::POINT expected;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class FormPlacement : public ControlsTest, public ::testing::WithParamInterface<PlaceCase> {};

// The headless screen is 1920 x 1080 with a 40-pixel task bar at the bottom.
TEST_P(FormPlacement, AShownFormIsCentredOnTheAreaItsPositionNames) {
  ASSERT_EQ(Screen->WorkAreaRect().bottom, 1040);
  TForm* form = NewForm<TForm>(app.get());
  form->SetBorderStyle(bsNone);
  form->SetBounds(5, 7, 400, 300);
  form->SetPosition(GetParam().position);
  form->Show();
  Pump();
  plat::RECT r;
  plat::GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.left, GetParam().expected.x);
  EXPECT_EQ(r.top, GetParam().expected.y);
  EXPECT_EQ(form->Left(), r.left);
  EXPECT_EQ(form->Top(), r.top);
}

INSTANTIATE_TEST_SUITE_P(Positions, FormPlacement,
                         ::testing::Values(PlaceCase{"ScreenCentreIsTheWorkAreas", poScreenCenter, {760, 370}},
                                           PlaceCase{"DesktopCentreIsTheWholeScreens", poDesktopCenter, {760, 390}},
                                           PlaceCase{"MainFormCentreWithoutAMainFormIsTheScreens", poMainFormCenter,
                                                     {760, 370}},
                                           PlaceCase{"DesignedStays", poDesigned, {5, 7}}));

using AlphaBlending = ControlsTest;

TEST_F(AlphaBlending, TheWindowBecomesLayeredWithTheValueAndPlainAgainWhenOff) {
  TForm* form = ShownForm(100, 100, 200, 100);
  form->SetColor(clWhite);
  Pump();
  const plat::HWND h = form->Handle();
  const plat::Pixel desktop = screen->ScreenPixel(10, 10);
  ASSERT_EQ(screen->ScreenPixel(150, 150), plat::MakePixel(255, 255, 255, 255));

  form->SetAlphaBlendValue(128);
  form->SetAlphaBlend(true);
  Pump();
  EXPECT_EQ(form->Handle(), h) << "the window keeps its handle";
  EXPECT_NE(plat::GetWindowLong(h, plat::GWL_EXSTYLE) & plat::WS_EX_LAYERED, 0);
  plat::BYTE alpha = 0;
  plat::DWORD flags = 0;
  ASSERT_TRUE(plat::GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, plat::LWA_ALPHA);
  const plat::Pixel blended = screen->ScreenPixel(150, 150);
  for (auto channel : {plat::PixelR, plat::PixelG, plat::PixelB}) {
    const int expected = channel(desktop) + (255 - channel(desktop)) * 128 / 255;
    EXPECT_NEAR(channel(blended), expected, 2);
  }

  form->SetAlphaBlendValue(255 + 10);
  EXPECT_EQ(form->AlphaBlendValue(), 255) << "the value is a byte";
  ASSERT_TRUE(plat::GetLayeredWindowAttributes(h, nullptr, &alpha, nullptr));
  EXPECT_EQ(alpha, 255) << "a new value reaches the window at once";

  form->SetAlphaBlendValue(0);
  form->SetAlphaBlend(false);
  Pump();
  EXPECT_EQ(plat::GetWindowLong(h, plat::GWL_EXSTYLE) & plat::WS_EX_LAYERED, 0);
  EXPECT_EQ(screen->ScreenPixel(150, 150), plat::MakePixel(255, 255, 255, 255)) << "opaque again";
}

TEST_F(AlphaBlending, AFormBlendedBeforeItHasAWindowGetsALayeredOne) {
  TForm* form = NewForm<TForm>(app.get());
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(40);
  plat::BYTE alpha = 0;
  ASSERT_TRUE(plat::GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, nullptr));
  EXPECT_EQ(alpha, 40);
}

}  // namespace
}  // namespace fw::test
