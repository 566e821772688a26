#include "controls/sCommonData.h"

#include <algorithm>

#include "framework/ext_controls.h"
#include "framework/forms.h"
#include "framework/stored_properties.h"
#include "framework/sysutils.h"
#include "framework/win_control.h"
#include "paint/section_lookup.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

namespace {

bool InRange(int coc, int low, int high) { return coc >= low && coc <= high; }

bool BeingDestroyed(const fw::TObject* object) {
  const auto* component = dynamic_cast<const fw::TComponent*>(object);
  return component && component->ComponentState().Contains(fw::csDestroying);
}

// Frames, panels and scrolling controls may paint as one colour; other controls always paint
// through their picture.
bool ClassifiedOwner(const fw::TControl* control) {
  return dynamic_cast<const fw::TPanel*>(control) || dynamic_cast<const fw::TCustomForm*>(control);
}

}  // namespace

bool IsNonHotKind(int coc) { return coc == 19 || InRange(coc, 51, 74) || coc == 110 || InRange(coc, 141, 161); }

bool IsNoGlowKind(int coc) {
  switch (coc) {
    case 51: case 52: case 54: case 56: case 57: case 58: case 59: case 60: case 68: case 73: case 74:
    case 110: case 141: case 143: case 151: case 161: case 226:
      return true;
    default:
      return false;
  }
}

bool IsEditKind(int coc) {
  return InRange(coc, 2, 18) || coc == 41 || InRange(coc, 76, 84) || coc == 96 || InRange(coc, 131, 140) ||
         coc == 231;
}

const char* DefaultSectionOf(int coc) {
  switch (coc) {
    case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 10: case 41: case 76: case 78: case 83:
    case 84: case 85: case 96: case 131: case 140: case 230:
      return "EDIT";
    case 11: case 12: case 13: case 14: case 15: case 16: case 17: case 18: case 81: case 82:
      return "COMBOBOX";
    case 19: return "BAR";
    case 20: return "BARTITLE";
    case 32: case 33: case 50: case 152: return "CHECKBOX";
    case 51: case 59: case 68: case 73: return "PANEL";
    case 52: case 58: return "PANEL_LOW";
    case 53: case 54: case 60: return "TOOLBAR";
    case 56: return "DRAGBAR";
    case 57: return "TABSHEET";
    case 74: case 226: return "GROUPBOX";
    case 75: return "SPLITTER";
    case 92: case 95: return "SPEEDBUTTON";
    case 93: case 94: return "BUTTON";
    case 98: return "TOOLBUTTON";
    case 141: case 143: return "PAGECONTROL";
    case 151: return "STATUSBAR";
    case 161: return "GAUGE";
    case 165: return "TRACKBAR";
    default: return "";
  }
}

const fw::TMetaClass& TsCommonData::StaticClass() {
  static const fw::TMetaClass meta("TsCommonData", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TsCommonData>([](auto& b) {
                                     b.String("SkinSection", &TsCommonData::SetSkinSection);
                                     b.Component("SkinManager", &TsCommonData::SetSkinManager);
                                     b.Boolean("CustomColor", &TsCommonData::SetCustomColor);
                                     b.Boolean("CustomFont", &TsCommonData::SetCustomFont);
                                   }));
  return meta;
}

const fw::TMetaClass& TsCtrlSkinData::StaticClass() {
  static const fw::TMetaClass meta("TsCtrlSkinData", &TsCommonData::StaticClass(), nullptr,
                                   fw::Stored<TsCtrlSkinData>([](auto& b) {
                                     using Setter = void (TsCtrlSkinData::*)(int);
                                     b.Integer("HUEOffset", static_cast<Setter>(&TsCtrlSkinData::SetHUEOffset));
                                     b.Integer("Saturation", static_cast<Setter>(&TsCtrlSkinData::SetSaturation));
                                   }));
  return meta;
}

TsCommonData::TsCommonData(fw::TObject* AOwner, bool CreateCacheBmp)
    : FOwnerControl(dynamic_cast<fw::TControl*>(AOwner)), FOwnerObject(AOwner) {
  if (CreateCacheBmp) FCacheBmp = std::make_unique<fw::TBitmap>();
}

TsCommonData::~TsCommonData() {
  SkinIndex = -1;
  Texture = -1;
  HotTexture = -1;
  FOwnerControl = nullptr;
  FOwnerObject = nullptr;
  FSkinManager = nullptr;
  FCacheBmp.reset();
  RemoveGlow();
}

fw::TCustomForm* TsCommonData::ProviderForm() const {
  if (FOwnerControl) return nullptr;
  const auto* provider = dynamic_cast<const TacFormSkinOwner*>(FOwnerObject);
  return provider ? provider->SkinnedForm() : nullptr;
}

bool TsCommonData::OwnerWindowed() const { return dynamic_cast<const fw::TWinControl*>(FOwnerControl) != nullptr; }

bool TsCommonData::OwnerBeingDestroyed() const { return BeingDestroyed(FOwnerObject); }

bool TsCommonData::OwnerLoading() const {
  const auto* component = dynamic_cast<const fw::TComponent*>(FOwnerObject);
  return component && component->ComponentState().Contains(fw::csLoading);
}

TsSkinManager* TsCommonData::SkinManager() const { return FSkinManager ? FSkinManager : DefaultManager(); }

bool TsCommonData::SameManager(plat::LPARAM value) const {
  return value != 0 && reinterpret_cast<TsSkinManager*>(value) == SkinManager();
}

const TsGeneralData* TsCommonData::Section() const {
  const TacSkinIndex* skin = PaintIndex();
  return ValidSection(skin, SkinIndex) ? &skin->gd[static_cast<std::size_t>(SkinIndex)] : nullptr;
}

void TsCommonData::SendToOwner(plat::WORD command, plat::WORD argument, plat::LPARAM value) {
  if (FOwnerControl) {
    FOwnerControl->Perform(SkinCommandMessage, SkinParam(command, argument), value);
  } else if (fw::TCustomForm* form = ProviderForm(); form && form->HandleAllocated()) {
    plat::SendMessage(form->Handle(), SkinCommandMessage, SkinParam(command, argument), value);
  }
}

bool TsCommonData::Skinned(bool CheckSkinActive) const {
  try {
    if (FSkinSection.empty()) return false;
    TsSkinManager* manager = SkinManager();
    if (!manager || BeingDestroyed(manager)) return false;
    if (!ValidSection(&manager->Index(), SkinIndex) || OwnerBeingDestroyed()) return false;
    return !CheckSkinActive || manager->SkinData().Active;
  } catch (...) {
    return false;
  }
}

void TsCommonData::SetSkinSection(const std::string& Value) {
  if (Value == FSkinSection) return;
  FSkinSection = Value.empty() ? std::string("UNKNOWN") : fw::UpperCase(Value);
  TsSkinManager* manager = SkinManager();
  if (manager && manager->SkinData().Active)
    UpdateIndexes();
  else
    SkinIndex = -1;
  if (FOwnerControl) {
    const auto state = FOwnerControl->ComponentState();
    if (state.Contains(fw::csLoading) || state.Contains(fw::csReading) || state.Contains(fw::csDestroying) ||
        !FOwnerControl->Parent())
      return;
    if (!FUpdating)
      SendSkinCommand(FOwnerControl, IsSkinned() ? scRefresh : scRemoveSkin, reinterpret_cast<plat::LPARAM>(manager));
    RemoveGlow();
  } else if (ProviderForm()) {
    BGChanged = true;
  }
}

void TsCommonData::SetSkinManager(TsSkinManager* Value) {
  if (Value == DefaultManager()) Value = nullptr;
  if (Value == FSkinManager) return;
  FSkinManager = Value;
  if (OwnerLoading()) return;
  TsSkinManager* manager = SkinManager();
  if (manager && manager->SkinData().Active)
    UpdateIndexes();
  else
    SkinIndex = -1;
  if (FOwnerControl && FOwnerControl->Parent() && !BeingDestroyed(FOwnerControl->Parent()))
    SendSkinCommand(FOwnerControl, IsSkinned() ? scRefresh : scRemoveSkin, reinterpret_cast<plat::LPARAM>(manager));
}

void TsCommonData::SetCustomColor(bool Value) {
  if (Value == FCustomColor) return;
  FCustomColor = Value;
  if (!OwnerLoading()) ApplySkinColors(true);
}

void TsCommonData::SetCustomFont(bool Value) {
  if (Value == FCustomFont) return;
  FCustomFont = Value;
  if (!OwnerLoading()) ApplySkinColors(true);
}

void TsCommonData::SetHUEOffset(int Value) {
  if (Value == FHUEOffset) return;
  FHUEOffset = Value;
  Loaded();
  Invalidate(false);
}

void TsCommonData::SetSaturation(int Value) {
  if (Value == FSaturation) return;
  FSaturation = Value;
  Loaded();
  Invalidate(false);
}

void TsCommonData::AssignDefaultSection() {
  if (FSkinSection.empty()) {
    std::string name = DefaultSectionOf(COC);
    if (name.empty() && FOwnerObject) name = FOwnerObject->ClassName();
    FSkinSection = fw::UpperCase(name);
  }
  UpdateIndexes();
}

void TsCommonData::Loaded() {
  AssignDefaultSection();
  if (!Skinned(false)) return;
  if (FOwnerControl && FOwnerControl->Parent() &&
      !FOwnerControl->Parent()->ComponentState().Contains(fw::csLoading)) {
    if (OwnerWindowed()) {
      fw::TCustomForm* form = fw::GetParentForm(FOwnerControl);
      if (form && form->HandleAllocated())
        plat::SendMessage(form->Handle(), SkinCommandMessage, SkinParam(scQueryParent),
                          reinterpret_cast<plat::LPARAM>(FOwnerControl));
    }
  }
  ApplySkinColors(false);
}

void TsCommonData::UpdateIndexes() {
  BGChanged = true;
  TsSkinManager* manager = SkinManager();
  SkinIndex = manager && manager->SkinData().Active ? manager->GetSkinIndex(FSkinSection) : -1;
  BGType = ComputeBGType();
  CtrlSkinState = ACS_NOTEVALUATED;
  if (const TsGeneralData* section = Section()) {
    BorderIndex = section->BorderIndex;
    Texture = manager->GetTextureIndex(SkinIndex, FSkinSection, "PATTERN");
    HotTexture = manager->GetTextureIndex(SkinIndex, FSkinSection, "HOTPATTERN");
    EvaluatePlainFill(false);
  } else {
    Texture = -1;
    HotTexture = -1;
  }
}

std::uint16_t TsCommonData::ComputeBGType() const {
  const TsGeneralData* section = Section();
  if (!section) return 0;
  std::uint16_t bits = section->ImagePercent != 0 ? BGT_TEXTURE : 0;
  if (section->GradientPercent != 0 && !section->GradientArray.empty()) {
    switch (section->GradientArray.front().Mode1) {
      case 0: bits |= BGT_GRADIENTVERT; break;
      case 1: bits |= BGT_GRADIENTHORZ; break;
      case 2: bits |= BGT_GRADIENTHORZ | BGT_GRADIENTVERT; break;
      default: break;
    }
  }
  return bits;
}

int TsCommonData::ClassifyBackground() const {
  const TacSkinIndex* skin = PaintIndex();
  const TsGeneralData* section = Section();
  if (!SkinManager() || SkinIndex < 0 || !section) return 1;
  if (ValidMask(skin, BorderIndex) && (skin->ma[static_cast<std::size_t>(BorderIndex)].DrawMode & 4)) return 0;
  const TsGenState& normal = section->Props[0];
  if (normal.Transparency == 100) {
    if (ValidMask(skin, section->TextureNormal) &&
        skin->ma[static_cast<std::size_t>(section->TextureNormal)].DrawMode == 10)
      return 0;
    fw::TWinControl* parent = FOwnerControl ? FOwnerControl->Parent() : nullptr;
    if (!parent) return 0;
    if (!parent->HandleAllocated()) return 2;
    if (IsSkinCommandTrue(parent->Handle(), scIsHandled))
      return static_cast<int>(plat::SendMessage(parent->Handle(), SkinCommandMessage, SkinParam(scControlState), 0));
    return 1;
  }
  if (normal.Transparency != 0) return 0;
  if (normal.ImagePercent != 0 || normal.GradientPercent != 0) return 0;
  const bool corners = ValidMask(skin, section->ImgTL) || ValidMask(skin, section->ImgTR) ||
                       ValidMask(skin, section->ImgBL) || ValidMask(skin, section->ImgBR);
  if (corners) return 0;
  const auto* provider = FOwnerControl ? nullptr : dynamic_cast<const TacFormSkinOwner*>(FOwnerObject);
  return provider && provider->HasMenuLine() ? 0 : 1;
}

void TsCommonData::EvaluatePlainFill(bool Children) {
  CtrlSkinState &= static_cast<std::uint16_t>(~ACS_PLAINFILL);
  if (FOwnerControl && ClassifiedOwner(FOwnerControl)) {
    const int result = ClassifyBackground();
    if (result == 2) return;
    if (result % 2 != 0) CtrlSkinState |= ACS_PLAINFILL;
    CtrlSkinState &= static_cast<std::uint16_t>(~ACS_NOTEVALUATED);
    auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
    if (windowed && Children) {
      for (int i = 0; i < windowed->ControlCount(); ++i) SendSkinCommand(windowed->Controls(i), scControlState, 1);
    }
  } else if (fw::TCustomForm* form = ProviderForm()) {
    const int result = ClassifyBackground();
    if (result == 2) return;
    if (result % 2 != 0) {
      if (form->FormStyle() != fw::fsMDIForm) CtrlSkinState |= ACS_PLAINFILL;
      CtrlSkinState &= static_cast<std::uint16_t>(~ACS_NOTEVALUATED);
    } else {
      CtrlSkinState = 0;
    }
  } else {
    CtrlSkinState |= ACS_NOTEVALUATED;
  }
}

bool TsCommonData::ShowsHot() const {
  if (!FOwnerControl) return false;
  const auto state = FOwnerControl->ComponentState();
  if (state.Contains(fw::csDestroying) || state.Contains(fw::csDesigning) || !FOwnerControl->Enabled()) return false;
  if (FFocused) return true;
  auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
  if (windowed && windowed->HandleAllocated() && plat::GetFocus() == windowed->Handle() &&
      !dynamic_cast<fw::TPanel*>(windowed))
    return true;
  return FMouseAbove && !IsNonHotKind(COC);
}

bool TsCommonData::UsesCache() const { return !(CtrlSkinState & ACS_PLAINFILL) || ShowsHot(); }

bool TsCommonData::QueryUpdating() {
  if (!SkinManager()) return false;
  const auto* component = dynamic_cast<const fw::TComponent*>(FOwnerObject);
  if (component && component->ComponentState().Contains(fw::csDesigning)) return false;
  if (!UsesCache() || OwnerBeingDestroyed()) return FUpdating;
  if (FUpdating) return true;
  if (FOwnerControl) {
    fw::TWinControl* parent = FOwnerControl->Parent();
    return parent && SendSkinCommand(parent, scIsChanged) != 0;
  }
  if (fw::TCustomForm* form = ProviderForm(); form && form->Parent())
    return SendSkinCommand(form->Parent(), scIsChanged) != 0;
  return false;
}

bool TsCommonData::RecheckUpdating(bool Reset) {
  if (Reset) FUpdating = false;
  if (!QueryUpdating()) return false;
  FUpdating = true;
  return true;
}

void TsCommonData::BeginUpdate() {
  ++FUpdateCount;
  FUpdating = true;
  CtrlSkinState |= ACS_LOCKED;
  SendToOwner(scBeginUpdate);
}

void TsCommonData::EndUpdate(bool Repaint) {
  // An unbalanced call must not leave the count below zero: a later BeginUpdate/EndUpdate pair
  // would then end the outer update early.
  FUpdateCount = std::max(FUpdateCount - 1, 0);
  FUpdating = false;
  CtrlSkinState &= static_cast<std::uint16_t>(~ACS_LOCKED);
  if (FUpdateCount <= 0) {
    SendToOwner(scEndUpdate);
    if (Repaint) Invalidate(false);
  }
}

void TsCommonData::Invalidate(bool UpdateNow) {
  constexpr plat::UINT kRedraw = plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_FRAME | plat::RDW_ALLCHILDREN;
  if (FOwnerControl) {
    const auto state = FOwnerControl->ComponentState();
    if (state.Contains(fw::csDestroying) || state.Contains(fw::csLoading)) return;
    BGChanged = true;
    const auto controlState = FOwnerControl->ControlState();
    if (!FOwnerControl->Parent() || controlState.Contains(fw::csCreating) ||
        controlState.Contains(fw::csReadingState))
      return;
    auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
    if (!windowed) {
      FOwnerControl->Repaint();
    } else if (windowed->HandleAllocated()) {
      plat::RedrawWindow(windowed->Handle(), nullptr, nullptr, kRedraw | (UpdateNow ? plat::RDW_UPDATENOW : 0));
    }
  } else if (fw::TCustomForm* form = ProviderForm()) {
    BGChanged = true;
    if (form->HandleAllocated()) plat::RedrawWindow(form->Handle(), nullptr, nullptr, kRedraw);
  }
}

bool TsCommonData::RepaintIfMoved() {
  if (UrgentPainting || !Skinned()) return true;
  constexpr int kTabSheet = 57;
  if (COC == kTabSheet || !FOwnerControl || !FOwnerControl->Enabled()) return true;
  if (Section()->Props[0].Transparency <= 0) return false;
  fw::TWinControl* parent = FOwnerControl->Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  return SendSkinCommand(parent, scNeedsParentBackground) != 0;
}

void TsCommonData::ApplySkinColors(bool DoInvalidate) {
  if (!FOwnerControl || !Skinned() || !IsEditKind(COC)) return;
  auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
  if (windowed && !windowed->HandleAllocated()) return;
  const TsGeneralData& section = *Section();
  if (!FCustomColor) {
    const TColor color = Tinted(section.Props[0].Color);
    if (FOwnerControl->Color() != color) FOwnerControl->SetColor(color);
  }
  if (!FCustomFont) {
    const TColor color = Tinted(section.Props[0].FontColor.Color);
    if (FOwnerControl->Font()->Color() != color) FOwnerControl->Font()->SetColor(color);
  }
  if (DoInvalidate) Invalidate(false);
}

void TsCommonData::EnsureCacheBitmap() {
  if (!FCacheBmp) FCacheBmp = std::make_unique<fw::TBitmap>();
  FCacheBmp->SetPixelFormat(fw::pf32bit);
  const plat::POINT size = OwnerSize();
  FCacheBmp->SetSize(std::max<int>(size.x, 0), std::max<int>(size.y, 0));
}

plat::POINT TsCommonData::OwnerSize() const {
  if (FOwnerControl) return {FOwnerControl->Width(), FOwnerControl->Height()};
  if (fw::TCustomForm* form = ProviderForm()) return {form->Width(), form->Height()};
  return {0, 0};
}

int TsCommonData::LargestBorderWidth() const {
  const TacSkinIndex* skin = PaintIndex();
  if (!ValidMask(skin, BorderIndex)) return 0;
  const TsMaskData& mask = skin->ma[static_cast<std::size_t>(BorderIndex)];
  if (mask.DrawMode & 2) return 0;
  return std::max({mask.WL, mask.WT, mask.WR, mask.WB});
}

void TsCommonData::RemoveGlow() {
  if (GlowID == -1) return;
  HideGlow(GlowID);
  GlowID = -1;
}

void TsCommonData::RefreshGlow(bool Hide, plat::HWND window) {
  (void)window;
  TsSkinManager* manager = SkinManager();
  const TsGeneralData* section = Section();
  if (!manager || !manager->Effects()->AllowGlowing() || !section || section->GlowCount < 1 || !FOwnerControl)
    return;
  const bool buttonHeld = FOwnerControl->ControlState().Contains(fw::csLButtonDown);
  if (!FMouseAbove || buttonHeld || (Hide && GlowID != -1)) {
    RemoveGlow();
    return;
  }
  if (GlowID != -1) return;
  fw::TCustomForm* form = fw::GetParentForm(FOwnerControl);
  if (!form || !form->HandleAllocated()) return;
  TacGlowRequest request;
  const plat::POINT origin = FOwnerControl->ClientToScreen({0, 0});
  request.ScreenRect = {origin.x, origin.y, origin.x + FOwnerControl->Width(), origin.y + FOwnerControl->Height()};
  if (fw::TWinControl* parent = FOwnerControl->Parent()) {
    const plat::POINT p = parent->ClientToScreen({0, 0});
    const plat::RECT visible{p.x, p.y, p.x + parent->ClientWidth(), p.y + parent->ClientHeight()};
    plat::IntersectRect(&request.ScreenRect, &request.ScreenRect, &visible);
  }
  request.TopWindow = plat::GetAncestor(form->Handle(), plat::GA_ROOT);
  request.Section = FSkinSection;
  request.MaskSuffix = "GLOW";
  request.Margin = section->GlowMargin;
  GlowID = ShowGlow(request);
}

// The program's skin defines no glow, so no glow window exists: nothing is shown.
int ShowGlow(const TacGlowRequest& request) {
  (void)request;
  return -1;
}

void HideGlow(int id) { (void)id; }

}  // namespace velmora
