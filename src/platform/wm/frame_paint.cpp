// Painting the default frame: a raised border, the caption bar in a gradient of the active or
// inactive caption colours, the system-menu icon, the caption text in the caption font (cut
// with an ellipsis) and the caption buttons.
#include "platform/wm/frame.h"
#include "platform/wm/standard_controls.h"

namespace plat::wm {

namespace {

HBRUSH SysBrush(int index) { return GetSysColorBrush(index); }

void CaptionGradient(HDC dc, const RECT& bar, bool active) {
  const COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  const COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  auto channel = [](BYTE v) { return static_cast<COLOR16>(v << 8); };
  const TRIVERTEX v[2] = {
      {bar.left, bar.top, channel(GetRValue(from)), channel(GetGValue(from)), channel(GetBValue(from)), 0},
      {bar.right, bar.bottom, channel(GetRValue(to)), channel(GetGValue(to)), channel(GetBValue(to)), 0}};
  const GRADIENT_RECT mesh{0, 1};
  GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
}

void DrawCaptionText(Window* w, HDC dc, RECT area, bool active) {
  if (w->text.empty() || IsEmpty(area)) return;
  NONCLIENTMETRICS metrics;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirect((w->exStyle & WS_EX_TOOLWINDOW) ? &metrics.lfSmCaptionFont : &metrics.lfCaptionFont);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  DrawText(dc, w->text, &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

UINT ButtonGlyph(const Window* w, int code) {
  switch (code) {
    case HTMAXBUTTON: return (w->style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    case HTMINBUTTON: return (w->style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
    case HTHELP: return DFCS_CAPTIONHELP;
    default: return DFCS_CAPTIONCLOSE;
  }
}

void DrawButton(Window* w, HDC dc, const FrameLayout& f, int code) {
  RECT r = CaptionButtonRect(f, code);
  if (IsEmpty(r)) return;
  const UINT state = ButtonGlyph(w, code) | (w->ncPressed == code ? DFCS_PUSHED : 0) |
                     (CaptionButtonEnabled(w, code) ? 0 : DFCS_INACTIVE);
  DrawFrameControl(dc, &r, DFC_CAPTION, state);
}

void DrawCaption(Window* w, HDC dc, const FrameLayout& f, bool active) {
  CaptionGradient(dc, f.caption, active);
  const RECT line{f.caption.left, f.caption.bottom, f.caption.right, f.caption.bottom + 1};
  FillRect(dc, &line, SysBrush(COLOR_3DFACE));
  if (!IsEmpty(f.icon)) {
    HICON icon = w->cls->wc.hIcon ? w->cls->wc.hIcon : LoadIcon(nullptr, IDI_APPLICATION);
    if (!DrawIconEx(dc, f.icon.left, f.icon.top, icon, RectWidth(f.icon), RectHeight(f.icon), 0, nullptr, DI_NORMAL))
      DrawIconEx(dc, f.icon.left, f.icon.top, LoadIcon(nullptr, IDI_APPLICATION), RectWidth(f.icon),
                 RectHeight(f.icon), 0, nullptr, DI_NORMAL);
  }
  DrawCaptionText(w, dc, f.text, active);
  for (int code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP}) DrawButton(w, dc, f, code);
}

}  // namespace

void DrawFrame(Window* w, HDC dc, bool active) {
  RECT r{0, 0, RectWidth(w->rect), RectHeight(w->rect)};
  const int frame = FrameWidth(w->style, w->exStyle);
  if (frame == 1) {
    FrameRect(dc, &r, SysBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  } else if (frame > 1) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    const HBRUSH fill = SysBrush((w->style & WS_THICKFRAME) ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER)
                                                             : COLOR_3DFACE);
    for (int i = 2; i < frame; ++i) {
      FrameRect(dc, &r, fill);
      InflateRect(&r, -1, -1);
    }
  }
  const int caption = CaptionHeight(w->style, w->exStyle);
  if (caption) {
    DrawCaption(w, dc, LayoutFrame(w), active);
    r.top += caption;
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
  if ((w->style & WS_VSCROLL) && (w->style & WS_HSCROLL)) {
    // The corner between two scroll bars.
    const RECT corner{w->client.right, w->client.bottom, w->client.right + GetSystemMetrics(SM_CXVSCROLL),
                      w->client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    FillRect(dc, &corner, SysBrush(COLOR_3DFACE));
  }
}

void PaintFrame(Window* w, bool active) {
  const RECT whole{0, 0, RectWidth(w->rect), RectHeight(w->rect)};
  if (!VisibleChain(w) || EqualRect(&w->client, &whole)) return;
  HDC dc = GetDCEx(w->handle, nullptr, DCX_WINDOW | DCX_CACHE);
  ExcludeClipRect(dc, w->client.left, w->client.top, w->client.right, w->client.bottom);
  DrawFrame(w, dc, active);
  ReleaseDC(w->handle, dc);
}

void PaintCaptionButton(Window* w, int code) {
  if (!VisibleChain(w)) return;
  HDC dc = GetDCEx(w->handle, nullptr, DCX_WINDOW | DCX_CACHE);
  DrawButton(w, dc, LayoutFrame(w), code);
  ReleaseDC(w->handle, dc);
}

void NcPaint(Window* w, HDC) { PaintFrame(w, w->ncActive); }

}  // namespace plat::wm
