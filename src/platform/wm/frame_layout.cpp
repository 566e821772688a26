// The default frame: sizes by style, where the caption's parts go, and printing a window into a
// device context.
#include "platform/wm/frame.h"

#include <algorithm>

#include "platform/wm/menus.h"
#include "platform/wm/record_pin.h"

namespace plat::wm {

int FrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

int CaptionHeight(DWORD style, DWORD exStyle) {
  if ((style & WS_CAPTION) != WS_CAPTION) return 0;
  return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

FrameLayout LayoutFrame(const Window* w) {
  FrameLayout f;
  const int caption = CaptionHeight(w->style, w->exStyle);
  if (!caption) return f;
  const int frame = FrameWidth(w->style, w->exStyle);
  const int width = RectWidth(w->rect);
  f.caption = {frame, frame, std::max(frame, width - frame), frame + caption - 1};
  const int barHeight = RectHeight(f.caption);
  const bool tool = (w->exStyle & WS_EX_TOOLWINDOW) != 0;
  int textLeft = f.caption.left + 3;
  int right = f.caption.right - 2;
  if (w->style & WS_SYSMENU) {
    if (!tool) {
      const int icon = GetSystemMetrics(SM_CXSMICON);
      f.icon = MakeRect(f.caption.left + 2, f.caption.top + (barHeight - icon) / 2, icon, icon);
      f.iconZone = {f.caption.left, f.caption.top, f.caption.left + barHeight, f.caption.bottom};
      textLeft = f.iconZone.right + 1;
    }
    // Buttons are two pixels in from the bar's edges; close stands apart from the others.
    const int height = barHeight - 4;
    const int button = tool ? GetSystemMetrics(SM_CXSMSIZE) : GetSystemMetrics(SM_CXSIZE) - 2;
    const int top = f.caption.top + 2;
    f.close = {right - button, top, right, top + height};
    right = f.close.left - 2;
    if (!tool && (w->style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
      f.maximize = {right - button, top, right, top + height};
      f.minimize = {f.maximize.left - button, top, f.maximize.left, top + height};
      right = f.minimize.left - 2;
    } else if (w->exStyle & WS_EX_CONTEXTHELP) {
      f.help = {right - button, top, right, top + height};
      right = f.help.left - 2;
    }
  }
  f.text = {textLeft, f.caption.top, std::max(textLeft, right), f.caption.bottom};
  return f;
}

RECT CaptionButtonRect(const FrameLayout& f, int code) {
  switch (code) {
    case HTCLOSE: return f.close;
    case HTMAXBUTTON: return f.maximize;
    case HTMINBUTTON: return f.minimize;
    case HTHELP: return f.help;
    default: return {};
  }
}

bool CaptionButtonEnabled(const Window* w, int code) {
  switch (code) {
    case HTCLOSE: {
      if (w->cls->wc.style & CS_NOCLOSE) return false;
      const UINT state = w->sysMenu ? GetMenuState(w->sysMenu, SC_CLOSE, MF_BYCOMMAND) : 0;
      return state == static_cast<UINT>(-1) || !(state & (MF_GRAYED | MF_DISABLED));
    }
    case HTMAXBUTTON: return (w->style & WS_MAXIMIZEBOX) != 0;
    case HTMINBUTTON: return (w->style & WS_MINIMIZEBOX) != 0;
    case HTHELP: return true;
    default: return false;
  }
}

RECT NonClientInsets(DWORD style, DWORD exStyle) {
  const int frame = FrameWidth(style, exStyle);
  RECT r{frame, frame, frame, frame};
  r.top += CaptionHeight(style, exStyle);
  const int edge = ((exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0) +
                   ((exStyle & WS_EX_STATICEDGE) ? GetSystemMetrics(SM_CXBORDER) : 0);
  r.left += edge;
  r.top += edge;
  r.right += edge;
  r.bottom += edge;
  if (style & WS_VSCROLL) r.right += GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) r.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return r;
}

LRESULT NcCalcSize(Window* w, WPARAM calcValid, LPARAM lp) {
  RECT* r = calcValid ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
  if (!r) return 0;
  const RECT in = NonClientInsets(w->style, w->exStyle);
  r->left += in.left;
  r->top += in.top;
  r->right = std::max(r->left, r->right - in.right);
  r->bottom = std::max(r->top, r->bottom - in.bottom);
  return 0;
}

void Print(Window* w, HDC dc, LPARAM flags) {
  WindowRecordPin pin;
  if ((flags & PRF_CHECKVISIBLE) && !VisibleChain(w)) return;
  const int saved = SaveDC(dc);
  if (flags & PRF_NONCLIENT) DrawFrame(w, dc, w->ncActive);
  const POINT client{(flags & PRF_NONCLIENT) ? w->client.left : 0, (flags & PRF_NONCLIENT) ? w->client.top : 0};
  OffsetViewportOrgEx(dc, client.x, client.y, nullptr);
  IntersectClipRect(dc, 0, 0, RectWidth(w->client), RectHeight(w->client));
  if (flags & PRF_ERASEBKGND) Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  if (!w->dead && (flags & PRF_CLIENT)) Send(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
  if (!w->dead && (flags & PRF_CHILDREN)) {
    // Bottom first, so that the upper siblings end on top.
    std::vector<HWND> children;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) children.push_back((*it)->handle);
    for (HWND h : children) {
      Window* c = FromHandle(h);
      if (!c || !(c->style & WS_VISIBLE)) continue;
      const int inner = SaveDC(dc);
      OffsetViewportOrgEx(dc, c->rect.left, c->rect.top, nullptr);
      IntersectClipRect(dc, 0, 0, RectWidth(c->rect), RectHeight(c->rect));
      Send(c, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT | PRF_CLIENT);
      RestoreDC(dc, inner);
    }
  }
  RestoreDC(dc, saved);
  if (w->dead || !(flags & PRF_OWNED) || !IsTopLevel(w)) return;
  std::vector<HWND> owned;
  for (auto it = S().desktop->children.rbegin(); it != S().desktop->children.rend(); ++it)
    if ((*it)->owner == w && ((*it)->style & WS_VISIBLE)) owned.push_back((*it)->handle);
  for (HWND h : owned) {
    Window* o = FromHandle(h);
    if (!o) continue;
    const int inner = SaveDC(dc);
    OffsetViewportOrgEx(dc, o->rect.left - w->rect.left, o->rect.top - w->rect.top, nullptr);
    Send(o, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags & ~PRF_OWNED);
    RestoreDC(dc, inner);
  }
}

LRESULT SetCursorDefault(Window* w, WPARAM wp, LPARAM lp) {
  if (!IsTopLevel(w) && w->parent && Send(w->parent, WM_SETCURSOR, wp, lp)) return TRUE;
  const int code = static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lp)));
  const UINT message = HIWORD(static_cast<DWORD_PTR>(lp));
  const char* shape = IDC_ARROW;
  switch (code) {
    case HTERROR: {
      const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
      if (press) {
        // A click on a window that a modal one disabled brings the modal one forward.
        const HWND root = GetAncestor(w->handle, GA_ROOTOWNER);
        const HWND popup = GetLastActivePopup(root);
        if (popup && popup != w->handle) SetActiveWindow(popup);
      }
      SetCursor(LoadCursor(nullptr, IDC_ARROW));
      return FALSE;
    }
    case HTCLIENT:
      if (!w->cls->wc.hCursor) return FALSE;
      SetCursor(w->cls->wc.hCursor);
      return TRUE;
    case HTLEFT:
    case HTRIGHT: shape = IDC_SIZEWE; break;
    case HTTOP:
    case HTBOTTOM: shape = IDC_SIZENS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
    case HTGROWBOX: shape = IDC_SIZENWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: shape = IDC_SIZENESW; break;
    default: break;
  }
  SetCursor(LoadCursor(nullptr, shape));
  return TRUE;
}

}  // namespace plat::wm
