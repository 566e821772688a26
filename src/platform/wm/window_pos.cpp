// Moving, sizing, stacking, showing and re-parenting windows.
#include <algorithm>

#include "platform/wm/busy.h"
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

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Busy busy;
  State& s = S();
  Window* w = FromHandle(window);
  if (!w || w == s.desktop) {
    Fail(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  WINDOWPOS wp{window, insertAfter, x, y, cx, cy, flags};
  if (!(flags & SWP_NOSENDCHANGING)) {
    Send(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (w->dead) return TRUE;
    flags = wp.flags;
  }
  const RECT oldRect = w->rect;
  const RECT oldClient = w->client;
  RECT rect = oldRect;
  if (!(flags & SWP_NOMOVE)) rect = Offset(rect, wp.x - oldRect.left, wp.y - oldRect.top);
  if (!(flags & SWP_NOSIZE)) {
    rect.right = rect.left + std::max(0, wp.cx);
    rect.bottom = rect.top + std::max(0, wp.cy);
  }
  const bool moved = rect.left != oldRect.left || rect.top != oldRect.top;
  const bool sized = RectWidth(rect) != RectWidth(oldRect) || RectHeight(rect) != RectHeight(oldRect);
  RECT client = oldClient;
  if (sized || (flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = rect;
    p.rgrc[1] = oldRect;
    p.rgrc[2] = Offset(oldClient, oldRect.left, oldRect.top);
    p.lppos = &wp;
    Send(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
    if (w->dead) return TRUE;
    client = Offset(p.rgrc[0], -rect.left, -rect.top);
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
  }
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  const bool show = (flags & SWP_SHOWWINDOW) && !wasVisible;
  const bool hide = (flags & SWP_HIDEWINDOW) && wasVisible;
  const bool child = !IsTopLevel(w);
  const Region oldArea = AreaInParent(w);
  const bool oldShown = VisibleChain(w);

  w->rect = rect;
  w->client = client;
  bool restacked = false;
  if (!(flags & SWP_NOZORDER) && wp.hwndInsertAfter != window) {
    PlaceInZOrder(w, wp.hwndInsertAfter);
    if (!child && !(flags & SWP_NOOWNERZORDER)) LiftOwned(w);
    restacked = true;
  }
  if (show) w->style |= WS_VISIBLE;
  if (hide) w->style &= ~WS_VISIBLE;
  if (!child) {
    if (moved || sized) SyncSurface(w);
    if (restacked) Restack();
    if (show || hide) ShowSurface(w, show);
  }
  RefreshDcs(TopLevelOf(w));

  const bool nowShown = VisibleChain(w);
  if (!(flags & SWP_NOREDRAW)) {
    const UINT all = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
    if (child) {
      if (oldShown && (moved || sized || hide || restacked)) {
        Region uncovered = nowShown && !restacked ? oldArea.Subtract(AreaInParent(w)) : oldArea;
        Invalidate(w->parent, &uncovered, false, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      }
      if (nowShown && (moved || sized || show || restacked || (flags & SWP_FRAMECHANGED))) Invalidate(w, nullptr, true, all);
    } else if (nowShown) {
      if (show) {
        Invalidate(w, nullptr, true, all);
      } else if (sized || (flags & SWP_FRAMECHANGED)) {
        const UINT style = w->cls->wc.style;
        const bool whole = (flags & SWP_FRAMECHANGED) || (flags & SWP_NOCOPYBITS) ||
                           ((style & CS_HREDRAW) && RectWidth(client) != RectWidth(oldClient)) ||
                           ((style & CS_VREDRAW) && RectHeight(client) != RectHeight(oldClient)) ||
                           client.left != oldClient.left || client.top != oldClient.top;
        const RECT inner{0, 0, RectWidth(client), RectHeight(client)};
        Region exposed = whole ? Region(inner)
                               : Region(inner).Subtract(Region(RECT{0, 0, RectWidth(oldClient), RectHeight(oldClient)}));
        exposed.Offset(client.left, client.top);
        if (!EqualRect(&rect, &client) || client.left || client.top) {
          Region frame(RECT{0, 0, RectWidth(rect), RectHeight(rect)});
          exposed = exposed.Union(frame.Subtract(Region(client)));
        }
        Invalidate(w, &exposed, true, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      }
    }
  }

  wp.hwndInsertAfter = insertAfter;
  wp.x = rect.left;
  wp.y = rect.top;
  wp.cx = RectWidth(rect);
  wp.cy = RectHeight(rect);
  wp.flags = flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
  if (RectWidth(client) == RectWidth(oldClient) && RectHeight(client) == RectHeight(oldClient))
    wp.flags |= SWP_NOCLIENTSIZE;
  if (rect.left + client.left == oldRect.left + oldClient.left && rect.top + client.top == oldRect.top + oldClient.top)
    wp.flags |= SWP_NOCLIENTMOVE;
  Send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  if (w->dead) return TRUE;

  if (!child) {
    if (hide && s.active == window) ActivateOther(w);
    else if (!(flags & SWP_NOACTIVATE) && nowShown && CanActivate(w)) Activate(w, WA_ACTIVE, false);
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
  Busy busy;
  State& s = S();
  Window* w = FromHandle(window);
  if (!w || w == s.desktop) {
    Fail(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
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
  Busy busy;
  State& s = S();
  Window* w = FromHandle(window);
  Window* np = newParent ? FromHandle(newParent) : s.desktop;
  if (!w || !np || w == s.desktop) {
    Fail(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
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
