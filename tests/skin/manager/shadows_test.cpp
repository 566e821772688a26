#include "platform/gdi/image_codecs.h"
#include "skin_manager_fixture.h"

namespace velmora::test {
namespace {

int Alpha(const fw::TBitmap& b, int x, int y) { return plat::PixelA(b.Pixels()->Row(y)[x]); }
plat::Pixel At(const fw::TBitmap& b, int x, int y) { return b.Pixels()->Row(y)[x]; }

// The program's templates: 33 x 33, black, the alpha ramping up from the edge to the middle.
TEST_F(SkinManagerTest, TheBuiltInShadowTemplatesAreReadFromTheResources) {
  SkinManagerStartup();
  const struct {
    bool active;
    std::vector<int> ramp;  // from the top edge down the middle column
    int middle;
  } cases[] = {{true, {3, 9, 15, 24, 35, 48, 63, 80, 100, 119}, 128}, {false, {0, 1, 3, 6, 10, 16, 24, 33, 43, 55}, 77}};
  for (const auto& t : cases) {
    const fw::TBitmap& b = BuiltInShadowTemplate(t.active);
    ASSERT_EQ(b.Width(), 33);
    ASSERT_EQ(b.Height(), 33);
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(Alpha(b, 16, i), t.ramp[i]) << t.active << " row " << i;
      EXPECT_EQ(Alpha(b, 32 - i, 16), t.ramp[i]) << t.active << " right column " << i;
    }
    EXPECT_EQ(Alpha(b, 16, 16), t.middle);
    EXPECT_LT(Alpha(b, 9, 9), Alpha(b, 16, 9)) << "the corners fall off";
    EXPECT_EQ(At(b, 16, 9) & 0x00FFFFFFu, 0u) << "black";
  }
}

// The program's skin has no EXBORDER mask: the built-in templates and their margins apply.
TEST_F(SkinManagerTest, ExtendedBordersGiveTheShadowMargins) {
  SkinManagerStartup();
  auto* m = Manager();
  AddBuiltIn(m, "skin");
  m->SetSkinName("skin");
  EXPECT_EQ(m->FormShadowSize(), (plat::RECT{0, 0, 0, 0})) << "extended borders off";
  m->SetExtendedBorders(true);
  ASSERT_TRUE(m->ExtendedBordersInEffect());
  EXPECT_EQ(m->FormShadowSize(), (plat::RECT{9, 9, 9, 9}));
  ASSERT_EQ(m->ShdaTemplate().Width(), 33);
  ASSERT_EQ(m->ShdiTemplate().Width(), 33);
  EXPECT_EQ(Alpha(m->ShdaTemplate(), 16, 16), 128);
  EXPECT_EQ(Alpha(m->ShdiTemplate(), 16, 16), 77);
  m->SetActive(false);
  EXPECT_EQ(m->FormShadowSize(), (plat::RECT{0, 0, 0, 0})) << "inactive";
}

// A skin with its own "EXBORDER": frames of 30 x 30, frame i with alpha 16 * (i + 1), its
// top-left pixel transparent white.
class ExBorderTest : public SkinManagerTest {
 protected:
  void ExBorderSkin(const std::string& name, const std::string& version, int frames, int mode) {
    FolderSkin(name, version);
    std::ofstream(skins / name / "Options.dat", std::ios::app)
        << "\n[GLOBALINFO]\nEXBORDER=!EXB.BMP!" << frames << "!0!0!10!11!12!13\nFORMOFFSET=3\nBORDERMODE=" << mode
        << "\n";
    plat::Bitmap image(30 * frames, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < image.Width(); ++x) image.Row(y)[x] = plat::Pixel(16 * (x / 30 + 1)) << 24;
    for (int f = 0; f < frames; ++f) image.Row(0)[30 * f] = 0x00FFFFFFu;
    plat::WriteFileBytes((skins / name / "EXB.BMP").string(), plat::WriteBmp(image));
  }
};

TEST_F(ExBorderTest, TheSkinsImageGivesTemplatesAndMargins) {
  const struct {
    const char* version;
    int frames;
    int mode;
    plat::RECT size;
    int inactiveAlpha, activeAlpha;
    plat::Pixel corner;  // the frames' top-left pixel
  } cases[] = {
      {"8", 2, 0, {7, 8, 9, 10}, 16, 32, 0x00FFFFFFu},
      {"8", 2, 1, {3, 3, 3, 3}, 16, 32, 0x00FFFFFFu},
      {"7.5", 1, 0, {7, 8, 9, 10}, 16, 16, 0},
  };
  int i = 0;
  for (const auto& t : cases) {
    const std::string name = "ex" + std::to_string(i++);
    ExBorderSkin(name, t.version, t.frames, t.mode);
    auto* m = Manager();
    m->SetExtendedBorders(true);
    m->SetSkinName(name);
    ASSERT_TRUE(shown.empty()) << shown[0].text;
    EXPECT_EQ(m->FormShadowSize(), t.size) << name;
    ASSERT_EQ(m->ShdiTemplate().Width(), 30) << name;
    ASSERT_EQ(m->ShdaTemplate().Width(), 30) << name;
    EXPECT_EQ(Alpha(m->ShdiTemplate(), 5, 5), t.inactiveAlpha) << name;
    EXPECT_EQ(Alpha(m->ShdaTemplate(), 5, 5), t.activeAlpha) << name;
    EXPECT_EQ(At(m->ShdiTemplate(), 0, 0), t.corner) << name;
    EXPECT_EQ(At(m->ShdaTemplate(), 0, 0), t.corner) << name;
    fw::FreeComponent(m);
  }
}

}  // namespace
}  // namespace velmora::test
