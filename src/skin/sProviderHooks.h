#pragma once
// Where the window skin providers plug into the skin manager. The providers live above this
// layer, so the manager only knows them through these: a factory for the providers its window
// hook makes, and the provider-side steps of a full repaint. Both are empty until the providers
// set them; the manager then does its own part alone.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"

namespace velmora {

class TsSkinManager;
class TacFormAnimation;

// What the hook asks a provider for.
enum class THookTarget {
  Form,       // a form of the program, when it is activated
  Dialog,     // a window of the standard dialog class that belongs to no form
  PopupMenu,  // a window of the system popup-menu class, when it is created
};

struct THookRequest {
  THookTarget Target = THookTarget::Form;
  plat::HWND Window = nullptr;
  fw::TCustomForm* Form = nullptr;  // the form, for THookTarget::Form
  TsSkinManager* Manager = nullptr;
};

// A provider made by the hook; the manager owns it and frees it with its window or the hook.
class TacHookProvider {
 public:
  virtual ~TacHookProvider() = default;
  // Called once the manager has listed the provider, so that whatever the provider does to
  // its window finds it there.
  virtual void Initialize() {}
};

// nullptr: no provider for that window.
using THookProviderFactory = std::function<std::unique_ptr<TacHookProvider>(const THookRequest&)>;
void SetHookProviderFactory(THookProviderFactory factory);
const THookProviderFactory& HookProviderFactory();

// Class names of forms that the hook never gives a provider.
std::vector<std::string>& HookExcludedFormClasses();

// The provider-side steps of RepaintForms(true), each for one frozen form.
struct TacRepaintHooks {
  // Before its redrawing is switched off: a form with an extended border covers itself with
  // its picture on the border window.
  std::function<void(fw::TCustomForm& form)> BeforeFreeze;
  // Redrawing is on again, before the form is redrawn: the skin-change animation (skinChange
  // is null when it does not run) and re-maximising a form whose frame size changed.
  std::function<void(fw::TCustomForm& form, const TacFormAnimation* skinChange)> Unfrozen;
  // After the form's own redraw: its border window.
  std::function<void(fw::TCustomForm& form)> RedrawBorder;
};
TacRepaintHooks& RepaintHooks();

}  // namespace velmora
