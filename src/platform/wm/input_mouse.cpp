// The pointer: which window it is over (asking WM_NCHITTEST; HTTRANSPARENT passes the point to
// the window below), mouse activation, cursor shape requests, client and non-client mouse
// messages with double clicks, capture, and leave and hover tracking.
#include <cstdlib>

#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

struct Hit {
  Window* window = nullptr;
  int code = HTNOWHERE;
};

bool ShapeContains(const Window* w, POINT screen) {
  if (!Contains(WindowScreenRect(w), screen)) return false;
  if (!w->shape) return true;
  const POINT o = WindowOrigin(w);
  return w->shape->Contains({screen.x - o.x, screen.y - o.y});
}

LPARAM ScreenParam(POINT p) { return MAKELPARAM(p.x, p.y); }

Hit HitInWindow(Window* w, POINT p) {
  if (Contains(ClientScreenRect(w), p)) {
    std::vector<HWND> children;
    for (Window* c : w->children) children.push_back(c->handle);
    for (HWND h : children) {
      Window* c = FromHandle(h);
      if (!c || !(c->style & WS_VISIBLE) || !EnabledWindow(c) || !ShapeContains(c, p)) continue;
      Hit hit = HitInWindow(c, p);
      if (hit.window) return hit;
    }
  }
  if (w->dead) return {};
  const int code = static_cast<int>(Send(w, WM_NCHITTEST, 0, ScreenParam(p)));
  if (w->dead || code == HTTRANSPARENT) return {};
  return {w, code};
}

// The window of ours under a screen point, going down the display's stack while windows
// answer HTTRANSPARENT. A disabled top-level window answers HTERROR without being asked.
Hit HitAt(POINT p) {
  State& s = S();
  for (display::SurfaceId id : s.display->SurfacesAt(p)) {
    if (id == display::kForeign) break;
    auto it = s.bySurface.find(id);
    if (it == s.bySurface.end() || it->second->dead || !VisibleChain(it->second)) continue;
    Window* top = it->second;
    if (!EnabledWindow(top)) return {top, HTERROR};
    Hit hit = HitInWindow(top, p);
    if (hit.window) return hit;
  }
  return {};
}

// Where the pointer is without asking anyone, for leave tracking during capture.
Window* GeometricAt(POINT p) {
  State& s = S();
  for (display::SurfaceId id : s.display->SurfacesAt(p)) {
    if (id == display::kForeign) break;
    auto it = s.bySurface.find(id);
    if (it == s.bySurface.end()) continue;
    Window* w = it->second;
    for (bool deeper = true; deeper;) {
      deeper = false;
      if (!Contains(ClientScreenRect(w), p)) break;
      for (Window* c : w->children)
        if ((c->style & WS_VISIBLE) && ShapeContains(c, p)) {
          w = c;
          deeper = true;
          break;
        }
    }
    return w;
  }
  return nullptr;
}

void PostLeave(State& s) {
  MouseState& m = s.mouse;
  if (m.track && (m.trackFlags & TME_LEAVE))
    PostMessage(m.track, (m.trackFlags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
  m.track = nullptr;
  m.trackFlags = 0;
  m.hoverDue = 0;
}

void UpdateTracking(State& s, Window* over, int code, POINT p) {
  MouseState& m = s.mouse;
  if (!m.track) return;
  const bool nc = (m.trackFlags & TME_NONCLIENT) != 0;
  const bool inside = over && over->handle == m.track && (nc ? code != HTCLIENT && code != HTNOWHERE : code == HTCLIENT);
  if (!inside) {
    PostLeave(s);
    return;
  }
  if ((m.trackFlags & TME_HOVER) &&
      (std::abs(p.x - m.hoverOrigin.x) > GetSystemMetrics(SM_CXDOUBLECLK) / 2 + 1 ||
       std::abs(p.y - m.hoverOrigin.y) > GetSystemMetrics(SM_CYDOUBLECLK) / 2 + 1)) {
    m.hoverOrigin = p;
    m.hoverDue = Now() + m.hoverTime;
  }
}

void PostMouse(Window* w, UINT clientMessage, int code, POINT p) {
  if (code == HTCLIENT) {
    POINT c = p;
    ScreenToClient(w->handle, &c);
    PostInput(MSG{w->handle, clientMessage, MouseKeyFlags(), MAKELPARAM(c.x, c.y), GetTickCount(), p});
  } else {
    const UINT nc = clientMessage - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    PostInput(MSG{w->handle, nc, static_cast<WPARAM>(code), ScreenParam(p), GetTickCount(), p});
  }
}

UINT ButtonDown(display::Button b) {
  return b == display::Button::Left ? WM_LBUTTONDOWN : b == display::Button::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
}

UINT ButtonVk(display::Button b) {
  return b == display::Button::Left ? VK_LBUTTON : b == display::Button::Right ? VK_RBUTTON : VK_MBUTTON;
}

// The second press within the double-click time and distance, on the same window with the same
// button, becomes a double click (for the client area only with CS_DBLCLKS).
UINT WithDoubleClick(State& s, Window* w, UINT down, int code, POINT p) {
  MouseState& m = s.mouse;
  const bool allowed = code != HTCLIENT || (w->cls->wc.style & CS_DBLCLKS);
  const bool twice = m.clickWindow == w->handle && m.clickMessage == down && !m.clickWasDouble &&
                     Now() - m.clickTime <= GetDoubleClickTime() &&
                     std::abs(p.x - m.clickPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                     std::abs(p.y - m.clickPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  m.clickWindow = w->handle;
  m.clickMessage = down;
  m.clickTime = Now();
  m.clickPoint = p;
  m.clickWasDouble = twice && allowed;
  return m.clickWasDouble ? down + 2 : down;
}

void CookPointer(State& s, const display::Event& e) {
  const POINT p = e.screen;
  s.mouse.last = p;
  const bool press = e.type == display::Event::Type::ButtonDown;
  const bool release = e.type == display::Event::Type::ButtonUp;
  if (press) s.asyncKeys[ButtonVk(e.button)] |= 0x80;
  if (release) s.asyncKeys[ButtonVk(e.button)] &= ~0x80;
  const UINT down = ButtonDown(e.button);
  const UINT message = press ? down : release ? down + 1 : WM_MOUSEMOVE;

  if (Window* cap = FromHandle(s.capture)) {
    Window* over = GeometricAt(p);
    UpdateTracking(s, over, over == cap && Contains(ClientScreenRect(cap), p) ? HTCLIENT : HTNOWHERE, p);
    PostMouse(cap, press ? WithDoubleClick(s, cap, down, HTCLIENT, p) : message, HTCLIENT, p);
    return;
  }
  Hit hit = e.surface ? HitAt(p) : Hit{};
  s.mouse.over = hit.window ? hit.window->handle : nullptr;
  s.mouse.overHit = hit.code;
  UpdateTracking(s, hit.window, hit.code, p);
  if (!hit.window) return;
  Window* w = hit.window;
  const LPARAM setCursor = MAKELPARAM(hit.code, static_cast<int>(release ? WM_MOUSEMOVE : message));
  if (hit.code == HTERROR) {
    if (!release) Send(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w->handle), setCursor);
    return;
  }
  bool eat = false;
  if (press) {
    Window* top = TopLevelOf(w);
    if (!(s.appActive && s.active == top->handle)) {
      const LRESULT ma = Send(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                              MAKELPARAM(hit.code, static_cast<int>(down)));
      if (w->dead || top->dead) return;
      if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) && CanActivate(top)) Activate(top, WA_CLICKACTIVE, true);
      eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
    }
  }
  if (w->dead) return;
  if (!release) Send(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w->handle), setCursor);
  if (w->dead || eat) return;
  PostMouse(w, press ? WithDoubleClick(s, w, down, hit.code, p) : message, hit.code, p);
}

void CookWheel(State& s, const display::Event& e) {
  Window* w = FromHandle(s.focus);
  if (!w) w = FromHandle(s.active);
  if (!w) return;
  const WPARAM wp = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(e.wheelDelta));
  PostInput(MSG{w->handle, WM_MOUSEWHEEL, wp, ScreenParam(e.screen), GetTickCount(), e.screen});
}

// The desktop's window manager focused one of our windows, or asks one to close.
void DesktopRequest(State& s, const display::Event& e) {
  auto it = s.bySurface.find(e.surface);
  if (it == s.bySurface.end() || it->second->dead) return;
  Window* w = it->second;
  if (e.type == display::Event::Type::CloseRequested) {
    PostMessage(w->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  if (!(s.appActive && s.active == w->handle) && CanActivate(w)) Activate(w, WA_ACTIVE, false);
}

}  // namespace

WPARAM MouseKeyFlags() {
  const auto& k = S().asyncKeys;
  WPARAM f = 0;
  if (k[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
  if (k[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
  if (k[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
  if (k[VK_SHIFT] & 0x80) f |= MK_SHIFT;
  if (k[VK_CONTROL] & 0x80) f |= MK_CONTROL;
  return f;
}

bool CookNextInput() {
  WindowRecordPin pin;
  State& s = S();
  if (s.raw.empty()) return false;
  {
    const display::Event e = s.raw.front();
    s.raw.pop_front();
    switch (e.type) {
      case display::Event::Type::PointerMove:
      case display::Event::Type::ButtonDown:
      case display::Event::Type::ButtonUp: CookPointer(s, e); break;
      case display::Event::Type::Wheel: CookWheel(s, e); break;
      case display::Event::Type::KeyDown:
      case display::Event::Type::KeyUp: CookKeyEvent(e); break;
      case display::Event::Type::Deactivated: DeactivateApp(); break;
      case display::Event::Type::Activated:
      case display::Event::Type::CloseRequested: DesktopRequest(s, e); break;
      case display::Event::Type::CompositionChanged: PostMessage(HWND_BROADCAST, WM_DWMCOMPOSITIONCHANGED, 0, 0); break;
      case display::Event::Type::Expose: {
        auto it = s.bySurface.find(e.surface);
        if (it != s.bySurface.end()) Present(it->second, Region(e.area));
        break;
      }
    }
  }
  return true;
}

void ForgetInInput(Window* w) {
  State& s = S();
  MouseState& m = s.mouse;
  if (m.over == w->handle) m.over = nullptr;
  if (m.track == w->handle) {
    m.track = nullptr;
    m.trackFlags = 0;
    m.hoverDue = 0;
  }
  if (m.clickWindow == w->handle) m.clickWindow = nullptr;
  if (s.capture == w->handle) {
    s.capture = nullptr;
    s.display->GrabPointer(display::kNoSurface);
  }
}

std::optional<std::uint64_t> HoverDeadline() {
  const MouseState& m = S().mouse;
  if (m.track && (m.trackFlags & TME_HOVER) && m.hoverDue) return m.hoverDue;
  return std::nullopt;
}

void CheckHover() {
  State& s = S();
  MouseState& m = s.mouse;
  if (!m.track || !(m.trackFlags & TME_HOVER) || !m.hoverDue || Now() < m.hoverDue) return;
  const POINT p = m.last;
  if (m.trackFlags & TME_NONCLIENT) {
    PostMessage(m.track, WM_NCMOUSEHOVER, static_cast<WPARAM>(m.overHit), ScreenParam(p));
  } else {
    POINT c = p;
    ScreenToClient(m.track, &c);
    PostMessage(m.track, WM_MOUSEHOVER, MouseKeyFlags(), MAKELPARAM(c.x, c.y));
  }
  m.trackFlags &= ~TME_HOVER;
  m.hoverDue = 0;
  if (!(m.trackFlags & TME_LEAVE)) m.track = nullptr;
}

}  // namespace wm

using namespace wm;

HWND SetCapture(HWND window) {
  WindowRecordPin pin;
  State& s = S();
  Window* w = CheckedWindow(window);
  if (!w) return nullptr;
  const HWND old = s.capture;
  if (old == window) return old;
  s.capture = window;
  s.display->GrabPointer(TopLevelOf(w)->surface->id);
  if (Window* o = FromHandle(old)) Send(o, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  return old;
}

BOOL ReleaseCapture() {
  WindowRecordPin pin;
  State& s = S();
  const HWND old = s.capture;
  if (!old) return TRUE;
  s.capture = nullptr;
  s.display->GrabPointer(display::kNoSurface);
  if (Window* o = FromHandle(old)) Send(o, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return S().capture; }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  State& s = S();
  MouseState& m = s.mouse;
  if (!tme) return FALSE;
  if (tme->dwFlags & TME_QUERY) {
    tme->dwFlags = m.track ? m.trackFlags : 0;
    tme->hwndTrack = m.track;
    tme->dwHoverTime = m.hoverTime;
    return TRUE;
  }
  if (!CheckedWindow(tme->hwndTrack)) return FALSE;
  const DWORD kinds = tme->dwFlags & (TME_LEAVE | TME_HOVER);
  if (tme->dwFlags & TME_CANCEL) {
    if (m.track == tme->hwndTrack) {
      m.trackFlags &= ~kinds;
      if (!(m.trackFlags & (TME_LEAVE | TME_HOVER))) m.track = nullptr;
    }
    return TRUE;
  }
  const bool nc = (tme->dwFlags & TME_NONCLIENT) != 0;
  const bool over = m.over == tme->hwndTrack && (nc ? m.overHit != HTCLIENT : m.overHit == HTCLIENT);
  if (!over) {
    if (kinds & TME_LEAVE) PostMessage(tme->hwndTrack, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  if (m.track != tme->hwndTrack || ((m.trackFlags & TME_NONCLIENT) != 0) != nc) m.trackFlags = 0;
  m.track = tme->hwndTrack;
  m.trackFlags |= kinds | (nc ? TME_NONCLIENT : 0);
  if (kinds & TME_HOVER) {
    m.hoverTime = tme->dwHoverTime == HOVER_DEFAULT ? 400 : tme->dwHoverTime;
    m.hoverOrigin = m.last;
    m.hoverDue = Now() + m.hoverTime;
  }
  return TRUE;
}

HWND WindowFromPoint(POINT screen) {
  WindowRecordPin pin;
  const Hit hit = HitAt(screen);
  return hit.window ? hit.window->handle : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  Window* p = FromHandle(parent);
  if (!p) return nullptr;
  if (!Contains(RECT{0, 0, RectWidth(p->client), RectHeight(p->client)}, point)) return nullptr;
  const POINT o = ClientOrigin(p);
  const POINT screen{point.x + o.x, point.y + o.y};
  for (Window* c : p->children) {
    if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && !EnabledWindow(c)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
    if (ShapeContains(c, screen)) return c->handle;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) { return ChildWindowFromPointEx(parent, point, CWP_ALL); }

BOOL GetCursorPos(POINT* p) {
  if (!p) return FALSE;
  *p = S().display->PointerPosition();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  S().display->WarpPointer({x, y});
  return TRUE;
}

}  // namespace plat
