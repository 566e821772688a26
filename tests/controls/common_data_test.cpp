#include <algorithm>

#include "common_data_fixture.h"
#include "framework/bitmap.h"
#include "paint/section_lookup.h"

namespace velmora::test {
namespace {

using Commands = std::vector<int>;

TEST_F(CommonDataTest, SettingTheSectionTellsTheOwnerOnlyOfAChange) {
  AddSection("PANEL", 0x00C0C0C0);
  const int button = AddSection("BUTTON", 0x00E0E0E0);
  const struct {
    const char* from;
    const char* to;
    const char* stored;
    Commands sent;
    int index;
  } cases[] = {
      {"BUTTON", "BUTTON", "BUTTON", {}, button},
      {"PANEL", "button", "BUTTON", {scRefresh}, button},
      {"BUTTON", "", "UNKNOWN", {scRemoveSkin}, -1},
      {"", "", "", {}, -1},
      {"PANEL", "MISSING", "MISSING", {scRemoveSkin}, -1},
  };
  for (const auto& c : cases) {
    auto* panel = Add<TSkinnedPanel>(form, c.from, {0, 0, 50, 20});
    panel->SkinData->SetSkinSection(c.to);
    EXPECT_EQ(panel->SkinData->SkinSection(), c.stored) << c.from << " -> " << c.to;
    EXPECT_EQ(panel->received, c.sent) << c.from << " -> " << c.to;
    EXPECT_EQ(panel->SkinData->SkinIndex, c.index) << c.from << " -> " << c.to;
    EXPECT_EQ(panel->SkinData->Skinned(), c.index >= 0) << c.from << " -> " << c.to;
  }
}

TEST_F(CommonDataTest, IndexesFollowTheSkinOfTheOwnManagerOnly) {
  AddSection("BUTTON", 0);
  const int panelIndex = AddSection("PANEL", 0x00C0C0C0);
  const int border = AddMask("PANEL", "BORDER");
  const int texture = AddMask("PANEL", "PATTERN");
  Section(panelIndex).BorderIndex = border;
  auto* panel = Add<TSkinnedPanel>(form, "PANEL", {0, 0, 50, 20});
  TsCommonData& data = *panel->SkinData;
  EXPECT_EQ(data.SkinIndex, panelIndex);
  EXPECT_EQ(data.BorderIndex, border);
  EXPECT_EQ(data.Texture, texture);
  EXPECT_EQ(data.HotTexture, -1);
  EXPECT_EQ(data.CtrlSkinState, ACS_PLAINFILL) << "evaluated with the indexes";

  // A new skin: the section moves and loses its pattern.
  Skin().gd.clear();
  Skin().ma.clear();
  AddSection("FORM", 0);
  AddSection("EDIT", 0);
  const int moved = AddSection("PANEL", 0x00808080);
  Section(moved).GradientPercent = 50;
  Section(moved).Props[0].GradientPercent = 50;
  Section(moved).GradientArray = {TsGradPie{0, 0x00FFFFFF, 100, 0, 0}};  // mode 0: top to bottom

  TsSkinManager* other = fw::New<TsSkinManager>(form);
  panel->Perform(SkinCommandMessage, SkinParam(scNewSkin), reinterpret_cast<plat::LPARAM>(other));
  EXPECT_EQ(data.SkinIndex, panelIndex) << "another manager's skin is not ours";

  data.BGChanged = false;
  panel->Perform(SkinCommandMessage, SkinParam(scNewSkin), reinterpret_cast<plat::LPARAM>(manager));
  EXPECT_EQ(data.SkinIndex, moved);
  EXPECT_EQ(data.Texture, -1);
  EXPECT_TRUE(data.BGChanged);
  EXPECT_EQ(data.CtrlSkinState, 0) << "a gradient needs a picture";
  EXPECT_EQ(data.BGType, BGT_GRADIENTVERT);

  data.SetSkinManager(manager);
  EXPECT_EQ(data.FSkinManager, nullptr) << "the default manager is stored as none";
  EXPECT_FALSE(data.ManagerStored());

  data.EnsureCacheBitmap();
  panel->Perform(SkinCommandMessage, SkinParam(scRemoveSkin), reinterpret_cast<plat::LPARAM>(manager));
  EXPECT_EQ(data.SkinIndex, -1);
  EXPECT_EQ(data.BorderIndex, -1);
  EXPECT_TRUE(data.FUpdating) << "painting waits for the next skin";
  EXPECT_EQ(data.FCacheBmp->Width(), 0);
}

TEST_F(CommonDataTest, ColourAnswersMixTheParentIn) {
  AddSection("WHITE", 0x00FFFFFF);
  AddSection("BLACK", 0x00000000);
  AddSection("HALF_ON_BLACK", 0x00000000, 50);
  AddSection("HALF_OF_WHITE", 0x00FFFFFF, 50);
  AddSection("CLEAR", 0x00123456, 100);
  const struct {
    const char* parent;
    const char* child;
    plat::LRESULT answer;  // sub-command 21: section + T * (parent - section) / 256, truncated
    TColor effective;      // T/100 of the section, the rest the parent's, halves to even
  } cases[] = {
      {"WHITE", "HALF_ON_BLACK", 0x313131, 0x808080},
      {"BLACK", "HALF_OF_WHITE", 0xCECECE, 0x808080},
      {"WHITE", "BLACK", 0x000000, 0x000000},
      {"WHITE", "CLEAR", 0xFFFFFF, 0xFFFFFF},
  };
  for (const auto& c : cases) {
    auto* parent = Add<TSkinnedPanel>(form, c.parent, {0, 0, 100, 80});
    auto* child = Add<TSkinnedGraphic>(parent, c.child, {5, 5, 25, 25});
    EXPECT_EQ(child->Perform(SkinCommandMessage, SkinParam(scGetBackgroundColor)), c.answer) << c.child;
    EXPECT_EQ(child->SkinData->EffectiveColor(0), c.effective) << c.child;
  }
  auto* plain = Add<TSkinnedGraphic>(form, "NOT_IN_THE_SKIN", {0, 0, 5, 5});
  plain->SetColor(fw::clBtnFace);
  EXPECT_EQ(plain->Perform(SkinCommandMessage, SkinParam(scGetBackgroundColor)),
            static_cast<plat::LRESULT>(fw::ColorToRGB(fw::clBtnFace)))
      << "unskinned: its own colour";
}

TEST_F(CommonDataTest, ATransparentContainerForwardsTheRequestWithItsOffset) {
  AddGradientSection("PICTURE");
  AddSection("PLAIN", 0x00336699);
  AddSection("CLEAR", 0, 100);
  for (const char* behind : {"PICTURE", "PLAIN"}) {
    auto* outer = Add<TSkinnedPanel>(form, behind, {0, 0, 200, 150});
    outer->SkinData->EnsureCacheBitmap();
    auto* container = Add<TSkinnedPanel>(outer, "CLEAR", {10, 20, 110, 100}, false);
    auto* child = Add<TSkinnedGraphic>(container, "CLEAR", {3, 4, 23, 14});

    BackgroundInfo info;
    RequestParentBackground(info, container, false);
    TCacheInfo cache;
    const TacParentBackground answer = child->SkinData->QueryParentBackground(cache);
    if (std::string(behind) == "PICTURE") {
      EXPECT_EQ(info.Kind, bkPicture);
      EXPECT_EQ(info.Bitmap, outer->SkinData->FCacheBmp.get());
      EXPECT_EQ(info.Offset.x, 10);
      EXPECT_EQ(info.Offset.y, 20);
      EXPECT_EQ(answer, TacParentBackground::Picture);
      EXPECT_EQ(cache.Bmp, outer->SkinData->FCacheBmp.get());
      EXPECT_EQ(cache.X, 13);
      EXPECT_EQ(cache.Y, 24);
    } else {
      EXPECT_EQ(info.Kind, bkFill) << "a colour comes back unchanged";
      EXPECT_EQ(info.Color, 0x00336699);
      EXPECT_EQ(info.Offset.x, 0);
      EXPECT_EQ(answer, TacParentBackground::Fill);
      EXPECT_EQ(cache.FillColor, 0x00336699u);
      EXPECT_FALSE(cache.Ready);
    }
    fw::FreeComponent(outer);
  }
}

TEST_F(CommonDataTest, EndUpdateTellsTheOwnerEachTimeTheCountIsSpent) {
  AddSection("PANEL", 0);
  auto* panel = Add<TSkinnedPanel>(form, "PANEL", {0, 0, 50, 20});
  TsCommonData& data = *panel->SkinData;
  data.BeginUpdate();
  data.BeginUpdate();
  EXPECT_TRUE(data.CtrlSkinState & ACS_LOCKED);
  data.EndUpdate();
  EXPECT_EQ(panel->Count(scEndUpdate), 0) << "still inside the outer update";
  data.EndUpdate();
  data.EndUpdate();
  data.EndUpdate();
  EXPECT_EQ(panel->Count(scBeginUpdate), 2);
  EXPECT_EQ(panel->Count(scEndUpdate), 3) << "every call at or below zero";
  EXPECT_FALSE(data.CtrlSkinState & ACS_LOCKED);
  // Unbalanced calls must not end a later nested update early.
  data.BeginUpdate();
  data.BeginUpdate();
  data.EndUpdate();
  EXPECT_EQ(panel->Count(scEndUpdate), 3);
  data.EndUpdate();
  EXPECT_EQ(panel->Count(scEndUpdate), 4);
}

TEST_F(CommonDataTest, PlainFillIsDecidedByTheSectionAndThePictureBehind) {
  const int plain = AddSection("PLAIN", 0x00C0C0C0);
  AddGradientSection("GRADIENT");
  const int image = AddSection("IMAGE", 0);
  Section(image).Props[0].ImagePercent = 30;
  const int corner = AddSection("CORNER", 0);
  Section(corner).ImgTL = AddMask("CORNER", "IMGTL");
  const int filled = AddSection("FILLEDBORDER", 0);
  Section(filled).BorderIndex = AddMask("FILLEDBORDER", "BORDER", 4);
  AddSection("TRANSLUCENT", 0, 40);
  AddSection("CLEAR", 0, 100);
  (void)plain;
  const struct {
    const char* parent;  // null: the unskinned form
    const char* section;
    std::uint16_t state;
  } cases[] = {
      {nullptr, "PLAIN", ACS_PLAINFILL},
      {nullptr, "GRADIENT", 0},
      {nullptr, "IMAGE", 0},
      {nullptr, "CORNER", 0},
      {nullptr, "FILLEDBORDER", 0},
      {nullptr, "TRANSLUCENT", 0},
      {nullptr, "CLEAR", ACS_PLAINFILL},
      {"PLAIN", "CLEAR", ACS_PLAINFILL},
      {"GRADIENT", "CLEAR", 0},
  };
  for (const auto& c : cases) {
    fw::TWinControl* parent = form;
    if (c.parent) parent = Add<TSkinnedPanel>(form, c.parent, {0, 0, 200, 150});
    auto* panel = Add<TSkinnedPanel>(parent, c.section, {5, 5, 50, 50});
    EXPECT_EQ(panel->SkinData->CtrlSkinState, c.state) << c.section << " on " << (c.parent ? c.parent : "the form");
  }

  // A parent without a window cannot tell yet: the state stays unevaluated.
  auto* unmade = fw::New<TSkinnedPanel>(form, true);
  unmade->SkinData->SetSkinSection("PLAIN");
  auto* inside = fw::New<TSkinnedPanel>(form, true);
  inside->SetParent(unmade);
  inside->SkinData->SetSkinSection("CLEAR");
  EXPECT_EQ(inside->SkinData->CtrlSkinState, ACS_NOTEVALUATED);

  // Buttons and other pictures-only owners are never plain.
  auto* graphic = Add<TSkinnedGraphic>(form, "PLAIN", {0, 0, 10, 10});
  EXPECT_EQ(graphic->SkinData->CtrlSkinState, ACS_NOTEVALUATED);
  EXPECT_TRUE(graphic->SkinData->UsesCache());

  // Asked for its state before any evaluation, a state evaluates first.
  auto* asked = Add<TSkinnedPanel>(form, "PLAIN", {0, 0, 10, 10});
  asked->SkinData->CtrlSkinState = ACS_NOTEVALUATED;
  EXPECT_EQ(asked->Perform(SkinCommandMessage, SkinParam(scControlState)), ACS_PLAINFILL);
  EXPECT_FALSE(asked->SkinData->UsesCache());
}

TEST_F(CommonDataTest, AControlPaintsNothingUntilItsParentsPictureIsReady) {
  AddGradientSection("PICTURE");
  AddSection("HALF", 0, 50);
  auto* parent = Add<TSkinnedPanel>(form, "PICTURE", {0, 0, 200, 150});
  auto* child = Add<TSkinnedPanel>(parent, "HALF", {5, 6, 45, 36});
  form->Show();
  parent->SkinData->EnsureCacheBitmap();
  parent->SkinData->FCacheBmp->SetSize(0, 0);  // the picture is not made yet
  parent->Perform(SkinCommandMessage, SkinParam(scBackgroundDone));

  child->painted = 0;
  child->Repaint();
  EXPECT_EQ(child->painted, 0);
  EXPECT_TRUE(child->SkinData->FUpdating) << "the not-ready answer defers the child";
  child->Repaint();
  EXPECT_EQ(child->painted, 0) << "still deferred";

  // The parent makes its picture and ends its update: now the child paints, once, from it.
  parent->SkinData->EnsureCacheBitmap();
  parent->SkinData->FUpdating = true;
  parent->Perform(SkinCommandMessage, SkinParam(scEndParentUpdate));
  EXPECT_FALSE(child->SkinData->FUpdating);
  EXPECT_EQ(child->painted, 1);
  EXPECT_TRUE(child->lastBackground.Ready);
  EXPECT_EQ(child->lastBackground.Bmp, parent->SkinData->FCacheBmp.get());
  EXPECT_EQ(child->lastBackground.X, 5);
  EXPECT_EQ(child->lastBackground.Y, 6);
}

TEST_F(CommonDataTest, TheHotLookComesFromFocusOrTheMouseOverNonContainers) {
  AddSection("BUTTON", 0);
  const struct {
    int coc;
    bool mouseAbove, focused, enabled;
    bool hot;
  } cases[] = {
      {COC_TsButton, true, false, true, true},
      {COC_TsButton, false, false, true, false},
      {COC_TsPanel, true, false, true, false},
      {COC_TsStatusBar, true, false, true, false},
      {COC_TsPanel, false, true, true, true},
      {COC_TsButton, true, true, false, false},
  };
  for (const auto& c : cases) {
    auto* control = Add<TSkinnedGraphic>(form, "BUTTON", {0, 0, 10, 10});
    control->SkinData->COC = c.coc;
    control->SkinData->FMouseAbove = c.mouseAbove;
    control->SkinData->FFocused = c.focused;
    control->SetEnabled(c.enabled);
    EXPECT_EQ(control->SkinData->ShowsHot(), c.hot) << c.coc << " " << c.mouseAbove << c.focused << c.enabled;
  }
}

TEST_F(CommonDataTest, CopyingTheCacheLeavesGraphicChildrenAlone) {
  AddSection("PANEL", 0);
  auto* panel = Add<TSkinnedPanel>(form, "PANEL", {0, 0, 40, 30});
  Add<TSkinnedGraphic>(panel, "PANEL", {10, 10, 20, 20});
  TsCommonData& data = *panel->SkinData;
  data.EnsureCacheBitmap();
  auto fill = [](fw::TBitmap& bitmap, plat::COLORREF color) {
    plat::HBRUSH brush = plat::CreateSolidBrush(color);
    const plat::RECT all{0, 0, bitmap.Width(), bitmap.Height()};
    plat::FillRect(bitmap.Canvas().Handle(), &all, brush);
    plat::DeleteObject(brush);
  };
  fill(*data.FCacheBmp, 0x000000FF);
  fw::TBitmap screen(60, 50);
  fill(screen, 0x00FF0000);
  CopyCacheToDC(panel, &data, {0, 0, 40, 30}, {5, 5}, false, screen.Canvas().Handle(), {5, 5, 45, 35});
  auto at = [&](int x, int y) { return screen.Pixels()->Row(y)[x] & 0x00FFFFFFu; };
  EXPECT_EQ(at(7, 7), 0x00FF0000u) << "the cache copied";
  EXPECT_EQ(at(20, 20), 0x000000FFu) << "the graphic child's place is left for it";
  EXPECT_EQ(at(2, 2), 0x000000FFu) << "outside the target, untouched";
}

TEST_F(CommonDataTest, TextOverTransparentParentsTakesTheFontOfTheFirstSolidOne) {
  const int giving = AddSection("GIVING", 0x00FFFFFF);
  Section(giving).GiveOwnFont = true;
  AddSection("KEEPING", 0x00FFFFFF);
  AddSection("CLEAR", 0, 100);
  const struct {
    const char* outer;
    const char* inner;
    int expected;
  } cases[] = {
      {"GIVING", "CLEAR", giving},
      {"KEEPING", "CLEAR", -1},
      {"CLEAR", "GIVING", giving},
      {"GIVING", "KEEPING", -1},
  };
  for (const auto& c : cases) {
    auto* outer = Add<TSkinnedPanel>(form, c.outer, {0, 0, 200, 150});
    auto* inner = Add<TSkinnedPanel>(outer, c.inner, {10, 10, 100, 100});
    auto* label = Add<TSkinnedGraphic>(inner, "CLEAR", {1, 1, 20, 10});
    EXPECT_EQ(FontSectionIndex(label, -1, manager, 0), c.expected) << c.outer << "/" << c.inner;
    EXPECT_EQ(label->SkinData->ParentFontSection(), c.expected) << c.outer << "/" << c.inner;
  }
}

}  // namespace
}  // namespace velmora::test
