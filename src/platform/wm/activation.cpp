// Keyboard focus and window activation, in the platform's order: the CBT hook may refuse; the
// window losing activation hears WM_NCACTIVATE and WM_ACTIVATE first; a program coming to the
// foreground tells every top-level window WM_ACTIVATEAPP; then the new window hears
// WM_NCACTIVATE and WM_ACTIVATE, and its default handling takes the focus.
#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

WPARAM ActivateParam(WORD how, const Window* w) { return MAKEWPARAM(how, (w->style & WS_MINIMIZE) ? 1 : 0); }

bool InTree(HWND h, const Window* root) {
  for (Window* w = FromHandle(h); w; w = w->parent)
    if (w == root) return true;
  return false;
}

bool AtTopOfBand(const Window* w) {
  const bool topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
  for (const Window* t : S().desktop->children)
    if (((t->exStyle & WS_EX_TOPMOST) != 0) == topmost) return t == w;
  return false;
}

void TellApp(BOOL active) {
  std::vector<HWND> tops;
  for (Window* t : S().desktop->children) tops.push_back(t->handle);
  for (HWND h : tops)
    if (Window* t = FromHandle(h)) Send(t, WM_ACTIVATEAPP, active, 0);
}

}  // namespace

bool CanActivate(const Window* w) {
  return w && !w->dead && IsTopLevel(w) && EnabledWindow(w) && !(w->exStyle & WS_EX_NOACTIVATE);
}

void FocusWindow(Window* w) {
  State& s = S();
  const HWND next = w ? w->handle : nullptr;
  if (s.focus == next) return;
  Window* old = FromHandle(s.focus);
  s.focus = next;
  if (old) Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
  if (w && !w->dead && s.focus == next) Send(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(old ? old->handle : nullptr), 0);
}

bool Activate(Window* w, WORD how, bool mouse) {
  WindowRecordPin pin;
  State& s = S();
  if (!CanActivate(w)) return false;
  if (s.appActive && s.active == w->handle) return true;
  Window* old = s.appActive ? FromHandle(s.active) : nullptr;
  CBTACTIVATESTRUCT cbt{mouse ? TRUE : FALSE, old ? old->handle : nullptr};
  if (CallCbt(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(w->handle), reinterpret_cast<LPARAM>(&cbt)) || w->dead)
    return false;
  if (!AtTopOfBand(w)) SetWindowPos(w->handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (old && old != w) {
    Send(old, WM_NCACTIVATE, FALSE, 0);
    if (!old->dead) Send(old, WM_ACTIVATE, ActivateParam(WA_INACTIVE, old), reinterpret_cast<LPARAM>(w->handle));
  }
  if (!CanActivate(w)) return false;
  const bool cameForward = !s.appActive;
  s.active = w->handle;
  s.appActive = true;
  for (Window* o = w->owner; o; o = o->owner) o->lastActivePopup = w;
  s.display->Activate(w->surface->id);
  if (cameForward) TellApp(TRUE);
  if (w->dead) return false;
  Send(w, WM_NCACTIVATE, TRUE, 0);
  if (w->dead) return false;
  Send(w, WM_ACTIVATE, ActivateParam(how, w), reinterpret_cast<LPARAM>(old && !old->dead ? old->handle : nullptr));
  if (!w->dead && s.active == w->handle && s.focus && !InTree(s.focus, w)) FocusWindow(nullptr);
  return !w->dead;
}

void DeactivateApp() {
  WindowRecordPin pin;
  State& s = S();
  if (!s.appActive) return;
  Window* old = FromHandle(s.active);
  s.appActive = false;
  if (old) {
    Send(old, WM_NCACTIVATE, FALSE, 0);
    if (!old->dead) Send(old, WM_ACTIVATE, ActivateParam(WA_INACTIVE, old), 0);
  }
  if (s.appActive) return;  // a handler took the foreground back
  s.active = nullptr;
  TellApp(FALSE);
  FocusWindow(nullptr);
}

void ActivateOther(Window* leaving) {
  State& s = S();
  auto usable = [&](Window* c) {
    return c && c != leaving && !c->destroying && VisibleChain(c) && CanActivate(c) && !(c->style & WS_MINIMIZE);
  };
  Window* next = usable(leaving->owner) ? leaving->owner : nullptr;
  for (Window* t : s.desktop->children)
    if (!next && usable(t) && t->owner != leaving) next = t;
  if (next && Activate(next, WA_ACTIVE, false)) return;
  DeactivateApp();
}

}  // namespace wm

using namespace wm;

HWND SetFocus(HWND window) {
  WindowRecordPin pin;
  State& s = S();
  const HWND old = s.focus;
  Window* w = window ? CheckedWindow(window) : nullptr;
  if (window && !w) return nullptr;
  if (CallCbt(HCBT_SETFOCUS, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(old))) return nullptr;
  if (w) {
    Window* top = TopLevelOf(w);
    if (!s.appActive || s.active != top->handle) {
      if (!Activate(top, WA_ACTIVE, false)) return nullptr;
    }
    if (w->dead) return nullptr;
  }
  FocusWindow(w);
  return FromHandle(old) ? old : nullptr;
}

HWND GetFocus() {
  State& s = S();
  return s.appActive ? s.focus : nullptr;
}

HWND GetActiveWindow() {
  State& s = S();
  return s.appActive ? s.active : nullptr;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

// A program in the background cannot take the activation back this way: the user is working in
// another program (SetForegroundWindow is the call for that).
HWND SetActiveWindow(HWND window) {
  const HWND old = GetActiveWindow();
  Window* w = FromHandle(window);
  if (!w || !S().appActive || !Activate(TopLevelOf(w), WA_ACTIVE, false)) return nullptr;
  return old;
}

BOOL SetForegroundWindow(HWND window) {
  Window* w = FromHandle(window);
  return w && Activate(TopLevelOf(w), WA_ACTIVE, false) ? TRUE : FALSE;
}

}  // namespace plat
