// The skin manager's window hook: forms of the program, standard dialogs and popup menus get a
// provider as they are created or activated; the providers go with their windows.
#include <algorithm>
#include <cstring>

#include "framework/application.h"
#include "platform/base/ascii.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/menu_popup.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

namespace {

constexpr const char* kMessageFormClass = "TMessageForm";
constexpr const char* kUtilityWindowClass = "TPUtilWindow";
// Tags of windows that are never skinned; the bits 0x61 do not count.
constexpr std::intptr_t kEngineWindowTag = -98;
constexpr std::intptr_t kIgnoredTagBits = 0x61;

THookProviderFactory& Factory() {
  static THookProviderFactory factory;
  return factory;
}

std::string ClassNameOf(plat::HWND window) {
  char name[256] = {};
  plat::GetClassName(window, name, sizeof name);
  return name;
}

bool SameText(const std::string& a, const char* b) { return plat::EqualAsciiNoCase(a, b); }

// The popup-menu class is atom 0x8000 and the dialog class atom 0x8002, named "#32768" and
// "#32770".
bool IsMenuClass(const std::string& name) { return SameText(name, plat::wm::kMenuClass); }
bool IsDialogClass(const std::string& name) { return SameText(name, plat::WC_DIALOG); }

bool IsBorderlessPopup(plat::HWND window) {
  const auto style = static_cast<plat::DWORD>(plat::GetWindowLong(window, plat::GWL_STYLE));
  return (style & plat::WS_POPUP) && !(style & (plat::WS_BORDER | plat::WS_THICKFRAME | plat::WS_DLGFRAME));
}

}  // namespace

void SetHookProviderFactory(THookProviderFactory factory) { Factory() = std::move(factory); }
const THookProviderFactory& HookProviderFactory() { return Factory(); }

std::vector<std::string>& HookExcludedFormClasses() {
  static std::vector<std::string> classes;
  return classes;
}

struct TSkinManagerHook {
  static plat::LRESULT Proc(int code, plat::WPARAM wp, plat::LPARAM lp) {
    TsSkinManager* manager = DefaultManager();
    const plat::LRESULT next = plat::CallNextHookEx(manager ? manager->hook_ : nullptr, code, wp, lp);
    if (!manager || !fw::Application || fw::Application->ComponentState().Contains(fw::csDestroying)) return next;
    const auto window = reinterpret_cast<plat::HWND>(wp);
    switch (code) {
      case plat::HCBT_ACTIVATE: manager->HandleActivation(window); break;
      case plat::HCBT_CREATEWND:
        if (lp) manager->HandleCreation(window, *reinterpret_cast<const plat::CBT_CREATEWND*>(lp));
        break;
      case plat::HCBT_DESTROYWND: manager->ForgetWindow(window); break;
      default: break;
    }
    return next;
  }
};

void TsSkinManager::InstallHook() {
  if (hook_ || ComponentState().Contains(fw::csDesigning) || !IsDefault()) return;
  hook_ = plat::SetWindowsHookEx(plat::WH_CBT, &TSkinManagerHook::Proc, nullptr, plat::GetCurrentThreadId());
}

void TsSkinManager::UnInstallHook() {
  if (hook_) plat::UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  // Freed from a copy: a provider's destructor may destroy windows that the hook would be told of.
  std::vector<THooked> providers = std::move(hooked_);
  hooked_.clear();
  for (const THooked& h : providers) std::erase(HookProviderWindows(), h.Window);
}

std::vector<plat::HWND> TsSkinManager::HookedWindows() const {
  std::vector<plat::HWND> windows;
  for (const THooked& h : hooked_) windows.push_back(h.Window);
  return windows;
}

bool TsSkinManager::Hooked(plat::HWND window) const {
  return std::any_of(hooked_.begin(), hooked_.end(), [window](const THooked& h) { return h.Window == window; });
}

// The window being destroyed and any already gone.
void TsSkinManager::ForgetWindow(plat::HWND window) {
  std::vector<THooked> gone;
  for (auto it = hooked_.begin(); it != hooked_.end();) {
    if (it->Window == window || !plat::IsWindow(it->Window)) {
      std::erase(HookProviderWindows(), it->Window);
      gone.push_back(std::move(*it));
      it = hooked_.erase(it);
    } else {
      ++it;
    }
  }
}

std::unique_ptr<TacHookProvider> TsSkinManager::CreateHookProvider(const THookRequest& request) {
  return Factory() ? Factory()(request) : nullptr;
}

// Listed before it is initialised, so that whatever the provider does to its window sees that
// the window has one.
void TsSkinManager::Provide(THookTarget target, plat::HWND window, fw::TCustomForm* form) {
  std::unique_ptr<TacHookProvider> provider = CreateHookProvider({target, window, form, this});
  if (!provider) return;
  TacHookProvider* made = provider.get();
  hooked_.push_back({window, form, std::move(provider)});
  // A form's provider lists the form with the skinned forms; listing its window here too would
  // give it every broadcast twice.
  if (target != THookTarget::Form) HookProviderWindows().push_back(window);
  made->Initialize();
}

void TsSkinManager::HandleActivation(plat::HWND window) {
  if (!plat::IsWindow(window) || Hooked(window) || IsBorderlessPopup(window)) return;
  auto* form = dynamic_cast<fw::TCustomForm*>(fw::TWinControl::FindControl(window));
  if (!form) {
    HandleDialog(window);
    return;
  }
  if (IsSkinCommandTrue(window, scIsHandled)) return;
  if ((form->Tag() & ~kIgnoredTagBits) == kEngineWindowTag) return;
  if (form->ComponentState().Contains(fw::csLoading) && form->FormStyle() != fw::fsMDIChild) return;
  const std::string className = form->ClassName();
  const auto& excluded = HookExcludedFormClasses();
  if (std::find(excluded.begin(), excluded.end(), className) != excluded.end()) return;
  if (!skinningRules_.Contains(className == kMessageFormClass ? srStdDialogs : srStdForms)) return;
  Provide(THookTarget::Form, window, form);
}

// A standard dialog of the platform's own, owned by nobody.
void TsSkinManager::HandleDialog(plat::HWND window) {
  if (!skinningRules_.Contains(srStdDialogs) || plat::GetParent(window) || !IsDialogClass(ClassNameOf(window))) return;
  bool allow = true;
  if (OnSysDlgInit) OnSysDlgInit(this, window, allow);
  if (allow) Provide(THookTarget::Dialog, window, nullptr);
}

void TsSkinManager::HandleCreation(plat::HWND window, const plat::CBT_CREATEWND& create) {
  const std::string className = ClassNameOf(window);
  if (IsMenuClass(className)) {
    if (skinnedPopups_ && !Hooked(window) && !IsSkinCommandTrue(window, scIsHandled))
      Provide(THookTarget::PopupMenu, window, nullptr);
  } else if (IsDialogClass(className)) {
    HandleActivation(window);
  } else if (className == kUtilityWindowClass && create.lpcs) {
    const plat::CREATESTRUCT& cs = *create.lpcs;
    fw::TCustomForm* main = fw::Application->MainForm();
    const bool isMain = main && main->HandleAllocated() && main->Handle() == window;
    if (cs.style && cs.dwExStyle && !cs.hwndParent && !isMain) HandleActivation(window);
  }
}

}  // namespace velmora
