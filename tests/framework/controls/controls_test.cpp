// Controls on forms: ownership and destruction, Loaded, the WindowProc chain, mouse enter and
// leave, painting of graphic children and key preview.
#include <string>
#include <vector>

#include "controls_fixture.h"
#include "framework/ext_controls.h"
#include "framework/form_reader.h"
#include "framework/std_controls.h"
#include "platform/wm/standard_controls.h"

namespace fw::test {
namespace {

std::vector<std::string> gLog;

// Records its destruction and Loaded, and whether its window still existed when it went.
template <class Base>
class TLogged : public Base {
 public:
  using Base::Base;
  ~TLogged() override { gLog.push_back("free " + this->Name()); }

 protected:
  void Loaded() override {
    Base::Loaded();
    gLog.push_back("loaded " + this->Name() + (this->Parent() ? " in " + this->Parent()->Name() : ""));
  }
};

class TLoggedPanel : public TLogged<TPanel> {
  FW_DECLARE_CLASS
 public:
  using TLogged<TPanel>::TLogged;
};
class TLoggedLabel : public TLogged<TLabel> {
  FW_DECLARE_CLASS
 public:
  using TLogged<TLabel>::TLogged;
};

}  // namespace

const TMetaClass& TLoggedPanel::StaticClass() {
  static const TMetaClass meta("TLoggedPanel", &TPanel::StaticClass(), FactoryFor<TLoggedPanel>());
  return meta;
}
const TMetaClass& TLoggedLabel::StaticClass() {
  static const TMetaClass meta("TLoggedLabel", &TLabel::StaticClass(), FactoryFor<TLoggedLabel>());
  return meta;
}

namespace {

using ControlTree = ControlsTest;

TEST_F(ControlTree, AFormFreesItsControlsLastFirstAndTheirWindowsGo) {
  gLog.clear();
  TForm* form = ShownForm();
  auto* panel = New<TLoggedPanel>(form);
  panel->SetName("Panel");
  panel->SetParent(form);
  auto* label = New<TLoggedLabel>(form);
  label->SetName("Label");
  label->SetParent(panel);
  auto* button = New<TButton>(form);
  button->SetParent(panel);
  plat::HWND panelWindow = panel->Handle();
  plat::HWND buttonWindow = button->Handle();
  ASSERT_TRUE(plat::IsChild(panelWindow, buttonWindow));
  EXPECT_EQ(panel->ControlCount(), 2);

  FreeComponent(label);
  EXPECT_EQ(panel->ControlCount(), 1) << "a freed control leaves its parent";
  FreeComponent(form);
  EXPECT_EQ(gLog, (std::vector<std::string>{"free Label", "free Panel"}));
  EXPECT_FALSE(plat::IsWindow(panelWindow));
  EXPECT_FALSE(plat::IsWindow(buttonWindow));
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(ControlTree, AParentFreedBeforeItsChildLeavesTheChildWithoutParent) {
  TForm* form = ShownForm();
  auto* label = New<TLabel>(form);
  auto* panel = New<TPanel>(form);
  label->SetParent(panel);
  FreeComponent(panel);
  EXPECT_EQ(label->Parent(), nullptr);
}

TEST_F(ControlTree, LoadedRunsAfterTheWholeDescriptionRootFirst) {
  RegisterClasses({&TLoggedPanel::StaticClass(), &TLoggedLabel::StaticClass()});
  gLog.clear();
  auto* form = New<TForm>(app.get());
  ReadComponentFromText(*form, R"(object Form1: TForm
  object Outer: TLoggedPanel
    object Inner: TLoggedLabel
      Caption = 'x'
    end
  end
  object Second: TLoggedLabel
  end
end)", "test");
  EXPECT_EQ(gLog, (std::vector<std::string>{"loaded Outer in Form1", "loaded Inner in Outer", "loaded Second in Form1"}));
}

using WindowProcChain = ControlsTest;

TEST_F(WindowProcChain, AReplacementSeesEveryMessageAndPassesItOn) {
  TForm* form = ShownForm();
  auto* button = New<TButton>(form);
  button->SetParent(form);
  std::vector<plat::UINT> seen;
  TWndMethod old = button->WindowProc;
  button->WindowProc = [&seen, old](TMessage& m) {
    seen.push_back(m.Msg);
    old(m);
  };
  plat::HWND h = button->Handle();
  plat::SendMessage(h, plat::WM_SETTEXT, 0, reinterpret_cast<plat::LPARAM>("Renamed"));
  button->Perform(CM_MOUSEENTER);
  plat::InvalidateRect(h, nullptr, plat::TRUE);
  plat::UpdateWindow(h);
  for (plat::UINT m : {plat::WM_SETTEXT, CM_MOUSEENTER, plat::WM_PAINT})
    EXPECT_NE(std::find(seen.begin(), seen.end(), m), seen.end()) << std::hex << m;
  EXPECT_EQ(plat::GetWindowTextString(h), "Renamed") << "the platform's procedure still runs";
  EXPECT_TRUE(button->MouseInClient()) << "the framework's handling still runs";
}

TEST_F(WindowProcChain, TheWindowClassIsNamedAfterTheControlAndBuiltOnThePlatformClass) {
  TForm* form = ShownForm();
  auto* button = New<TButton>(form);
  button->SetParent(form);
  char name[64];
  plat::GetClassName(button->Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TButton");
  plat::GetClassName(form->Handle(), name, sizeof name);
  EXPECT_STREQ(name, "TForm");
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  plat::SendMessage(button->Handle(), plat::BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1) << "the platform button's notification comes back as a click";
}

using MouseTracking = ControlsTest;

TEST_F(MouseTracking, EnterAndLeaveFollowThePointerBetweenWindowedAndGraphicControls) {
  TForm* form = ShownForm(100, 100, 300, 200);
  auto* label = New<TLabel>(form);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 80, 40);
  label->SetName("Label");
  label->SetParent(form);
  auto* panel = New<TPanel>(form);
  panel->SetBounds(150, 10, 80, 40);
  panel->SetName("Panel");
  panel->SetParent(form);
  std::vector<std::string> events;
  for (TControl* c : std::initializer_list<TControl*>{form, label, panel}) {
    const std::string name = c == form ? "Form" : c->Name();
    c->OnMouseEnter = [&events, name](TObject*) { events.push_back("enter " + name); };
    c->OnMouseLeave = [&events, name](TObject*) { events.push_back("leave " + name); };
  }
  Pump();
  for (plat::POINT p : {plat::POINT{105, 180}, {120, 120}, {270, 120}, {120, 125}, {600, 600}}) {
    screen->MovePointer(p);
    Pump();
  }
  EXPECT_EQ(events, (std::vector<std::string>{"enter Form", "leave Form", "enter Label", "leave Label",
                                              "enter Panel", "leave Panel", "enter Label", "leave Label"}));
}

// A graphic control that fills itself with one colour.
class TSwatch : public TGraphicControl {
 public:
  TSwatch(TComponent* owner, TColor c) : TGraphicControl(owner), color(c) {}
  void Paint() override {
    Canvas().Brush().SetColor(color);
    Canvas().FillRect(ClientRect());
  }
  TColor color;
};

TEST_F(ControlTree, GraphicChildrenArePaintedInOrderOverTheirParent) {
  TForm* form = ShownForm(0, 0, 200, 100);
  form->SetColor(clWhite);
  auto* red = New<TSwatch>(form, clRed);
  red->SetBounds(10, 10, 50, 50);
  red->SetParent(form);
  auto* blue = New<TSwatch>(form, clBlue);
  blue->SetBounds(40, 20, 50, 50);
  blue->SetParent(form);
  form->Repaint();
  Pump();
  const plat::Bitmap& shot = screen->Screen();
  auto at = [&](int x, int y) { return shot.Row(y)[x]; };
  EXPECT_EQ(at(15, 15), plat::MakePixel(255, 0, 0, 255));
  EXPECT_EQ(at(50, 40), plat::MakePixel(0, 0, 255, 255)) << "the later control lies over the earlier";
  EXPECT_EQ(at(150, 80), plat::MakePixel(255, 255, 255, 255));
  blue->BringToFront();
  red->BringToFront();
  form->Repaint();
  Pump();
  EXPECT_EQ(screen->Screen().Row(40)[50], plat::MakePixel(255, 0, 0, 255));
}

struct PreviewCase {
  bool keyPreview;
  bool formEatsKey;
  std::vector<std::string> expected;
};

class KeyPreview : public ControlsTest, public ::testing::WithParamInterface<PreviewCase> {};

TEST_P(KeyPreview, TheFormSeesKeysBeforeTheFocusedControlWhenAskedTo) {
  const PreviewCase& c = GetParam();
  TForm* form = ShownForm();
  form->SetKeyPreview(c.keyPreview);
  auto* button = New<TButton>(form);
  button->SetParent(form);
  button->SetFocus();
  Pump();
  std::vector<std::string> seen;
  form->OnKeyUp = [&](TObject*, plat::WORD& key, TShiftState) {
    seen.push_back("form");
    if (c.formEatsKey) key = 0;
  };
  button->OnKeyUp = [&](TObject*, plat::WORD&, TShiftState) { seen.push_back("button"); };
  screen->KeyDown('A', 'a');
  screen->KeyUp('A');
  Pump();
  EXPECT_EQ(seen, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyPreview,
                         ::testing::Values(PreviewCase{true, false, {"form", "button"}},
                                           PreviewCase{true, true, {"form"}},
                                           PreviewCase{false, false, {"button"}}));

}  // namespace
}  // namespace fw::test
