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
