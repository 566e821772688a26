#include <algorithm>

#include "paint/section_lookup.h"
#include "platform/base/keys.h"
#include "platform/wm/menu_popup.h"
#include "platform/wm/menus.h"
#include "provider_fixture.h"

namespace velmora::test {
namespace {

using plat::display::Button;

// The columns of the title band (below the top border, above the client) where two pictures
// differ, as [first, last]; {-1, -1} when they do not.
std::pair<int, int> DifferingColumns(fw::TBitmap& a, fw::TBitmap& b, int top, int bottom) {
  int first = -1, last = -1;
  for (int y = top; y < bottom; ++y) {
    const auto* ra = reinterpret_cast<const std::uint32_t*>(a.ScanLine(y));
    const auto* rb = reinterpret_cast<const std::uint32_t*>(b.ScanLine(y));
    for (int x = 0; x < std::min(a.Width(), b.Width()); ++x)
      if ((ra[x] & 0xFFFFFF) != (rb[x] & 0xFFFFFF)) {
        if (first < 0 || x < first) first = x;
        last = std::max(last, x);
      }
  }
  return {first, last};
}

bool PictureHasColor(fw::TBitmap& bmp, int top, int bottom, TColor color) {
  const std::uint32_t pixel = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
  for (int y = top; y < bottom; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(bmp.ScanLine(y));
    for (int x = 0; x < bmp.Width(); ++x)
      if ((row[x] & 0xFFFFFF) == pixel) return true;
  }
  return false;
}

plat::POINT CentreOnScreen(TsSkinProvider& p, const plat::RECT& r) {
  const plat::RECT w = p.WindowRect();
  return {w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2};
}

TEST_F(ProviderTest, ADialogFormShowsOnlyTheSmallCloseGlyphAtTheRightEdge) {
  ActivateSkin();
  auto* f = DialogForm("Velmora");
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  ASSERT_TRUE(p->Skinned());
  const TacSkinIndex& skin = manager->Index();
  EXPECT_FALSE(p->BigButtons);
  EXPECT_EQ(p->ButtonClose.ImageIndex, skin.ConstData.MaskCloseSmall);
  const auto& glyph = skin.ma[static_cast<std::size_t>(skin.ConstData.MaskCloseSmall)];
  EXPECT_EQ(plat::RectWidth(p->ButtonClose.Rect), glyph.FrameWidth());
  EXPECT_EQ(p->ButtonClose.Rect.right, p->CaptionWidth() - skin.SkinData.BIRightMargin - p->FrameBorderWidth(true));
  EXPECT_EQ(plat::RectWidth(p->ButtonMax.Rect), 0);
  EXPECT_EQ(plat::RectWidth(p->ButtonMin.Rect), 0);
  EXPECT_EQ(plat::RectWidth(p->ButtonHelp.Rect), 0);
  EXPECT_EQ(plat::RectWidth(p->FIconRect), 0) << "no title icon on a dialog";
  // The client keeps the platform's place: the frame is painted over the platform's sizes.
  EXPECT_EQ(p->OffsetX(), plat::GetSystemMetrics(plat::SM_CXDLGFRAME));
  EXPECT_EQ(p->OffsetY(), plat::GetSystemMetrics(plat::SM_CXDLGFRAME) + plat::GetSystemMetrics(plat::SM_CYCAPTION));
}

// The caption starts 4 + BILEFT after the border, in the title section's colours (the skin has
// no "CAPTION" section), and a long one ends with an ellipsis before the close button.
TEST_F(ProviderTest, TheCaptionLiesBetweenTheBorderAndTheButtons) {
  ActivateSkin();
  const TacSkinIndex& skin = manager->Index();
  ASSERT_LT(skin.GetSkinIndex("CAPTION"), 0);
  auto* empty = DialogForm("");
  auto* shortOne = DialogForm("Velmora");
  auto* longOne = DialogForm(std::string(200, 'W'));
  for (auto* f : {empty, shortOne, longOne}) {
    ProviderOf(f)->FormActive = true;
    ProviderOf(f)->SkinData()->BGChanged = true;
    ProviderOf(f)->PictureReady();
  }
  TsSkinProvider& p = *ProviderOf(shortOne);
  fw::TBitmap& plain = *ProviderOf(empty)->SkinData()->FCacheBmp;
  const int top = p.FrameBorderHeight(false), bottom = p.OffsetY();
  const int left = p.FrameBorderWidth(true) + 4 + skin.SkinData.BILeftMargin;
  const int right = plain.Width() - p.ButtonsWidth() - 12;
  const auto [first, last] = DifferingColumns(plain, *p.SkinData()->FCacheBmp, top, bottom);
  EXPECT_GE(first, left);
  EXPECT_LE(first, left + 2);
  EXPECT_LT(last, right);
  const auto [longFirst, longLast] = DifferingColumns(plain, *ProviderOf(longOne)->SkinData()->FCacheBmp, top, bottom);
  EXPECT_GE(longFirst, left);
  EXPECT_LT(longLast, right) << "cut before the buttons";
  EXPECT_GT(longLast, right - 30) << "filled up to the ellipsis";
  const TsGeneralData& title = skin.gd[static_cast<std::size_t>(p.FTitleSkinIndex)];
  EXPECT_TRUE(PictureHasColor(*p.SkinData()->FCacheBmp, top, bottom, title.HotFontColor.Color));
}

TEST_F(ProviderTest, PressOnCloseMoveOffAndReleaseDoesNotClose) {
  ActivateSkin();
  auto* f = DialogForm("Velmora");
  TsSkinProvider& p = *ProviderOf(f);
  const plat::POINT close = CentreOnScreen(p, p.ButtonClose.Rect);
  display->MovePointer(close);
  Pump();
  EXPECT_EQ(p.ButtonClose.State, 1) << "hot";
  display->Press();
  Pump();
  EXPECT_EQ(p.ButtonClose.State, 2) << "pressed";
  display->MovePointer({close.x - 80, close.y});
  Pump();
  display->Release();
  Pump();
  EXPECT_TRUE(f->Visible());
  EXPECT_EQ(p.ButtonClose.State, 0);
  EXPECT_FALSE(TitleButtonPressed());
  // Soon after the first press: the platform makes it a double click, still a press.
  display->Click(close);
  Pump();
  EXPECT_FALSE(f->Visible()) << "press and release on the button close the form";
}

class SystemMenuTest : public ProviderTest {
 protected:
  struct Item {
    plat::UINT command;
    bool enabled;
  };
  // The items of the menu that opens on cue, then the menu is cancelled.
  std::vector<Item> OpenedBy(const std::function<void()>& cue) {
    std::vector<Item> items;
    display->SetIdleHandler([&] {
      for (plat::HWND h = plat::GetTopWindow(nullptr); h; h = plat::GetWindow(h, plat::GW_HWNDNEXT)) {
        char name[16] = {};
        plat::GetClassName(h, name, sizeof name);
        if (std::string(name) != plat::wm::kMenuClass || !plat::IsWindowVisible(h)) continue;
        const plat::HMENU menu = plat::wm::PopupOf(h)->menu;
        for (int i = 0; i < plat::GetMenuItemCount(menu); ++i) {
          const plat::UINT id = plat::GetMenuItemID(menu, i);
          if (id == 0) continue;
          const plat::UINT state = plat::GetMenuState(menu, static_cast<plat::UINT>(i), plat::MF_BYPOSITION);
          items.push_back({id, !(state & plat::MF_GRAYED)});
        }
      }
      display->KeyDown(plat::VK_ESCAPE);
      display->KeyUp(plat::VK_ESCAPE);
      display->SetIdleHandler(nullptr);
      return true;
    });
    cue();
    Pump();
    display->SetIdleHandler(nullptr);
    return items;
  }
  static std::vector<plat::UINT> Commands(const std::vector<Item>& items) {
    std::vector<plat::UINT> commands;
    for (const Item& i : items) commands.push_back(i.command);
    return commands;
  }
};

TEST_F(SystemMenuTest, RightClickAndAltSpaceShowMoveAndCloseOnly) {
  ActivateSkin();
  auto* f = DialogForm("Velmora");
  TsSkinProvider& p = *ProviderOf(f);
  const plat::RECT w = p.WindowRect();
  const std::vector<plat::UINT> expected{plat::SC_MOVE, plat::SC_CLOSE};
  const auto byMouse = OpenedBy([&] { display->Click({w.left + 60, w.top + 10}, Button::Right); });
  EXPECT_EQ(Commands(byMouse), expected);
  for (const Item& i : byMouse) EXPECT_TRUE(i.enabled) << i.command;
  const auto byKey = OpenedBy([&] {
    display->KeyDown(plat::VK_MENU);
    display->KeyDown(plat::VK_SPACE, ' ');
    display->KeyUp(plat::VK_SPACE);
    display->KeyUp(plat::VK_MENU);
  });
  EXPECT_EQ(Commands(byKey), expected);
  EXPECT_TRUE(f->Visible());
}

// With a form section of two states the whole picture is made again when the form goes
// inactive; with one state only the title bar is painted over the picture as it was.
TEST_F(ProviderTest, DeactivationRebuildsThePictureOnlyForATwoStateForm) {
  ActivateSkin();
  auto* f = DialogForm("Velmora");
  TsSkinProvider& p = *ProviderOf(f);
  auto* other = DialogForm("Other", 200, 100, false);
  for (int states : {2, 1}) {
    manager->Index().gd[static_cast<std::size_t>(p.SkinData()->SkinIndex)].States = states;
    manager->Index().ma[static_cast<std::size_t>(p.SkinData()->BorderIndex)].ImageCount = states;
    plat::SetActiveWindow(f->Handle());
    Pump();
    ASSERT_TRUE(p.FormActive);
    const int before = p.PaintAllCount();
    plat::SetActiveWindow(other->Handle());
    Pump();
    EXPECT_FALSE(p.FormActive);
    EXPECT_EQ(p.PaintAllCount() - before, states > 1 ? 1 : 0) << states << " states";
  }
}

TEST_F(ProviderTest, MovingTheWindowRebuildsNoPicture) {
  ActivateSkin();
  auto* f = DialogForm("Velmora");
  TsSkinProvider& p = *ProviderOf(f);
  p.PictureReady();
  const int before = p.PaintAllCount();
  for (int i = 1; i <= 5; ++i)
    plat::SetWindowPos(f->Handle(), nullptr, 100 + 10 * i, 100, 0, 0, plat::SWP_NOSIZE | plat::SWP_NOZORDER);
  Pump();
  EXPECT_EQ(p.PaintAllCount(), before);
  f->SetClientWidth(400);
  Pump();
  EXPECT_EQ(p.PaintAllCount(), before + 1) << "a new size needs a new picture";
}

// A form without a provider, activated with the manager's hook in place, gets one that the
// form frees; it is listed once for broadcasts.
TEST_F(ProviderTest, TheHookGivesAFormWithoutProviderOne) {
  ActivateSkin();
  auto* f = DialogForm("About", 300, 120, false);
  plat::SetActiveWindow(f->Handle());
  Pump();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->Skinned());
  EXPECT_EQ(std::count(SkinnedForms().begin(), SkinnedForms().end(), f), 1);
  EXPECT_EQ(std::count(HookProviderWindows().begin(), HookProviderWindows().end(), f->Handle()), 0);
  // The screen shows the picture.
  const plat::RECT w = p->WindowRect();
  p->PictureReady();
  const auto* row = reinterpret_cast<const std::uint32_t*>(p->SkinData()->FCacheBmp->ScanLine(4));
  EXPECT_EQ(ScreenPixel(w.left + 60, w.top + 4), row[60] & 0xFFFFFF);
  plat::DestroyWindow(f->Handle());
  EXPECT_TRUE(SkinnedForms().end() == std::find(SkinnedForms().begin(), SkinnedForms().end(), f));
}

TEST_F(ProviderTest, ARunTimeProviderDrawsOnlyFromTheFirstHitTestOrPaint) {
  ActivateSkin();
  manager->SetSkinningRules({});  // the hook gives nobody a provider here
  auto* f = DialogForm("Later", 300, 120, false);
  const plat::RECT w = WindowRectOf(f);
  const std::uint32_t platformTitle = ScreenPixel(w.left + 60, w.top + 4);
  TsSkinProvider* p = TsSkinProvider::CreateRT(f);
  EXPECT_TRUE(p->RTInit);
  Pump();
  EXPECT_EQ(ScreenPixel(w.left + 60, w.top + 4), platformTitle) << "nothing skinned yet";
  plat::SendMessage(f->Handle(), plat::WM_NCHITTEST, 0, plat::MAKELPARAM(w.left + 60, w.top + 4));
  Pump();
  EXPECT_FALSE(p->RTInit);
  EXPECT_TRUE(p->Skinned());
  EXPECT_NE(ScreenPixel(w.left + 60, w.top + 4), platformTitle) << "repainted at once";
}

// A skin named "skin" in the user's skin folder comes first; a broken one leaves the windows
// plain with the manager's message.
TEST_F(ProviderTest, ABrokenUserSkinLeavesTheFormsPlain) {
  std::ofstream(root / "velmora/c/Skins/skin.asz") << "no archive";
  auto* f = DialogForm("Velmora");
  ActivateSkin();
  Pump();
  EXPECT_FALSE(messages.empty());
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->Skinned());
  EXPECT_TRUE(p->SkinData()->FCacheBmp == nullptr || p->SkinData()->FCacheBmp->Width() == 0);
}

TEST_F(ProviderTest, OnlyFormsCarryAProviderAndASecondPlacedOneStaysEmpty) {
  EXPECT_THROW(fw::New<TsSkinProvider>(owner->Owner()), fw::EAbort);
  auto* f = DialogForm("Velmora");
  auto* second = fw::New<TsSkinProvider>(f);
  EXPECT_TRUE(second->RTEmpty);
  EXPECT_NE(ProviderOf(f), second);
}

}  // namespace
}  // namespace velmora::test
