#include "framework/timer.h"
#include "platform/wm/menu_popup.h"
#include "skin_manager_fixture.h"

namespace velmora::test {
namespace {

// The framework's message form, by its class name.
class TMessageForm : public TLogForm {
  FW_DECLARE_CLASS
 public:
  using TLogForm::TLogForm;
};
const fw::TMetaClass& TMessageForm::StaticClass() {
  static const fw::TMetaClass meta("TMessageForm", &fw::TForm::StaticClass(), nullptr);
  return meta;
}

const char* TargetName(THookTarget t) {
  switch (t) {
    case THookTarget::Form: return "form";
    case THookTarget::Dialog: return "dialog";
    case THookTarget::PopupMenu: return "menu";
  }
  return "?";
}

// Tells the log when it is initialised (and whether its window was listed by then) and freed.
class TFakeProvider : public TacHookProvider {
 public:
  TFakeProvider(std::string name, const THookRequest& r) : name_(std::move(name)), request_(r) {}
  ~TFakeProvider() override { Log().push_back(std::string("free ").append(name_)); }
  void Initialize() override {
    const auto listed = request_.Manager->HookedWindows();
    const bool inList = std::find(listed.begin(), listed.end(), request_.Window) != listed.end();
    Log().push_back(std::string("init ").append(name_).append(inList ? " listed" : " unlisted"));
  }

 private:
  std::string name_;
  THookRequest request_;
};

// A factory that makes a provider for whatever it is asked, named after the request.
class HookTest : public SkinManagerTest {
 protected:
  void SetUp() override {
    SkinManagerTest::SetUp();
    SetHookProviderFactory([](const THookRequest& r) -> std::unique_ptr<TacHookProvider> {
      std::string name = TargetName(r.Target);
      if (r.Form) name.append(" ").append(r.Form->Name());
      return std::make_unique<TFakeProvider>(name, r);
    });
    manager = Manager();
    AddBuiltIn(manager, "skin");
    manager->SetSkinName("skin");
    Log().clear();
  }
  void TearDown() override {
    SetHookProviderFactory(nullptr);
    HookExcludedFormClasses().clear();
    SkinManagerTest::TearDown();
  }
  // The providers made since the last call.
  Strings Made() {
    Strings made;
    for (const auto& line : Log())
      if (line.rfind("init ", 0) == 0) made.push_back(line.substr(5));
    Log().clear();
    return made;
  }
  template <class T = TLogForm>
  T* ShownForm(const std::string& name) {
    auto* f = fw::NewForm<T>(app.get());
    f->SetName(name);
    f->Show();
    return f;
  }
  static plat::HWND Window(const char* cls, plat::HWND owner = nullptr, plat::DWORD style = plat::WS_POPUP | plat::WS_CAPTION) {
    return plat::CreateWindowEx(0, cls, "", style, 10, 10, 200, 100, owner, nullptr, nullptr, nullptr);
  }
  TsSkinManager* manager = nullptr;
};

// Activated forms get a provider unless skinned already, opted out by their tag, left out by
// the rules or without a border.
TEST_F(HookTest, ActivatedFormsGetAProvider) {
  ASSERT_TRUE(manager->GlobalHookInstalled());
  const struct {
    const char* name;
    std::intptr_t tag;
    bool skinned;
    bool provided;
  } cases[] = {{"Plain", 0, false, true},   {"OptOut", -98, false, false}, {"Minus1", -1, false, false},
               {"Skinned", 0, true, false}, {"Tag5", 5, false, true},
               // -98 with some of the bits 0x61 set, and a tag next to it
               {"TagMinus97", -97, false, false}, {"TagMinus66", -66, false, false}, {"TagMinus99", -99, false, true}};
  for (const auto& t : cases) {
    auto* f = fw::NewForm<TLogForm>(app.get());
    f->SetName(t.name);
    f->SetTag(t.tag);
    f->skinned = t.skinned;
    f->Show();
    plat::SetActiveWindow(f->Handle());
    EXPECT_EQ(Made(), t.provided ? Strings{std::string("form ").append(t.name).append(" listed")} : Strings{}) << t.name;
  }
  // Once per window, however often it is activated.
  auto* again = ShownForm("Again");
  auto* other = ShownForm("Other");
  plat::SetActiveWindow(again->Handle());
  plat::SetActiveWindow(other->Handle());
  plat::SetActiveWindow(again->Handle());
  EXPECT_EQ(Made(), (Strings{"form Again listed", "form Other listed"}));
  auto* bare = fw::NewForm<TLogForm>(app.get());
  bare->SetBorderStyle(fw::bsNone);
  bare->Show();
  plat::SetActiveWindow(bare->Handle());
  EXPECT_TRUE(Made().empty());
}

// Plain forms fall under srStdForms, the message form under srStdDialogs; excluded classes
// never get one.
TEST_F(HookTest, RulesAndExclusionsChooseTheForms) {
  const struct {
    TacSkinningRules rules;
    bool excludeMessageForm;
    Strings made;
  } cases[] = {
      {{srStdForms}, false, {"form F0 listed"}},
      {{srStdDialogs}, false, {"form M1 listed"}},
      {{srStdForms, srStdDialogs}, true, {"form F2 listed"}},
      {{srThirdParty}, false, {}},
  };
  int i = 0;
  for (const auto& t : cases) {
    manager->SetSkinningRules(t.rules);
    if (t.excludeMessageForm) HookExcludedFormClasses() = {"TMessageForm"};
    auto* plain = ShownForm(std::string("F").append(std::to_string(i)));
    plat::SetActiveWindow(plain->Handle());
    auto* message = ShownForm<TMessageForm>(std::string("M").append(std::to_string(i)));
    plat::SetActiveWindow(message->Handle());
    EXPECT_EQ(Made(), t.made) << i;
    HookExcludedFormClasses().clear();
    ++i;
  }
}

// Standard dialogs owned by nobody get one as they are made, after OnSysDlgInit agreed.
TEST_F(HookTest, StandardDialogsAreSkinnedWhenMade) {
  bool allow = true;
  std::vector<plat::HWND> asked;
  manager->OnSysDlgInit = [&](fw::TObject*, plat::HWND dialog, bool& allowSkinning) {
    asked.push_back(dialog);
    allowSkinning = allow;
  };
  const plat::HWND dialog = Window(plat::WC_DIALOG);
  EXPECT_EQ(Made(), (Strings{"dialog listed"}));
  EXPECT_EQ(asked, (std::vector<plat::HWND>{dialog}));
  plat::ShowWindow(dialog, plat::SW_SHOW);
  plat::SetActiveWindow(dialog);
  EXPECT_TRUE(Made().empty()) << "one provider per window";
  EXPECT_EQ(manager->HookedWindows(), (std::vector<plat::HWND>{dialog}));
  EXPECT_EQ(HookProviderWindows(), (std::vector<plat::HWND>{dialog}));

  Window(plat::WC_DIALOG, form->Handle());
  EXPECT_TRUE(Made().empty()) << "an owned dialog";
  allow = false;
  Window(plat::WC_DIALOG);
  EXPECT_TRUE(Made().empty()) << "refused by OnSysDlgInit";
  allow = true;
  manager->SetSkinningRules({srStdForms});
  Window(plat::WC_DIALOG);
  EXPECT_TRUE(Made().empty()) << "without srStdDialogs";
  EXPECT_EQ(asked.size(), 2u);
}

TEST_F(HookTest, PopupMenusAreSkinnedWhenMadeWithSkinnedPopups) {
  const plat::HWND menu = Window(plat::wm::kMenuClass, nullptr, plat::WS_POPUP | plat::WS_BORDER);
  EXPECT_EQ(Made(), (Strings{"menu listed"}));
  manager->SetSkinnedPopups(false);
  Window(plat::wm::kMenuClass, nullptr, plat::WS_POPUP | plat::WS_BORDER);
  EXPECT_TRUE(Made().empty());
  // The framework's utility windows belong to no form: nothing to skin.
  fw::TTimer timer(nullptr);
  EXPECT_TRUE(Made().empty());
  EXPECT_EQ(manager->HookedWindows(), (std::vector<plat::HWND>{menu}));
}

// A provider goes with its window, and all of them with the hook.
TEST_F(HookTest, ProvidersAreFreedWithTheirWindowsAndTheHook) {
  const plat::HWND first = Window(plat::WC_DIALOG);
  const plat::HWND second = Window(plat::WC_DIALOG);
  auto* f = ShownForm("F");
  plat::SetActiveWindow(f->Handle());
  ASSERT_EQ(Made().size(), 3u);
  plat::DestroyWindow(first);
  EXPECT_EQ(Log(), (Strings{"free dialog"}));
  EXPECT_EQ(manager->HookedWindows(), (std::vector<plat::HWND>{second, f->Handle()}));
  Log().clear();
  manager->SetActive(false);
  EXPECT_EQ(Log(), (Strings{"free dialog", "free form F", "F:2", "Main:2"}));
  EXPECT_TRUE(manager->HookedWindows().empty());
  EXPECT_TRUE(HookProviderWindows().empty());
  plat::DestroyWindow(second);
}

}  // namespace
}  // namespace velmora::test
