#pragma once
// A tiny skin built in memory for the painting tests: sections, masks and a master bitmap set by
// hand, so every value a test depends on is in the test. Also a skin state whose owner answers
// are plain fields.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/bitmap.h"
#include "paint/section_skin_state.h"
#include "platform/display/headless/headless_display.h"
#include "platform/wm/wm.h"
#include "skin/sSkinManager.h"

namespace velmora::test {

// Colours and fonts need the platform; one headless screen for the whole test program.
class PaintTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!plat::CurrentDisplay()) plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
  }
};

struct TinySkin {
  TacSkinIndex skin;

  TinySkin() { skin.MasterBitmap = std::make_unique<fw::TBitmap>(64, 64); }

  // A plain opaque section with the same values for both states.
  int AddSection(const std::string& name, TColor color, int states = 2) {
    TsGeneralData g;
    g.ClassName = name;
    g.Color = color;
    g.States = states;
    for (TsGenState& s : g.Props) {
      s.Color = color;
      s.FontColor = TsFontColor{0, -1, -1, -1, -1};
    }
    skin.gd.push_back(std::move(g));
    return static_cast<int>(skin.gd.size()) - 1;
  }
  TsGeneralData& Section(int i) { return skin.gd[static_cast<std::size_t>(i)]; }

  // A piece of the master bitmap.
  int AddMask(const std::string& section, const std::string& property, plat::RECT r, int imageCount = 1,
              int maskType = 0, int drawMode = 0) {
    TsMaskData m;
    m.ClassName = section;
    m.PropertyName = property;
    m.R = r;
    m.ImageCount = imageCount;
    m.MaskType = maskType;
    m.DrawMode = drawMode;
    m.Manager = &skin;
    skin.ma.push_back(std::move(m));
    return static_cast<int>(skin.ma.size()) - 1;
  }
  TsMaskData& Mask(int i) { return skin.ma[static_cast<std::size_t>(i)]; }

  void SetMaster(int x, int y, plat::Pixel p) { skin.MasterBitmap->Pixels()->Row(y)[x] = p; }
  void FillMaster(plat::RECT r, plat::Pixel p) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) SetMaster(x, y, p);
  }
};

// A skin state whose owner's answers are fields the test sets.
class FakeSkinState : public TacPaintSkinState {
 public:
  explicit FakeSkinState(const TacSkinIndex& skin) : skin_(skin) {}
  const TacSkinIndex* PaintIndex() const override { return &skin_; }

  fw::TControl* owner = nullptr;
  TColor ownerColor = 0x00C0C0C0;
  TColor parentColor = 0x00808080;
  bool windowed = true;
  TacParentBackground answer = TacParentBackground::NoParent;
  TCacheInfo background;
  TColor effectiveColor = 0x00A0A0A0;
  int parentFontSection = -1;

  fw::TControl* OwnerControl() const override { return owner; }
  TColor OwnerColor() const override { return ownerColor; }
  TColor ParentColor() const override { return parentColor; }
  bool OwnerWindowed() const override { return windowed; }
  TacParentBackground QueryParentBackground(TCacheInfo& info) override {
    info = background;
    return answer;
  }
  TColor EffectiveColor(int) override { return effectiveColor; }
  int ParentFontSection() override { return parentFontSection; }

 private:
  const TacSkinIndex& skin_;
};

inline plat::Pixel At(fw::TBitmap& b, int x, int y) { return b.Pixels()->Row(y)[x]; }
inline void Fill(fw::TBitmap& b, plat::Pixel p) { b.Pixels()->Fill(p); }

}  // namespace velmora::test
