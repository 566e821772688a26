#include <gtest/gtest.h>

#include "framework/colors.h"
#include "platform/gdi/image_codecs.h"
#include "skin/sSkinManager.h"
#include "skin_fixture.h"

namespace velmora {
namespace {

using namespace velmora::test;

// A 40 x 20 master: grey, magenta in the top-left 2 x 2, pure red at (30, 10).
std::vector<std::uint8_t> MasterBmp() {
  plat::Bitmap b(40, 20);
  b.Fill(plat::MakePixel(128, 128, 128, 255));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) b.Row(y)[x] = plat::MakePixel(255, 0, 255, 255);
  b.Row(10)[30] = plat::MakePixel(255, 0, 0, 255);
  return plat::WriteBmp(b);
}

struct Loaded {
  TacSkinIndex index;
};

std::unique_ptr<Loaded> LoadText(const std::string& text, TacLoadOptions options = {},
                                 std::vector<TacPackEntry> extra = {}) {
  std::vector<TacPackEntry> entries = {{"Options.dat", Bytes(text)}, {"Master.bmp", MasterBmp()}};
  for (auto& e : extra) entries.push_back(std::move(e));
  fw::TBytesStream archive(PackSkinArchive(entries));
  auto l = std::make_unique<Loaded>();
  LoadPackedSkin(l->index, archive, options);
  return l;
}

const std::string kBase = "[GLOBALINFO]\nVERSION=8\nMASTERBITMAP=MASTER.BMP\n";

TEST(SkinDescription, IniIsCaseSensitiveOrderedAndMergesRepeatedSections) {
  const TacIniFile ini("\xEF\xBB\xBF; comment\r\n[B]\r\nk = 1\r\nK=2\n[a]\nx=y\n[B]\nk=3\nz=4\nno equals\n");
  ASSERT_EQ(ini.Sections().size(), 2u);
  EXPECT_EQ(ini.Sections()[0].Name, "B");
  EXPECT_EQ(ini.ReadString("B", "k", "?"), "1");  // first value kept
  EXPECT_EQ(ini.ReadString("B", "K", "?"), "2");
  EXPECT_EQ(ini.ReadString("B", "z", "?"), "4");
  EXPECT_EQ(ini.ReadString("A", "x", "?"), "?");
  EXPECT_EQ(ini.ReadInteger("a", "x", 7), 7);
  EXPECT_DOUBLE_EQ(TacIniFile("[G]\nV=7.45\n").ReadFloat("G", "V", 0), 7.45);
}

TEST(SkinDescription, MaskStringsOfEveryForm) {
  TsMaskData m;
  ASSERT_TRUE(ParseBitmapMask("^0010^0109^0014^0111^0000^0000^0002^0000^1^0^1^1", m, "t"));
  EXPECT_EQ(m.R.left, 10); EXPECT_EQ(m.R.top, 109); EXPECT_EQ(m.R.right, 14); EXPECT_EQ(m.R.bottom, 111);
  EXPECT_EQ(m.WR, 2); EXPECT_EQ(m.ImageCount, 1); EXPECT_EQ(m.DrawMode, 1); EXPECT_EQ(m.BorderWidth, 1);
  ASSERT_TRUE(ParseBitmapMask("@0124@0000@0163@0013@3@0", m, "t"));
  EXPECT_EQ(m.ImgType, itisaGlyph);
  EXPECT_EQ(m.FrameWidth(), 13); EXPECT_EQ(m.FrameHeight(), 13);
  ASSERT_TRUE(ParseBitmapMask("~0001~0002~0003~0004~07~1", m, "t"));
  EXPECT_EQ(m.ImgType, itisaTexture); EXPECT_EQ(m.DrawMode, 7); EXPECT_EQ(m.MaskType, 1);
  EXPECT_FALSE(ParseBitmapMask("12345", m, "t"));
  const TacExternalMask e = ParseExternalMask("!buttonhuge.bmp!3!1!0!0047!0047!0047!0047!5", "t");
  EXPECT_EQ(e.Name, "BUTTONHUGE.BMP");
  EXPECT_EQ(e.ImageCount, 3); EXPECT_EQ(e.MaskType, 1); EXPECT_TRUE(e.HasWidths); EXPECT_EQ(e.WB, 47); EXPECT_EQ(e.DrawMode, 5);
  EXPECT_EQ(ParseExternalMask("!A.PNG!2!0!4", "t").DrawMode, 1);
  EXPECT_TRUE(ParseGradient("N/A", "t").empty());
  const TsGradArray g = ParseGradient("-5;255;150;1;9;1;2;3", "t");
  ASSERT_EQ(g.size(), 1u);  // the trailing incomplete group is ignored
  EXPECT_EQ(g[0].Color1, 0); EXPECT_EQ(g[0].Percent, 100); EXPECT_EQ(g[0].Mode1, 1); EXPECT_EQ(g[0].Mode2, 0);
}

TEST(SkinDescription, InheritanceFallThroughAndStates) {
  const auto l = LoadText(kBase +
                          "[BASE]\nCOLOR=255\nTCLEFT=77\nFONTCOLOR=-16777208\nHOTGRADIENTDATA=N/A\n"
                          "[CHILD]\nPARENTCLASS=BASE\nTCLEFT=-1\nSTATES=1\nFONTCOLOR=?\n"
                          "[LONE]\nGRADIENTDATA=1;2;3;0;0\n"
                          "[L1]\nPARENTCLASS=L2\n[L2]\nPARENTCLASS=L3\n[L3]\nPARENTCLASS=L1\nGLOW=4\n[SELF]\nPARENTCLASS=SELF\n");
  const TacSkinIndex& x = l->index;
  const TsGeneralData& child = x.gd[static_cast<std::size_t>(x.GetSkinIndex("CHILD"))];
  EXPECT_EQ(child.Color, 255);
  EXPECT_EQ(child.FontColor.Left, 77);  // an explicit -1 falls through to the parent
  // A system colour found in the parent is converted; the same value in the section is not.
  EXPECT_EQ(child.FontColor.Color, static_cast<TColor>(fw::ColorToRGB(fw::clWindowText)));
  EXPECT_EQ(x.gd[static_cast<std::size_t>(x.GetSkinIndex("BASE"))].FontColor.Color, -16777208);
  EXPECT_EQ(child.States, 1);
  EXPECT_EQ(child.Props[1].Color, child.Props[0].Color);
  EXPECT_EQ(child.HotColor, 0);
  const TsGeneralData& lone = x.gd[static_cast<std::size_t>(x.GetSkinIndex("LONE"))];
  EXPECT_EQ(lone.Color, 0xFFFFFF);
  EXPECT_EQ(lone.States, 3);
  EXPECT_EQ(lone.GradientArray.size(), 1u);
  EXPECT_TRUE(x.gd[static_cast<std::size_t>(x.GetSkinIndex("BASE"))].HotGradientArray.empty());
  // A chain that loops through three sections stops; so do the lookups that follow it.
  EXPECT_EQ(x.gd[static_cast<std::size_t>(x.GetSkinIndex("L1"))].GlowCount, 4);
  EXPECT_EQ(x.GetMaskIndex(x.GetSkinIndex("L1"), "L1", "BORDERSMASK"), -1);
  EXPECT_EQ(x.GetMaskIndex(x.GetSkinIndex("SELF"), "SELF", "BORDERSMASK"), -1);
  EXPECT_EQ(x.GetSkinIndex(""), -1);
  EXPECT_EQ(x.SkinData.Shadow1Blur, -1);
  EXPECT_EQ(x.SkinData.ExTitleHeight, 30);
  EXPECT_EQ(x.SkinData.ExMaxHeight, 30);
}

TEST(SkinDescription, MasksCornersLookupsAndImages) {
  plat::Bitmap png(6, 3);
  png.Fill(plat::MakePixel(200, 100, 50, 128));
  png.Row(0)[0] = 0x00FFFFFFu;
  const auto l = LoadText(kBase +
                              "GRIPIMAGE=@0000@0000@0010@0010@1@0\n"
                              "[A]\nBORDERSMASK=^0000^0000^0012^0010^0000^0000^0000^0000^1^0^2^3\n"
                              "PATTERN=~0000~0000~0004~0004~00\n"
                              "[B]\nPARENTCLASS=A\nBORDERSMASK=^0012^0000^0024^0012^0002^0002^0002^0002^2^0^2^0\n"
                              "[C]\nPARENTCLASS=A\nIMG=!PIECE.PNG!3!0!4\nOLD=a#b#c\nOWN=piece2.bmp\nNONE=!MISSING.BMP!1!0!0\n",
                          {}, {{"piece.png", plat::WritePng(png)}, {"PIECE2.BMP", MasterBmp()}});
  const TacSkinIndex& x = l->index;
  const int a = x.GetMaskIndex("A", "BORDERSMASK");
  ASSERT_GE(a, 0);
  EXPECT_EQ(x.ma[static_cast<std::size_t>(a)].WL, 3);  // all widths from BorderWidth
  EXPECT_EQ(x.ma[static_cast<std::size_t>(a)].CornerType, 1);  // magenta in the top-left corner
  EXPECT_EQ(x.ma[static_cast<std::size_t>(x.GetMaskIndex("B", "BORDERSMASK"))].CornerType, 0);
  // C has no border of its own: its parent's is found; its texture too.
  const int c = x.GetSkinIndex("C");
  EXPECT_EQ(x.gd[static_cast<std::size_t>(c)].BorderIndex, a);
  EXPECT_EQ(x.gd[static_cast<std::size_t>(c)].TextureNormal, x.GetMaskIndex("A", "PATTERN"));
  const TsMaskData& img = x.ma[static_cast<std::size_t>(x.GetMaskIndex("C", "IMG"))];
  EXPECT_EQ(img.ImgType, itisaPngGlyph);
  EXPECT_EQ(img.WL, 0); EXPECT_EQ(img.WT, 1);  // a third of a 2 x 3 frame
  EXPECT_EQ(img.Bmp->Pixels()->Row(0)[0], 0u);  // transparent white
  EXPECT_EQ(img.Bmp->Pixels()->Row(1)[1], plat::MakePixel(100, 50, 25, 128));  // premultiplied by 128/256
  const int own = x.GetMaskIndex("C", "OWN");
  ASSERT_GE(own, 0);
  EXPECT_EQ(x.ma[static_cast<std::size_t>(own)].ImageCount, 3);
  EXPECT_EQ(x.GetMaskIndex("C", "OLD"), -1);
  EXPECT_EQ(x.GetMaskIndex("C", "NONE"), -1);  // a missing image is skipped
  EXPECT_EQ(x.ConstData.GripRightBottom, x.GetMaskIndex("GLOBALINFO", "GRIPIMAGE"));
  EXPECT_EQ(x.ConstData.MaskCloseBtn, -1);
}

TEST(SkinDescription, HueAndSaturationSkipMagentaAndGrey) {
  TacLoadOptions hue;
  hue.HueOffset = 180;
  const auto l = LoadText(kBase + "[S]\nCOLOR=255\n", hue);
  const plat::Bitmap& m = *l->index.MasterBitmap->Pixels();
  EXPECT_EQ(m.Row(10)[30] & 0xFFFFFF, 0x00FFFFu);  // red became cyan
  EXPECT_EQ(m.Row(0)[0] & 0xFFFFFF, 0xFF00FFu);
  EXPECT_EQ(m.Row(5)[5] & 0xFFFFFF, 0x808080u);
  EXPECT_EQ(l->index.gd[1].Color, 0xFFFF00);
  TacLoadOptions grey;
  grey.Saturation = -100;
  const auto g = LoadText(kBase + "[S]\nCOLOR=255\n", grey);
  EXPECT_EQ(g->index.gd[1].Color, 0x555555);
}

struct BadDescription {
  const char* what;
  std::string text;
  const char* message;
};

TEST(SkinDescription, MalformedDescriptionsFailTheLoadClearly) {
  // A PNG header that claims an enormous picture.
  std::vector<std::uint8_t> huge = plat::WritePng(plat::Bitmap(1, 1));
  huge[16] = 0, huge[17] = 1, huge[18] = 0, huge[19] = 0;  // width 65536
  const BadDescription table[] = {
      {"letters in a border mask", "[A]\nM=^00x0^0000^0012^0010^0000^0000^0000^0000^1^0^2^3\n", "not a number"},
      {"short border mask", "[A]\nM=^0000^0000\n", "shorter than 48"},
      {"short glyph", "[A]\nM=@0000@0000@0010\n", "shorter than 24"},
      {"glyph without frames", "[A]\nM=@0000@0000@0010@0010@0@0\n", "no image frames"},
      {"inverted rectangle", "[A]\nM=@0010@0000@0005@0010@1@0\n", "inverted"},
      {"outside the master", "[A]\nM=@0000@0000@0100@0010@1@0\n", "outside the 40 x 20"},
      {"gradient letters", "[A]\nGRADIENTDATA=1;2;x;0;0\n", "not a number"},
      {"strict global value", "[GLOBALINFO]\nSHADOW1OFFSET=abc\n", "SHADOW1OFFSET"},
      {"negative image type", "[A]\nM=!HUGE.PNG!1!0!-1\n", "image type"},
      {"no frames in an image", "[A]\nM=!HUGE.PNG!0!0!0\n", "image count"},
      {"absurd image", "[A]\nM=!HUGE.PNG!1!0!0\n", "more than a skin may use"},
  };
  for (const BadDescription& b : table) {
    SCOPED_TRACE(b.what);
    try {
      LoadText(kBase + b.text, {}, {{"HUGE.PNG", huge}});
      ADD_FAILURE() << "accepted";
    } catch (const fw::Exception& e) {
      EXPECT_NE(e.Message().find(b.message), std::string::npos) << e.Message();
    }
  }
  fw::TBytesStream none(PackSkinArchive(std::vector<TacPackEntry>{{"Master.bmp", MasterBmp()}}));
  TacSkinIndex index;
  EXPECT_THROW(LoadPackedSkin(index, none, {}), ESkinDescriptionError);
}

TEST(SkinDescription, VersionCheckRunsTwicePerLoad) {
  std::vector<double> seen;
  TacLoadOptions o;
  o.VersionCheck = [&](double v) { seen.push_back(v); };
  LoadText("[GLOBALINFO]\nVERSION=9.5\n", o);
  EXPECT_EQ(seen, (std::vector<double>{9.5, 9.5}));
}

}  // namespace
}  // namespace velmora
