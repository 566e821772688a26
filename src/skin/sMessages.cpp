#include "skin/sMessages.h"

#include "framework/application.h"

namespace velmora {

namespace {

TBroadcastFilter& Filter() {
  static TBroadcastFilter filter;
  return filter;
}

bool BeingDestroyed(const fw::TComponent* c) { return c->ComponentState().Contains(fw::csDestroying); }

void SendTo(plat::HWND window, fw::TMessage& m) {
  m.Result = plat::SendMessage(window, m.Msg, m.WParam, m.LParam);
}

// One form of the walk: its window, then its controls. The framework's forms have no separate
// MDI client window, so there is nothing more to send to for an MDI parent.
void SendToForm(fw::TCustomForm* form, fw::TMessage& m) {
  if (form->HandleAllocated()) SendTo(form->Handle(), m);
  BroadcastToControls(form, m);
}

}  // namespace

fw::TMessage MakeSkinMessage(plat::WORD command, plat::LPARAM value) {
  fw::TMessage m;
  m.Msg = SkinCommandMessage;
  m.WParam = SkinParam(command);
  m.LParam = value;
  return m;
}

plat::LRESULT SendSkinCommand(fw::TControl* control, plat::WORD command, plat::LPARAM value) {
  auto* win = dynamic_cast<fw::TWinControl*>(control);
  if (!win) return control->Perform(SkinCommandMessage, SkinParam(command), value);
  if (BeingDestroyed(win) || !win->HandleAllocated()) return 0;
  return plat::SendMessage(win->Handle(), SkinCommandMessage, SkinParam(command), value);
}

bool IsSkinCommandTrue(plat::HWND window, plat::WORD command) {
  return plat::SendMessage(window, SkinCommandMessage, SkinParam(command), 0) == 1;
}

void BroadcastToControls(fw::TWinControl* container, fw::TMessage& m) {
  for (int i = 0; i < container->ControlCount(); ++i) {
    fw::TControl* child = container->Controls(i);
    if (BeingDestroyed(child)) break;
    auto* win = dynamic_cast<fw::TWinControl*>(child);
    if (!win || !win->HandleAllocated()) {
      child->WindowProc(m);
    } else if (IsSkinCommandTrue(win->Handle(), scIsHandled)) {
      SendTo(win->Handle(), m);
    } else if (!Filter() || !Filter()(win)) {
      BroadcastToControls(win, m);
    }
  }
}

void BroadcastToChildWindows(plat::HWND window, fw::TMessage& m) {
  struct Walk {
    plat::HWND parent;
    fw::TMessage* message;
  } walk{window, &m};
  plat::EnumChildWindows(
      window,
      [](plat::HWND child, plat::LPARAM data) -> plat::BOOL {
        auto* w = reinterpret_cast<Walk*>(data);
        if (plat::GetParent(child) == w->parent) SendTo(child, *w->message);
        return plat::TRUE;
      },
      reinterpret_cast<plat::LPARAM>(&walk));
}

void BroadcastToForms(fw::TMessage& m) {
  if (fw::Application) {
    for (int i = fw::Application->ComponentCount() - 1; i >= 0; --i) {
      auto* form = dynamic_cast<fw::TCustomForm*>(fw::Application->Components(i));
      if (!form || form->FormStyle() == fw::fsMDIChild) continue;
      const auto state = form->ComponentState();
      if (state.Contains(fw::csDestroying) || state.Contains(fw::csLoading)) continue;
      if (form->HandleAllocated() && IsSkinCommandTrue(form->Handle(), scIsHandled)) continue;
      SendToForm(form, m);
    }
  }
  // Copies: a receiver may add or drop a provider while it handles the message.
  for (fw::TCustomForm* form : std::vector(SkinnedForms()))
    if (!BeingDestroyed(form)) SendToForm(form, m);
  for (plat::HWND window : std::vector(HookProviderWindows()))
    if (plat::IsWindowVisible(window)) SendTo(window, m);
}

void SetBroadcastFilter(TBroadcastFilter filter) { Filter() = std::move(filter); }

std::vector<fw::TCustomForm*>& SkinnedForms() {
  static std::vector<fw::TCustomForm*> forms;
  return forms;
}

std::vector<plat::HWND>& HookProviderWindows() {
  static std::vector<plat::HWND> windows;
  return windows;
}

}  // namespace velmora
