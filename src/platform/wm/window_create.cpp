// Creating and destroying windows, in the platform's order of messages.
#include <algorithm>

#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

void MakeDesktop(State& s) {
  auto cls = std::make_shared<Class>();
  cls->name = "#32769";
  cls->wc.lpfnWndProc = &DefWindowProc;
  cls->wc.lpszClassName = cls->name.c_str();
  cls->wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_DESKTOP + 1));
  auto w = std::make_unique<Window>();
  w->cls = cls;
  w->proc = &DefWindowProc;
  w->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  RECT all{};
  for (const display::Monitor& m : s.display->Monitors()) all = Union(all, m.bounds);
  w->rect = all;
  w->client = {0, 0, RectWidth(all), RectHeight(all)};
  Allocate(std::move(w));
  s.desktop = s.slots.back().window.get();
}

namespace {

void NotifyParents(Window* w, WORD event) {
  if (IsTopLevel(w) || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
  const WPARAM wp = MAKEWPARAM(event, static_cast<WORD>(w->id));
  for (Window* p = w->parent; p && p->parent; p = p->parent) {
    Send(p, WM_PARENTNOTIFY, wp, reinterpret_cast<LPARAM>(w->handle));
    if (IsTopLevel(p) || (p->exStyle & WS_EX_NOPARENTNOTIFY) || w->dead) break;
  }
}

// Takes a window out of every list and frees its handle, without messages.
void Unlink(Window* w) {
  State& s = S();
  for (Window* child : std::vector<Window*>(w->children)) Unlink(child);
  KillTimersOf(w->handle);
  DropPostedFor(w->handle);
  ForgetInInput(w);
  DropDcsOf(w);
  DestroyMenusOf(w);
  if (w->needsPaint) {
    w->needsPaint = false;
    --s.paintCount;
  }
  if (w->parent) std::erase(w->parent->children, w);
  for (Window* top : s.desktop->children) {
    if (top->owner == w) top->owner = nullptr;
    if (top->lastActivePopup == w) top->lastActivePopup = nullptr;
  }
  if (s.focus == w->handle) s.focus = nullptr;
  if (s.active == w->handle) s.active = nullptr;
  Bury(w);
}

void SendDestroy(Window* w) {
  w->destroying = true;
  Send(w, WM_DESTROY, 0, 0);
  for (Window* child : std::vector<Window*>(w->children))
    if (!child->dead && !child->destroying) SendDestroy(child);
}

void SendNcDestroy(Window* w) {
  for (Window* child : std::vector<Window*>(w->children))
    if (!child->dead) SendNcDestroy(child);
  if (w->dead) return;
  Send(w, WM_NCDESTROY, 0, 0);
  if (!w->dead) Unlink(w);
}

bool InSubtree(HWND h, Window* root) {
  for (Window* w = FromHandle(h); w; w = w->parent)
    if (w == root) return true;
  return false;
}

RECT DefaultPlace(bool topLevel, const CREATESTRUCT& cs) {
  RECT r{cs.x, cs.y, cs.x + std::max(0, cs.cx), cs.y + std::max(0, cs.cy)};
  if (!topLevel) {
    if (cs.x == CW_USEDEFAULT) r = {0, 0, 0, 0};
    return r;
  }
  const RECT work = S().display->Monitors().front().work;
  if (cs.x == CW_USEDEFAULT) r = Offset(MakeRect(0, 0, RectWidth(r), RectHeight(r)), work.left + 26, work.top + 26);
  if (cs.cx == CW_USEDEFAULT)
    r = MakeRect(r.left, r.top, RectWidth(work) * 3 / 4, RectHeight(work) * 3 / 4);
  return r;
}

}  // namespace

}  // namespace wm

using namespace wm;

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, HINSTANCE instance, void* param) {
  WindowRecordPin pin;
  State& s = S();
  std::shared_ptr<Class> cls = FindClass(className);
  if (!cls) {
    Fail(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Window* given = parent && parent != HWND_MESSAGE ? CheckedWindow(parent) : nullptr;
  if (parent && parent != HWND_MESSAGE && !given) return nullptr;
  const bool child = (style & WS_CHILD) != 0;
  if (child && !given) {
    Fail(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  if (!child && !(style & WS_POPUP)) style |= WS_CLIPSIBLINGS | WS_CAPTION;
  const bool visible = (style & WS_VISIBLE) != 0;

  CREATESTRUCT cs{param, instance, menuOrId, given ? given->handle : nullptr, height, width, y, x,
                  static_cast<LONG>(style & ~WS_VISIBLE), windowName, className, exStyle};
  auto record = std::make_unique<Window>();
  Window* w = record.get();
  w->cls = cls;
  w->proc = cls->wc.lpfnWndProc;
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->parent = child ? given : s.desktop;
  w->owner = !child && given ? TopLevelOf(given) : nullptr;
  w->id = child ? reinterpret_cast<LONG_PTR>(menuOrId) : 0;
  w->instance = instance;
  w->extra.assign(static_cast<std::size_t>(std::max(0, cls->wc.cbWndExtra)), 0);
  const HWND h = Allocate(std::move(record));
  if (!h) return nullptr;
  PlaceInZOrder(w, child ? HWND_BOTTOM : HWND_TOP);
  if (!child) {
    w->surface = std::make_unique<Surface>();
    w->surface->id = s.display->CreateSurface({});
    s.bySurface[w->surface->id] = w;
  }

  CBT_CREATEWND cbt{&cs, HWND_TOP};
  if (CallCbt(HCBT_CREATEWND, reinterpret_cast<WPARAM>(h), reinterpret_cast<LPARAM>(&cbt))) {
    Unlink(w);
    return nullptr;
  }
  w->style = static_cast<DWORD>(cs.style) & ~WS_VISIBLE;
  w->exStyle = cs.dwExStyle;
  if (!child) {
    LayeredStyleChanged(w, 0);
    SyncRole(w);
    if (w->exStyle & WS_EX_TOPMOST) s.display->SetTopmost(w->surface->id, true);
    Restack();
  }
  RECT r = DefaultPlace(!child, cs);
  if (!child && ((w->style & WS_THICKFRAME) || !(w->style & (WS_POPUP | WS_CHILD)))) {
    MINMAXINFO mmi;
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    mmi.ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (w->dead) return nullptr;
    r.right = r.left + std::clamp<LONG>(RectWidth(r), mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
    r.bottom = r.top + std::clamp<LONG>(RectHeight(r), mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
  }
  w->rect = r;
  w->normalRect = r;
  w->client = {0, 0, RectWidth(r), RectHeight(r)};
  if (!child) SyncSurface(w);

  if (!Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (!w->dead) SendNcDestroy(w);
    return nullptr;
  }
  if (w->dead) return nullptr;
  RECT calc = w->rect;
  Send(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&calc));
  if (w->dead) return nullptr;
  w->client = Offset(calc, -w->rect.left, -w->rect.top);
  if (IsEmpty(w->client)) w->client = {w->client.left, w->client.top, std::max(w->client.left, w->client.right),
                                       std::max(w->client.top, w->client.bottom)};
  if (Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  if (w->dead) return nullptr;
  Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(RectWidth(w->client), RectHeight(w->client)));
  if (w->dead) return nullptr;
  Send(w, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
  if (w->dead) return nullptr;
  NotifyParents(w, static_cast<WORD>(WM_CREATE));
  if (w->dead) return nullptr;
  if (visible) ShowWindow(h, SW_SHOW);
  return w->dead ? nullptr : h;
}

HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width, int height,
                  HWND parent, HMENU menuOrId, HINSTANCE instance, void* param) {
  return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menuOrId, instance, param);
}

BOOL DestroyWindow(HWND window) {
  WindowRecordPin pin;
  State& s = S();
  Window* w = CheckedWindow(window, Accept::NotDesktop);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;
  if (CallCbt(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(window), 0)) return FALSE;
  w->destroying = true;
  if (w->style & WS_VISIBLE)
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  if (w->dead) return TRUE;
  if (IsTopLevel(w)) {
    for (Window* other : std::vector<Window*>(s.desktop->children))
      if (!other->dead && other->owner == w) DestroyWindow(other->handle);
    if (s.active == window) ActivateOther(w);
  }
  if (w->dead) return TRUE;
  NotifyParents(w, static_cast<WORD>(WM_DESTROY));
  if (w->dead) return TRUE;
  if (InSubtree(s.capture, w)) ReleaseCapture();
  SendDestroy(w);
  if (InSubtree(s.focus, w)) s.focus = nullptr;
  if (!w->dead) SendNcDestroy(w);
  return TRUE;
}

BOOL IsWindow(HWND window) { return FromHandle(window) ? TRUE : FALSE; }

HWND GetDesktopWindow() { return S().desktop->handle; }

}  // namespace plat
