// The window tree: where windows are, who is whose parent, owner and sibling.
#include <algorithm>

#include "platform/wm/frame.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

Window* TopLevelOf(Window* w) {
  while (w && w->parent && w->parent->parent) w = w->parent;
  return w;
}

POINT WindowOrigin(const Window* w) {
  if (!w->parent) return {w->rect.left, w->rect.top};
  const POINT p = ClientOrigin(w->parent);
  return {p.x + w->rect.left, p.y + w->rect.top};
}

POINT ClientOrigin(const Window* w) {
  const POINT o = WindowOrigin(w);
  return {o.x + w->client.left, o.y + w->client.top};
}

RECT WindowScreenRect(const Window* w) {
  const POINT o = WindowOrigin(w);
  return Offset(w->rect, o.x - w->rect.left, o.y - w->rect.top);
}

RECT ClientScreenRect(const Window* w) {
  const POINT o = WindowOrigin(w);
  return Offset(w->client, o.x, o.y);
}

POINT OriginInSurface(const Window* w, bool client) {
  POINT p{};
  if (!IsTopLevel(w) && w->parent) {
    p = OriginInSurface(w->parent, true);
    p.x += w->rect.left;
    p.y += w->rect.top;
  }
  if (client) {
    p.x += w->client.left;
    p.y += w->client.top;
  }
  return p;
}

bool VisibleChain(const Window* w) {
  for (; w && w->parent; w = w->parent)
    if (!(w->style & WS_VISIBLE)) return false;
  return w != nullptr;
}

bool EnabledWindow(const Window* w) { return !(w->style & WS_DISABLED); }

}  // namespace wm

using namespace wm;

BOOL IsChild(HWND parent, HWND window) {
  Window* p = FromHandle(parent);
  Window* w = FromHandle(window);
  if (!p || !w) return FALSE;
  for (Window* a = w; a->parent && !IsTopLevel(a); a = a->parent)
    if (a->parent == p) return TRUE;
  return FALSE;
}

BOOL GetWindowRect(HWND window, RECT* r) {
  Window* w = CheckedWindow(window);
  if (!w || !r) return FALSE;
  *r = WindowScreenRect(w);
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* r) {
  Window* w = CheckedWindow(window);
  if (!w || !r) return FALSE;
  *r = {0, 0, RectWidth(w->client), RectHeight(w->client)};
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* p) {
  Window* w = FromHandle(window);
  if (!w || !p) return FALSE;
  const POINT o = ClientOrigin(w);
  p->x -= o.x;
  p->y -= o.y;
  return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* p) {
  Window* w = FromHandle(window);
  if (!w || !p) return FALSE;
  const POINT o = ClientOrigin(w);
  p->x += o.x;
  p->y += o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  Window* f = from ? CheckedWindow(from) : nullptr;
  Window* t = to ? CheckedWindow(to) : nullptr;
  if ((from && !f) || (to && !t)) return 0;
  const POINT a = f ? ClientOrigin(f) : POINT{};
  const POINT b = t ? ClientOrigin(t) : POINT{};
  const int dx = a.x - b.x;
  const int dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL menu, DWORD exStyle) {
  if (!r) return FALSE;
  const RECT insets = NonClientInsets(style, exStyle);
  r->left -= insets.left;
  r->top -= insets.top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
  r->right += insets.right;
  r->bottom += insets.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(RECT* r, DWORD style, BOOL menu) { return AdjustWindowRectEx(r, style, menu, 0); }

BOOL IsWindowVisible(HWND window) {
  Window* w = FromHandle(window);
  return w && VisibleChain(w) ? TRUE : FALSE;
}

BOOL IsIconic(HWND window) {
  Window* w = FromHandle(window);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND window) {
  Window* w = FromHandle(window);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
  Window* w = FromHandle(window);
  return w && EnabledWindow(w) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  WindowRecordPin pin;
  Window* w = CheckedWindow(window);
  if (!w) return FALSE;
  const BOOL wasDisabled = EnabledWindow(w) ? FALSE : TRUE;
  if (!enable == static_cast<bool>(wasDisabled)) return wasDisabled;
  State& s = S();
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    if (s.capture == window) ReleaseCapture();
    for (Window* f = FromHandle(s.focus); f; f = f->parent)
      if (f == w) {
        SetFocus(nullptr);
        break;
      }
  }
  if (!w->dead) Send(w, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

HWND GetParent(HWND window) {
  Window* w = FromHandle(window);
  if (!w || !w->parent) return nullptr;
  if (!IsTopLevel(w)) return w->parent->handle;
  return (w->style & WS_POPUP) && w->owner ? w->owner->handle : nullptr;
}

HWND GetAncestor(HWND window, UINT flags) {
  Window* w = FromHandle(window);
  if (!w || !w->parent) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->parent->handle;
    case GA_ROOT: return TopLevelOf(w)->handle;
    case GA_ROOTOWNER: {
      Window* r = TopLevelOf(w);
      while (r->owner) r = r->owner;
      return r->handle;
    }
    default: return nullptr;
  }
}

HWND GetWindow(HWND window, UINT command) {
  Window* w = CheckedWindow(window);
  if (!w) return nullptr;
  const std::vector<Window*>* siblings = w->parent ? &w->parent->children : nullptr;
  auto at = [&](std::ptrdiff_t i) -> HWND {
    return siblings && i >= 0 && i < static_cast<std::ptrdiff_t>(siblings->size()) ? (*siblings)[i]->handle : nullptr;
  };
  const std::ptrdiff_t me =
      siblings ? std::find(siblings->begin(), siblings->end(), w) - siblings->begin() : 0;
  switch (command) {
    case GW_HWNDFIRST: return at(0);
    case GW_HWNDLAST: return siblings ? at(static_cast<std::ptrdiff_t>(siblings->size()) - 1) : nullptr;
    case GW_HWNDNEXT: return at(me + 1);
    case GW_HWNDPREV: return at(me - 1);
    case GW_OWNER: return w->owner ? w->owner->handle : nullptr;
    case GW_CHILD: return w->children.empty() ? nullptr : w->children.front()->handle;
    case GW_ENABLEDPOPUP:
      for (Window* top : S().desktop->children)
        if (top->owner == w && VisibleChain(top) && EnabledWindow(top)) return top->handle;
      return nullptr;
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND window) {
  Window* w = window ? FromHandle(window) : S().desktop;
  return w && !w->children.empty() ? w->children.front()->handle : nullptr;
}

HWND GetLastActivePopup(HWND window) {
  Window* w = FromHandle(window);
  if (!w) return nullptr;
  Window* p = w->lastActivePopup;
  return p && !p->dead && VisibleChain(p) && EnabledWindow(p) ? p->handle : window;
}

namespace {

bool EnumTree(Window* parent, WNDENUMPROC proc, LPARAM data) {
  std::vector<HWND> children;
  for (Window* c : parent->children) children.push_back(c->handle);
  for (HWND h : children) {
    Window* c = FromHandle(h);
    if (!c) continue;
    if (!proc(h, data)) return false;
    if ((c = FromHandle(h)) && !EnumTree(c, proc, data)) return false;
  }
  return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM data) {
  WindowRecordPin pin;
  Window* p = parent ? FromHandle(parent) : S().desktop;
  if (!p || !proc) return FALSE;
  return EnumTree(p, proc, data) ? TRUE : FALSE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM data) {
  WindowRecordPin pin;
  if (!proc) return FALSE;
  std::vector<HWND> tops;
  for (Window* t : S().desktop->children) tops.push_back(t->handle);
  for (HWND h : tops)
    if (FromHandle(h) && !proc(h, data)) return FALSE;
  return TRUE;
}

}  // namespace plat
