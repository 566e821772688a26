// Forms and the application: modal results with the owner disabled, the main loop ending with
// the main form, timers on the virtual clock, exceptions in the standard box, and a form built
// from its stored description.
#include <stdexcept>

#include "controls_fixture.h"
#include "framework/ext_controls.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "framework/stored_properties.h"
#include "framework/timer.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/standard_controls.h"

namespace fw::test {
namespace {

using ModalForms = ControlsTest;

struct ModalSetup {
  TForm* owner;
  TForm* dialog;
  TButton* ok;
};

ModalSetup MakeModal(ControlsTest& t, TApplication& app) {
  (void)t;
  TForm* owner = nullptr;
  app.CreateForm(owner);
  owner->SetBounds(50, 50, 300, 200);
  owner->SetPosition(poDesigned);
  owner->Show();
  TForm* dialog = NewForm<TForm>(&app);
  dialog->SetBorderStyle(bsDialog);
  dialog->SetPosition(poScreenCenter);
  dialog->SetBounds(0, 0, 240, 140);
  auto* ok = New<TButton>(dialog);
  ok->SetParent(dialog);
  ok->SetBounds(20, 20, 80, 30);
  ok->SetModalResult(mrOk);
  app.ProcessMessages();
  return {owner, dialog, ok};
}

TEST_F(ModalForms, TheButtonsModalResultEndsTheLoopWithTheOwnerDisabledMeanwhile) {
  ModalSetup s = MakeModal(*this, *app);
  bool ownerEnabledMeanwhile = true;
  OnIdle([&] {
    ownerEnabledMeanwhile = plat::IsWindowEnabled(s.owner->Handle()) != 0;
    plat::POINT p = s.ok->ClientToScreen({10, 10});
    screen->Click(p);
    return true;
  });
  EXPECT_EQ(s.dialog->ShowModal(), mrOk);
  EXPECT_FALSE(ownerEnabledMeanwhile);
  EXPECT_TRUE(plat::IsWindowEnabled(s.owner->Handle()));
  EXPECT_FALSE(s.dialog->Visible());
}

TEST_F(ModalForms, ClosingFromTheTitleBarGivesCancelAndRunsOnClose) {
  ModalSetup s = MakeModal(*this, *app);
  int closes = 0;
  s.dialog->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  OnIdle([&] {
    plat::PostMessage(s.dialog->Handle(), plat::WM_SYSCOMMAND, plat::SC_CLOSE, 0);
    return true;
  });
  EXPECT_EQ(s.dialog->ShowModal(), mrCancel);
  EXPECT_EQ(closes, 1);
  OnIdle([&] {
    plat::PostMessage(s.dialog->Handle(), plat::WM_KEYDOWN, plat::VK_ESCAPE, 0);
    s.ok->SetCancel(true);
    return true;
  });
  EXPECT_EQ(s.dialog->ShowModal(), mrOk) << "Escape clicks the cancel button, which carries mrOk here";
}

using ApplicationLoop = ControlsTest;

TEST_F(ApplicationLoop, RunEndsWhenTheMainFormClosesAndTimersTickOnTheVirtualClock) {
  TForm* main = nullptr;
  app->CreateForm(main);
  EXPECT_EQ(app->MainForm(), main);
  TForm* second = nullptr;
  app->CreateForm(second);
  EXPECT_EQ(app->MainForm(), main) << "only the first form becomes the main form";
  auto* timer = New<TTimer>(main);
  timer->SetInterval(400);
  int ticks = 0;
  const auto start = plat::GetTickCount64();
  timer->SetOnTimer([&](TObject*) {
    if (++ticks == 3) main->Close();
  });
  app->Run();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(plat::GetTickCount64() - start, 1200u);
  EXPECT_TRUE(app->Terminated());
}

TEST_F(ApplicationLoop, AStoppedTimerDoesNotTick) {
  TForm* main = nullptr;
  app->CreateForm(main);
  auto* idle = New<TTimer>(main);
  int idleTicks = 0;
  idle->SetOnTimer([&](TObject*) { ++idleTicks; });
  idle->SetEnabled(false);
  auto* closer = New<TTimer>(main);
  closer->SetInterval(1000);
  closer->SetOnTimer([&](TObject*) { main->Close(); });
  idle->SetInterval(100);
  app->Run();
  EXPECT_EQ(idleTicks, 0);
}

struct BoxCase {
  std::function<void()> raise;
  std::string text;
};
// Test names stay the same from run to run (the default printer dumps bytes).
void PrintTo(const BoxCase& c, std::ostream* os) { *os << (c.text.empty() ? "foreign exception" : c.text); }

class ExceptionBox : public ControlsTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(ExceptionBox, AnExceptionEscapingAnEventIsShownInTheStandardBox) {
  TForm* main = nullptr;
  app->CreateForm(main);
  app->SetTitle("Velmora");
  main->SetPosition(poDesigned);
  main->SetBounds(100, 100, 300, 200);
  auto* button = New<TButton>(main);
  button->SetParent(main);
  button->SetBounds(10, 10, 80, 30);
  button->OnClick = [](TObject*) { GetParam().raise(); };
  main->Show();
  Pump();
  std::optional<plat::ShownMessageBox> shown;
  OnIdle([&] {
    if (auto box = plat::FindShownMessageBox()) {
      shown = box;
      plat::PressMessageBoxButton(box->window, 0);
      return true;
    }
    return false;
  });
  screen->Click(button->ClientToScreen({5, 5}));
  Pump();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->text, GetParam().text);
  EXPECT_EQ(shown->caption, "Velmora");
  EXPECT_EQ(shown->type & plat::MB_ICONMASK, plat::MB_ICONSTOP);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExceptionBox,
                         ::testing::Values(BoxCase{[] { throw EInvalidOperation("Level not written"); },
                                                   "Level not written."},
                                           BoxCase{[] { throw std::runtime_error("foreign"); }, ""}));

// A form class of its own, read from its embedded description.
class TDescribedForm : public TForm {
  FW_DECLARE_CLASS

 public:
  using TForm::TForm;
  void FormCreate(TObject*) { created = Label1 != nullptr; }
  void FormShow(TObject*) { ++shows; }
  void Button1Click(TObject*) { ++clicks; }
  void SpeedButton1Click(TObject*) {}
  void Timer1Timer(TObject*) {}
  TLabel* Label1 = nullptr;
  TButton* Button1 = nullptr;
  bool created = false;
  int shows = 0;
  int clicks = 0;
};

}  // namespace

const TMetaClass& TDescribedForm::StaticClass() {
  static const TMetaClass meta("TDescribedForm", &TForm::StaticClass(), FactoryFor<TDescribedForm>(),
                               Stored<TDescribedForm>([](auto& b) {
                                 b.Handler("FormCreate", &TDescribedForm::FormCreate);
                                 b.Handler("FormShow", &TDescribedForm::FormShow);
                                 b.Handler("Button1Click", &TDescribedForm::Button1Click);
                                 b.Handler("SpeedButton1Click", &TDescribedForm::SpeedButton1Click);
                                 b.Handler("Timer1Timer", &TDescribedForm::Timer1Timer);
                                 b.Field("Label1", &TDescribedForm::Label1);
                                 b.Field("Button1", &TDescribedForm::Button1);
                               }));
  return meta;
}

namespace {

using Descriptions = ControlsTest;

TEST_F(Descriptions, AFormDescriptionBuildsEachControlKind) {
  TDescribedForm* form = nullptr;
  app->CreateForm(form);
  EXPECT_TRUE(form->created) << "OnCreate runs after the description is read";
  EXPECT_EQ(form->ClientWidth(), 368);
  EXPECT_EQ(form->ClientHeight(), 224);
  EXPECT_TRUE(form->KeyPreview());
  const char* kinds[] = {"TLabel", "TSpeedButton", "TButton", "TPanel", "TImage", "TStatusBar", "TTimer"};
  ASSERT_EQ(form->ComponentCount(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(form->Components(i)->ClassName(), kinds[i]);
  EXPECT_EQ(form->Button1->Font()->Height(), -24);
  EXPECT_FALSE(form->Button1->ParentFont());
  EXPECT_EQ(form->Button1->ModalResult(), mrOk);
  EXPECT_EQ(form->Button1->Cursor(), crHandPoint);
  EXPECT_EQ(form->Label1->Font()->Name(), "Tahoma") << "a control without a font of its own takes the form's";
  auto* bar = static_cast<TStatusBar*>(form->FindComponent("StatusBar1"));
  ASSERT_EQ(bar->Panels()->Count(), 2);
  EXPECT_EQ(bar->Panels()->Items(1)->Alignment(), taCenter);
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(bar->Top(), 224 - 19);
  auto* timer = static_cast<TTimer*>(form->FindComponent("Timer1"));
  EXPECT_EQ(timer->Interval(), 400u);
  form->Show();
  Pump();
  EXPECT_EQ(form->shows, 1);
  const plat::RECT r = form->BoundsRect();
  EXPECT_EQ((r.left + r.right) / 2, plat::GetSystemMetrics(plat::SM_CXSCREEN) / 2) << "poScreenCenter";
  screen->Click(form->Button1->ClientToScreen({10, 10}));
  Pump();
  EXPECT_EQ(form->clicks, 1);
}

}  // namespace
}  // namespace fw::test
