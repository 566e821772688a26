// The "Button" class, push buttons: pushed while the mouse holds it and the pointer is over it,
// clicked on a release over it; the space bar pushes it and its release clicks. BN_CLICKED goes
// to the parent as WM_COMMAND. Owner-drawn buttons ask the parent with WM_DRAWITEM.
#include <algorithm>

#include "platform/wm/dialogs.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/standard_controls.h"
#include "platform/wm/state.h"

namespace plat::wm {

namespace {

struct ButtonData : ControlState {
  LRESULT state = 0;  // BST_ bits
  bool mouse = false;  // a left press on the button, its release still due
  bool space = false;  // the space bar holds it
  HFONT font = nullptr;
  UINT action = ODA_DRAWENTIRE;  // what the next owner-drawn paint is for
};

ButtonData* Data(HWND h) { return ControlStateOf<ButtonData>(FromHandle(h)); }

DWORD Type(HWND h) { return static_cast<DWORD>(GetWindowLong(h, GWL_STYLE)) & BS_TYPEMASK; }

// At once, as a pushed look must show while the press lasts; through the top-level window, so
// that a parent with paint still due paints first and does not cover the button afterwards.
void Redraw(HWND h) {
  InvalidateRect(h, nullptr, FALSE);
  UpdateWindow(GetAncestor(h, GA_ROOT));
}

void SetPushed(HWND h, ButtonData& d, bool pushed) {
  if (((d.state & BST_PUSHED) != 0) == pushed) return;
  d.state = pushed ? d.state | BST_PUSHED : d.state & ~BST_PUSHED;
  d.action = ODA_SELECT;
  Redraw(h);
}

void Clicked(HWND h) {
  const HWND parent = GetParent(h);
  if (parent)
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(h)), BN_CLICKED),
                reinterpret_cast<LPARAM>(h));
}

void DrawCaption(HWND h, HDC dc, RECT r, bool disabled) {
  const std::string text = GetWindowTextString(h);
  if (text.empty()) return;
  const bool multiline = GetWindowLong(h, GWL_STYLE) & BS_MULTILINE;
  UINT format = DT_CENTER | (multiline ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
  if (multiline) {
    RECT measured = r;
    DrawText(dc, text, &measured, format | DT_CALCRECT);
    r.top += std::max<LONG>(0, (RectHeight(r) - RectHeight(measured)) / 2);
  }
  SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    // Engraved: a highlight under the grey.
    RECT light = Offset(r, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawText(dc, text, &light, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawText(dc, text, &r, format);
}

void PaintPush(HWND h, HDC dc, const ButtonData& d) {
  RECT r;
  GetClientRect(h, &r);
  const bool pushed = d.state & BST_PUSHED, focused = d.state & BST_FOCUS;
  const bool disabled = !IsWindowEnabled(h);
  if (Type(h) == BS_DEFPUSHBUTTON) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (pushed) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_3DSHADOW));
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_3DFACE));
  } else {
    RECT bevel = r;
    DrawFrameControl(dc, &bevel, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  RECT text = r;
  InflateRect(&text, -4, -2);
  if (pushed) text = Offset(text, 1, 1);
  const int saved = SaveDC(dc);
  SelectObject(dc, d.font ? d.font : GetStockObject(DEFAULT_GUI_FONT));
  DrawCaption(h, dc, text, disabled);
  RestoreDC(dc, saved);
  if (focused && !disabled) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

void PaintOwnerDrawn(HWND h, HDC dc, ButtonData& d) {
  DRAWITEMSTRUCT item;
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
  item.itemAction = d.action;
  item.itemState = ((d.state & BST_PUSHED) ? ODS_SELECTED : 0) | ((d.state & BST_FOCUS) ? ODS_FOCUS : 0) |
                   (IsWindowEnabled(h) ? 0 : ODS_DISABLED);
  item.hwndItem = h;
  item.hDC = dc;
  GetClientRect(h, &item.rcItem);
  d.action = ODA_DRAWENTIRE;
  if (const HWND parent = GetParent(h))
    SendMessage(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void Paint(HWND h, HDC dc) {
  ButtonData* d = Data(h);
  if (!d) return;
  if (Type(h) == BS_OWNERDRAW)
    PaintOwnerDrawn(h, dc, *d);
  else
    PaintPush(h, dc, *d);
}

bool Inside(HWND h, LPARAM lp) {
  RECT r;
  GetClientRect(h, &r);
  return Contains(r, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
}

}  // namespace

LRESULT ButtonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  WindowRecordPin pin;
  ButtonData* data = Data(h);
  if (!data) return DefWindowProc(h, msg, wp, lp);
  ButtonData& d = *data;
  if (auto painted = AnswerPaint(h, msg, wp, Paint)) return *painted;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != h) SetFocus(h);
      SetCapture(h);
      d.mouse = true;
      SetPushed(h, d, true);
      return 0;
    case WM_MOUSEMOVE:
      if (d.mouse && GetCapture() == h) SetPushed(h, d, Inside(h, lp));
      return 0;
    case WM_LBUTTONUP: {
      if (!d.mouse) return 0;
      d.mouse = false;
      const bool click = Inside(h, lp) && (d.state & BST_PUSHED);
      SetPushed(h, d, false);
      if (GetCapture() == h) ReleaseCapture();
      if (click) Clicked(h);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (d.mouse) {
        d.mouse = false;
        SetPushed(h, d, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_SPACE && !(lp & (LPARAM{1} << 30)) && !d.mouse) {
        d.space = true;
        SetPushed(h, d, true);
      }
      return 0;
    case WM_KEYUP:
      if (wp == VK_SPACE && d.space) {
        d.space = false;
        const bool click = d.state & BST_PUSHED;
        SetPushed(h, d, false);
        if (click) Clicked(h);
      }
      return 0;
    case WM_SETFOCUS:
      d.state |= BST_FOCUS;
      d.action = ODA_FOCUS;
      Redraw(h);
      return 0;
    case WM_KILLFOCUS:
      d.state &= ~BST_FOCUS;
      d.action = ODA_FOCUS;
      if (d.space) {
        d.space = false;
        d.state &= ~BST_PUSHED;
      }
      if (d.mouse && GetCapture() == h) ReleaseCapture();
      Redraw(h);
      return 0;
    case WM_ENABLE: Redraw(h); return 0;
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProc(h, msg, wp, lp);
      Redraw(h);
      return r;
    }
    case WM_SETFONT:
      d.font = reinterpret_cast<HFONT>(wp);
      if (lp) Redraw(h);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(d.font);
    case WM_GETDLGCODE: return DLGC_BUTTON | (Type(h) == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_GETSTATE: return d.state;
    case BM_SETSTATE: SetPushed(h, d, wp != 0); return 0;
    case BM_GETCHECK: return d.state & 3;
    case BM_SETCHECK:
      d.state = (d.state & ~LRESULT{3}) | static_cast<LRESULT>(wp & 3);
      Redraw(h);
      return 0;
    case BM_SETSTYLE: {
      const LONG style = GetWindowLong(h, GWL_STYLE);
      SetWindowLong(h, GWL_STYLE, static_cast<LONG>((style & ~BS_TYPEMASK) | (wp & BS_TYPEMASK)));
      if (lp) Redraw(h);
      return 0;
    }
    case BM_CLICK:
      if (!IsWindowEnabled(h)) return 0;
      SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessage(h, WM_LBUTTONUP, 0, 0);
      return 0;
    default: return DefWindowProc(h, msg, wp, lp);
  }
}

}  // namespace plat::wm
