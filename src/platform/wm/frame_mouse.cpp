// The non-client mouse by default: caption buttons follow the pointer while the button is held
// and act only on a release over them; a press on the caption moves the window, on a border sizes
// it, on the icon opens the system menu; double clicks maximise, restore or close.
#include "platform/wm/frame.h"
#include "platform/wm/menus.h"
#include "platform/wm/modal_loop.h"
#include "platform/wm/record_pin.h"

namespace plat::wm {

namespace {

RECT ButtonOnScreen(Window* w, int code) {
  const POINT o = WindowOrigin(w);
  return Offset(CaptionButtonRect(LayoutFrame(w), code), o.x, o.y);
}

void ShowPressed(Window* w, int code, bool pressed) {
  const int now = pressed ? code : HTNOWHERE;
  if (w->ncPressed == now) return;
  w->ncPressed = now;
  PaintCaptionButton(w, code);
}

// True when the button was released over itself.
bool TrackCaptionButton(Window* w, int code) {
  const HWND h = w->handle;
  CaptureHold capture(h);
  ShowPressed(w, code, true);
  bool released = false, over = true;
  MSG m;
  while (!released && NextModalMessage(m)) {
    if (!FromHandle(h)) return false;
    if (!capture.Held()) break;
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
      over = Contains(ButtonOnScreen(w, code), m.pt);
      ShowPressed(w, code, over);
      released = m.message == WM_LBUTTONUP;
    } else if (IsKeyMessage(m.message)) {
      if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) break;
    } else if (!IsMouseMessage(m.message)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
  if (!FromHandle(h)) return false;
  ShowPressed(w, code, false);
  return released && over;
}

WPARAM ButtonCommand(const Window* w, int code) {
  switch (code) {
    case HTMINBUTTON: return (w->style & WS_MINIMIZE) ? SC_RESTORE : SC_MINIMIZE;
    case HTMAXBUTTON: return (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
    case HTHELP: return SC_CONTEXTHELP;
    default: return SC_CLOSE;
  }
}

}  // namespace

LRESULT NcLButtonDown(Window* w, int hit, POINT screen) {
  const LPARAM at = MAKELPARAM(screen.x, screen.y);
  switch (hit) {
    case HTCAPTION: Send(w, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, at); break;
    case HTSYSMENU:
      if (w->style & WS_SYSMENU) Send(w, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, at);
      break;
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTHELP: {
      if (!CaptionButtonEnabled(w, hit)) break;
      WindowRecordPin pin;
      if (TrackCaptionButton(w, hit) && !w->dead) Send(w, WM_SYSCOMMAND, ButtonCommand(w, hit), at);
      break;
    }
    default:
      if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
        Send(w, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + 1), at);
      break;
  }
  return 0;
}

LRESULT NcLButtonDblClk(Window* w, int hit) {
  if (hit == HTSYSMENU && (w->style & WS_SYSMENU) && CaptionButtonEnabled(w, HTCLOSE)) {
    Send(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (hit == HTCAPTION) {
    if (w->style & (WS_MAXIMIZE | WS_MINIMIZE))
      Send(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (w->style & WS_MAXIMIZEBOX)
      Send(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  }
  return 0;
}

LRESULT ContextMenuDefault(Window* w, WPARAM wp, LPARAM lp) {
  if (!IsTopLevel(w) && w->parent) return Send(w->parent, WM_CONTEXTMENU, wp, lp);
  if (!(w->style & WS_SYSMENU) || lp == -1) return 0;
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const LRESULT hit = Send(w, WM_NCHITTEST, 0, lp);
  if (!w->dead && (hit == HTCAPTION || hit == HTSYSMENU)) ShowSystemMenu(w, p);
  return 0;
}

}  // namespace plat::wm
