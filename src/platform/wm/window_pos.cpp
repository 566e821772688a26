// Moving, sizing, stacking, showing and re-parenting windows.
#include <algorithm>

#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

bool Topmost(const Window* w) { return IsTopLevel(w) && (w->exStyle & WS_EX_TOPMOST); }

void SetTopmost(Window* w, bool on) {
  if (!IsTopLevel(w) || Topmost(w) == on) return;
  if (on)
    w->exStyle |= WS_EX_TOPMOST;
  else
    w->exStyle &= ~WS_EX_TOPMOST;
  Dsp().SetTopmost(w->surface->id, on);
}

// Owned windows stay above their owner when the owner moves up.
void LiftOwned(Window* w) {
  auto& list = w->parent->children;
  std::vector<Window*> owned;
  for (Window* x : list)
    if (x->owner == w) owned.push_back(x);
  for (Window* o : owned) {
    std::erase(list, o);
    list.insert(std::find(list.begin(), list.end(), w), o);
  }
  for (Window* o : owned) LiftOwned(o);
}

std::unique_ptr<Bitmap> ResizedPicture(const Bitmap& old, int width, int height) {
  width = std::clamp(width, 0, Bitmap::kMaxSide);
  height = std::clamp(height, 0, Bitmap::kMaxSide);
  if (width && static_cast<std::int64_t>(width) * height > Bitmap::kMaxPixels)
    height = static_cast<int>(Bitmap::kMaxPixels / width);
  auto b = std::make_unique<Bitmap>(width, height);
  const int w = std::min(width, old.Width());
  for (int y = 0; y < std::min(height, old.Height()); ++y) std::copy_n(old.Row(y), w, b->Row(y));
  return b;
}

Region AreaInParent(const Window* w) {
  Region r(w->rect);
  if (w->shape) {
    r = *w->shape;
    r.Offset(w->rect.left, w->rect.top);
    r = r.Intersect(Region(w->rect));
  }
  return r;
}

}  // namespace

void PlaceInZOrder(Window* w, HWND after) {
  auto& list = w->parent->children;
  std::erase(list, w);
  auto band = [&] {
    return std::find_if(list.begin(), list.end(), [](const Window* x) { return !Topmost(x); });
  };
  if (after == HWND_TOPMOST) {
    SetTopmost(w, true);
    list.insert(list.begin(), w);
  } else if (after == HWND_NOTOPMOST) {
    SetTopmost(w, false);
    list.insert(band(), w);
  } else if (after == HWND_BOTTOM) {
    SetTopmost(w, false);
    list.push_back(w);
  } else {
    Window* a = after == HWND_TOP ? nullptr : FromHandle(after);
    if (!a || a->parent != w->parent) {
      list.insert(Topmost(w) ? list.begin() : band(), w);
    } else if (!Topmost(w) && Topmost(a)) {
      list.insert(band(), w);
    } else {
      if (Topmost(w) && !Topmost(a)) SetTopmost(w, false);
      list.insert(std::find(list.begin(), list.end(), a) + 1, w);
    }
  }
}

void Restack() {
  State& s = S();
  std::vector<display::SurfaceId> order;
  for (Window* t : s.desktop->children)
    if (t->surface && t->surface->id) order.push_back(t->surface->id);
  s.display->Restack(order);
}

void SyncSurface(Window* top) {
  Surface& sf = *top->surface;
  const int width = RectWidth(top->rect);
  const int height = RectHeight(top->rect);
  if (sf.picture->Width() != width || sf.picture->Height() != height) sf.picture = ResizedPicture(*sf.picture, width, height);
  Dsp().SetRect(sf.id, top->rect);
  RefreshDcs(top);
}

// Windows that can never be activated, and menus, stay out of the desktop's window manager,
// which would otherwise give them the focus.
void SyncRole(Window* top) {
  const bool menu = SameName(top->cls->name, "#32768");
  const bool overlay = (top->exStyle & WS_EX_NOACTIVATE) || menu;
  Dsp().SetRole(top->surface->id, overlay ? display::SurfaceRole::Overlay : display::SurfaceRole::Window);
}

void ShowSurface(Window* top, bool shown) {
  Surface& sf = *top->surface;
  sf.shown = shown;
  const bool layered = (top->exStyle & WS_EX_LAYERED) && Dsp().LayeredSupported();
  Dsp().Show(sf.id, shown && (!layered || sf.layeredReady));
}

}  // namespace wm

using namespace wm;

namespace {

// One SetWindowPos on its way: the placement before and after, and what changed.
struct PosChange {
  Window* w = nullptr;
  WINDOWPOS wp;
  UINT flags = 0;
  RECT oldRect{}, oldClient{};
  RECT rect{}, client{};
  bool moved = false, sized = false, show = false, hide = false, restacked = false;
  bool child = false, oldShown = false, nowShown = false;
  Region oldArea;  // in the parent's client, before
};

// The new window and client rectangles; the window procedure has its say on the client through
// WM_NCCALCSIZE. False when the window died meanwhile.
bool PlaceRects(PosChange& c) {
  Window* w = c.w;
  c.oldRect = w->rect;
  c.oldClient = w->client;
  c.rect = c.oldRect;
  if (!(c.flags & SWP_NOMOVE)) c.rect = Offset(c.rect, c.wp.x - c.oldRect.left, c.wp.y - c.oldRect.top);
  if (!(c.flags & SWP_NOSIZE)) {
    c.rect.right = c.rect.left + std::max(0, c.wp.cx);
    c.rect.bottom = c.rect.top + std::max(0, c.wp.cy);
  }
  c.moved = c.rect.left != c.oldRect.left || c.rect.top != c.oldRect.top;
  c.sized = RectWidth(c.rect) != RectWidth(c.oldRect) || RectHeight(c.rect) != RectHeight(c.oldRect);
  c.client = c.oldClient;
  if (c.sized || (c.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = c.rect;
    p.rgrc[1] = c.oldRect;
    p.rgrc[2] = Offset(c.oldClient, c.oldRect.left, c.oldRect.top);
    p.lppos = &c.wp;
    Send(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
    if (w->dead) return false;
    c.client = Offset(p.rgrc[0], -c.rect.left, -c.rect.top);
    c.client.right = std::max(c.client.right, c.client.left);
    c.client.bottom = std::max(c.client.bottom, c.client.top);
  }
  return true;
}

// Takes the new place, stacking and visibility, and hands a top-level window's to the display.
void ApplyPlacement(PosChange& c) {
  Window* w = c.w;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  c.show = (c.flags & SWP_SHOWWINDOW) && !wasVisible;
  c.hide = (c.flags & SWP_HIDEWINDOW) && wasVisible;
  c.child = !IsTopLevel(w);
  c.oldArea = AreaInParent(w);
  c.oldShown = VisibleChain(w);

  w->rect = c.rect;
  w->client = c.client;
  if (!(c.flags & SWP_NOZORDER) && c.wp.hwndInsertAfter != w->handle) {
    PlaceInZOrder(w, c.wp.hwndInsertAfter);
    if (!c.child && !(c.flags & SWP_NOOWNERZORDER)) LiftOwned(w);
    c.restacked = true;
  }
  if (c.show) w->style |= WS_VISIBLE;
  if (c.hide) w->style &= ~WS_VISIBLE;
  if (!c.child) {
    if (c.moved || c.sized) SyncSurface(w);
    if (c.restacked) Restack();
    if (c.show || c.hide) ShowSurface(w, c.show);
  }
  RefreshDcs(TopLevelOf(w));
  c.nowShown = VisibleChain(w);
}

// What the change uncovered or reshaped must paint again: for a child, the parent's area it left
// and its own; for a top-level window, the client parts the class asks to redraw and the frame.
void InvalidateAfterMove(const PosChange& c) {
  Window* w = c.w;
  const UINT all = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
  if (c.child) {
    if (c.oldShown && (c.moved || c.sized || c.hide || c.restacked)) {
      Region uncovered = c.nowShown && !c.restacked ? c.oldArea.Subtract(AreaInParent(w)) : c.oldArea;
      Invalidate(w->parent, &uncovered, false, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    if (c.nowShown && (c.moved || c.sized || c.show || c.restacked || (c.flags & SWP_FRAMECHANGED)))
      Invalidate(w, nullptr, true, all);
    return;
  }
  if (!c.nowShown) return;
  if (c.show) {
    Invalidate(w, nullptr, true, all);
    return;
  }
  if (!c.sized && !(c.flags & SWP_FRAMECHANGED)) return;
  const RECT& client = c.client;
  const RECT& oldClient = c.oldClient;
  const UINT style = w->cls->wc.style;
  const bool whole = (c.flags & SWP_FRAMECHANGED) || (c.flags & SWP_NOCOPYBITS) ||
                     ((style & CS_HREDRAW) && RectWidth(client) != RectWidth(oldClient)) ||
                     ((style & CS_VREDRAW) && RectHeight(client) != RectHeight(oldClient)) ||
                     client.left != oldClient.left || client.top != oldClient.top;
  const RECT inner{0, 0, RectWidth(client), RectHeight(client)};
  Region exposed =
      whole ? Region(inner) : Region(inner).Subtract(Region(RECT{0, 0, RectWidth(oldClient), RectHeight(oldClient)}));
  exposed.Offset(client.left, client.top);
  if (!EqualRect(&c.rect, &client) || client.left || client.top) {
    Region frame(RECT{0, 0, RectWidth(c.rect), RectHeight(c.rect)});
    exposed = exposed.Union(frame.Subtract(Region(client)));
  }
  Invalidate(w, &exposed, true, all);
}

// The WINDOWPOS that WM_WINDOWPOSCHANGED reports: where the window is now, and whether its
// client kept its size and place.
WINDOWPOS Reported(const PosChange& c, HWND insertAfter) {
  WINDOWPOS wp = c.wp;
  wp.hwndInsertAfter = insertAfter;
  wp.x = c.rect.left;
  wp.y = c.rect.top;
  wp.cx = RectWidth(c.rect);
  wp.cy = RectHeight(c.rect);
  wp.flags = c.flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
  if (RectWidth(c.client) == RectWidth(c.oldClient) && RectHeight(c.client) == RectHeight(c.oldClient))
    wp.flags |= SWP_NOCLIENTSIZE;
  if (c.rect.left + c.client.left == c.oldRect.left + c.oldClient.left &&
      c.rect.top + c.client.top == c.oldRect.top + c.oldClient.top)
    wp.flags |= SWP_NOCLIENTMOVE;
  return wp;
}

}  // namespace

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowRecordPin pin;
  Window* w = CheckedWindow(window, Accept::NotDesktop);
  if (!w) return FALSE;
  PosChange c;
  c.w = w;
  c.wp = WINDOWPOS{window, insertAfter, x, y, cx, cy, flags};
  c.flags = flags;
  if (!(flags & SWP_NOSENDCHANGING)) {
    Send(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&c.wp));
    if (w->dead) return TRUE;
    c.flags = c.wp.flags;
  }
  if (!PlaceRects(c)) return TRUE;
  ApplyPlacement(c);
  if (!(c.flags & SWP_NOREDRAW)) InvalidateAfterMove(c);

  WINDOWPOS changed = Reported(c, insertAfter);
  Send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&changed));
  if (w->dead) return TRUE;

  if (!c.child) {
    if (c.hide && S().active == window) ActivateOther(w);
    else if (!(c.flags & SWP_NOACTIVATE) && c.nowShown && CanActivate(w)) Activate(w, WA_ACTIVE, false);
  }
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(window, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND window) { return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

namespace {

// Minimising, maximising and restoring move the window to where that state puts it.
void ChangeState(Window* w, DWORD state, UINT flags) {
  const DWORD before = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  if (before == state) return;
  if (!before) w->normalRect = w->rect;
  // A window minimised from the maximised state is restored to it.
  w->restoreMaximized = state == WS_MINIMIZE && before == WS_MAXIMIZE;
  w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | state;
  RECT target = w->normalRect;
  if (state == WS_MINIMIZE) {
    target = MakeRect(-32000, -32000, GetSystemMetrics(SM_CXMINIMIZED), GetSystemMetrics(SM_CYMINIMIZED));
  } else if (state == WS_MAXIMIZE) {
    MINMAXINFO mmi;
    const int frame = GetSystemMetrics(SM_CXFRAME);
    // The work area of the monitor the window is on.
    MONITORINFO info;
    GetMonitorInfo(MonitorFromRect(&w->normalRect, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT work = info.rcWork;
    mmi.ptMaxPosition = {work.left - frame, work.top - frame};
    mmi.ptMaxSize = {RectWidth(work) + 2 * frame, RectHeight(work) + 2 * frame};
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (w->dead) return;
    target = MakeRect(mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxSize.x, mmi.ptMaxSize.y);
  }
  SetWindowPos(w->handle, nullptr, target.left, target.top, RectWidth(target), RectHeight(target),
               flags | SWP_FRAMECHANGED);
}

}  // namespace

BOOL ShowWindow(HWND window, int command) {
  WindowRecordPin pin;
  State& s = S();
  Window* w = CheckedWindow(window, Accept::NotDesktop);
  if (!w) return FALSE;
  const BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  const bool child = !IsTopLevel(w);
  if (command == SW_HIDE) {
    if (!wasVisible) return FALSE;
    Send(w, WM_SHOWWINDOW, FALSE, 0);
    if (!w->dead)
      SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return wasVisible;
  }
  bool activate = !child;
  DWORD state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  switch (command) {
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE: activate = false; [[fallthrough]];
    case SW_SHOWMINIMIZED: state = WS_MINIMIZE; break;
    case SW_SHOWMAXIMIZED: state = WS_MAXIMIZE; break;
    case SW_SHOWNOACTIVATE: activate = false; [[fallthrough]];
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT: state = 0; break;
    case SW_RESTORE: state = (w->style & WS_MINIMIZE) && w->restoreMaximized ? WS_MAXIMIZE : 0; break;
    case SW_SHOWNA: activate = false; break;
    case SW_SHOW: break;
    default: Fail(ERROR_INVALID_PARAMETER); return wasVisible;
  }
  if (!wasVisible) {
    Send(w, WM_SHOWWINDOW, TRUE, 0);
    if (w->dead) return wasVisible;
  }
  const UINT flags = SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE | SWP_NOZORDER);
  if (!child && state != (w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
    ChangeState(w, state, flags);
    if (!w->dead && state == WS_MINIMIZE && s.active == window) ActivateOther(w);
  } else {
    SetWindowPos(window, nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE);
  }
  return wasVisible;
}

HWND SetParent(HWND window, HWND newParent) {
  WindowRecordPin pin;
  State& s = S();
  Window* w = CheckedWindow(window, Accept::NotDesktop);
  Window* np = w && newParent ? CheckedWindow(newParent) : s.desktop;
  if (!w || !np) return nullptr;
  for (Window* a = np; a; a = a->parent)
    if (a == w) {
      Fail(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  Window* old = w->parent;
  const bool visible = (w->style & WS_VISIBLE) != 0;
  if (visible)
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (w->dead || FromHandle(newParent ? newParent : s.desktop->handle) != np) return nullptr;
  DropDcsOf(w);
  std::erase(old->children, w);
  w->parent = np;
  if (np == s.desktop && !w->surface) {
    w->surface = std::make_unique<Surface>();
    w->surface->id = s.display->CreateSurface(w->rect);
    s.bySurface[w->surface->id] = w;
    SyncSurface(w);
    SyncRole(w);
  } else if (np != s.desktop && w->surface) {
    s.bySurface.erase(w->surface->id);
    s.display->DestroySurface(w->surface->id);
    w->surface.reset();
    w->owner = nullptr;
  }
  PlaceInZOrder(w, HWND_TOP);
  if (np == s.desktop) Restack();
  if (visible)
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return old->parent ? old->handle : s.desktop->handle;
}

}  // namespace plat
