// One level of a tracked menu as a plain popup window: a raised frame, items in the menu font
// with their mnemonics underlined and accelerators right-aligned, the lit item in the highlight
// colours, greyed items engraved, check marks, submenu arrows and etched separators.
#include <algorithm>

#include "platform/wm/menu_popup.h"
#include "platform/wm/menus.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/standard_controls.h"

namespace plat::wm {

namespace {

constexpr int kBorder = 3;       // the raised edge and a pixel of face inside it
constexpr int kCheckColumn = 18;
constexpr int kArrowColumn = 16;
constexpr int kAcceleratorGap = 16;
constexpr int kSeparatorHeight = 9;

struct MenuFonts {
  MenuFonts() {
    NONCLIENTMETRICS metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    normal = CreateFontIndirect(&metrics.lfMenuFont);
    metrics.lfMenuFont.lfWeight = FW_BOLD;
    bold = CreateFontIndirect(&metrics.lfMenuFont);
  }
  ~MenuFonts() {
    DeleteObject(normal);
    DeleteObject(bold);
  }
  MenuFonts(const MenuFonts&) = delete;
  MenuFonts& operator=(const MenuFonts&) = delete;
  HFONT normal;
  HFONT bold;
};

std::pair<std::string, std::string> SplitText(const std::string& text) {
  const auto tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

int TextWidth(HDC dc, const std::string& s) {
  if (s.empty()) return 0;
  RECT r{0, 0, 0, 0};
  DrawText(dc, s, &r, DT_SINGLELINE | DT_CALCRECT);
  return RectWidth(r);
}

// The items' rectangles and the popup's size.
SIZE Layout(const Menu& m, std::vector<RECT>& items) {
  MenuFonts fonts;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, fonts.bold);
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  const int height = std::max<int>(GetSystemMetrics(SM_CYMENU) - 1, tm.tmHeight + 4);
  int text = 0, accelerator = 0;
  for (const MenuItem& it : m.items) {
    if (it.flags & MF_SEPARATOR) continue;
    const auto [label, keys] = SplitText(it.text);
    text = std::max(text, TextWidth(dc, label));
    accelerator = std::max(accelerator, TextWidth(dc, keys));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  const int width = std::max(kCheckColumn + text + (accelerator ? kAcceleratorGap + accelerator : 0) + kArrowColumn, 80);
  items.clear();
  int y = kBorder;
  for (const MenuItem& it : m.items) {
    const int h = (it.flags & MF_SEPARATOR) ? kSeparatorHeight : height;
    items.push_back({kBorder, y, kBorder + width, y + h});
    y += h;
  }
  return {width + 2 * kBorder, y + kBorder};
}

void DrawItemText(HDC dc, const MenuItem& it, RECT r, bool lit) {
  const auto split = SplitText(it.text);
  const std::string& label = split.first;
  const std::string& keys = split.second;
  const bool greyed = (it.flags & (MF_GRAYED | MF_DISABLED)) != 0;
  auto draw = [&](RECT at, COLORREF color) {
    SetTextColor(dc, color);
    DrawText(dc, label, &at, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!keys.empty()) {
      RECT right = at;
      right.right -= kArrowColumn;
      DrawText(dc, keys, &right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
  };
  r.left += kCheckColumn;
  if (greyed && !lit) {
    draw(Offset(r, 1, 1), GetSysColor(COLOR_3DHILIGHT));
    draw(r, GetSysColor(COLOR_3DSHADOW));
  } else {
    draw(r, GetSysColor(greyed ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  }
}

void DrawItem(HDC dc, const Menu& m, std::size_t index, const RECT& r, bool lit, const MenuFonts& fonts) {
  const MenuItem& it = m.items[index];
  if (it.flags & MF_SEPARATOR) {
    RECT line{r.left + 1, r.top + RectHeight(r) / 2 - 1, r.right - 1, r.top + RectHeight(r) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  FillRect(dc, &r, GetSysColorBrush(lit ? COLOR_HIGHLIGHT : COLOR_MENU));
  SelectObject(dc, static_cast<int>(index) == m.defaultItem ? fonts.bold : fonts.normal);
  DrawItemText(dc, it, r, lit);
  SetTextColor(dc, GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  if (it.flags & MF_CHECKED) {
    RECT mark{r.left, r.top, r.left + kCheckColumn, r.bottom};
    DrawFrameControl(dc, &mark, DFC_MENU, DFCS_MENUCHECK);
  }
  if (it.flags & MF_POPUP) {
    RECT arrow{r.right - kArrowColumn, r.top, r.right, r.bottom};
    DrawFrameControl(dc, &arrow, DFC_MENU, DFCS_MENUARROW);
  }
}

void Paint(HWND h, MenuPopup& popup) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT all;
  GetClientRect(h, &all);
  FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
  DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
  if (const Menu* m = FromMenu(popup.menu)) {
    MenuFonts fonts;
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < m->items.size() && i < popup.items.size(); ++i)
      DrawItem(dc, *m, i, popup.items[i], static_cast<int>(i) == popup.hot, fonts);
    RestoreDC(dc, saved);
  }
  EndPaint(h, &ps);
}

RECT PlaceOnMonitor(POINT at, SIZE size, UINT align, const RECT* avoid) {
  MONITORINFO info;
  GetMonitorInfo(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &info);
  const RECT& screen = info.rcMonitor;
  int x = at.x, y = at.y;
  if (align & TPM_CENTERALIGN) x -= size.cx / 2;
  else if (align & TPM_RIGHTALIGN) x -= size.cx;
  if (align & TPM_VCENTERALIGN) y -= size.cy / 2;
  else if (align & TPM_BOTTOMALIGN) y -= size.cy;
  if (x + size.cx > screen.right) x = avoid ? avoid->left - size.cx : screen.right - size.cx;
  if (y + size.cy > screen.bottom) y = std::max<int>(screen.top, at.y - size.cy);
  x = std::max<int>(x, screen.left);
  y = std::max<int>(y, screen.top);
  return MakeRect(x, y, size.cx, size.cy);
}

}  // namespace

MenuPopup* PopupOf(HWND popup) {
  Window* w = FromHandle(popup);
  return w ? dynamic_cast<MenuPopup*>(w->control.get()) : nullptr;
}

HWND OpenMenuPopup(HMENU menu, POINT at, UINT align, const RECT* avoid) {
  Menu* m = FromMenu(menu);
  if (!m || m->items.empty()) return nullptr;
  auto popup = std::make_shared<MenuPopup>();
  popup->menu = menu;
  const SIZE size = Layout(*m, popup->items);
  const RECT r = PlaceOnMonitor(at, size, align, avoid);
  HWND h = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kMenuClass, "", WS_POPUP, r.left, r.top,
                          RectWidth(r), RectHeight(r), nullptr, nullptr, nullptr, nullptr);
  Window* w = FromHandle(h);
  if (!w) return nullptr;
  w->control = popup;
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  return h;
}

int MenuItemAt(HWND popup, POINT screen) {
  MenuPopup* p = PopupOf(popup);
  if (!p || !ScreenToClient(popup, &screen)) return -1;
  for (std::size_t i = 0; i < p->items.size(); ++i)
    if (Contains(p->items[i], screen)) return static_cast<int>(i);
  return -1;
}

void SetHotItem(HWND popup, int item) {
  MenuPopup* p = PopupOf(popup);
  if (!p || p->hot == item) return;
  for (int i : {p->hot, item})
    if (i >= 0 && static_cast<std::size_t>(i) < p->items.size()) InvalidateRect(popup, &p->items[i], FALSE);
  p->hot = item;
  UpdateWindow(popup);
}

LRESULT MenuPopupProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      if (MenuPopup* p = PopupOf(h)) {
        Paint(h, *p);
        return 0;
      }
      break;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: break;
  }
  return DefWindowProc(h, msg, wp, lp);
}

}  // namespace plat::wm
