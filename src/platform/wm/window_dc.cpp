// Device contexts over a top-level window's picture, clipped to the visible part of a window;
// handing painted areas to the display; window regions.
#include "platform/gdi/window_dc_binding.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

// A window's shape (or rectangle) in its top-level picture.
Region AreaInSurface(const Window* w) {
  const POINT o = OriginInSurface(w, false);
  Region r(Offset(RECT{0, 0, RectWidth(w->rect), RectHeight(w->rect)}, o.x, o.y));
  if (w->shape) {
    Region shape = *w->shape;
    shape.Offset(o.x, o.y);
    r = r.Intersect(shape);
  }
  return r;
}

bool InSubtree(const Window* w, const Window* root) {
  for (; w; w = w->parent)
    if (w == root) return true;
  return false;
}

void Apply(HDC handle, WindowDc& info) {
  State& s = S();
  Window* w = info.window ? FromHandle(info.window) : nullptr;
  if (info.screen) {
    gdi::BindDcToSurface(handle, s.screenCopy.get(), {}, std::nullopt);
  } else if (!w || !TopLevelOf(w)->surface) {
    gdi::BindDcToSurface(handle, nullptr, {}, Region());
  } else {
    Window* top = TopLevelOf(w);
    Region clip = VisibleRegion(w, info.whole, info.flags & DCX_CLIPCHILDREN, info.flags & DCX_CLIPSIBLINGS);
    if (info.extra) clip = info.excludeExtra ? clip.Subtract(*info.extra) : clip.Intersect(*info.extra);
    gdi::BindDcToSurface(handle, top->surface->picture.get(), OriginInSurface(w, !info.whole), std::move(clip));
  }
}

}  // namespace

Region VisibleRegion(Window* w, bool whole, bool clipChildren, bool clipSiblings) {
  if (!VisibleChain(w) || !w->parent) return {};
  Window* top = TopLevelOf(w);
  const POINT o = OriginInSurface(w, false);
  Region r(Offset(whole ? RECT{0, 0, RectWidth(w->rect), RectHeight(w->rect)} : w->client, o.x, o.y));
  if (w->shape) {
    Region shape = *w->shape;
    shape.Offset(o.x, o.y);
    r = r.Intersect(shape);
  }
  if (clipChildren)
    for (Window* c : w->children)
      if (c->style & WS_VISIBLE) r = r.Subtract(AreaInSurface(c));
  for (Window* c = w; !IsTopLevel(c); c = c->parent) {
    Window* p = c->parent;
    if (clipSiblings) {
      for (Window* sib : p->children) {
        if (sib == c) break;
        if (sib->style & WS_VISIBLE) r = r.Subtract(AreaInSurface(sib));
      }
    }
    const POINT po = OriginInSurface(p, true);
    r = r.Intersect(Region(Offset(RECT{0, 0, RectWidth(p->client), RectHeight(p->client)}, po.x, po.y)));
    if (p->shape) r = r.Intersect(AreaInSurface(p));
    clipSiblings = (p->style & WS_CLIPSIBLINGS) != 0;
  }
  return r.Intersect(Region(top->surface->picture->Bounds()));
}

HDC MakeWindowDc(Window* w, bool whole, DWORD flags, std::optional<Region> extra, bool exclude) {
  HDC handle = CreateCompatibleDC(nullptr);
  WindowDc info{w ? w->handle : nullptr, whole, flags, std::move(extra), exclude, w == nullptr};
  Apply(handle, info);
  S().dcs[handle] = std::move(info);
  return handle;
}

void FreeWindowDc(HDC handle, bool present) {
  State& s = S();
  auto it = s.dcs.find(handle);
  if (it == s.dcs.end()) return;
  if (present && !it->second.screen) {
    Window* w = FromHandle(it->second.window);
    const Region* shown = gdi::SystemClipOf(handle);
    if (w && shown) Present(TopLevelOf(w), *shown);
  }
  s.dcs.erase(it);
  DeleteDC(handle);
}

void RefreshDcs(Window* top) {
  for (auto& [handle, info] : S().dcs) {
    Window* w = FromHandle(info.window);
    if (w && TopLevelOf(w) == top) Apply(handle, info);
  }
}

void DropDcsOf(Window* root) {
  for (auto& [handle, info] : S().dcs) {
    Window* w = FromHandle(info.window);
    if (w && InSubtree(w, root)) {
      info.window = nullptr;
      Apply(handle, info);
    }
  }
}

void Present(Window* top, const Region& area) {
  if (!top || !top->surface || !top->surface->id || area.Empty()) return;
  S().display->Present(top->surface->id, *top->surface->picture, area);
}

}  // namespace wm

using namespace wm;

HDC GetDCEx(HWND window, HRGN clip, DWORD flags) {
  WindowRecordPin pin;
  State& s = S();
  Window* w = window ? CheckedWindow(window) : nullptr;
  if (window && !w) return nullptr;
  if (!w || w == s.desktop) {
    // The screen: a snapshot of what it shows now.
    const RECT all = s.desktop->rect;
    if (s.screenCopy->Width() != RectWidth(all) || s.screenCopy->Height() != RectHeight(all))
      s.screenCopy = std::make_unique<Bitmap>(RectWidth(all), RectHeight(all));
    s.display->ReadScreen(all, *s.screenCopy);
    return MakeWindowDc(nullptr, true, 0, std::nullopt, false);
  }
  std::optional<Region> extra;
  bool exclude = false;
  if (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) {
    if (const Region* r = gdi::RegionOf(clip)) {
      extra = *r;
      const POINT top = WindowOrigin(TopLevelOf(w));
      extra->Offset(-top.x, -top.y);
      exclude = (flags & DCX_EXCLUDERGN) != 0;
    }
  }
  if (flags & DCX_INTERSECTUPDATE) {
    Region update = w->update;
    const POINT o = OriginInSurface(w, false);
    update.Offset(o.x, o.y);
    extra = extra && !exclude ? extra->Intersect(update) : update;
    exclude = false;
    if (flags & DCX_VALIDATE) ValidateRect(window, nullptr);
  }
  return MakeWindowDc(w, (flags & DCX_WINDOW) != 0, flags, std::move(extra), exclude);
}

namespace {
DWORD StyleClip(HWND window) {
  Window* w = FromHandle(window);
  if (!w) return 0;
  return ((w->style & WS_CLIPCHILDREN) ? DCX_CLIPCHILDREN : 0) | ((w->style & WS_CLIPSIBLINGS) ? DCX_CLIPSIBLINGS : 0);
}
}  // namespace

HDC GetDC(HWND window) { return GetDCEx(window, nullptr, DCX_CACHE | StyleClip(window)); }

HDC GetWindowDC(HWND window) { return GetDCEx(window, nullptr, DCX_WINDOW | DCX_CACHE | StyleClip(window)); }

int ReleaseDC(HWND, HDC dc) {
  if (!S().dcs.count(dc)) return 0;
  FreeWindowDc(dc, true);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto& dcs = S().dcs;
  auto it = dcs.find(dc);
  return it == dcs.end() ? nullptr : it->second.window;
}

int SetWindowRgn(HWND window, HRGN rgn, BOOL redraw) {
  WindowRecordPin pin;
  Window* w = CheckedWindow(window, Accept::NotDesktop);
  if (!w) return 0;
  std::optional<Region> shape;
  if (rgn) {
    const Region* r = gdi::RegionOf(rgn);
    if (!r) return 0;
    shape = *r;
    DeleteObject(rgn);
  }
  const Region before = AreaInSurface(w);
  w->shape = std::move(shape);
  Window* top = TopLevelOf(w);
  if (w == top) Dsp().SetShape(w->surface->id, w->shape ? &*w->shape : nullptr);
  RefreshDcs(top);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOREDRAW);
  if (redraw && !w->dead && VisibleChain(w)) {
    if (w != top) {
      Region uncovered = before.Subtract(AreaInSurface(w));
      const POINT po = OriginInSurface(w->parent, true);
      uncovered.Offset(-po.x, -po.y);
      Invalidate(w->parent, &uncovered, false, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    Invalidate(w, nullptr, true, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return 1;
}

int GetWindowRgn(HWND window, HRGN rgn) {
  Window* w = CheckedWindow(window);
  if (!w || !w->shape || !gdi::SetRegionOf(rgn, *w->shape)) return ERROR;
  return w->shape->Empty() ? NULLREGION : w->shape->Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

}  // namespace plat
