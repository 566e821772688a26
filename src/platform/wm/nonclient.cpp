// The default frame: sizes by style, the basic hit test, a classic flat frame and caption, and
// printing a window into a device context.
#include "platform/wm/nonclient.h"

#include <algorithm>

#include "platform/wm/busy.h"

namespace plat::wm {

namespace {

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

HBRUSH SysBrush(int index) { return GetSysColorBrush(index); }

void DrawCaptionText(Window* w, HDC dc, RECT bar, bool active) {
  if (w->text.empty()) return;
  NONCLIENTMETRICS metrics;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirect((w->exStyle & WS_EX_TOOLWINDOW) ? &metrics.lfSmCaptionFont : &metrics.lfCaptionFont);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  bar.left += 4;
  bar.right -= 4;
  DrawText(dc, w->text, &bar, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

// The frame in window coordinates of dc.
void DrawFrame(Window* w, HDC dc, bool active) {
  RECT r{0, 0, RectWidth(w->rect), RectHeight(w->rect)};
  const int frame = FrameWidth(w->style, w->exStyle);
  if (frame == 1) {
    FrameRect(dc, &r, SysBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  } else if (frame > 1) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    const int rest = frame - 2;
    const HBRUSH fill = SysBrush((w->style & WS_THICKFRAME) ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER)
                                                             : COLOR_3DFACE);
    for (int i = 0; i < rest; ++i) {
      FrameRect(dc, &r, fill);
      InflateRect(&r, -1, -1);
    }
  }
  const int caption = CaptionHeight(w->style, w->exStyle);
  if (caption) {
    RECT bar{r.left, r.top, r.right, r.top + caption - 1};
    FillRect(dc, &bar, SysBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    RECT line{r.left, bar.bottom, r.right, bar.bottom + 1};
    FillRect(dc, &line, SysBrush(COLOR_3DFACE));
    DrawCaptionText(w, dc, bar, active);
    r.top += caption;
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
}

}  // namespace

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

LRESULT NcHitTest(Window* w, POINT p) {
  const RECT wr = WindowScreenRect(w);
  if (!Contains(wr, p)) return HTNOWHERE;
  if (Contains(ClientScreenRect(w), p)) return HTCLIENT;
  const int frame = FrameWidth(w->style, w->exStyle);
  if ((w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) {
    const int corner = GetSystemMetrics(SM_CYSIZE) + frame;
    bool left = p.x < wr.left + frame, right = p.x >= wr.right - frame;
    bool top = p.y < wr.top + frame, bottom = p.y >= wr.bottom - frame;
    if (left || right || top || bottom) {
      if (top || bottom) {
        left = left || p.x < wr.left + corner;
        right = right || p.x >= wr.right - corner;
      }
      if (left || right) {
        top = top || p.y < wr.top + corner;
        bottom = bottom || p.y >= wr.bottom - corner;
      }
      if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
      if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
      return left ? HTLEFT : HTRIGHT;
    }
  }
  RECT inner = wr;
  InflateRect(&inner, -frame, -frame);
  if (!Contains(inner, p)) return HTBORDER;
  const int caption = CaptionHeight(w->style, w->exStyle);
  if (caption && p.y < inner.top + caption) {
    if ((w->style & WS_SYSMENU) && !(w->exStyle & WS_EX_TOOLWINDOW) && p.x < inner.left + caption) return HTSYSMENU;
    return HTCAPTION;
  }
  const RECT cr = ClientScreenRect(w);
  if ((w->style & WS_VSCROLL) && p.x >= cr.right && p.y >= cr.top && p.y < cr.bottom) return HTVSCROLL;
  if ((w->style & WS_HSCROLL) && p.y >= cr.bottom && p.x >= cr.left && p.x < cr.right) return HTHSCROLL;
  return HTBORDER;
}

void PaintFrame(Window* w, bool active) {
  const RECT whole{0, 0, RectWidth(w->rect), RectHeight(w->rect)};
  if (!VisibleChain(w) || EqualRect(&w->client, &whole)) return;
  HDC dc = GetDCEx(w->handle, nullptr, DCX_WINDOW | DCX_CACHE);
  ExcludeClipRect(dc, w->client.left, w->client.top, w->client.right, w->client.bottom);
  DrawFrame(w, dc, active);
  ReleaseDC(w->handle, dc);
}

void NcPaint(Window* w, HDC) { PaintFrame(w, w->ncActive); }

void Print(Window* w, HDC dc, LPARAM flags) {
  Busy busy;
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
