// The dialog class: a default push button, Tab between the controls that stop it, Enter for the
// focused or default push button, Escape and the close command as IDCANCEL; the focus comes back
// to the control that had it when the dialog is activated again.
#include <algorithm>

#include "platform/wm/dialogs.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/standard_controls.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

struct DialogData : ControlState {
  int defId = 0;
  HWND lastFocus = nullptr;
};

DialogData* Data(Window* w) { return ControlStateOf<DialogData>(w); }

bool TabStop(HWND h) {
  const LONG style = GetWindowLong(h, GWL_STYLE);
  return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// The next (or previous) control that stops Tab, wrapping round.
HWND NextTabStop(HWND dialog, HWND from, bool back) {
  std::vector<HWND> stops;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (TabStop(c)) stops.push_back(c);
  // Children run top of the z-order first: the order they were made in.
  if (stops.empty()) return nullptr;
  auto it = std::find(stops.begin(), stops.end(), from);
  if (it == stops.end()) return back ? stops.back() : stops.front();
  const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(stops.size());
  const std::ptrdiff_t i = ((it - stops.begin()) + (back ? n - 1 : 1)) % n;
  return stops[static_cast<std::size_t>(i)];
}

void Command(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (control && !IsWindowEnabled(control)) return;
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

bool IsPushButton(HWND h) {
  const LRESULT code = SendMessage(h, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

void SetDefault(Window* w, DialogData& d, int id) {
  if (HWND old = d.defId ? GetDlgItem(w->handle, d.defId) : nullptr; old && IsPushButton(old))
    SendMessage(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  d.defId = id;
  if (HWND now = GetDlgItem(w->handle, id); now && IsPushButton(now))
    SendMessage(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

}  // namespace

}  // namespace wm

using namespace wm;

int GetDlgCtrlID(HWND window) {
  Window* w = FromHandle(window);
  return w && !IsTopLevel(w) ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* d = FromHandle(dialog);
  if (!d) return nullptr;
  for (Window* c : d->children)
    if (c->id == id) return c->handle;
  return nullptr;
}

LRESULT DefDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  WindowRecordPin pin;
  Window* w = FromHandle(dialog);
  DialogData* data = Data(w);
  if (!data) return DefWindowProc(dialog, msg, wp, lp);
  DialogData& d = *data;
  switch (msg) {
    case DM_GETDEFID: {
      const int id = d.defId;
      return id ? static_cast<LRESULT>(MAKELONG(static_cast<WORD>(id), DC_HASDEFID)) : 0;
    }
    case DM_SETDEFID: SetDefault(w, d, static_cast<int>(wp)); return TRUE;
    case WM_CLOSE: Command(dialog, IDCANCEL); return 0;
    case WM_NEXTDLGCTL: {
      const HWND next = lp ? reinterpret_cast<HWND>(wp) : NextTabStop(dialog, GetFocus(), wp != 0);
      if (next) SetFocus(next);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        if (IsChild(dialog, GetFocus())) d.lastFocus = GetFocus();
        return 0;
      }
      if (HWND back = d.lastFocus; back && IsChild(dialog, back) && TabStop(back)) {
        SetFocus(back);
      } else if (!IsChild(dialog, GetFocus())) {
        const HWND first = NextTabStop(dialog, nullptr, false);
        SetFocus(first ? first : dialog);
      }
      return 0;
    default: return DefWindowProc(dialog, msg, wp, lp);
  }
}

BOOL IsDialogMessage(HWND dialog, MSG* msg) {
  Window* d = FromHandle(dialog);
  if (!d || !msg || !msg->hwnd || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return FALSE;
  if (msg->message == WM_KEYDOWN) {
    const LRESULT code = SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    switch (msg->wParam) {
      case VK_TAB:
        if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) break;
        SendMessage(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
        return TRUE;
      case VK_RETURN: {
        if (code & DLGC_WANTALLKEYS) break;
        if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
          Command(dialog, GetDlgCtrlID(msg->hwnd));
          return TRUE;
        }
        const LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
        Command(dialog, HIWORD(static_cast<DWORD_PTR>(def)) == DC_HASDEFID ? LOWORD(static_cast<DWORD_PTR>(def)) : IDOK);
        return TRUE;
      }
      case VK_ESCAPE:
        if (code & DLGC_WANTALLKEYS) break;
        Command(dialog, IDCANCEL);
        return TRUE;
      default: break;
    }
  }
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}

}  // namespace plat
