// Tab and Shift+Tab between the controls of a form, and a window made again under a control.
#include <string>
#include <vector>

#include "controls_fixture.h"
#include "framework/ext_controls.h"
#include "framework/std_controls.h"

namespace fw::test {
namespace {

// A form whose controls are, in tab order: E, A, B (no tab stop), C (disabled), D (hidden),
// the panel P (no tab stop) and F inside it.
struct TabForm {
  TForm* form = nullptr;
  std::vector<TWinControl*> all;
  TWinControl* Named(const std::string& name) const {
    for (TWinControl* c : all)
      if (c->Name() == name) return c;
    return nullptr;
  }
};

class TabFixture : public ControlsTest {
 protected:
  TabForm MakeTabForm();
};

TabForm TabFixture::MakeTabForm() {
  TabForm s;
  s.form = ShownForm();
  auto add = [&](const char* name, TWinControl* parent, int x) {
    auto* b = New<TButton>(s.form);
    b->SetName(name);
    b->SetBounds(x, 10, 30, 20);
    b->SetParent(parent);
    s.all.push_back(b);
    return b;
  };
  add("A", s.form, 0);
  add("B", s.form, 40)->SetTabStop(false);
  add("C", s.form, 80)->SetEnabled(false);
  add("D", s.form, 120)->SetVisible(false);
  add("E", s.form, 160)->SetTabOrder(0);
  auto* panel = New<TPanel>(s.form);
  panel->SetName("P");
  panel->SetBounds(0, 50, 200, 60);
  panel->SetParent(s.form);
  s.all.push_back(panel);
  add("F", panel, 10);
  Pump();
  return s;
}

std::string FocusedName() {
  TWinControl* c = TWinControl::FindControl(plat::GetFocus());
  return c ? c->Name() : "";
}

struct TabCase {
  const char* name;
  bool shift;
  std::vector<std::string> expected;
};
void PrintTo(const TabCase& c, std::ostream* os) { *os << c.name; }

class TabNavigation : public TabFixture, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabNavigation, TabKeysMoveTheFocusAmongFocusableTabStopsInTabOrderAndWrap) {
  TabForm s = MakeTabForm();
  s.Named("A")->SetFocus();
  Pump();
  ASSERT_EQ(FocusedName(), "A");
  if (GetParam().shift) screen->KeyDown(plat::VK_SHIFT);
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < GetParam().expected.size(); ++i) {
    screen->KeyDown(plat::VK_TAB, '\t');
    screen->KeyUp(plat::VK_TAB);
    Pump();
    seen.push_back(FocusedName());
  }
  if (GetParam().shift) screen->KeyUp(plat::VK_SHIFT);
  EXPECT_EQ(seen, GetParam().expected);
  EXPECT_EQ(s.form->ActiveControl(), s.Named(seen.back())) << "the form follows the focus";
}

INSTANTIATE_TEST_SUITE_P(Directions, TabNavigation,
                         ::testing::Values(TabCase{"Forward", false, {"F", "E", "A", "F"}},
                                           TabCase{"Backward", true, {"E", "F", "A", "E"}}));

using TabFromForm = TabFixture;

TEST_F(TabFromForm, TabFromTheFormItselfGoesToTheFirstStopAndNoStopLeavesTheFocus) {
  TabForm s = MakeTabForm();
  plat::SetFocus(s.form->Handle());
  Pump();
  screen->KeyDown(plat::VK_TAB, '\t');
  screen->KeyUp(plat::VK_TAB);
  Pump();
  EXPECT_EQ(FocusedName(), "E");
  for (const char* name : {"A", "E", "F"}) s.Named(name)->SetTabStop(false);
  s.Named("A")->SetFocus();
  screen->KeyDown(plat::VK_TAB, '\t');
  screen->KeyUp(plat::VK_TAB);
  Pump();
  EXPECT_EQ(FocusedName(), "A");
}

TEST_F(TabFromForm, AFormShownForTheFirstTimeFocusesItsFirstTabStop) {
  TForm* form = NewForm<TForm>(app.get());
  form->SetBounds(100, 100, 300, 200);
  for (const char* name : {"Late", "First"}) {
    auto* b = New<TButton>(form);
    b->SetName(name);
    b->SetParent(form);
  }
  static_cast<TWinControl*>(form->FindComponent("First"))->SetTabOrder(0);
  form->Show();
  Pump();
  EXPECT_EQ(FocusedName(), "First");
}

using RecreateWindow = ControlsTest;

TEST_F(RecreateWindow, ANewWindowKeepsTheStateAndTheChildrenMoveOntoIt) {
  TForm* form = ShownForm(100, 100, 300, 200);
  form->SetCaption("Keep me");
  auto* panel = New<TPanel>(form);
  panel->SetBounds(10, 20, 150, 100);
  panel->SetCaption("Panel");
  panel->SetParent(form);
  auto* button = New<TButton>(form);
  button->SetBounds(5, 6, 70, 25);
  button->SetParent(panel);
  Pump();
  plat::SendMessage(button->Handle(), plat::WM_SETTEXT, 0, reinterpret_cast<plat::LPARAM>("Typed"));
  button->SetFocus();
  Pump();
  const plat::HWND oldForm = form->Handle();
  const plat::HWND oldPanel = panel->Handle();
  const plat::HWND oldButton = button->Handle();
  int shows = 0;
  form->OnShow = [&](TObject*) { ++shows; };

  form->RecreateWnd();
  Pump();
  EXPECT_FALSE(plat::IsWindow(oldForm));
  EXPECT_FALSE(plat::IsWindow(oldPanel));
  EXPECT_FALSE(plat::IsWindow(oldButton));
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_NE(form->Handle(), oldForm);
  EXPECT_EQ(plat::GetParent(panel->Handle()), form->Handle());
  EXPECT_EQ(plat::GetParent(button->Handle()), panel->Handle());
  EXPECT_TRUE(plat::IsWindowVisible(form->Handle()));
  EXPECT_EQ(shows, 0) << "a new window is not a new showing";
  plat::RECT r;
  plat::GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(plat::GetWindowTextString(form->Handle()), "Keep me");
  EXPECT_EQ(plat::GetWindowTextString(panel->Handle()), "Panel");
  EXPECT_EQ(button->Caption(), "Typed") << "text set on the old window survives";
  EXPECT_EQ(plat::GetWindowTextString(button->Handle()), "Typed");
  EXPECT_EQ(button->BoundsRect().left, 5);
  EXPECT_TRUE(button->Focused()) << "the focus comes back to the control that had it";
  EXPECT_TRUE(button->CanFocus());
  EXPECT_NE(plat::GetWindowLong(button->Handle(), plat::GWL_STYLE) & plat::WS_TABSTOP, 0);
  EXPECT_EQ(TWinControl::FindControl(button->Handle()), button);
}

}  // namespace
}  // namespace fw::test
