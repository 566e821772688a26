// Hints on the virtual clock: which controls show theirs, the pause before the hint window
// appears under the pointer, and what hides it again.
#include "controls_fixture.h"
#include "framework/hint_window.h"
#include "framework/std_controls.h"

namespace fw::test {
namespace {

class HintFixture : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = ShownForm(100, 100, 300, 200);
    button = New<TButton>(form);
    button->SetBounds(20, 20, 80, 30);
    button->SetHint("Save|Writes the file");
    button->SetParent(form);
    Pump();
  }
  // Rests the pointer on a point of the form for ms milliseconds.
  void Rest(plat::POINT client, unsigned ms) {
    screen->MovePointer(form->ClientToScreen(client));
    Pump();
    plat::Sleep(ms);
    Pump();
  }
  bool HintShown() const {
    THintWindow* w = app->HintWindow();
    return w && w->HandleAllocated() && plat::IsWindowVisible(w->Handle());
  }

  TForm* form = nullptr;
  TButton* button = nullptr;
};

struct WhoCase {
  const char* name;
  std::function<void(TApplication&, TForm&, TButton&)> setup;
  bool shown;
};
void PrintTo(const WhoCase& c, std::ostream* os) { *os << c.name; }

class WhoShowsHints : public HintFixture, public ::testing::WithParamInterface<WhoCase> {};

TEST_P(WhoShowsHints, AHintShowsOnlyWhenTheControlAndTheApplicationBothAllowIt) {
  GetParam().setup(*app, *form, *button);
  Rest({40, 30}, 600);
  EXPECT_EQ(HintShown(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, WhoShowsHints,
    ::testing::Values(
        WhoCase{"Nobody", [](TApplication&, TForm&, TButton&) {}, false},
        WhoCase{"ItsOwnShowHint", [](TApplication&, TForm&, TButton& b) { b.SetShowHint(true); }, true},
        WhoCase{"TheFormsThroughParentShowHint", [](TApplication&, TForm& f, TButton&) { f.SetShowHint(true); }, true},
        WhoCase{"OwnSettingBeatsTheForms",
                [](TApplication&, TForm& f, TButton& b) {
                  b.SetShowHint(false);
                  f.SetShowHint(true);
                },
                false},
        WhoCase{"ApplicationOff",
                [](TApplication& a, TForm&, TButton& b) {
                  b.SetShowHint(true);
                  a.SetShowHint(false);
                },
                false},
        WhoCase{"NoShortPart",
                [](TApplication&, TForm&, TButton& b) {
                  b.SetShowHint(true);
                  b.SetHint("|only the long part");
                },
                false},
        WhoCase{"RefusedOnHintShow",
                [](TApplication&, TForm&, TButton& b) {
                  b.SetShowHint(true);
                  TWndMethod old = b.WindowProc;
                  b.WindowProc = [old](TMessage& m) {
                    if (m.Msg == CM_HINTSHOW) m.Result = 1;
                    else old(m);
                  };
                },
                false}));

using ParentShowHint = HintFixture;

TEST_F(ParentShowHint, ChildrenFollowTheParentUntilTheyHaveASettingOfTheirOwn) {
  auto* label = New<TLabel>(form);
  label->SetParent(form);
  EXPECT_TRUE(label->ParentShowHint());
  form->SetShowHint(true);
  EXPECT_TRUE(label->ShowHint());
  EXPECT_TRUE(button->ShowHint());
  EXPECT_TRUE(label->ParentShowHint()) << "taking the parent's setting is no setting of its own";
  button->SetShowHint(false);
  EXPECT_FALSE(button->ParentShowHint());
  form->SetShowHint(false);
  form->SetShowHint(true);
  EXPECT_FALSE(button->ShowHint());
  button->SetParentShowHint(true);
  EXPECT_TRUE(button->ShowHint());
}

using HintTiming = HintFixture;

TEST_F(HintTiming, TheHintAppearsAfterThePauseUnderThePointerAndGoesWhenThePointerLeaves) {
  button->SetShowHint(true);
  Rest({40, 30}, 450);
  EXPECT_FALSE(HintShown()) << "before the pause is over";
  plat::Sleep(60);
  Pump();
  ASSERT_TRUE(HintShown());
  THintWindow* hint = app->HintWindow();
  EXPECT_EQ(hint->Caption(), "Save") << "the short part";
  plat::RECT r;
  plat::GetWindowRect(hint->Handle(), &r);
  const plat::POINT pointer = form->ClientToScreen({40, 30});
  EXPECT_EQ(r.left, pointer.x);
  EXPECT_EQ(r.top, pointer.y + 16);
  EXPECT_GT(r.right - r.left, 10);
  EXPECT_EQ(screen->ScreenPixel(r.left + 2, r.bottom - 2), plat::ColorToPixel(ColorToRGB(clInfoBk)));
  EXPECT_NE(plat::GetActiveWindow(), hint->Handle()) << "a hint never takes the activation";

  Rest({200, 150}, 0);
  EXPECT_FALSE(HintShown()) << "the pointer left the control";
  Rest({40, 30}, 600);
  EXPECT_TRUE(HintShown()) << "back again, after the pause again";
  screen->Press();
  Pump();
  EXPECT_FALSE(HintShown()) << "a press hides it";
  screen->Release();
  Rest({200, 150}, 0);
  Rest({40, 30}, 600);
  ASSERT_TRUE(HintShown());
  plat::Sleep(2600);
  Pump();
  EXPECT_FALSE(HintShown()) << "shown long enough";
  Rest({200, 150}, 0);
  Rest({40, 30}, 600);
  ASSERT_TRUE(HintShown());
  app->SetShowHint(false);
  EXPECT_FALSE(HintShown()) << "switching hints off hides the one shown";
}

TEST_F(HintTiming, AGraphicControlsHintShowsAndAFreedControlTakesItsHintAlong) {
  auto* label = New<TLabel>(form);
  label->SetAutoSize(false);
  label->SetBounds(150, 20, 80, 30);
  label->SetHint("Label hint");
  label->SetShowHint(true);
  label->SetParent(form);
  Rest({160, 30}, 600);
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(app->HintWindow()->Caption(), "Label hint");
  FreeComponent(label);
  EXPECT_FALSE(HintShown());
  plat::Sleep(600);
  Pump();
  EXPECT_FALSE(HintShown());
}

}  // namespace
}  // namespace fw::test
