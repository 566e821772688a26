// The "msctls_statusbar32" class: a bar docked along its parent's bottom (placed again whenever
// it hears WM_SIZE), split into parts at right edges given in client coordinates (-1: to the
// end), each with its text (left, then centred and right-aligned pieces after tabs) or drawn by
// the parent; a simple mode with a text of its own (part 255); and a size grip.
#include <algorithm>
#include <cstring>

#include "platform/wm/record_pin.h"
#include "platform/wm/standard_controls.h"
#include "platform/wm/state.h"

namespace plat::wm {

namespace {

constexpr int kVerticalBorder = 2;
constexpr int kGap = 2;  // between parts
constexpr int kTextMargin = 3;

struct Part {
  int right = -1;
  std::string text;
  WPARAM type = 0;  // SBT_ flags
  LPARAM data = 0;  // for an owner-drawn part
};

struct StatusData : ControlState {
  std::vector<Part> parts = std::vector<Part>(1);
  Part simple;
  bool simpleMode = false;
  HFONT font = nullptr;
  int minHeight = 0;
  bool docking = false;
};

StatusData* Data(HWND h) { return ControlStateOf<StatusData>(FromHandle(h)); }

HFONT FontOf(const StatusData& d) { return d.font ? d.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

int BarHeight(const StatusData& d) {
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, FontOf(d));
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  DeleteDC(dc);
  return std::max<int>(d.minHeight, tm.tmHeight + 2 * kVerticalBorder + 4);
}

void Dock(HWND h) {
  StatusData* data = Data(h);
  if (!data) return;
  StatusData& d = *data;
  const DWORD style = static_cast<DWORD>(GetWindowLong(h, GWL_STYLE));
  const HWND parent = GetParent(h);
  if (d.docking || !parent || (style & CCS_NORESIZE)) return;
  RECT pr;
  GetClientRect(parent, &pr);
  const int height = BarHeight(d);
  const int top = (style & CCS_BOTTOM) == CCS_TOP ? 0 : pr.bottom - height;
  RECT now;
  GetWindowRect(h, &now);
  POINT at{now.left, now.top};
  ScreenToClient(parent, &at);
  if (at.x == 0 && at.y == top && RectWidth(now) == pr.right && RectHeight(now) == height) return;
  d.docking = true;
  SetWindowPos(h, nullptr, 0, top, pr.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
  d.docking = false;
}

RECT PartRect(HWND h, const StatusData& d, std::size_t i) {
  RECT c;
  GetClientRect(h, &c);
  if (d.simpleMode) return {0, kVerticalBorder, c.right, c.bottom};
  const auto right = [&](std::size_t k) {
    const int r = d.parts[k].right;
    return r < 0 || r > c.right ? static_cast<int>(c.right) : r;
  };
  const int left = i == 0 ? 0 : std::min<int>(right(i - 1) + kGap, c.right);
  return {left, kVerticalBorder, std::max(left, right(i)), c.bottom};
}

bool ShowsGrip(HWND h) {
  if (!(GetWindowLong(h, GWL_STYLE) & SBARS_SIZEGRIP)) return false;
  const HWND top = GetAncestor(h, GA_ROOT);
  return !IsZoomed(top);
}

RECT GripRect(HWND h) {
  RECT c;
  GetClientRect(h, &c);
  return {c.right - GetSystemMetrics(SM_CXVSCROLL), c.top + kVerticalBorder, c.right, c.bottom};
}

void DrawText3(HDC dc, const std::string& text, RECT r) {
  static constexpr UINT kAlign[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  std::size_t start = 0;
  for (int piece = 0; piece < 3 && start <= text.size(); ++piece) {
    const std::size_t tab = piece < 2 ? text.find('\t', start) : std::string::npos;
    const std::string part = text.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    if (!part.empty()) DrawText(dc, part, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | kAlign[piece]);
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
}

void PaintPart(HWND h, HDC dc, const Part& p, RECT r, UINT index, int clearRight) {
  if (!(p.type & SBT_NOBORDERS)) DrawEdge(dc, &r, (p.type & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
  InflateRect(&r, -1, -1);
  if (p.type & SBT_OWNERDRAW) {
    DRAWITEMSTRUCT item;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    item.itemID = index;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = h;
    item.hDC = dc;
    item.rcItem = r;
    item.itemData = static_cast<ULONG_PTR>(p.data);
    if (const HWND parent = GetParent(h)) SendMessage(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    return;
  }
  r.left += kTextMargin;
  r.right -= kTextMargin + clearRight;
  DrawText3(dc, p.text, r);
}

void Paint(HWND h, HDC dc) {
  const StatusData* data = Data(h);
  if (!data) return;
  const StatusData& d = *data;
  RECT c;
  GetClientRect(h, &c);
  FillRect(dc, &c, GetSysColorBrush(COLOR_3DFACE));
  const int saved = SaveDC(dc);
  SelectObject(dc, FontOf(d));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  if (d.simpleMode) {
    PaintPart(h, dc, d.simple, PartRect(h, d, 0), static_cast<UINT>(SB_SIMPLEID), 0);
  } else {
    for (std::size_t i = 0; i < d.parts.size(); ++i) {
      // The last part's text stays clear of the grip.
      const bool last = i + 1 == d.parts.size() && ShowsGrip(h);
      PaintPart(h, dc, d.parts[i], PartRect(h, d, i), static_cast<UINT>(i), last ? RectWidth(GripRect(h)) : 0);
    }
  }
  RestoreDC(dc, saved);
  if (ShowsGrip(h)) {
    RECT grip = GripRect(h);
    DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

Part* PartOf(StatusData& d, WPARAM wp) {
  const std::size_t i = wp & 0xFF;
  if (i == SB_SIMPLEID) return &d.simple;
  return i < d.parts.size() ? &d.parts[i] : nullptr;
}

LRESULT TextAnswer(const Part& p) {
  if (p.type & SBT_OWNERDRAW) return p.data;
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(p.text.size()), static_cast<WORD>(p.type & 0xFF00)));
}

}  // namespace

LRESULT StatusBarProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  WindowRecordPin pin;
  StatusData* data = Data(h);
  if (!data) return DefWindowProc(h, msg, wp, lp);
  StatusData& d = *data;
  if (auto painted = AnswerPaint(h, msg, wp, Paint)) return *painted;
  switch (msg) {
    case WM_CREATE: Dock(h); return 0;
    case WM_SIZE: Dock(h); InvalidateRect(h, nullptr, FALSE); return 0;
    case WM_NCHITTEST: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(h, &p);
      if (ShowsGrip(h) && Contains(GripRect(h), p)) return HTBOTTOMRIGHT;
      return DefWindowProc(h, msg, wp, lp);
    }
    case WM_NCLBUTTONDOWN:
      // The grip sizes the window the bar sits in.
      if (wp == HTBOTTOMRIGHT)
        return SendMessage(GetAncestor(h, GA_ROOT), WM_SYSCOMMAND, SC_SIZE | (HTBOTTOMRIGHT - HTLEFT + 1), lp);
      return DefWindowProc(h, msg, wp, lp);
    case WM_SETFONT:
      d.font = reinterpret_cast<HFONT>(wp);
      Dock(h);
      if (lp) InvalidateRect(h, nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(d.font);
    case WM_SETTEXT:
      d.parts[0].text = lp ? reinterpret_cast<const char*>(lp) : "";
      InvalidateRect(h, nullptr, FALSE);
      return DefWindowProc(h, msg, wp, lp);
    case SB_SETTEXT: {
      Part* p = PartOf(d, wp);
      if (!p) return FALSE;
      p->type = wp & 0xFF00;
      if (p->type & SBT_OWNERDRAW) {
        p->data = lp;
        p->text.clear();
      } else {
        p->text = lp ? reinterpret_cast<const char*>(lp) : "";
      }
      InvalidateRect(h, nullptr, FALSE);
      return TRUE;
    }
    case SB_GETTEXT: {
      Part* p = PartOf(d, wp);
      if (!p) return 0;
      if (lp && !(p->type & SBT_OWNERDRAW)) std::memcpy(reinterpret_cast<char*>(lp), p->text.c_str(), p->text.size() + 1);
      return TextAnswer(*p);
    }
    case SB_GETTEXTLENGTH: {
      Part* p = PartOf(d, wp);
      return p ? static_cast<LRESULT>(MAKELONG(static_cast<WORD>(p->text.size()), static_cast<WORD>(p->type & 0xFF00)))
               : 0;
    }
    case SB_SETPARTS: {
      const auto* edges = reinterpret_cast<const int*>(lp);
      if (wp == 0 || wp > SB_MAXPARTS || !edges) return FALSE;
      d.parts.resize(wp);
      for (std::size_t i = 0; i < wp; ++i) d.parts[i].right = edges[i];
      InvalidateRect(h, nullptr, FALSE);
      return TRUE;
    }
    case SB_GETPARTS: {
      auto* out = reinterpret_cast<int*>(lp);
      for (std::size_t i = 0; out && i < std::min<std::size_t>(wp, d.parts.size()); ++i) out[i] = d.parts[i].right;
      return static_cast<LRESULT>(d.parts.size());
    }
    case SB_GETBORDERS: {
      auto* out = reinterpret_cast<int*>(lp);
      if (!out) return FALSE;
      out[0] = 0;
      out[1] = kVerticalBorder;
      out[2] = kGap;
      return TRUE;
    }
    case SB_SETMINHEIGHT: d.minHeight = static_cast<int>(wp); return 0;
    case SB_SIMPLE:
      d.simpleMode = wp != 0;
      InvalidateRect(h, nullptr, FALSE);
      return 0;
    case SB_ISSIMPLE: return d.simpleMode ? TRUE : FALSE;
    case SB_GETRECT: {
      auto* out = reinterpret_cast<RECT*>(lp);
      if (!out || (!d.simpleMode && wp >= d.parts.size())) return FALSE;
      *out = PartRect(h, d, d.simpleMode ? 0 : wp);
      return TRUE;
    }
    default: return DefWindowProc(h, msg, wp, lp);
  }
}

}  // namespace plat::wm
