// Moving and sizing a window by the pointer: a modal loop holding the capture that follows the
// pointer until the button is released (Enter also ends it, Escape puts the window back). Started
// from the keyboard (the system menu), the pointer is put on the caption or the corner first and
// the arrow keys move it; a click or Enter ends the loop.
#include <algorithm>

#include "platform/wm/frame.h"
#include "platform/wm/modal_loop.h"
#include "platform/wm/record_pin.h"

namespace plat::wm {

namespace {

inline constexpr int WMSZ_LEFT = 1;
inline constexpr int WMSZ_RIGHT = 2;
inline constexpr int WMSZ_TOP = 3;
inline constexpr int WMSZ_TOPLEFT = 4;
inline constexpr int WMSZ_TOPRIGHT = 5;
inline constexpr int WMSZ_BOTTOM = 6;
inline constexpr int WMSZ_BOTTOMLEFT = 7;
inline constexpr int WMSZ_BOTTOMRIGHT = 8;

struct Edges {
  bool left = false, top = false, right = false, bottom = false;
};

Edges EdgesOf(int wmsz) {
  return {wmsz == WMSZ_LEFT || wmsz == WMSZ_TOPLEFT || wmsz == WMSZ_BOTTOMLEFT,
          wmsz == WMSZ_TOP || wmsz == WMSZ_TOPLEFT || wmsz == WMSZ_TOPRIGHT,
          wmsz == WMSZ_RIGHT || wmsz == WMSZ_TOPRIGHT || wmsz == WMSZ_BOTTOMRIGHT,
          wmsz == WMSZ_BOTTOM || wmsz == WMSZ_BOTTOMLEFT || wmsz == WMSZ_BOTTOMRIGHT};
}

MINMAXINFO TrackLimits(Window* w) {
  MINMAXINFO mmi;
  mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  mmi.ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  return mmi;
}

class Loop {
 public:
  Loop(Window* w, WPARAM command, POINT start)
      : w_(w), handle_(w->handle), moving_((command & 0xFFF0) == SC_MOVE), start_(start), origin_(w->rect) {
    int wmsz = static_cast<int>(command & 0x0F);
    if (!moving_ && wmsz < WMSZ_LEFT) wmsz = WMSZ_BOTTOMRIGHT;
    edge_ = moving_ ? 0 : wmsz;
    edges_ = EdgesOf(edge_);
  }

  void Run() {
    if (!moving_) limits_ = TrackLimits(w_);
    if (w_->dead) return;
    const bool byMouse = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    Send(w_, WM_ENTERSIZEMOVE, 0, 0);
    if (w_->dead) return;
    CaptureHold capture(handle_);
    if (!byMouse) PlacePointer();
    MSG m;
    bool done = false;
    while (!done && NextModalMessage(m)) {
      if (w_->dead) return;
      if (!capture.Held()) break;
      switch (m.message) {
        case WM_MOUSEMOVE: Follow(m.pt); break;
        case WM_LBUTTONUP:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
          if (byMouse && m.message != WM_LBUTTONUP) break;
          Follow(m.pt);
          done = true;
          break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: done = Key(static_cast<UINT>(m.wParam)); break;
        default:
          if (IsMouseMessage(m.message) || IsKeyMessage(m.message)) break;
          TranslateMessage(&m);
          DispatchMessage(&m);
          break;
      }
    }
    if (w_->dead) return;
    if (GetCapture() == handle_) ReleaseCapture();
    Send(w_, WM_EXITSIZEMOVE, 0, 0);
  }

 private:
  void PlacePointer() {
    const POINT o = WindowOrigin(w_);
    const RECT wr = WindowScreenRect(w_);
    if (moving_)
      start_ = {(wr.left + wr.right) / 2, o.y + FrameWidth(w_->style, w_->exStyle) + CaptionHeight(w_->style, w_->exStyle) / 2};
    else
      start_ = {edges_.left ? wr.left : edges_.right ? wr.right - 1 : (wr.left + wr.right) / 2,
                edges_.top ? wr.top : edges_.bottom ? wr.bottom - 1 : (wr.top + wr.bottom) / 2};
    SetCursorPos(start_.x, start_.y);
  }

  // Answers whether the loop ends.
  bool Key(UINT vk) {
    POINT p{};
    GetCursorPos(&p);
    switch (vk) {
      case VK_ESCAPE: Place(origin_); return true;
      case VK_RETURN: return true;
      case VK_LEFT: SetCursorPos(p.x - 8, p.y); return false;
      case VK_RIGHT: SetCursorPos(p.x + 8, p.y); return false;
      case VK_UP: SetCursorPos(p.x, p.y - 8); return false;
      case VK_DOWN: SetCursorPos(p.x, p.y + 8); return false;
      default: return false;
    }
  }

  void Follow(POINT p) {
    const int dx = p.x - start_.x, dy = p.y - start_.y;
    RECT r = origin_;
    if (moving_) {
      r = Offset(origin_, dx, dy);
      Send(w_, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
    } else {
      const LONG minW = limits_.ptMinTrackSize.x, minH = limits_.ptMinTrackSize.y;
      const LONG maxW = std::max(minW, limits_.ptMaxTrackSize.x), maxH = std::max(minH, limits_.ptMaxTrackSize.y);
      if (edges_.left) r.left = std::clamp<LONG>(origin_.left + dx, origin_.right - maxW, origin_.right - minW);
      if (edges_.right) r.right = std::clamp<LONG>(origin_.right + dx, origin_.left + minW, origin_.left + maxW);
      if (edges_.top) r.top = std::clamp<LONG>(origin_.top + dy, origin_.bottom - maxH, origin_.bottom - minH);
      if (edges_.bottom) r.bottom = std::clamp<LONG>(origin_.bottom + dy, origin_.top + minH, origin_.top + maxH);
      Send(w_, WM_SIZING, static_cast<WPARAM>(edge_), reinterpret_cast<LPARAM>(&r));
    }
    if (!w_->dead) Place(r);
  }

  void Place(const RECT& r) {
    if (EqualRect(&r, &w_->rect)) return;
    SetWindowPos(handle_, nullptr, r.left, r.top, RectWidth(r), RectHeight(r),
                 SWP_NOZORDER | SWP_NOACTIVATE | (moving_ ? SWP_NOSIZE : 0));
  }

  Window* w_;
  HWND handle_;
  bool moving_;
  POINT start_;
  RECT origin_;
  int edge_ = 0;
  Edges edges_;
  MINMAXINFO limits_;
};

}  // namespace

void MoveSizeLoop(Window* w, WPARAM command, POINT start) {
  WindowRecordPin pin;
  const bool moving = (command & 0xFFF0) == SC_MOVE;
  if (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) return;
  if (!moving && !(w->style & WS_THICKFRAME)) return;
  RECT r = w->rect;
  if (CallCbt(HCBT_MOVESIZE, reinterpret_cast<WPARAM>(w->handle), reinterpret_cast<LPARAM>(&r)) || w->dead) return;
  Loop(w, command, start).Run();
}

}  // namespace plat::wm
