// System commands by default: close, move, size, minimise, maximise, restore, the system menu
// from the mouse or the keyboard, and help mode (the next click asks the window under it for
// help).
#include "platform/wm/frame.h"
#include "platform/wm/menus.h"
#include "platform/wm/modal_loop.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/standard_controls.h"

namespace plat::wm {

namespace {

POINT BelowIcon(Window* w) {
  const POINT o = WindowOrigin(w);
  const int frame = FrameWidth(w->style, w->exStyle);
  return {o.x + frame, o.y + frame + CaptionHeight(w->style, w->exStyle)};
}

void ContextHelpMode(Window* w) {
  const HWND h = w->handle;
  const HCURSOR before = GetCursor();
  CaptureHold capture(h);
  SetCursor(LoadCursor(nullptr, IDC_HELP));
  MSG m;
  while (NextModalMessage(m)) {
    if (!FromHandle(h) || !capture.Held()) break;
    if (m.message == WM_LBUTTONDOWN) {
      ReleaseCapture();
      const HWND target = WindowFromPoint(m.pt);
      if (target) {
        HELPINFO info;
        info.iCtrlId = GetDlgCtrlID(target);
        info.hItemHandle = target;
        info.MousePos = m.pt;
        SendMessage(target, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
      }
      break;
    }
    if (m.message == WM_RBUTTONDOWN || (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE)) break;
    if (IsMouseMessage(m.message) || IsKeyMessage(m.message)) continue;
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  SetCursor(before);
}

}  // namespace

LRESULT SysCommand(Window* w, WPARAM command, LPARAM lp) {
  WindowRecordPin pin;
  if (CallCbt(HCBT_SYSCOMMAND, command, lp) || w->dead) return 0;
  const HWND h = w->handle;
  const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (command & 0xFFF0) {
    case SC_CLOSE: Send(w, WM_CLOSE, 0, 0); break;
    case SC_MOVE:
    case SC_SIZE: MoveSizeLoop(w, command, at); break;
    case SC_MINIMIZE: ShowWindow(h, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(h, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(h, SW_RESTORE); break;
    case SC_MOUSEMENU: ShowSystemMenu(w, BelowIcon(w)); break;
    case SC_KEYMENU:
      if (lp == ' ' && (w->style & WS_SYSMENU)) ShowSystemMenu(w, BelowIcon(w));
      break;
    case SC_CONTEXTHELP: ContextHelpMode(w); break;
    default: break;
  }
  return 0;
}

}  // namespace plat::wm
