// A full repaint of the skinned windows: every window refreshes its picture while the forms of
// this manager are frozen, then each form is redrawn once, whole.
#include "framework/application.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

namespace {

constexpr plat::UINT kWholeRedraw =
    plat::RDW_FRAME | plat::RDW_ERASE | plat::RDW_INVALIDATE | plat::RDW_ALLCHILDREN | plat::RDW_UPDATENOW;

bool UsesManager(plat::HWND window, const TsSkinManager* manager) {
  return plat::SendMessage(window, SkinCommandMessage, SkinParam(scGetSkinManager), 0) ==
         reinterpret_cast<plat::LRESULT>(manager);
}

// Still the form's window: a form may go, or get a new window, while the refresh runs.
bool StillShown(fw::TCustomForm* form, plat::HWND window) {
  return plat::IsWindow(window) && fw::TWinControl::FindControl(window) == form;
}

}  // namespace

TacRepaintHooks& RepaintHooks() {
  static TacRepaintHooks hooks;
  return hooks;
}

void TsSkinManager::RepaintForms(bool lockForms) {
  const auto self = reinterpret_cast<plat::LPARAM>(this);
  if (!ComponentState().Contains(fw::csDesigning)) {
    auto prepare = MakeSkinMessage(scPrepareRepaint, self);
    BroadcastToForms(prepare);
  }
  auto refresh = MakeSkinMessage(scRefresh, self);
  if (SkinLoading() || !lockForms) {
    BroadcastToForms(refresh);
  } else {
    const TFrozenForms frozen = FreezeForms();
    BroadcastToForms(refresh);
    UnfreezeForms(frozen);
  }
  // The framework keeps no hint window of its own, so there is none to refresh here.
  for (plat::HWND window : std::vector(HookProviderWindows()))
    if (plat::IsWindow(window) && plat::IsWindowVisible(window)) plat::RedrawWindow(window, nullptr, nullptr, kWholeRedraw);
}

// The visible, not minimised top-level forms that this manager skins.
TsSkinManager::TFrozenForms TsSkinManager::FreezeForms() {
  TFrozenForms frozen;
  if (!fw::Screen) return frozen;
  for (int i = 0; i < fw::Screen->FormCount(); ++i) {
    fw::TCustomForm* form = fw::Screen->Forms(i);
    if (!form->HandleAllocated() || form->Parent() || form->ComponentState().Contains(fw::csDestroying)) continue;
    const plat::HWND window = form->Handle();
    if (!plat::IsWindowVisible(window) || plat::IsIconic(window)) continue;
    if (!IsSkinCommandTrue(window, scIsHandled) || !UsesManager(window, this)) continue;
    if (RepaintHooks().BeforeFreeze) RepaintHooks().BeforeFreeze(*form);
    plat::SendMessage(window, plat::WM_SETREDRAW, 0, 0);
    frozen.emplace_back(form, window);
  }
  return frozen;
}

void TsSkinManager::UnfreezeForms(const TFrozenForms& frozen) {
  const TacFormAnimation* animation =
      animEffects_.SkinChanging.Active() && allowChangeAnimation_ ? &animEffects_.SkinChanging : nullptr;
  const TacRepaintHooks& hooks = RepaintHooks();
  for (const auto& [form, window] : frozen) {
    if (!StillShown(form, window)) continue;
    plat::SendMessage(window, plat::WM_SETREDRAW, 1, 0);
    if (hooks.Unfrozen) hooks.Unfrozen(*form, animation);
    if (!StillShown(form, window)) continue;
    plat::RedrawWindow(window, nullptr, nullptr, kWholeRedraw);
    if (hooks.RedrawBorder) hooks.RedrawBorder(*form);
  }
}

}  // namespace velmora
