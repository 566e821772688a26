#include "framework/form_reader.h"
#include "skin_manager_fixture.h"

namespace velmora::test {
namespace {

TEST_F(SkinManagerTest, DefaultsAndTheDefaultManager) {
  auto* first = Manager();
  auto* second = Manager();
  EXPECT_TRUE(first->Active());
  EXPECT_EQ(first->SkinDirectory(), "c:\\Skins");
  EXPECT_TRUE(first->SkinName().empty());
  EXPECT_TRUE(first->SkinnedPopups());
  EXPECT_FALSE(first->ExtendedBorders());
  EXPECT_EQ(first->SkinningRules(), (TacSkinningRules{srStdForms, srStdDialogs, srThirdParty}));
  EXPECT_EQ(DefaultManager(), first);
  EXPECT_FALSE(second->IsDefault());
  second->SetIsDefault(true);
  EXPECT_EQ(DefaultManager(), second);
  fw::FreeComponent(second);
  EXPECT_EQ(DefaultManager(), nullptr);
}

TEST_F(SkinManagerTest, AnAszNameLoadsThePackedFileAndDropsTheEnding) {
  fs::copy_file(VELMORA_SKIN_ARCHIVE, skins / "Skin.ASZ");
  auto* m = Manager();
  m->SetSkinName("skin.asz");
  EXPECT_EQ(m->SkinName(), "skin");
  EXPECT_TRUE(m->SkinIsPacked());
  EXPECT_TRUE(m->SkinData().Active);
  EXPECT_GE(m->GetSkinIndex("BUTTON"), 0);
  EXPECT_TRUE(m->GlobalHookInstalled());
  EXPECT_TRUE(shown.empty());
}

TEST_F(SkinManagerTest, AnUnknownNameTakesTheFirstBuiltInSkin) {
  auto* m = Manager();
  AddBuiltIn(m, "skin");
  m->SetSkinName("other");
  EXPECT_EQ(m->SkinName(), "skin");
  EXPECT_TRUE(m->SkinIsPacked());
  EXPECT_TRUE(m->SkinData().SkinPath.empty());
  EXPECT_TRUE(m->SkinData().Active);
}

TEST_F(SkinManagerTest, NoSkinAnywhereMakesTheManagerInactiveSilently) {
  auto* m = Manager();
  m->SetSkinName("Office2007 Black");
  EXPECT_FALSE(m->Active());
  EXPECT_FALSE(m->SkinData().Active);
  EXPECT_TRUE(shown.empty());
}

TEST_F(SkinManagerTest, AFailedLoadKeepsTheOldNameAndShowsTheMessage) {
  std::ofstream(skins / "broken.asz") << "no archive";
  auto* m = Manager();
  AddBuiltIn(m, "skin");
  m->SetSkinName("skin");
  m->SetSkinName("broken");
  EXPECT_EQ(m->SkinName(), "skin");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].type, plat::MB_OK | plat::MB_ICONERROR);
}

TEST_F(SkinManagerTest, VersionChecks) {
  const struct {
    const char* version;
    bool actest;
    std::size_t boxes;
  } cases[] = {{"9", false, 2}, {"8", false, 0}, {"7", true, 0}, {"6", false, 0}, {"6", true, 2}};
  for (const auto& t : cases) {
    shown.clear();
    SetProgramArguments(t.actest ? std::vector<std::string>{"/ACTEST"} : std::vector<std::string>{});
    const std::string name = std::string("v") + t.version + (t.actest ? "t" : "");
    FolderSkin(name, t.version);
    auto* m = Manager();
    m->SetSkinName(name);
    EXPECT_EQ(shown.size(), t.boxes) << t.version;
    EXPECT_TRUE(m->SkinningRules().Contains(srStdDialogs));
    EXPECT_FALSE(m->SkinIsPacked());
    if (t.boxes && std::string(t.version) == "9") {
      EXPECT_EQ(shown[0].type, plat::MB_OK | plat::MB_ICONWARNING);
      EXPECT_NE(shown[0].text.find("release.\r\nComponents must be updated"), std::string::npos);
    }
    if (t.boxes && std::string(t.version) == "6") {
      EXPECT_EQ(shown[0].text.rfind("You are using an old version of the \"v6t\" skin.", 0), 0u);
    }
    fw::FreeComponent(m);
  }
}

TEST_F(SkinManagerTest, ActivationAndRemovalAreAnnouncedWithTheManager) {
  auto* m = Manager();
  AddBuiltIn(m, "skin");
  Log().clear();
  m->SetSkinName("skin");
  m->SetActive(false);
  EXPECT_EQ(Log(), (Strings{"Main:1", "Main:16", "Main:3", "Main:2"}));
  EXPECT_FALSE(m->GlobalHookInstalled());
  EXPECT_TRUE(m->Index().gd.empty());
  Log().clear();
  m->SetActive(true);
  EXPECT_EQ(Log(), (Strings{"Main:1", "Main:16", "Main:3"}));
}

TEST_F(SkinManagerTest, RecolouringReloadsTheSkinAndTellsOfTheChange) {
  auto* m = Manager();
  AddBuiltIn(m, "skin");
  m->SetSkinName("skin");
  int changes = 0;
  m->OnAfterChange = [&](fw::TObject*) { ++changes; };
  const auto colours = [m] {
    std::vector<TColor> c;
    for (const auto& g : m->Index().gd) c.push_back(g.Color);
    return c;
  };
  const auto before = colours();
  Log().clear();
  m->SetHueOffset(120);
  m->SetSaturation(-100);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Log(), (Strings{"Main:16", "Main:3", "Main:16", "Main:3"}));
  EXPECT_NE(colours(), before);
}

TEST_F(SkinManagerTest, BuiltInSkinsAreExtractedUnchanged) {
  auto* m = Manager();
  AddBuiltIn(m, "skin");
  m->ExtractInternalSkin("skin", "c:\\Out");
  std::ifstream in(root / "velmora/c/Out/skin extracted.asz", std::ios::binary);
  EXPECT_EQ(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}), ReadArchive());
  EXPECT_THROW(m->ExtractInternalSkin("Skin", "c:\\Out"), fw::Exception);
  EXPECT_THROW(m->ExtractByIndex(1, "c:\\Out"), fw::Exception);
}

TEST_F(SkinManagerTest, UpdatesHeldBackUntilEndUpdate) {
  auto* m = Manager();
  AddBuiltIn(m, "skin");
  m->BeginUpdate();
  m->SetSkinName("skin");
  EXPECT_FALSE(m->SkinData().Active);
  Log().clear();
  m->EndUpdate(false);
  EXPECT_FALSE(m->NonAutoUpdate());
  EXPECT_TRUE(m->SkinData().Active);
  EXPECT_EQ(Log(), (Strings{"Main:1"}));
}

TEST_F(SkinManagerTest, UpdateSkinSectionNamesTheSectionUpperCased) {
  auto* m = Manager();
  Log().clear();
  m->UpdateSkinSection("Button");
  EXPECT_EQ(ChangedSectionName(), "BUTTON");
  EXPECT_EQ(Log(), (Strings{"Main:13"}));
}

TEST_F(SkinManagerTest, SkinDirectoryResolvesAgainstTheProgramFolder) {
  SetProgramFolder("c:\\Apps\\Velmora");
  const struct {
    const char* dir;
    const char* full;
  } cases[] = {
      {"c:\\Skins", "c:\\Skins\\"},   {"..\\Skins", "c:\\Apps\\Skins\\"}, {".\\Skins", "c:\\Apps\\Velmora\\Skins\\"},
      {"Skins", "c:\\Apps\\Velmora\\Skins\\"}, {"d", "c:\\Apps\\Velmora\\d\\"}, {"c:/Skins/", "c:/Skins\\"},
  };
  auto* m = Manager();
  for (const auto& t : cases) {
    m->SetSkinDirectory(t.dir);
    EXPECT_EQ(m->FullSkinDirectory(), t.full) << t.dir;
  }
  SetProgramFolder("");
}

TEST_F(SkinManagerTest, StartupShowsTheEngineVersionForAcver) {
  SetProgramArguments({"/x", "/AcVer"});
  SkinManagerStartup();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Brivantis v8.41");
}

TEST_F(SkinManagerTest, ADescriptionHoldsTheManager) {
  RegisterSkinClasses();
  fw::ReadComponentFromText(*form,
                            "object Main: TForm\n"
                            "  object sSkinManager1: TsSkinManager\n"
                            "    ExtendedBorders = True\n"
                            "    SkinDirectory = 'c:\\Skins'\n"
                            "    SkinName = 'Office2007 Black'\n"
                            "    SkinningRules = [srStdForms]\n"
                            "    HueOffset = 10\n"
                            "    ThirdParty.ThirdButtons = 'TButton'#13#10'TMyButton'\n"
                            "    ThirdParty.ThirdEdits = ''\n"
                            "    ThirdParty.ThirdPanels = ' '\n"
                            "    AnimEffects.FormShow.Time = 50\n"
                            "    AnimEffects.BlendOnMoving.Active = True\n"
                            "    MenuSupport.ExtraLineFont.Name = 'Tahoma'\n"
                            "  end\n"
                            "end\n",
                            "test");
  auto* m = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->ExtendedBorders());
  EXPECT_EQ(m->SkinName(), "Office2007 Black");
  EXPECT_EQ(m->SkinningRules(), TacSkinningRules{srStdForms});
  EXPECT_EQ(m->HueOffset(), 10);
  EXPECT_EQ(m->AnimEffects()->FormShow.Time(), 50);
  EXPECT_TRUE(m->AnimEffects()->BlendOnMoving.Active());
  EXPECT_EQ(m->AnimEffects()->BlendOnMoving.BlendValue(), 170);
  EXPECT_EQ(m->AnimEffects()->SkinChanging.Time(), 100);
  EXPECT_EQ(m->MenuSupport()->IcoLineSkin(), "ICOLINE");
  EXPECT_EQ(m->MenuSupport()->ExtraLineFont()->Name(), "Tahoma");
  const auto& third = m->ThirdLists();
  EXPECT_EQ(third.Names(tpButton), (Strings{"TButton", "TMyButton"}));
  EXPECT_FALSE(third.Contains(tpButton, "tbutton"));
  EXPECT_TRUE(m->ThirdParty()->List(tpEdit) == " ");
  EXPECT_TRUE(third.Names(tpPanel).empty());
  // The stored name finds no skin while the form is read.
  EXPECT_FALSE(m->Active());
  EXPECT_EQ(DefaultManager(), m);
}

}  // namespace
}  // namespace velmora::test
