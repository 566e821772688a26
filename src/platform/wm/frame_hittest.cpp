// The default hit test: client, sizing borders and corners of a sizeable window, the caption with
// its icon and buttons, scroll bars, and the rest of the frame as a plain border.
#include "platform/wm/frame.h"

namespace plat::wm {

namespace {

int SizingBorder(const RECT& wr, int frame, POINT p) {
  // Along an edge, the part within a caption button's size of a corner sizes both ways.
  const int corner = GetSystemMetrics(SM_CYSIZE) + frame;
  bool left = p.x < wr.left + frame, right = p.x >= wr.right - frame;
  bool top = p.y < wr.top + frame, bottom = p.y >= wr.bottom - frame;
  if (!(left || right || top || bottom)) return HTNOWHERE;
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

int CaptionPart(const Window* w, POINT local) {
  const FrameLayout f = LayoutFrame(w);
  for (int code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP})
    if (Contains(CaptionButtonRect(f, code), local)) return code;
  if (Contains(f.iconZone, local)) return HTSYSMENU;
  return HTCAPTION;
}

}  // namespace

LRESULT NcHitTest(Window* w, POINT p) {
  const RECT wr = WindowScreenRect(w);
  if (!Contains(wr, p)) return HTNOWHERE;
  if (Contains(ClientScreenRect(w), p)) return HTCLIENT;
  const int frame = FrameWidth(w->style, w->exStyle);
  if ((w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
    if (const int border = SizingBorder(wr, frame, p)) return border;
  RECT inner = wr;
  InflateRect(&inner, -frame, -frame);
  if (!Contains(inner, p)) return HTBORDER;
  const int caption = CaptionHeight(w->style, w->exStyle);
  if (caption && p.y < inner.top + caption) return CaptionPart(w, {p.x - wr.left, p.y - wr.top});
  const RECT cr = ClientScreenRect(w);
  if ((w->style & WS_VSCROLL) && p.x >= cr.right && p.y >= cr.top && p.y < cr.bottom) return HTVSCROLL;
  if ((w->style & WS_HSCROLL) && p.y >= cr.bottom && p.x >= cr.left && p.x < cr.right) return HTHSCROLL;
  if ((w->style & WS_VSCROLL) && (w->style & WS_HSCROLL) && p.x >= cr.right && p.y >= cr.bottom)
    return (w->style & WS_THICKFRAME) ? HTBOTTOMRIGHT : HTBORDER;
  return HTBORDER;
}

}  // namespace plat::wm
