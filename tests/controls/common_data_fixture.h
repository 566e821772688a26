#pragma once
// A headless form with a skin manager whose skin is written by hand (every value a test depends
// on is in the test), and panels and graphic controls that carry a skin state, forward their
// messages to it the way skinned controls do, and remember the skin commands they receive.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/sCommonData.h"
#include "framework/application.h"
#include "framework/ext_controls.h"
#include "framework/forms.h"
#include "platform/display/headless/headless_display.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora::test {

template <class Base>
class TSkinned : public Base {
 public:
  explicit TSkinned(fw::TComponent* owner, bool withCache = true)
      : Base(owner), SkinData(std::make_unique<TsCommonData>(this, withCache)) {}
  std::unique_ptr<TsCommonData> SkinData;
  std::vector<int> received;  // skin commands, in order
  int painted = 0;            // paints that drew something
  TCacheInfo lastBackground;

  void WndProc(fw::TMessage& m) override {
    if (m.Msg == SkinCommandMessage) received.push_back(SkinCommandOf(m.WParam));
    if (SkinData->HandleCommonMessage(m)) return;
    Base::WndProc(m);
  }
  int Count(int command) const { return static_cast<int>(std::count(received.begin(), received.end(), command)); }

 protected:
  // What a skinned control does before painting: nothing while deferred or while the parent's
  // picture is not ready.
  void Paint() override {
    if (SkinData->RecheckUpdating(false)) return;
    if (SkinData->QueryParentBackground(lastBackground) == TacParentBackground::NotReady) return;
    ++painted;
  }
};

class TSkinnedPanel : public TSkinned<fw::TPanel> {
 public:
  using TSkinned<fw::TPanel>::TSkinned;

 protected:
  void Paint() override { TSkinned<fw::TPanel>::Paint(); }
};

class TSkinnedGraphic : public TSkinned<fw::TGraphicControl> {
 public:
  using TSkinned<fw::TGraphicControl>::TSkinned;

 protected:
  void Paint() override { TSkinned<fw::TGraphicControl>::Paint(); }
};

class CommonDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
    app = std::make_unique<fw::TApplication>(nullptr);
    form = fw::NewForm<fw::TForm>(app.get());
    form->SetBounds(0, 0, 300, 200);
    form->HandleNeeded();
    manager = fw::New<TsSkinManager>(form);
    Skin().SkinData.Active = true;
    Skin().Palette[0] = 0x00404040;
  }
  void TearDown() override {
    app.reset();
    plat::ShutdownPlatform();
  }

  TacSkinIndex& Skin() { return manager->Index(); }

  // An opaque plain section; both states alike unless a test changes them.
  int AddSection(const std::string& name, TColor color, int transparency = 0) {
    TsGeneralData g;
    g.ClassName = name;
    g.Color = color;
    g.Transparency = transparency;
    for (TsGenState& s : g.Props) {
      s.Color = color;
      s.Transparency = transparency;
    }
    Skin().gd.push_back(std::move(g));
    return static_cast<int>(Skin().gd.size()) - 1;
  }
  TsGeneralData& Section(int i) { return Skin().gd[static_cast<std::size_t>(i)]; }
  // A section whose background is a gradient, so it must be painted as a picture.
  int AddGradientSection(const std::string& name) {
    const int i = AddSection(name, 0x00FFFFFF);
    Section(i).GradientPercent = 100;
    for (TsGenState& s : Section(i).Props) s.GradientPercent = 100;
    return i;
  }
  int AddMask(const std::string& section, const std::string& property, int drawMode = 0) {
    TsMaskData m;
    m.ClassName = section;
    m.PropertyName = property;
    m.DrawMode = drawMode;
    m.ImgType = property == "PATTERN" || property == "HOTPATTERN" ? itisaTexture : itisaBorder;
    m.WL = 2, m.WT = 3, m.WR = 4, m.WB = 5;
    Skin().ma.push_back(std::move(m));
    return static_cast<int>(Skin().ma.size()) - 1;
  }

  template <class T>
  T* Add(fw::TWinControl* parent, const std::string& section, plat::RECT bounds, bool withCache = true) {
    auto* c = fw::New<T>(form, withCache);
    c->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    c->SetParent(parent);
    if constexpr (std::is_base_of_v<fw::TWinControl, T>) c->HandleNeeded();
    c->SkinData->SetSkinSection(section);
    c->received.clear();
    return c;
  }

  std::unique_ptr<fw::TApplication> app;
  fw::TForm* form = nullptr;
  TsSkinManager* manager = nullptr;
};

}  // namespace velmora::test
