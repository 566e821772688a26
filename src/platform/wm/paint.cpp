// Update regions and the paint cycle. A window's update region is kept in window coordinates
// and covers its client area; a pending non-client paint, a pending erase and an internal paint
// request are flags beside it.
#include "platform/gdi/window_dc_binding.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

RECT WholeWindow(const Window* w) { return {0, 0, RectWidth(w->rect), RectHeight(w->rect)}; }

bool IncludesChildren(const Window* w, UINT flags) {
  if (flags & RDW_NOCHILDREN) return false;
  return (flags & RDW_ALLCHILDREN) || !(w->style & WS_CLIPCHILDREN);
}

int Complexity(const Region& r) {
  return r.Empty() ? NULLREGION : r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Paintable(const Window* w) {
  return w->parent && !(IsTopLevel(w) && w->surface->updateLayered);
}

}  // namespace

void SetNeedsPaint(Window* w) {
  const bool needs = !w->dead && Paintable(w) && (!w->update.Empty() || w->ncPaint || w->internalPaint);
  if (needs != w->needsPaint) {
    w->needsPaint = needs;
    S().paintCount += needs ? 1 : -1;
  }
}

void Invalidate(Window* w, const Region* area, bool windowCoords, UINT flags) {
  const bool invalidate = (flags & RDW_INVALIDATE) != 0;
  if (invalidate && !VisibleChain(w)) return;
  Region r;
  if (area) {
    r = *area;
    if (!windowCoords) r.Offset(w->client.left, w->client.top);
  } else {
    r = Region((flags & RDW_FRAME) ? WholeWindow(w) : w->client);
  }
  r = r.Intersect(Region(WholeWindow(w)));
  if (w->shape) r = r.Intersect(*w->shape);
  if (w->parent) {
    if (invalidate) {
      const Region inside = r.Intersect(Region(w->client));
      if ((flags & RDW_FRAME) && !r.Subtract(Region(w->client)).Empty()) w->ncPaint = true;
      if (!inside.Empty()) {
        w->update = w->update.Union(inside);
        if (flags & RDW_ERASE) w->erase = true;
      }
    }
    if ((flags & RDW_INTERNALPAINT) && VisibleChain(w)) w->internalPaint = true;
    if (flags & RDW_VALIDATE) {
      w->update = w->update.Subtract(r);
      if (w->update.Empty()) w->erase = false;
    }
    if (flags & RDW_NOERASE) w->erase = false;
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
    if (flags & RDW_NOFRAME) w->ncPaint = false;
    SetNeedsPaint(w);
  }
  if (!IncludesChildren(w, flags)) return;
  Region inClient = r.Intersect(Region(w->client));
  inClient.Offset(-w->client.left, -w->client.top);
  for (Window* c : w->children) {
    if (invalidate && !(c->style & WS_VISIBLE)) continue;
    Region part = inClient.Intersect(Region(c->rect));
    if (part.Empty()) continue;
    part.Offset(-c->rect.left, -c->rect.top);
    Invalidate(c, &part, true, flags | RDW_FRAME);
  }
}

Window* FindPaintWindow(HWND filter) {
  // Parents before their children, top-level windows in z-order.
  std::vector<Window*> pending(S().desktop->children.rbegin(), S().desktop->children.rend());
  while (!pending.empty()) {
    Window* w = pending.back();
    pending.pop_back();
    if (!(w->style & WS_VISIBLE)) continue;
    if (w->needsPaint && MatchesFilter(w->handle, WM_PAINT, filter, 0, 0)) return w;
    pending.insert(pending.end(), w->children.rbegin(), w->children.rend());
  }
  return nullptr;
}

void UpdateNow(Window* w, UINT flags) {
  if (!VisibleChain(w)) return;
  if (Paintable(w)) {
    if (flags & RDW_UPDATENOW) {
      if (!w->update.Empty() || w->internalPaint) {
        Send(w, WM_PAINT, 0, 0);
      } else if (w->ncPaint) {
        w->ncPaint = false;
        SetNeedsPaint(w);
        Send(w, WM_NCPAINT, 1, 0);
      }
    } else {
      if (w->ncPaint) {
        w->ncPaint = false;
        SetNeedsPaint(w);
        Send(w, WM_NCPAINT, 1, 0);
      }
      if (!w->dead && w->erase && !w->update.Empty()) {
        w->erase = false;
        Region clip = w->update;
        const POINT o = OriginInSurface(w, false);
        clip.Offset(o.x, o.y);
        HDC dc = MakeWindowDc(w, false, (w->style & WS_CLIPCHILDREN) ? DCX_CLIPCHILDREN : 0, clip, false);
        Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        FreeWindowDc(dc, true);
      }
    }
  }
  if (w->dead || !IncludesChildren(w, flags)) return;
  std::vector<HWND> children;
  for (Window* c : w->children) children.push_back(c->handle);
  for (HWND c : children)
    if (Window* cw = FromHandle(c)) UpdateNow(cw, flags);
}

}  // namespace wm

using namespace wm;

BOOL RedrawWindow(HWND window, const RECT* r, HRGN rgn, UINT flags) {
  WindowRecordPin pin;
  Window* w = window ? CheckedWindow(window) : S().desktop;
  if (!w) return FALSE;
  std::optional<Region> area;
  if (rgn) {
    const Region* given = gdi::RegionOf(rgn);
    if (!given) return FALSE;
    area = *given;
  } else if (r) {
    area = Region(*r);
  }
  if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_NOERASE | RDW_NOINTERNALPAINT | RDW_NOFRAME | RDW_INTERNALPAINT))
    Invalidate(w, area ? &*area : nullptr, false, w->parent ? flags : flags | RDW_ALLCHILDREN);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateNow(w, w->parent ? flags : flags | RDW_ALLCHILDREN);
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* r, BOOL erase) {
  return RedrawWindow(window, r, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND window, HRGN rgn, BOOL erase) {
  return RedrawWindow(window, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND window, const RECT* r) {
  return RedrawWindow(window, r, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND window, HRGN rgn) {
  return RedrawWindow(window, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND window) {
  WindowRecordPin pin;
  Window* w = CheckedWindow(window);
  if (!w) return FALSE;
  UpdateNow(w, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return TRUE;
}

namespace {

void EraseIfAsked(Window* w, BOOL erase) {
  if (!erase || !w->erase || w->update.Empty()) return;
  UpdateNow(w, RDW_ERASENOW | RDW_NOCHILDREN);
}

}  // namespace

BOOL GetUpdateRect(HWND window, RECT* r, BOOL erase) {
  WindowRecordPin pin;
  Window* w = CheckedWindow(window);
  if (!w) return FALSE;
  const bool any = !w->update.Empty();
  if (r) *r = any ? Offset(w->update.Box(), -w->client.left, -w->client.top) : RECT{};
  EraseIfAsked(w, erase);
  return any ? TRUE : FALSE;
}

int GetUpdateRgn(HWND window, HRGN rgn, BOOL erase) {
  WindowRecordPin pin;
  Window* w = CheckedWindow(window);
  if (!w || !gdi::RegionOf(rgn)) return ERROR;
  Region update = w->update;
  update.Offset(-w->client.left, -w->client.top);
  const int complexity = Complexity(update);
  gdi::SetRegionOf(rgn, std::move(update));
  EraseIfAsked(w, erase);
  return complexity;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* ps) {
  WindowRecordPin pin;
  Window* w = CheckedWindow(window);
  if (!w || !ps) return nullptr;
  if (w->ncPaint) {
    w->ncPaint = false;
    SetNeedsPaint(w);
    Send(w, WM_NCPAINT, 1, 0);
    if (w->dead) return nullptr;
  }
  Region area = w->update.Intersect(Region(w->client));
  const bool erase = w->erase;
  w->update = Region();
  w->erase = false;
  w->internalPaint = false;
  SetNeedsPaint(w);
  *ps = PAINTSTRUCT{};
  ps->rcPaint = area.Empty() ? RECT{} : Offset(area.Box(), -w->client.left, -w->client.top);
  const POINT o = OriginInSurface(w, false);
  area.Offset(o.x, o.y);
  const DWORD clip = ((w->style & WS_CLIPCHILDREN) ? DCX_CLIPCHILDREN : 0) | ((w->style & WS_CLIPSIBLINGS) ? DCX_CLIPSIBLINGS : 0);
  ps->hdc = MakeWindowDc(w, false, clip, area, false);
  if (erase) ps->fErase = Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) ? FALSE : TRUE;
  return ps->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  FreeWindowDc(ps->hdc, true);
  return TRUE;
}

}  // namespace plat
