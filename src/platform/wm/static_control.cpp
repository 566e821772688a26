// The "Static" class: text (left, centred or right, wrapped) or an icon, on the face colour.
// It lets the pointer through to its parent.
#include "platform/wm/dialogs.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/standard_controls.h"
#include "platform/wm/state.h"

namespace plat::wm {

namespace {

struct StaticData : ControlState {
  HFONT font = nullptr;
  HICON icon = nullptr;
};

StaticData* Data(HWND h) { return ControlStateOf<StaticData>(FromHandle(h)); }

void Paint(HWND h, HDC dc) {
  const StaticData* data = Data(h);
  if (!data) return;
  const StaticData& d = *data;
  const DWORD style = static_cast<DWORD>(GetWindowLong(h, GWL_STYLE));
  RECT r;
  GetClientRect(h, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
  if ((style & SS_TYPEMASK) == SS_ICON) {
    if (d.icon) DrawIcon(dc, 0, 0, d.icon);
    return;
  }
  const DWORD align = style & SS_TYPEMASK;
  const UINT format = DT_WORDBREAK | DT_EXPANDTABS | (align == SS_CENTER ? DT_CENTER : align == SS_RIGHT ? DT_RIGHT : DT_LEFT) |
                      ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
  const int saved = SaveDC(dc);
  SelectObject(dc, d.font ? d.font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(h) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  DrawText(dc, GetWindowTextString(h), &r, format);
  RestoreDC(dc, saved);
}

}  // namespace

LRESULT StaticProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  WindowRecordPin pin;
  StaticData* data = Data(h);
  if (!data) return DefWindowProc(h, msg, wp, lp);
  StaticData& d = *data;
  if (auto painted = AnswerPaint(h, msg, wp, Paint)) return *painted;
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_SETFONT:
      d.font = reinterpret_cast<HFONT>(wp);
      if (lp) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(d.font);
    case STM_SETICON: {
      const HICON old = d.icon;
      d.icon = reinterpret_cast<HICON>(wp);
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON: return reinterpret_cast<LRESULT>(d.icon);
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProc(h, msg, wp, lp);
      InvalidateRect(h, nullptr, TRUE);
      return r;
    }
    case WM_GETDLGCODE: return DLGC_STATIC;
    default: return DefWindowProc(h, msg, wp, lp);
  }
}

}  // namespace plat::wm
