#include "provider_fixture.h"

namespace velmora::test {
namespace {

TEST_F(ProviderTest, ADialogFormShowsOnlyTheSmallCloseGlyph) {
  ActivateSkin();
  auto* f = DialogForm("Velmora");
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  ASSERT_TRUE(p->Skinned());
  const TacSkinIndex& skin = manager->Index();
  EXPECT_FALSE(p->BigButtons);
  EXPECT_EQ(p->ButtonClose.ImageIndex, skin.ConstData.MaskCloseSmall);
  EXPECT_GT(plat::RectWidth(p->ButtonClose.Rect), 0);
  EXPECT_EQ(plat::RectWidth(p->ButtonMax.Rect), 0);
  EXPECT_EQ(plat::RectWidth(p->ButtonMin.Rect), 0);
  EXPECT_EQ(plat::RectWidth(p->FIconRect), 0);
}

}  // namespace
}  // namespace velmora::test
