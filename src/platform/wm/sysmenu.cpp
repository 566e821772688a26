// The system menu: Restore, Move, Size, Minimize, Maximize, a separator and Close, greyed by the
// window's state; a window that can neither be sized nor minimised nor maximised (a dialog frame)
// has only Move and Close.
#include "platform/wm/frame.h"
#include "platform/wm/menus.h"
#include "platform/wm/record_pin.h"

namespace plat {

namespace wm {

namespace {

bool Fixed(const Window* w) { return !(w->style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)); }

HMENU MakeSystemMenu(Window* w) {
  HMENU m = CreatePopupMenu();
  if (!Fixed(w)) AppendMenu(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(m, MF_STRING, SC_MOVE, "&Move");
  if (!Fixed(w)) {
    AppendMenu(m, MF_STRING, SC_SIZE, "&Size");
    AppendMenu(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    AppendMenu(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    AppendMenu(m, MF_SEPARATOR, 0, nullptr);
  }
  AppendMenu(m, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  SetMenuDefaultItem(m, SC_CLOSE, FALSE);
  FromMenu(m)->systemOf = w->handle;
  return m;
}

void Grey(HMENU m, UINT command, bool usable) { EnableMenuItem(m, command, usable ? MF_ENABLED : MF_GRAYED); }

// Close stays as the program set it, unless the class has no close.
void UpdateSystemMenu(Window* w) {
  const DWORD s = w->style;
  const bool iconic = s & WS_MINIMIZE, zoomed = s & WS_MAXIMIZE;
  HMENU m = w->sysMenu;
  Grey(m, SC_RESTORE, iconic || zoomed);
  Grey(m, SC_MOVE, !zoomed);
  Grey(m, SC_SIZE, (s & WS_THICKFRAME) && !iconic && !zoomed);
  Grey(m, SC_MINIMIZE, (s & WS_MINIMIZEBOX) && !iconic);
  Grey(m, SC_MAXIMIZE, (s & WS_MAXIMIZEBOX) && !zoomed);
  if (w->cls->wc.style & CS_NOCLOSE) Grey(m, SC_CLOSE, false);
}

}  // namespace

void ShowSystemMenu(Window* w, POINT screen) {
  WindowRecordPin pin;
  const HWND h = w->handle;
  HMENU m = GetSystemMenu(h, FALSE);
  if (!m) return;
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(m, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, h, nullptr));
  // Posted, so that a command with a loop of its own (move, size) starts after the menu's.
  if (command && FromHandle(h)) PostMessage(h, WM_SYSCOMMAND, command, MAKELPARAM(screen.x, screen.y));
}

}  // namespace wm

using namespace wm;

HMENU GetSystemMenu(HWND window, BOOL revert) {
  Window* w = CheckedWindow(window);
  if (!w) return nullptr;
  if (revert) {
    DestroyMenusOf(w);
    PaintFrame(w, w->ncActive);
    return nullptr;
  }
  if (!w->sysMenu) w->sysMenu = MakeSystemMenu(w);
  UpdateSystemMenu(w);
  return w->sysMenu;
}

}  // namespace plat
