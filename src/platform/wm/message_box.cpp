// Message boxes: a dialog of class "#32770" with an icon and a text (static controls) over a row
// of push buttons, centred on its owner or on the work area, run by a modal loop with the owner
// disabled. Headless runs find a shown box and press its buttons through its property.
#include <algorithm>

#include "platform/wm/dialogs.h"
#include "platform/wm/menus.h"
#include "platform/wm/modal_loop.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/standard_controls.h"

namespace plat {

namespace {

constexpr const char* kBoxProp = "MessageBoxState";
constexpr int kMargin = 12;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 20;

struct BoxState {
  ShownMessageBox shown;
  int escape = 0;  // what Escape and the close button answer; 0 when they do nothing
  int result = 0;
  bool done = false;
  WNDPROC dialogProc = nullptr;
};

struct ButtonKind {
  int id;
  const char* text;
};

std::vector<ButtonKind> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
  }
}

const char* IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_ERROR;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONWARNING: return IDI_WARNING;
    case MB_ICONINFORMATION: return IDI_INFORMATION;
    default: return nullptr;
  }
}

BoxState* StateOf(HWND box) { return static_cast<BoxState*>(GetProp(box, kBoxProp)); }

LRESULT BoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  BoxState* s = StateOf(h);
  if (s && msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    const int id = LOWORD(wp);
    const bool ours = std::find(s->shown.buttons.begin(), s->shown.buttons.end(), id) != s->shown.buttons.end();
    if (ours || (id == IDCANCEL && s->escape)) {
      s->result = ours ? id : s->escape;
      s->done = true;
      // Wakes the box's loop should the answer come from outside it (an idle handler, say).
      PostMessage(h, WM_NULL, 0, 0);
    }
    return 0;
  }
  return CallWindowProc(s ? s->dialogProc : &DefDlgProc, h, msg, wp, lp);
}

struct Layout {
  RECT icon{};
  RECT text{};
  int buttonsTop = 0;
  SIZE client{};
};

Layout Measure(const char* text, const std::string& caption, HFONT font, bool icon, int buttons) {
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT t{0, 0, std::max<LONG>(120, RectWidth(work) * 3 / 8), 0};
  DrawText(dc, text, -1, &t, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  NONCLIENTMETRICS metrics;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT captionFont = CreateFontIndirect(&metrics.lfCaptionFont);
  SelectObject(dc, captionFont);
  RECT c{0, 0, 0, 0};
  DrawText(dc, caption, &c, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(captionFont);
  DeleteDC(dc);

  Layout l;
  const int iconSize = GetSystemMetrics(SM_CXICON);
  if (icon) l.icon = MakeRect(kMargin, kMargin, iconSize, iconSize);
  const int textLeft = icon ? l.icon.right + kIconGap : kMargin;
  const int textTop = kMargin + (icon ? std::max<int>(0, (iconSize - RectHeight(t)) / 2) : 0);
  l.text = MakeRect(textLeft, textTop, RectWidth(t) + 2, RectHeight(t));
  l.buttonsTop = std::max<int>(l.text.bottom, l.icon.bottom) + 14;
  const int row = buttons * kButtonWidth + (buttons - 1) * kButtonGap;
  l.client.cx = std::max({static_cast<LONG>(l.text.right + kMargin), static_cast<LONG>(row + 2 * kMargin), RectWidth(c) + 60});
  l.client.cy = l.buttonsTop + kButtonHeight + kMargin;
  return l;
}

POINT Centre(HWND owner, SIZE size) {
  RECT area{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
  RECT on = area;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &on);
  MONITORINFO info;
  if (GetMonitorInfo(MonitorFromRect(&on, MONITOR_DEFAULTTOPRIMARY), &info)) area = info.rcWork;
  POINT p{on.left + (RectWidth(on) - size.cx) / 2, on.top + (RectHeight(on) - size.cy) / 2};
  p.x = std::clamp<LONG>(p.x, area.left, std::max(area.left, area.right - size.cx));
  p.y = std::clamp<LONG>(p.y, area.top, std::max(area.top, area.bottom - size.cy));
  return p;
}

HWND Control(HWND box, const char* cls, const char* text, DWORD style, const RECT& r, int id, HFONT font) {
  HWND h = CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, RectWidth(r), RectHeight(r), box,
                          reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
  if (h) SendMessage(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

// Gives the owner back and takes the box away, however the loop ends.
class Showing {
 public:
  Showing(HWND box, HWND owner) : box_(box), owner_(owner) {
    ownerWasEnabled_ = owner_ && !EnableWindow(owner_, FALSE);
  }
  ~Showing() {
    // The owner first, so that it is the one activated when the box goes.
    if (ownerWasEnabled_ && IsWindow(owner_)) EnableWindow(owner_, TRUE);
    if (IsWindow(box_)) {
      RemoveProp(box_, kBoxProp);
      DestroyWindow(box_);
    }
  }
  Showing(const Showing&) = delete;
  Showing& operator=(const Showing&) = delete;

 private:
  HWND box_;
  HWND owner_;
  bool ownerWasEnabled_ = false;
};

}  // namespace

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  wm::WindowRecordPin pin;
  const HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  BoxState state;
  state.shown.caption = caption ? caption : "Error";
  state.shown.text = text ? text : "";
  state.shown.type = type;
  const std::vector<ButtonKind> kinds = ButtonsOf(type);
  for (const ButtonKind& k : kinds) state.shown.buttons.push_back(k.id);
  const std::size_t def = std::min<std::size_t>((type & MB_DEFMASK) >> 8, kinds.size() - 1);
  state.shown.defaultButton = kinds[def].id;
  const bool hasCancel = std::find(state.shown.buttons.begin(), state.shown.buttons.end(), IDCANCEL) != state.shown.buttons.end();
  state.escape = hasCancel ? IDCANCEL : kinds.size() == 1 && kinds[0].id == IDOK ? IDOK : 0;

  NONCLIENTMETRICS metrics;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirect(&metrics.lfMessageFont);
  struct FontHold {
    HFONT f;
    ~FontHold() { DeleteObject(f); }
  } fontHold{font};

  const char* iconName = IconOf(type);
  const Layout l = Measure(state.shown.text.c_str(), state.shown.caption, font, iconName != nullptr,
                           static_cast<int>(kinds.size()));
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | ((type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0);
  RECT frame{0, 0, l.client.cx, l.client.cy};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const SIZE size{RectWidth(frame), RectHeight(frame)};
  const POINT at = Centre(top, size);
  HWND box = CreateWindowEx(exStyle, WC_DIALOG, state.shown.caption.c_str(), style, at.x, at.y, size.cx, size.cy, top,
                            nullptr, nullptr, nullptr);
  if (!box) return 0;
  state.shown.window = box;
  SetProp(box, kBoxProp, &state);
  state.dialogProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxProc)));
  Showing showing(box, top);

  if (iconName)
    if (HWND icon = Control(box, WC_STATIC, "", SS_ICON, l.icon, kIconId, font))
      SendMessage(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, iconName)), 0);
  Control(box, WC_STATIC, state.shown.text.c_str(), SS_LEFT | SS_NOPREFIX, l.text, kTextId, font);
  const int row = static_cast<int>(kinds.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  int x = (l.client.cx - row) / 2;
  HWND focus = nullptr;
  for (std::size_t i = 0; i < kinds.size(); ++i, x += kButtonWidth + kButtonGap) {
    const DWORD kind = i == def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    HWND b = Control(box, WC_BUTTON, kinds[i].text, WS_TABSTOP | kind, MakeRect(x, l.buttonsTop, kButtonWidth, kButtonHeight),
                     kinds[i].id, font);
    if (i == def) focus = b;
  }
  SendMessage(box, DM_SETDEFID, static_cast<WPARAM>(state.shown.defaultButton), 0);
  if (!state.escape) EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

  ShowWindow(box, SW_SHOW);
  if (focus) SetFocus(focus);
  MSG m;
  while (!state.done && IsWindow(box)) {
    if (!wm::NextModalMessage(m, top, MSGF_DIALOGBOX, box)) {
      state.result = state.escape ? state.escape : state.shown.defaultButton;
      break;
    }
    if (!IsDialogMessage(box, &m)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
  return state.result;
}

std::optional<ShownMessageBox> FindShownMessageBox() {
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
    if (BoxState* s = StateOf(h); s && IsWindowVisible(h)) return s->shown;
  return std::nullopt;
}

BOOL PressMessageBoxButton(HWND box, int id) {
  BoxState* s = IsWindow(box) ? StateOf(box) : nullptr;
  if (!s) return FALSE;
  const HWND button = GetDlgItem(box, id ? id : s->shown.defaultButton);
  return button ? PostMessage(button, BM_CLICK, 0, 0) : FALSE;
}

}  // namespace plat
