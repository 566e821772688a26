// The answers to the skin command and the reactions to window and framework messages that are
// the same for every skinned control.
#include "controls/sCommonData.h"
#include "framework/application.h"
#include "framework/forms.h"
#include "framework/std_controls.h"
#include "framework/sysutils.h"
#include "framework/win_control.h"
#include "paint/section_lookup.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

namespace {

// The platform sends it to every top-level window when the installed fonts change.
constexpr plat::UINT kFontChange = 0x001D;

constexpr plat::UINT kFullRedraw =
    plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_FRAME | plat::RDW_ALLCHILDREN | plat::RDW_UPDATENOW;

bool Destroying(const fw::TComponent* c) { return c->ComponentState().Contains(fw::csDestroying); }

// Each child of a windowed owner, in order.
template <class F>
void ForEachChild(fw::TControl* owner, F&& f) {
  auto* windowed = dynamic_cast<fw::TWinControl*>(owner);
  if (!windowed) return;
  for (int i = 0; i < windowed->ControlCount(); ++i) f(windowed->Controls(i));
}

void Dispatch(fw::TControl* control, plat::WPARAM wp, plat::LPARAM lp = 0) {
  control->Perform(SkinCommandMessage, wp, lp);
}

// As SendSkinCommand, with an argument in the low word.
void SendWithArgument(fw::TControl* control, plat::WORD command, plat::WORD argument) {
  auto* win = dynamic_cast<fw::TWinControl*>(control);
  if (!win)
    Dispatch(control, SkinParam(command, argument));
  else if (win->HandleAllocated())
    plat::SendMessage(win->Handle(), SkinCommandMessage, SkinParam(command, argument), 0);
}

// The skin state a control publishes through scGetCommonData, null for an unskinned one.
TsCommonData* CommonDataOf(fw::TControl* control) {
  return reinterpret_cast<TsCommonData*>(SendSkinCommand(control, scGetCommonData));
}

}  // namespace

void TsCommonData::ClearCache() {
  if (FCacheBmp) FCacheBmp->SetSize(0, 0);
}

void TsCommonData::RemoveSkin() {
  if (FSkinManager && Destroying(FSkinManager)) FSkinManager = nullptr;
  BorderIndex = -1;
  SkinIndex = -1;
  Texture = -1;
  HotTexture = -1;
  FUpdating = true;
  ClearCache();
  if (!FOwnerControl) return;
  auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
  if (IsEditKind(COC)) {
    if (!FCustomColor) FOwnerControl->SetColor(fw::clWindow);
    if (!FCustomFont) FOwnerControl->Font()->SetColor(fw::clWindowText);
    if (windowed && windowed->HandleAllocated())
      plat::RedrawWindow(windowed->Handle(), nullptr, nullptr, plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_FRAME);
  } else if (windowed) {
    ForEachChild(windowed, [](fw::TControl* child) {
      if (auto* label = dynamic_cast<fw::TLabel*>(child)) label->Font()->SetColor(fw::clWindowText);
    });
  }
}

void TsCommonData::ApplyStateColor(int props) {
  if (!FOwnerControl || FCustomColor) return;
  const TsGeneralData* section = Section();
  if (!section) return;
  const TColor color = section->Props[static_cast<std::size_t>(props)].Color;
  if (FOwnerControl->Color() != color) FOwnerControl->SetColor(color);
}

bool TsCommonData::HandleSkinCommand(fw::TMessage& m) {
  auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
  const plat::WORD argument = SkinArgumentOf(m.WParam);
  switch (SkinCommandOf(m.WParam)) {
    case scNewSkin:
      if (SameManager(m.LParam)) {
        UpdateIndexes();
        EvaluatePlainFill(false);
      }
      return false;
    case scRemoveSkin:
      if (SameManager(m.LParam)) RemoveSkin();
      return false;
    case scRefresh:
      if (SameManager(m.LParam)) {
        BGChanged = true;
        FUpdating = false;
        ApplySkinColors(true);
        EvaluatePlainFill(false);
      }
      return false;
    case scEndParentUpdate:
      if (FUpdating && windowed) {
        if (!RecheckUpdating(true) && windowed->HandleAllocated())
          plat::RedrawWindow(windowed->Handle(), nullptr, nullptr, kFullRedraw);
        ForEachChild(windowed, [](fw::TControl* child) {
          auto* win = dynamic_cast<fw::TWinControl*>(child);
          if (win && win->HandleAllocated() && win->Showing())
            plat::SendMessage(win->Handle(), SkinCommandMessage, SkinParam(scEndParentUpdate), 0);
          else
            Dispatch(child, SkinParam(scEndParentUpdate));
        });
      }
      return false;
    case scIsHandled:
      m.Result = 1;
      return true;
    case scSetUpdating:
      FUpdating = argument == 1;
      return false;
    case scSetUrgentPainting:
      UrgentPainting = argument == 1;
      return false;
    case scIsChanged:
      m.Result = BGChanged || FUpdating ? 1 : 0;
      return true;
    case scIsHalfVisible:
      m.Result = HalfVisible ? 1 : 0;
      return true;
    case scSectionChanged:
      if (fw::UpperCase(FSkinSection) == ChangedSectionName()) Invalidate(false);
      return false;
    case scSetSection:
      if (m.LParam) SetSkinSection(reinterpret_cast<const TacSectionInfo*>(m.LParam)->Name);
      return false;
    case scBackgroundChanged:
      BGChanged = true;
      return false;
    case scNeedsParentBackground: {
      const TsGeneralData* section = Section();
      if (!section) return false;
      if (section->Props[0].Transparency > 0 && FOwnerControl && FOwnerControl->Parent()) {
        m.Result = SendSkinCommand(FOwnerControl->Parent(), scNeedsParentBackground) & 0x7F;
      } else if (section->GradientPercent + section->ImagePercent > 0 || RepaintIfMoved()) {
        m.Result = 1;
      } else {
        const TacSkinIndex* skin = PaintIndex();
        m.Result = ValidMask(skin, BorderIndex) && (skin->ma[static_cast<std::size_t>(BorderIndex)].DrawMode & 4);
      }
      return true;
    }
    case scMoved: {
      const bool moved = RepaintIfMoved();
      BGChanged = BGChanged || moved;
      if (windowed) {
        if (argument == 1 && windowed->HandleAllocated())
          plat::RedrawWindow(windowed->Handle(), nullptr, nullptr,
                             plat::RDW_INVALIDATE | plat::RDW_ALLCHILDREN | plat::RDW_NOERASE | plat::RDW_NOINTERNALPAINT);
        if (moved)
          ForEachChild(windowed, [](fw::TControl* child) {
            if (!Destroying(child)) SendSkinCommand(child, scMoved);
          });
      }
      return false;
    }
    case scGetBackgroundColor:
      if (!FOwnerControl) return false;
      m.Result = static_cast<plat::LRESULT>(static_cast<std::uint32_t>(BackgroundColorAnswer()));
      return true;
    case scSetHalfVisible:
      HalfVisible = true;
      return false;
    case scBackgroundDone:
      BGChanged = false;
      return false;
    case scGetSkinIndex:
      if (m.LParam) reinterpret_cast<TacSectionInfo*>(m.LParam)->SkinIndex = SkinIndex;
      m.Result = 1;
      return true;
    case scClearCache:
      if (FCacheBmp) {
        ForEachChild(windowed, [](fw::TControl* child) {
          auto* win = dynamic_cast<fw::TWinControl*>(child);
          if (win && win->HandleAllocated()) SendSkinCommand(win, scClearCache);
        });
        ClearCache();
        BGChanged = true;
        FUpdating = true;
      }
      return false;
    case scGetBackgroundInfo:
      if (m.LParam)
        AnswerBackgroundRequest(*reinterpret_cast<BackgroundInfo*>(m.LParam), FFocused || FMouseAbove ? 1 : 0, nullptr);
      m.Result = 1;
      return true;
    case scControlState:
      if (m.LParam == 1)
        EvaluatePlainFill(true);
      else if (CtrlSkinState == ACS_NOTEVALUATED)
        EvaluatePlainFill(false);
      m.Result = CtrlSkinState;
      return true;
    case scGetCommonData:
      m.Result = reinterpret_cast<plat::LRESULT>(this);
      return true;
    case scSetPrintDC:
      PrintDC = reinterpret_cast<plat::HDC>(m.LParam);
      if (PrintDC)
        CtrlSkinState |= ACS_PRINTING;
      else
        CtrlSkinState &= static_cast<std::uint16_t>(~ACS_PRINTING);
      m.Result = 1;
      return true;
    case scGetApplication:
      m.Result = reinterpret_cast<plat::LRESULT>(fw::Application);
      return false;
    default:
      return false;
  }
}

void TsCommonData::MouseEnter(fw::TMessage& m) {
  if (auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl)) {
    TsSkinManager* manager = DefaultManager();
    if (manager) {
      const auto* entered = reinterpret_cast<const fw::TControl*>(m.LParam);
      ForEachChild(windowed, [&](fw::TControl* child) {
        if (child == FOwnerControl || child == entered) return;
        TsCommonData* data = CommonDataOf(child);
        if (data && data->COC == COC_TsSpeedButton && data->FMouseAbove) child->Perform(fw::CM_MOUSELEAVE);
      });
    }
    if (!IsNonHotKind(COC)) FMouseAbove = true;
    if (manager && windowed->HandleAllocated()) manager->SetActiveControl(windowed->Handle());
    if (!IsNoGlowKind(COC) && (COC < COC_TsSpeedButton || COC > COC_TsBitBtn))
      RefreshGlow(false, windowed->HandleAllocated() ? windowed->Handle() : nullptr);
    const TsGeneralData* section = Section();
    if (IsEditKind(COC) && section && section->States >= 2) {
      BGChanged = true;
      ApplyStateColor(1);
      if (windowed->HandleAllocated()) plat::SendMessage(windowed->Handle(), plat::WM_NCPAINT, 0, 0);
    }
  } else if (!IsNonHotKind(COC)) {
    FMouseAbove = true;
  }
}

void TsCommonData::MouseLeave() {
  if (!IsNonHotKind(COC)) FMouseAbove = false;
  if (!IsNoGlowKind(COC) && (COC < COC_TsSpeedButton || COC > COC_TsBitBtn)) RemoveGlow();
  if (!IsEditKind(COC)) return;
  auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
  if (windowed && !windowed->Focused()) ApplyStateColor(0);
  if (FOwnerControl->Visible()) {
    BGChanged = true;
    if (windowed && windowed->HandleAllocated()) plat::SendMessage(windowed->Handle(), plat::WM_NCPAINT, 0, 0);
  }
}

bool TsCommonData::HandleCommonMessage(fw::TMessage& m) {
  if (m.Msg == SkinCommandMessage) return HandleSkinCommand(m);
  auto* windowed = dynamic_cast<fw::TWinControl*>(FOwnerControl);
  const bool designing =
      FOwnerControl && FOwnerControl->ComponentState().Contains(fw::csDesigning);
  switch (m.Msg) {
    case plat::WM_MOVE:
      if (RepaintIfMoved()) {
        BGChanged = true;
        SendToOwner(scMoved, 1);
        RemoveGlow();
      }
      return false;
    case plat::WM_SIZE:
      if (Skinned()) {
        BGChanged = true;
        const TsGeneralData* section = Section();
        if (windowed && section->GradientPercent > 0)
          ForEachChild(windowed, [](fw::TControl* child) {
            if (!Destroying(child)) SendWithArgument(child, scMoved, 1);
          });
        RemoveGlow();
      }
      return false;
    case plat::WM_SETFOCUS:
    case plat::WM_KILLFOCUS: {
      if (!windowed || !windowed->CanFocus() || !windowed->TabStop()) return false;
      const bool focused = m.Msg == plat::WM_SETFOCUS;
      BGChanged = true;
      FFocused = focused;
      const TsGeneralData* section = Section();
      if (!IsEditKind(COC) || !section) return false;
      if (focused ? (Skinned() && section->States >= 2) : windowed->Visible()) {
        ApplyStateColor(focused ? 1 : 0);
        if (windowed->HandleAllocated())
          plat::RedrawWindow(windowed->Handle(), nullptr, nullptr, plat::RDW_INVALIDATE | plat::RDW_FRAME | plat::RDW_ERASE);
      }
      return false;
    }
    case kFontChange:
    case fw::CM_ENABLEDCHANGED:
      FMouseAbove = false;
      FFocused = false;
      if (FOwnerControl && !FOwnerControl->Enabled()) RemoveGlow();
      return false;
    case plat::WM_UPDATEUISTATE:
      // Skinned controls draw their own focus cues.
      return Skinned();
    case plat::WM_PARENTNOTIFY:
      if (windowed && plat::LOWORD(static_cast<plat::DWORD>(m.WParam)) == plat::WM_CREATE) {
        fw::TWinControl* child = fw::TWinControl::FindControl(reinterpret_cast<plat::HWND>(m.LParam));
        fw::TCustomForm* form = fw::GetParentForm(windowed);
        if (child && form && form->HandleAllocated())
          plat::SendMessage(form->Handle(), SkinCommandMessage, SkinParam(scQueryParent),
                            reinterpret_cast<plat::LPARAM>(child));
      }
      return false;
    case fw::CM_VISIBLECHANGED:
      if (!FOwnerControl || Destroying(FOwnerControl) || !FCacheBmp) return false;
      if (m.WParam != 0) {
        FUpdating = false;
      } else {
        ClearCache();
        ForEachChild(windowed, [](fw::TControl* child) {
          auto* win = dynamic_cast<fw::TWinControl*>(child);
          if (!win)
            Dispatch(child, SkinParam(scClearCache));
          else if (win->HandleAllocated())
            SendSkinCommand(win, scClearCache);
        });
      }
      BGChanged = true;
      return false;
    case fw::CM_MOUSEENTER:
      if (FOwnerControl && !designing && Skinned()) MouseEnter(m);
      return false;
    case fw::CM_MOUSELEAVE:
      if (FOwnerControl && !designing && Skinned()) MouseLeave();
      return false;
    case fw::CM_SHOWINGCHANGED:
      if (FOwnerControl && FOwnerControl->Visible()) Loaded();
      return false;
    default:
      return false;
  }
}

}  // namespace velmora
