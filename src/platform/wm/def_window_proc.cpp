// What a window does with a message it leaves to the default procedure.
#include <algorithm>
#include <cstring>

#include "platform/wm/frame.h"
#include "platform/wm/menus.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/standard_controls.h"

namespace plat {

using namespace wm;

namespace {

void SetText(Window* w, const char* text) {
  w->text = text && !IS_INTRESOURCE(text) ? text : "";
  if (IsTopLevel(w)) Dsp().SetTitle(w->surface->id, w->text);
}

// Copies at most size - 1 bytes, never cutting a character in two.
LRESULT CopyText(const std::string& text, WPARAM size, char* out) {
  if (!out || size == 0) return 0;
  std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

WPARAM SizeKind(const Window* w) {
  return (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

void SetRedraw(Window* w, bool on) {
  if (!on && (w->style & WS_VISIBLE)) {
    w->style &= ~WS_VISIBLE;
    w->redrawOff = true;
  } else if (on && w->redrawOff) {
    w->style |= WS_VISIBLE;
    w->redrawOff = false;
  } else {
    return;
  }
  RefreshDcs(TopLevelOf(w));
}

LRESULT ToParent(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
  return !IsTopLevel(w) && w->parent ? Send(w->parent, msg, wp, lp) : 0;
}

}  // namespace

LRESULT DefWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  WindowRecordPin pin;
  Window* w = FromHandle(window);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lp);
      if (cs && cs->lpszName) SetText(w, cs->lpszName);
      return TRUE;
    }
    case WM_NCCALCSIZE: return NcCalcSize(w, wp, lp);
    case WM_NCHITTEST: return NcHitTest(w, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    case WM_NCPAINT: NcPaint(w, reinterpret_cast<HDC>(wp)); return 0;
    case WM_NCACTIVATE:
      w->ncActive = wp != 0;
      if (lp != -1) PaintFrame(w, w->ncActive);
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) SetFocus(window);
      return 0;
    case WM_MOUSEACTIVATE: {
      if (const LRESULT r = ToParent(w, msg, wp, lp)) return r;
      return (w->exStyle & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
    }
    case WM_SETCURSOR: return SetCursorDefault(w, wp, lp);
    case WM_ERASEBKGND: {
      const HBRUSH brush = w->cls->wc.hbrBackground;
      if (!brush) return 0;
      const RECT r{0, 0, RectWidth(w->client), RectHeight(w->client)};
      FillRect(reinterpret_cast<HDC>(wp), &r, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(window, &ps)) EndPaint(window, &ps);
      return 0;
    }
    case WM_SETTEXT:
      SetText(w, reinterpret_cast<const char*>(lp));
      if ((w->style & WS_CAPTION) == WS_CAPTION) PaintFrame(w, w->ncActive);
      return TRUE;
    case WM_GETTEXT: return CopyText(w->text, wp, reinterpret_cast<char*>(lp));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (!pos) return 0;
      if (!(pos->flags & SWP_NOCLIENTMOVE))
        Send(w, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
      if (!w->dead && !(pos->flags & SWP_NOCLIENTSIZE))
        Send(w, WM_SIZE, SizeKind(w), MAKELPARAM(RectWidth(w->client), RectHeight(w->client)));
      return 0;
    }
    case WM_SETREDRAW: SetRedraw(w, wp != 0); return 0;
    case WM_PRINT: Print(w, reinterpret_cast<HDC>(wp), lp); return 0;
    case WM_SYSCOMMAND: return SysCommand(w, wp, lp);
    case WM_NCLBUTTONDOWN: return NcLButtonDown(w, static_cast<int>(wp), {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    case WM_NCLBUTTONDBLCLK: return NcLButtonDblClk(w, static_cast<int>(wp));
    case WM_NCRBUTTONUP: Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), lp); return 0;
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(window, &p);
      Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_CONTEXTMENU: return ContextMenuDefault(w, wp, lp);
    case WM_POPUPSYSTEMMENU:
      if (w->style & WS_SYSMENU) ShowSystemMenu(w, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_SYSKEYDOWN:
      if (wp == VK_F4 && (lp & (LPARAM{1} << 29))) Send(TopLevelOf(w), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_SYSCHAR:
      // Alt+Space: the system menu of the window the key is in.
      if (wp == ' ' && (lp & (LPARAM{1} << 29))) Send(TopLevelOf(w), WM_SYSCOMMAND, SC_KEYMENU, ' ');
      return 0;
    case WM_CANCELMODE:
      EndMenu();
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, GetSysColor(COLOR_3DFACE));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
    }
    case WM_MOUSEWHEEL:
    case WM_HELP: return ToParent(w, msg, wp, lp);
    case WM_QUERYENDSESSION: return TRUE;
    default: return 0;
  }
}

}  // namespace plat
