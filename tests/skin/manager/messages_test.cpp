#include "manager_fixture.h"

namespace velmora::test {
namespace {



TEST_F(ManagerTest, CommandTravelsInTheHighWord) {
  EXPECT_EQ(SkinParam(scRefresh, 1), 0x00030001u);
  EXPECT_EQ(SkinCommandOf(SkinParam(scMouseLeave, 7)), scMouseLeave);
  EXPECT_EQ(SkinArgumentOf(SkinParam(scMouseLeave, 7)), 7);
}

// An unskinned form is walked into; a skinned panel gets the message once and is not walked
// into; graphic controls get it by direct dispatch.
TEST_F(ManagerTest, BroadcastToControlsWalksUnskinnedContainersOnly) {
  auto* form = Form("F");
  auto* plain = Child<TLogPanel>(form, "Plain");
  Child<TLogGraphic>(plain, "Inner");
  auto* skinned = Child<TLogPanel>(form, "Skinned");
  skinned->skinned = true;
  Child<TLogGraphic>(skinned, "Hidden");
  Child<TLogGraphic>(form, "Label");
  auto m = MakeSkinMessage(scRefresh);
  BroadcastToControls(form, m);
  EXPECT_EQ(Log(), (Strings{"Inner:3", "Skinned:3", "Label:3"}));
}

TEST_F(ManagerTest, SendSkinCommandSkipsWindowedControlsWithoutWindow) {
  auto* form = Form("F");
  auto* pending = fw::New<TLogPanel>(form);
  pending->SetName("Pending");
  auto* graphic = Child<TLogGraphic>(form, "G");
  ASSERT_FALSE(pending->HandleAllocated());
  EXPECT_EQ(SendSkinCommand(pending, scRefresh), 0);
  SendSkinCommand(graphic, scRefresh);
  pending->SetParent(form);
  pending->HandleNeeded();
  SendSkinCommand(pending, scNewSkin);
  EXPECT_EQ(Log(), (Strings{"G:3", "Pending:1"}));
}

TEST_F(ManagerTest, IsSkinCommandTrueOnlyForAnAnswerOfOne) {
  auto* form = Form("F");
  auto* plainWindow = Child<fw::TWinControl>(form, "Plain");
  auto* skinned = Child<TLogPanel>(form, "Skinned");
  skinned->skinned = true;
  EXPECT_FALSE(IsSkinCommandTrue(plainWindow->Handle(), scIsHandled));
  EXPECT_FALSE(IsSkinCommandTrue(form->Handle(), scIsHandled));
  EXPECT_TRUE(IsSkinCommandTrue(skinned->Handle(), scIsHandled));
}

TEST_F(ManagerTest, BroadcastToChildWindowsSkipsGrandchildren) {
  auto* form = Form("F");
  auto* a = Child<TLogPanel>(form, "A");
  Child<TLogPanel>(a, "Grand");
  auto* b = Child<TLogPanel>(form, "B");
  b->skinned = true;
  auto m = MakeSkinMessage(scNewSkin);
  BroadcastToChildWindows(form->Handle(), m);
  EXPECT_EQ(Log(), (Strings{"A:1", "B:1"}));
}

// Unskinned forms from the last created, then the forms with a provider, then the visible
// windows of hook-made providers.
TEST_F(ManagerTest, BroadcastToFormsOrder) {
  auto* first = Form("First");
  Child<TLogGraphic>(first, "FirstLabel");
  Form("Second");
  auto* provided = Form("Provided");
  provided->skinned = true;
  auto* hookWindow = Form("Hooked");
  hookWindow->skinned = true;
  hookWindow->Show();
  auto* hiddenHook = Form("HiddenHook");
  hiddenHook->skinned = true;
  SkinnedForms() = {provided};
  HookProviderWindows() = {hookWindow->Handle(), hiddenHook->Handle()};
  auto m = MakeSkinMessage(scNewSkin);
  BroadcastToForms(m);
  SkinnedForms().clear();
  HookProviderWindows().clear();
  EXPECT_EQ(Log(), (Strings{"Second:1", "First:1", "FirstLabel:1", "Provided:1", "Hooked:1"}));
}

}  // namespace
}  // namespace velmora::test
