// The background exchange: what a skinned container answers a child that needs what lies behind
// it, how a child asks, and the plain colours both sides fall back on.
#include <algorithm>

#include "controls/sCommonData.h"
#include "framework/forms.h"
#include "framework/win_control.h"
#include "paint/color_ops.h"
#include "paint/section_lookup.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

namespace {

constexpr TColor kNoColor = 0x00FF00FF;

TColor Resolved(TColor color) { return static_cast<TColor>(fw::ColorToRGB(color)); }

// The default manager's global colour; button face without a manager.
TColor GlobalColor(TsSkinManager* manager) {
  if (!manager) manager = DefaultManager();
  return manager ? manager->Index().Palette[0] : fw::clBtnFace;
}

// A parent's plain colour: its own answer when it is skinned, else the colour it keeps.
TColor ColorOfParent(fw::TWinControl* parent) {
  if (parent->HandleAllocated() && IsSkinCommandTrue(parent->Handle(), scIsHandled))
    return static_cast<TColor>(SendSkinCommand(parent, scGetBackgroundColor));
  return Resolved(parent->Color());
}

// The skin's own mixing of a parent colour into a section colour: each channel
// S + T * (P - S) / 256, in integers, truncated.
TColor MixTowardsParent(TColor section, TColor parent, int transparency) {
  std::uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int s = (section >> shift) & 0xFF;
    const int p = (parent >> shift) & 0xFF;
    const int c = std::clamp(s + transparency * (p - s) / 256, 0, 255);
    result |= static_cast<std::uint32_t>(c) << shift;
  }
  return static_cast<TColor>(result);
}

// The device context of a bitmap's canvas; null for a missing or empty one.
plat::HDC CacheContext(fw::TBitmap* bitmap) {
  if (!bitmap || bitmap->Width() <= 0 || bitmap->Height() <= 0) return nullptr;
  return bitmap->Canvas().Handle();
}

void FillDrawRect(const BackgroundInfo& info, TColor color) {
  if (!info.TargetDC) return;
  plat::HBRUSH brush = plat::CreateSolidBrush(fw::ColorToRGB(color));
  plat::FillRect(info.TargetDC, &info.DrawRect, brush);
  plat::DeleteObject(brush);
}

// A parent that does not take part in the exchange paints itself into the target: its
// background, then its client, with the asker's origin moved to the parent's.
void PaintParentInto(plat::HWND parent, const BackgroundInfo& info) {
  const int saved = plat::SaveDC(info.TargetDC);
  plat::OffsetViewportOrgEx(info.TargetDC, -info.Offset.x, -info.Offset.y, nullptr);
  plat::IntersectClipRect(info.TargetDC, info.DrawRect.left + info.Offset.x, info.DrawRect.top + info.Offset.y,
                          info.DrawRect.right + info.Offset.x, info.DrawRect.bottom + info.Offset.y);
  plat::SendMessage(parent, plat::WM_ERASEBKGND, reinterpret_cast<plat::WPARAM>(info.TargetDC), 0);
  plat::SendMessage(parent, plat::WM_PAINT, reinterpret_cast<plat::WPARAM>(info.TargetDC), 0);
  plat::RestoreDC(info.TargetDC, saved);
}

void StartRequest(BackgroundInfo& info, bool drawNow) {
  info.Bitmap = nullptr;
  info.Kind = bkNone;
  info.BorderMargins = {};
  info.DrawNow = drawNow;
}

// Where a window lies in its parent window's client area.
plat::POINT PositionInParent(plat::HWND window, plat::HWND parent) {
  plat::RECT r{};
  plat::GetWindowRect(window, &r);
  plat::POINT p{r.left, r.top};
  plat::ScreenToClient(parent, &p);
  return p;
}

}  // namespace

TColor TsCommonData::OwnerColor() const {
  if (FOwnerControl) return Resolved(FOwnerControl->Color());
  if (fw::TCustomForm* form = ProviderForm()) return Resolved(form->Color());
  return Resolved(fw::clBtnFace);
}

TColor TsCommonData::ParentColor() const {
  if (FOwnerControl && FOwnerControl->Parent()) return ColorOfParent(FOwnerControl->Parent());
  if (auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl); windowed && windowed->HandleAllocated()) {
    if (plat::HWND parent = plat::GetParent(windowed->Handle()))
      return static_cast<TColor>(plat::SendMessage(parent, SkinCommandMessage, SkinParam(scGetBackgroundColor), 0));
  }
  return Resolved(fw::clBtnFace);
}

TColor TsCommonData::EffectiveColor(int state, plat::HWND window) {
  if (Skinned()) {
    const TsGeneralData& section = *Section();
    const TsGenState& props = section.Props[state > 0 && section.States > 1 ? 1 : 0];
    const int t = props.Transparency;
    if (t == 100 || (t > 0 && t < 100)) {
      TColor parent = Resolved(fw::clBtnFace);
      if (FOwnerControl && FOwnerControl->Parent())
        parent = ColorOfParent(FOwnerControl->Parent());
      else if (plat::HWND parentWindow = window ? plat::GetParent(window) : nullptr)
        parent = static_cast<TColor>(
            plat::SendMessage(parentWindow, SkinCommandMessage, SkinParam(scGetBackgroundColor), 0));
      if (t == 100) return parent;
      return static_cast<TColor>(WeighColors(static_cast<std::uint32_t>(props.Color),
                                             static_cast<std::uint32_t>(parent), t / 100.0));
    }
    if (t == 0 && !FCustomColor) return props.Color;
  }
  return OwnerColor();
}

TColor TsCommonData::BackgroundColorAnswer() {
  if (!FOwnerControl) return 0;
  if (!Skinned()) return Resolved(FOwnerControl->Color());
  const TsGenState& normal = Section()->Props[0];
  const int t = std::clamp(normal.Transparency, 0, 100);
  if (t == 0) return normal.Color;
  fw::TWinControl* parent = FOwnerControl->Parent();
  const TColor behind = parent ? ColorOfParent(parent) : Resolved(FOwnerControl->Color());
  if (t == 100) return behind;
  return MixTowardsParent(normal.Color, behind, t);
}

void TsCommonData::AnswerBackgroundRequest(BackgroundInfo& info, int state, plat::HWND window) {
  info.Bitmap = nullptr;
  if (!Skinned() || FCustomColor) {
    if (FOwnerControl || ProviderForm()) {
      info.Kind = bkFill;
      info.Color = FOwnerControl ? FOwnerControl->Color() : ProviderForm()->Color();
    }
    return;
  }
  const TsGeneralData& section = *Section();
  const TsGenState& props = section.Props[static_cast<std::size_t>(PropsIndex(ClampState(section, state)))];
  const int t = props.Transparency;

  // The cache as the answer, when it is made and fits the owner.
  auto answerPicture = [&] {
    const plat::POINT size = OwnerSize();
    if (!FCacheBmp || FCacheBmp->Width() <= 0 || FCacheBmp->Height() <= 0 || FCacheBmp->Width() != size.x ||
        FCacheBmp->Height() != size.y) {
      info.Kind = bkNotReady;
      return;
    }
    info.Kind = bkPicture;
    if (info.DrawNow) {
      if (plat::HDC cache = CacheContext(FCacheBmp.get()); cache && info.TargetDC)
        plat::BitBlt(info.TargetDC, info.DrawRect.left, info.DrawRect.top, info.DrawRect.right - info.DrawRect.left,
                     info.DrawRect.bottom - info.DrawRect.top, cache, info.DrawRect.left + info.Offset.x,
                     info.DrawRect.top + info.Offset.y, plat::SRCCOPY);
    } else {
      info.Bitmap = FCacheBmp.get();
      info.Offset = {0, 0};
    }
  };

  if (t == 0 && props.GradientPercent <= 0 && props.ImagePercent < 1) {
    info.Kind = bkFill;
    info.Color = EffectiveColor(state, window);
    const TacSkinIndex* skin = PaintIndex();
    if (ValidMask(skin, BorderIndex)) {
      const TsMaskData& mask = skin->ma[static_cast<std::size_t>(BorderIndex)];
      if (!(mask.DrawMode & 2)) {
        info.BorderMargins = {mask.WL, mask.WT, mask.WR, mask.WB};
        info.Bitmap = FCacheBmp.get();
        info.Offset = {0, 0};
      }
    }
    if (info.DrawNow) FillDrawRect(info, info.Color);
    return;
  }
  if (t == 0) {
    info.Color = GlobalColor(SkinManager());
    answerPicture();
    return;
  }
  if (t > 0 && t < 100) {
    if (!FCacheBmp) {
      info.Color = kNoColor;
      info.Kind = bkFill;
    } else if (FCacheBmp->Width() <= 0 || FCacheBmp->Height() <= 0) {
      FUpdating = true;
      info.Kind = bkNotReady;
    } else {
      answerPicture();
    }
    return;
  }
  // Fully transparent: a plain or pictureless container hands the question to its own parent.
  if ((CtrlSkinState & ACS_PLAINFILL) || !FCacheBmp) {
    fw::TWinControl* next = nullptr;
    plat::POINT position{0, 0};
    if (FOwnerControl) {
      next = FOwnerControl->Parent();
      position = {FOwnerControl->Left(), FOwnerControl->Top()};
    } else if (fw::TCustomForm* form = ProviderForm()) {
      next = form->Parent();
      position = {form->Left(), form->Top()};
    }
    // Drawn at once, the asker's place moves into the next parent's coordinates first.
    const plat::POINT askerOffset = info.Offset;
    if (info.DrawNow) info.Offset = {askerOffset.x + position.x, askerOffset.y + position.y};
    if (next) {
      RequestParentBackground(info, next, info.DrawNow);
    } else if (window && plat::GetParent(window)) {
      const plat::HWND parentWindow = plat::GetParent(window);
      position = PositionInParent(window, parentWindow);
      if (info.DrawNow) info.Offset = {askerOffset.x + position.x, askerOffset.y + position.y};
      RequestParentBackground(info, parentWindow, info.DrawNow);
    } else {
      info.Kind = bkFill;
      info.Color = GlobalColor(nullptr);
      return;
    }
    if (info.Kind != bkPicture) return;
    if (info.DrawNow) {
      info.Offset = askerOffset;
    } else {
      info.Offset.x += position.x;
      info.Offset.y += position.y;
    }
    return;
  }
  if (BGChanged && FOwnerControl) FOwnerControl->Perform(SkinCommandMessage, SkinParam(scBackgroundDone), 0);
  answerPicture();
}

void RequestParentBackground(BackgroundInfo& info, fw::TControl* parent, bool drawNow) {
  StartRequest(info, drawNow);
  if (!parent) return;
  auto* windowed = dynamic_cast<fw::TWinControl*>(parent);
  const auto address = reinterpret_cast<plat::LPARAM>(&info);
  if (windowed && windowed->HandleAllocated())
    plat::SendMessage(windowed->Handle(), SkinCommandMessage, SkinParam(scGetBackgroundInfo), address);
  else
    parent->Perform(SkinCommandMessage, SkinParam(scGetBackgroundInfo), address);
  if (info.Kind != bkNone) return;
  if (drawNow && info.TargetDC && windowed && windowed->HandleAllocated()) {
    PaintParentInto(windowed->Handle(), info);
    return;
  }
  info.Kind = bkFill;
  const auto answer = static_cast<TColor>(SendSkinCommand(parent, scGetBackgroundColor));
  info.Color = answer != 0 ? answer : parent->Color();
  if (drawNow) FillDrawRect(info, info.Color);
}

void RequestParentBackground(BackgroundInfo& info, plat::HWND parent, bool drawNow) {
  StartRequest(info, drawNow);
  if (!parent) return;
  plat::SendMessage(parent, SkinCommandMessage, SkinParam(scGetBackgroundInfo), reinterpret_cast<plat::LPARAM>(&info));
  if (info.Kind != bkNone) return;
  if (drawNow && info.TargetDC) {
    PaintParentInto(parent, info);
    return;
  }
  info.Kind = bkFill;
  const auto answer =
      static_cast<TColor>(plat::SendMessage(parent, SkinCommandMessage, SkinParam(scGetBackgroundColor), 0));
  info.Color = answer != 0 ? answer : GlobalColor(nullptr);
}

void BackgroundToCacheInfo(const BackgroundInfo& info, TCacheInfo& cacheInfo) {
  cacheInfo.Bmp = info.Bitmap;
  cacheInfo.X = info.Offset.x;
  cacheInfo.Y = info.Offset.y;
  if (info.Kind == bkPicture) {
    cacheInfo.Ready = true;
    cacheInfo.FillColor = kNoColor;
    cacheInfo.FillRect = {};
  } else {
    cacheInfo.Ready = false;
    cacheInfo.FillColor = fw::ColorToRGB(info.Color);
    cacheInfo.FillRect = info.BorderMargins;
  }
}

TacParentBackground TsCommonData::QueryParentBackground(TCacheInfo& info) {
  BackgroundInfo answer;
  plat::POINT position{0, 0};
  if (FOwnerControl && FOwnerControl->Parent()) {
    RequestParentBackground(answer, FOwnerControl->Parent(), false);
    position = {FOwnerControl->Left(), FOwnerControl->Top()};
  } else if (auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
             windowed && windowed->HandleAllocated() && plat::GetParent(windowed->Handle())) {
    const plat::HWND parent = plat::GetParent(windowed->Handle());
    RequestParentBackground(answer, parent, false);
    position = PositionInParent(windowed->Handle(), parent);
  } else {
    info = TCacheInfo{};
    info.FillColor = fw::ColorToRGB(EffectiveColor(0, nullptr));
    return TacParentBackground::NoParent;
  }
  BackgroundToCacheInfo(answer, info);
  // The answer places the parent's origin; the owner's own place in the parent comes on top.
  info.X += position.x;
  info.Y += position.y;
  if (answer.Kind == bkNotReady) {
    // Nothing may be painted until the parent ends the deferral.
    FUpdating = true;
    info.FillColor = kNoColor;
    return TacParentBackground::NotReady;
  }
  return info.Ready ? TacParentBackground::Picture : TacParentBackground::Fill;
}

}  // namespace velmora
