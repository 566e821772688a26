#pragma once
// The manager's settings that the window, menu and animation code read: animations, effects and
// menu support. Settings only; the behaviour lives with the code that reads them.
#include <cstdint>

#include "framework/font_brush_pen.h"
#include "framework/persistent.h"
#include "framework/sets.h"

namespace velmora {

class TacFormAnimation : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  TacFormAnimation(bool active, std::uint16_t time, std::uint8_t mode) : active_(active), time_(time), mode_(mode) {}
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  std::uint16_t Time() const { return time_; }
  void SetTime(int v) { time_ = static_cast<std::uint16_t>(v); }
  std::uint8_t Mode() const { return mode_; }
  void SetMode(int v) { mode_ = static_cast<std::uint8_t>(v); }

 private:
  bool active_;
  std::uint16_t time_;
  std::uint8_t mode_;
};

class TacBlendOnMoving : public TacFormAnimation {
  FW_DECLARE_CLASS

 public:
  TacBlendOnMoving() : TacFormAnimation(false, 1000, 1) {}
  int BlendValue() const { return blendValue_; }
  void SetBlendValue(int v) { blendValue_ = v; }

 private:
  int blendValue_ = 170;
};

enum TacBtnEvent { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
using TacBtnEvents = fw::TSet<TacBtnEvent>;

class TacBtnEffects : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  TacBtnEvents Events() const { return events_; }
  void SetEvents(TacBtnEvents v) { events_ = v; }

 private:
  TacBtnEvents events_{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
};

class TacAnimEffects : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  TacFormAnimation FormShow{true, 0, 1};
  TacFormAnimation FormHide{true, 0, 1};
  TacFormAnimation DialogShow{true, 0, 1};
  TacFormAnimation DialogHide{true, 0, 1};
  TacFormAnimation Minimizing{true, 200, 1};
  TacFormAnimation PageChange{true, 0, 1};
  TacFormAnimation SkinChanging{true, 100, 0};
  TacBlendOnMoving BlendOnMoving;
  TacBtnEffects Buttons;
};

class TacSkinEffects : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  bool AllowGlowing() const { return allowGlowing_; }
  void SetAllowGlowing(bool v) { allowGlowing_ = v; }
  bool AllowAeroBluring() const { return allowAeroBluring_; }
  void SetAllowAeroBluring(bool v) { allowAeroBluring_ = v; }

 private:
  bool allowGlowing_ = true;
  bool allowAeroBluring_ = true;
};

class TacMenuSupport : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  const std::string& IcoLineSkin() const { return icoLineSkin_; }
  void SetIcoLineSkin(const std::string& v) { icoLineSkin_ = v; }
  bool UseExtraLine() const { return useExtraLine_; }
  void SetUseExtraLine(bool v) { useExtraLine_ = v; }
  int ExtraLineWidth() const { return extraLineWidth_; }
  void SetExtraLineWidth(int v) { extraLineWidth_ = v; }
  int AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(int v) { alphaBlend_ = v; }
  fw::TFont* ExtraLineFont() { return &extraLineFont_; }

 private:
  std::string icoLineSkin_;
  bool useExtraLine_ = false;
  int extraLineWidth_ = 32;
  int alphaBlend_ = 255;
  fw::TFont extraLineFont_;
};

}  // namespace velmora
