#include "skin/sSkinManagerSettings.h"

#include "framework/stored_properties.h"

namespace velmora {

namespace {
constexpr fw::TEnumValue kBtnEvents[] = {
    {"beMouseEnter", beMouseEnter}, {"beMouseLeave", beMouseLeave}, {"beMouseDown", beMouseDown}, {"beMouseUp", beMouseUp}};
constexpr fw::TEnumType kBtnEventType{"TacBtnEvent", kBtnEvents};
}  // namespace

const fw::TMetaClass& TacFormAnimation::StaticClass() {
  static const fw::TMetaClass meta("TacFormAnimation", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TacFormAnimation>([](auto& b) {
                                     b.Boolean("Active", &TacFormAnimation::SetActive);
                                     b.Integer("Time", &TacFormAnimation::SetTime);
                                     b.Integer("Mode", &TacFormAnimation::SetMode);
                                   }));
  return meta;
}

const fw::TMetaClass& TacBlendOnMoving::StaticClass() {
  static const fw::TMetaClass meta("TacBlendOnMoving", &TacFormAnimation::StaticClass(), nullptr,
                                   fw::Stored<TacBlendOnMoving>([](auto& b) {
                                     b.Integer("BlendValue", &TacBlendOnMoving::SetBlendValue);
                                   }));
  return meta;
}

const fw::TMetaClass& TacBtnEffects::StaticClass() {
  static const fw::TMetaClass meta(
      "TacBtnEffects", &fw::TPersistent::StaticClass(), nullptr,
      fw::Stored<TacBtnEffects>([](auto& b) { b.Set("Events", &TacBtnEffects::SetEvents, kBtnEventType); }));
  return meta;
}

const fw::TMetaClass& TacAnimEffects::StaticClass() {
  static const fw::TMetaClass meta("TacAnimEffects", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TacAnimEffects>([](auto& b) {
                                     b.Object("FormShow", [](TacAnimEffects& e) { return &e.FormShow; });
                                     b.Object("FormHide", [](TacAnimEffects& e) { return &e.FormHide; });
                                     b.Object("DialogShow", [](TacAnimEffects& e) { return &e.DialogShow; });
                                     b.Object("DialogHide", [](TacAnimEffects& e) { return &e.DialogHide; });
                                     b.Object("Minimizing", [](TacAnimEffects& e) { return &e.Minimizing; });
                                     b.Object("PageChange", [](TacAnimEffects& e) { return &e.PageChange; });
                                     b.Object("SkinChanging", [](TacAnimEffects& e) { return &e.SkinChanging; });
                                     b.Object("BlendOnMoving", [](TacAnimEffects& e) { return &e.BlendOnMoving; });
                                     b.Object("Buttons", [](TacAnimEffects& e) { return &e.Buttons; });
                                   }));
  return meta;
}

const fw::TMetaClass& TacSkinEffects::StaticClass() {
  static const fw::TMetaClass meta("TacSkinEffects", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TacSkinEffects>([](auto& b) {
                                     b.Boolean("AllowGlowing", &TacSkinEffects::SetAllowGlowing);
                                     b.Boolean("AllowAeroBluring", &TacSkinEffects::SetAllowAeroBluring);
                                   }));
  return meta;
}

const fw::TMetaClass& TacMenuSupport::StaticClass() {
  static const fw::TMetaClass meta("TacMenuSupport", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TacMenuSupport>([](auto& b) {
                                     b.String("IcoLineSkin", &TacMenuSupport::SetIcoLineSkin);
                                     b.Boolean("UseExtraLine", &TacMenuSupport::SetUseExtraLine);
                                     b.Integer("ExtraLineWidth", &TacMenuSupport::SetExtraLineWidth);
                                     b.Integer("AlphaBlend", &TacMenuSupport::SetAlphaBlend);
                                     b.Object("ExtraLineFont", &TacMenuSupport::ExtraLineFont);
                                   }));
  return meta;
}

}  // namespace velmora
