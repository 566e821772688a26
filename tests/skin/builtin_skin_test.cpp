#include <gtest/gtest.h>

#include "skin/sSkinManager.h"

namespace velmora {
namespace {

// The archive the build packs from resources/skin and embeds into the program.
TEST(BuiltInSkin, LoadsWithEverySectionThePainterNeeds) {
  TacSkinIndex x;
  std::vector<double> versions;
  TacLoadOptions o;
  o.VersionCheck = [&](double v) { versions.push_back(v); };
  LoadPackedSkinFile(x, VELMORA_SKIN_ARCHIVE, o);
  EXPECT_EQ(versions, (std::vector<double>{8, 8}));
  EXPECT_EQ(x.GetSkinIndex("GLOBALINFO"), 0);
  for (const char* s : {"FORM", "FORMTITLE", "BUTTON", "BUTTON_HUGE", "STATUSBAR", "DIVIDER", "PANEL", "PANEL_LOW",
                        "CHECKBOX", "EDIT", "SELECTION", "MENUITEM", "TITLEBUTTON"})
    EXPECT_GE(x.GetSkinIndex(s), 0) << s;
  const TsGeneralData& button = x.gd[static_cast<std::size_t>(x.GetSkinIndex("BUTTON"))];
  EXPECT_TRUE(button.FadingEnabled);
  EXPECT_EQ(button.FadingIterations, 20);
  EXPECT_EQ(x.ma[static_cast<std::size_t>(button.BorderIndex)].CornerType, 1);  // transparent corners
  const TsGeneralData& huge = x.gd[static_cast<std::size_t>(x.GetSkinIndex("BUTTON_HUGE"))];
  EXPECT_EQ(x.ma[static_cast<std::size_t>(huge.BorderIndex)].CornerType, 2);
  EXPECT_EQ(huge.FontColor.Color, button.FontColor.Color);  // -1 falls through
  EXPECT_EQ(x.GetMaskIndex("GLOBALINFO", "EXBORDER"), -1);
  const TConstantSkinData& c = x.ConstData;
  for (int m : {c.MaskCloseBtn, c.MaskMaxBtn, c.MaskNormBtn, c.MaskMinBtn, c.MaskHelpBtn, c.MaskCloseSmall, c.MaskMaxSmall,
                c.MaskNormSmall, c.MaskMinSmall, c.MaskHelpSmall, c.GripRightBottom, c.CheckBoxChecked})
    EXPECT_GE(m, 0);
  EXPECT_EQ(x.Palette[6], x.gd[static_cast<std::size_t>(x.GetSkinIndex("SELECTION"))].Color);
  EXPECT_EQ(x.MasterBitmap->Pixels()->Row(127)[255], 0x00FF00FFu);  // magenta keeps alpha 0
}

}  // namespace
}  // namespace velmora

#include "platform/gdi/image_codecs.h"

namespace velmora {
namespace {

// The shadow templates: black, alpha only, the ramp from each edge along the middle of the side.
TEST(BuiltInSkin, ShadowTemplatesHaveTheirAlphaProfiles) {
  struct Case {
    const char* file;
    std::vector<int> ramp;
    int low, high;  // the flat middle
  };
  const Case cases[] = {{VELMORA_SHADOW_ACTIVE, {3, 9, 15, 24, 35, 48, 63, 80, 100, 119}, 128, 128},
                        {VELMORA_SHADOW_INACTIVE, {0, 1, 3, 6, 10, 16, 24, 33, 43, 55}, 76, 77}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto b = plat::ReadPng(plat::ReadFileBytes(c.file));
    ASSERT_EQ(b->Width(), 33);
    ASSERT_EQ(b->Height(), 33);
    auto alpha = [&](int x, int y) { return static_cast<int>(plat::PixelA(b->Row(y)[x])); };
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(alpha(16, i), c.ramp[static_cast<std::size_t>(i)]);
      EXPECT_EQ(alpha(16, 32 - i), c.ramp[static_cast<std::size_t>(i)]);
      EXPECT_EQ(alpha(i, 16), c.ramp[static_cast<std::size_t>(i)]);
      EXPECT_EQ(alpha(32 - i, 16), c.ramp[static_cast<std::size_t>(i)]);
    }
    for (int i = 10; i <= 22; ++i) {
      EXPECT_GE(alpha(16, i), c.low);
      EXPECT_LE(alpha(16, i), c.high);
    }
    EXPECT_LT(alpha(3, 3), alpha(16, 3));  // corners fall off in both directions
    EXPECT_EQ(b->Row(5)[20] & 0xFFFFFF, 0u);
  }
}

}  // namespace
}  // namespace velmora
