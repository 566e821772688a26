#include <functional>

#include "framework/common_dialogs.h"
#include "framework/form_reader.h"
#include "skin_manager_fixture.h"

namespace velmora::test {
namespace {

// The newest common dialogs are off exactly while the default manager is active and skins
// standard dialogs.
TEST_F(SkinManagerTest, TheDialogRuleFollowsTheDefaultManager) {
  const struct {
    const char* name;
    bool builtIn;
    std::function<void(TsSkinManager*)> steps;
    bool latest;
  } cases[] = {
      {"active with a skin", true, [](TsSkinManager* m) { m->SetSkinName("skin"); }, false},
      {"then made inactive", true, [](TsSkinManager* m) { m->SetSkinName("skin"), m->SetActive(false); }, true},
      {"no skin found", false, [](TsSkinManager* m) { m->SetSkinName("missing"); }, true},
      {"a name set while inactive", true,
       [](TsSkinManager* m) { m->SetActive(false), fw::UseLatestCommonDialogs = false, m->SetSkinName("skin"); }, true},
      {"rules without srStdDialogs", true,
       [](TsSkinManager* m) { m->SetSkinName("skin"), m->SetSkinningRules({srStdForms}); }, true},
      {"srStdDialogs back again", true,
       [](TsSkinManager* m) {
         m->SetSkinName("skin"), m->SetSkinningRules({srStdForms}), m->SetSkinningRules({srStdDialogs});
       },
       false},
  };
  for (const auto& c : cases) {
    auto* m = Manager();
    if (c.builtIn) AddBuiltIn(m, "skin");
    fw::UseLatestCommonDialogs = !c.latest;
    c.steps(m);
    EXPECT_EQ(fw::UseLatestCommonDialogs, c.latest) << c.name;
    fw::FreeComponent(m);
    EXPECT_TRUE(fw::UseLatestCommonDialogs) << c.name << ": the default manager gone";
  }
}

TEST_F(SkinManagerTest, OnlyTheDefaultManagerSetsTheDialogRule) {
  auto* first = Manager();
  auto* second = Manager();
  AddBuiltIn(second, "skin");
  second->SetSkinName("skin");
  EXPECT_TRUE(fw::UseLatestCommonDialogs);
  second->SetIsDefault(true);
  EXPECT_FALSE(fw::UseLatestCommonDialogs);
  fw::FreeComponent(first);
  EXPECT_FALSE(fw::UseLatestCommonDialogs);
}

// The box is itself a standard dialog: the newest dialogs while it shows, the rule restored
// after it.
TEST_F(SkinManagerTest, TheVersionWarningShowsWithTheNewestDialogs) {
  FolderSkin("v9", "9");
  std::vector<bool> during;
  SetSkinMessageHandler([&](const std::string&, plat::UINT) { during.push_back(fw::UseLatestCommonDialogs); });
  auto* m = Manager();
  m->SetSkinName("v9");
  EXPECT_EQ(during, (std::vector<bool>{true, true}));
  EXPECT_FALSE(fw::UseLatestCommonDialogs);
  EXPECT_TRUE(m->SkinningRules().Contains(srStdDialogs));
}

TEST_F(SkinManagerTest, LoadedAppliesTheDialogRule) {
  RegisterSkinClasses();
  fw::UseLatestCommonDialogs = true;
  fw::ReadComponentFromText(*form,
                            "object Main: TForm\n"
                            "  object sSkinManager1: TsSkinManager\n"
                            "  end\n"
                            "end\n",
                            "test");
  EXPECT_FALSE(fw::UseLatestCommonDialogs);
}

}  // namespace
}  // namespace velmora::test
