// The stacking of the screen's top-level windows, ours among those of other programs: kept
// from root's substructure events (so that asking which windows lie under the pointer costs no
// round trip), changed by our restacking, and used to keep overlays (a form's border window)
// right below the window they belong to when the window manager raises that one.
#include <algorithm>

#include "platform/display/x11/x11_internal.h"

#include <X11/Xlib.h>

namespace plat::display {

namespace {

X11Display::StackEntry EntryOf(::Display* dpy, Window w) {
  X11Display::StackEntry e;
  e.window = w;
  XWindowAttributes a{};
  if (XGetWindowAttributes(dpy, w, &a)) {
    e.rect = MakeRect(a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width);
    e.viewable = a.map_state == IsViewable;
    e.inputOnly = a.c_class == InputOnly;
  }
  return e;
}

}  // namespace

void X11Display::EnsureStack() const {
  if (stackKnown_) return;
  Window rootOut = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  stack_.clear();
  if (XQueryTree(dpy_, root_, &rootOut, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count; ++i) stack_.push_back(EntryOf(dpy_, children[i]));
    if (children) XFree(children);
  }
  stackKnown_ = true;
}

int X11Display::StackIndex(XId window) const {
  for (std::size_t i = 0; i < stack_.size(); ++i)
    if (stack_[i].window == window) return static_cast<int>(i);
  return -1;
}

// window now lies directly above `above` (0: at the bottom).
void X11Display::Restacked(XId window, XId above) const {
  const int from = StackIndex(window);
  if (from < 0) return;
  const StackEntry e = stack_[static_cast<std::size_t>(from)];
  stack_.erase(stack_.begin() + from);
  const int at = above ? StackIndex(above) + 1 : 0;
  stack_.insert(stack_.begin() + std::max(0, at), e);
}

X11Display::XId X11Display::TopLevelAncestor(XId window) const {
  for (Window w = window;;) {
    Window rootOut = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy_, w, &rootOut, &parent, &children, &count)) return window;
    if (children) XFree(children);
    if (parent == rootOut || parent == 0) return w;
    w = parent;
  }
}

bool X11Display::OnRootChange(void* xevent) {
  XEvent& ev = *static_cast<XEvent*>(xevent);
  Window changed = 0;
  switch (ev.type) {
    case CreateNotify:
      if (ev.xcreatewindow.parent != root_) return false;
      changed = ev.xcreatewindow.window;
      if (stackKnown_ && StackIndex(changed) < 0) stack_.push_back(EntryOf(dpy_, changed));
      break;
    case DestroyNotify:
      if (ev.xdestroywindow.event != root_) return false;
      if (const int i = StackIndex(ev.xdestroywindow.window); i >= 0) stack_.erase(stack_.begin() + i);
      return true;
    case MapNotify:
    case UnmapNotify: {
      if (ev.xany.type == MapNotify ? ev.xmap.event != root_ : ev.xunmap.event != root_) return false;
      changed = ev.type == MapNotify ? ev.xmap.window : ev.xunmap.window;
      if (const int i = StackIndex(changed); i >= 0) stack_[static_cast<std::size_t>(i)].viewable = ev.type == MapNotify;
      break;
    }
    case ConfigureNotify: {
      const XConfigureEvent& c = ev.xconfigure;
      if (c.event != root_) return false;
      changed = c.window;
      if (const int i = StackIndex(changed); i >= 0) {
        stack_[static_cast<std::size_t>(i)].rect = MakeRect(c.x, c.y, c.width + 2 * c.border_width, c.height + 2 * c.border_width);
        Restacked(changed, c.above);
      }
      break;
    }
    case ReparentNotify: {
      const XReparentEvent& r = ev.xreparent;
      if (r.event != root_) return false;
      const int i = StackIndex(r.window);
      if (r.parent == root_) {
        if (stackKnown_ && i < 0) stack_.push_back(EntryOf(dpy_, r.window));
      } else if (i >= 0) {
        stack_.erase(stack_.begin() + i);
      }
      return true;
    }
    case CirculateNotify: {
      const XCirculateEvent& c = ev.xcirculate;
      if (c.event != root_) return false;
      changed = c.window;
      if (const int i = StackIndex(changed); i >= 0) {
        const StackEntry e = stack_[static_cast<std::size_t>(i)];
        stack_.erase(stack_.begin() + i);
        if (c.place == PlaceOnTop) stack_.push_back(e);
        else stack_.insert(stack_.begin(), e);
      }
      break;
    }
    default: return false;
  }
  // The window manager raised one of ours: our order comes back, and the overlays follow.
  if (FromWindow(changed) != kNoSurface && ev.type != UnmapNotify) ReapplyOrder();
  return true;
}

void X11Display::StackAdjacent(Surface& s, const Surface& other, bool above) {
  const XId sibling = TopWindowOf(other);
  const int at = StackIndex(sibling);
  if (at < 0) return;
  if (s.role == SurfaceRole::Window && wmCheck_ && s.mapped) {
    // Managed windows are stacked by the window manager, which knows clients, not frames.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = s.window;
    e.xclient.message_type = AtomOf(kNetRestackWindow);
    e.xclient.format = 32;
    e.xclient.data.l[0] = 2;  // from a pager-like source: do as asked
    e.xclient.data.l[1] = static_cast<long>(other.window);
    e.xclient.data.l[2] = above ? Above : Below;
    XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  } else {
    XWindowChanges c{};
    c.sibling = sibling;
    c.stack_mode = above ? Above : Below;
    XConfigureWindow(dpy_, s.window, CWSibling | CWStackMode, &c);
  }
  Restacked(TopWindowOf(s), above ? sibling : at > 0 ? stack_[static_cast<std::size_t>(at - 1)].window : 0);
}

// Bottom up, each surface goes just above the one after it when it is not already above it,
// so that windows of other programs move only as far as the order needs.
void X11Display::Restack(std::span<const SurfaceId> topToBottom) {
  order_.assign(topToBottom.begin(), topToBottom.end());
  EnsureStack();
  for (std::size_t i = order_.size(); i-- > 1;) {
    Surface* upper = Find(order_[i - 1]);
    Surface* lower = Find(order_[i]);
    if (!upper || !lower) continue;
    const int u = StackIndex(TopWindowOf(*upper));
    const int l = StackIndex(TopWindowOf(*lower));
    if (u < 0 || l < 0 || u > l) continue;
    if (lower->role == SurfaceRole::Overlay || !wmCheck_ || !lower->mapped)
      StackAdjacent(*lower, *upper, false);
    else
      StackAdjacent(*upper, *lower, true);
  }
  KeepOverlaysAttached();
}

void X11Display::ReapplyOrder() {
  const std::vector<SurfaceId> order = order_;
  Restack(order);
}

// An overlay stays directly below the shown surface that comes before it in our order.
void X11Display::KeepOverlaysAttached() {
  EnsureStack();
  const Surface* previous = nullptr;
  for (SurfaceId id : order_) {
    Surface* s = Find(id);
    if (!s || !s->shown) continue;
    if (previous && s->role == SurfaceRole::Overlay && !s->topmost) {
      const int above = StackIndex(TopWindowOf(*previous));
      const int self = StackIndex(TopWindowOf(*s));
      if (above >= 0 && self >= 0 && self != above - 1) StackAdjacent(*s, *previous, false);
    }
    previous = s;
  }
}

bool X11Display::TakesPointer(const Surface& s, POINT p) const {
  if (!s.shown || s.inputTransparent || !Contains(s.rect, p)) return false;
  const POINT local{p.x - s.rect.left, p.y - s.rect.top};
  if (s.shape && !s.shape->Contains(local)) return false;
  if (!s.argb) return true;
  if (s.blend.constantAlpha == 0) return false;
  if (!s.picture || !Contains(s.picture->Bounds(), local)) return !s.blend.perPixel;
  return PixelTakesPointer(s.picture->Row(local.y)[local.x], s.blend);
}

std::vector<SurfaceId> X11Display::SurfacesAt(POINT p) const {
  EnsureStack();
  std::vector<SurfaceId> hits;
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
    if (const SurfaceId id = FromWindow(it->window)) {
      if (TakesPointer(*Find(id), p)) hits.push_back(id);
      continue;
    }
    if (it->viewable && !it->inputOnly && Contains(it->rect, p)) {
      hits.push_back(kForeign);
      break;
    }
  }
  return hits;
}

}  // namespace plat::display
