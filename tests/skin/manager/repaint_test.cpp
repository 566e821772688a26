#include "skin_manager_fixture.h"

namespace velmora::test {
namespace {

// A form that says it is skinned by `manager` (unskinned while null) and logs the skin
// commands, redraw switching and frame painting it gets.
class TRecordingForm : public fw::TForm {
 public:
  using fw::TForm::TForm;
  TsSkinManager* manager = nullptr;
  void WndProc(fw::TMessage& m) override {
    if (m.Msg == SkinCommandMessage) {
      const auto command = SkinCommandOf(m.WParam);
      if (command == scIsHandled) m.Result = manager ? 1 : 0;
      else if (command == scGetSkinManager) m.Result = reinterpret_cast<plat::LRESULT>(manager);
      else Note(std::to_string(command));
      return;
    }
    if (m.Msg == plat::WM_SETREDRAW) Note(m.WParam ? "redraw on" : "redraw off");
    if (m.Msg == plat::WM_NCPAINT) Note("frame");
    fw::TForm::WndProc(m);
  }
  void Note(const std::string& what) { Log().push_back(Name() + ":" + what); }
};

class RepaintTest : public SkinManagerTest {
 protected:
  void SetUp() override {
    SkinManagerTest::SetUp();
    manager = Manager();
    AddBuiltIn(manager, "skin");
    manager->SetSkinName("skin");
    other = Manager();
  }
  void TearDown() override {
    SkinnedForms().clear();
    RepaintHooks() = {};
    SkinManagerTest::TearDown();
  }
  TRecordingForm* Shown(const std::string& name, TsSkinManager* by) {
    auto* f = fw::NewForm<TRecordingForm>(app.get());
    f->SetName(name);
    f->manager = by;
    f->Show();
    if (by) SkinnedForms().push_back(f);
    return f;
  }
  TsSkinManager* manager = nullptr;
  TsSkinManager* other = nullptr;
};

// Only the visible, not minimised forms of this manager are frozen around the refresh and
// redrawn whole afterwards; the provider steps come at their places.
TEST_F(RepaintTest, SkinnedFormsAreFrozenAroundTheRefresh) {
  Shown("A", manager);
  plat::ShowWindow(Shown("Min", manager)->Handle(), plat::SW_MINIMIZE);
  Shown("Other", other);
  Shown("Hidden", manager)->Hide();
  Shown("Plain", nullptr);
  RepaintHooks().BeforeFreeze = [](fw::TCustomForm& f) { Log().push_back(f.Name() + ":cover"); };
  RepaintHooks().Unfrozen = [](fw::TCustomForm& f, const TacFormAnimation* a) {
    Log().push_back(f.Name() + (a ? ":animate " + std::to_string(a->Time()) : std::string(":no animation")));
  };
  RepaintHooks().RedrawBorder = [](fw::TCustomForm& f) { Log().push_back(f.Name() + ":border"); };
  Log().clear();
  manager->RepaintForms(true);
  EXPECT_EQ(Log(), (Strings{"Plain:16", "Main:16", "A:16", "Min:16", "Other:16", "Hidden:16",  //
                            "A:cover", "A:redraw off",                                            //
                            "Plain:3", "Main:3", "A:3", "Min:3", "Other:3", "Hidden:3",          //
                            "A:redraw on", "A:animate 100", "A:frame", "A:border"}));
  Log().clear();
  manager->AnimEffects()->SkinChanging.SetActive(false);
  manager->RepaintForms(true);
  EXPECT_NE(std::find(Log().begin(), Log().end(), "A:no animation"), Log().end());
  Log().clear();
  manager->RepaintForms(false);
  EXPECT_EQ(Log(), (Strings{"Plain:16", "Main:16", "A:16", "Min:16", "Other:16", "Hidden:16",  //
                            "Plain:3", "Main:3", "A:3", "Min:3", "Other:3", "Hidden:3"}));
}

// The windows the hook gave a provider are redrawn last, when visible.
TEST_F(RepaintTest, HookProviderWindowsAreRedrawnLast) {
  auto* hooked = Shown("Hooked", nullptr);
  auto* hidden = Shown("HiddenHooked", nullptr);
  hidden->Hide();
  HookProviderWindows() = {hooked->Handle(), hidden->Handle()};
  Log().clear();
  manager->RepaintForms(false);
  HookProviderWindows().clear();
  ASSERT_FALSE(Log().empty());
  EXPECT_EQ(Log().back(), "Hooked:frame");
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "HiddenHooked:frame"), 0);
}

}  // namespace
}  // namespace velmora::test
