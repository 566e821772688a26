// The X windows behind our surfaces: undecorated, placed where we say, override-redirect for
// overlays; their properties, shapes, stacking and mapping.
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/base/utf.h"
#include "platform/display/x11/x11_internal.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

namespace plat::display {

namespace {

constexpr long kEventMask = ExposureMask | StructureNotifyMask | FocusChangeMask | KeyPressMask | KeyReleaseMask |
                            ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask;

// The Motif hints that tell a window manager to draw no decorations.
struct MotifHints {
  unsigned long flags = 2;  // decorations given
  unsigned long functions = 0;
  unsigned long decorations = 0;
  long inputMode = 0;
  unsigned long status = 0;
};

bool DefaultBlend(const Blend& b) { return !b.perPixel && b.constantAlpha == 255 && !b.colorKey; }

std::vector<XRectangle> XRects(const std::vector<RECT>& rects) {
  std::vector<XRectangle> out;
  out.reserve(rects.size());
  for (const RECT& r : rects)
    out.push_back({static_cast<short>(r.left), static_cast<short>(r.top), static_cast<unsigned short>(RectWidth(r)),
                   static_cast<unsigned short>(RectHeight(r))});
  return out;
}

// The rectangles of a picture's pixels that pass a test.
template <typename Test>
std::vector<XRectangle> PixelRects(const Bitmap& p, Test test) {
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(p.Width()) * p.Height());
  for (int y = 0; y < p.Height(); ++y) {
    const Pixel* row = p.Row(y);
    std::uint8_t* m = mask.data() + static_cast<std::size_t>(y) * p.Width();
    for (int x = 0; x < p.Width(); ++x) m[x] = test(row[x]);
  }
  return XRects(MaskRects(mask, p.Width(), p.Height()));
}

std::string Latin1(const std::string& utf8) {
  std::string out;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, pos);
    out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  }
  return out;
}

}  // namespace

X11Display::Surface* X11Display::Find(SurfaceId id) const {
  auto it = surfaces_.find(id);
  return it == surfaces_.end() ? nullptr : it->second.get();
}

SurfaceId X11Display::FromWindow(XId window) const {
  auto it = byWindow_.find(window);
  return it == byWindow_.end() ? kNoSurface : it->second;
}

X11Display::XId X11Display::WindowOf(SurfaceId id) const {
  const Surface* s = Find(id);
  return s ? s->window : 0;
}

bool X11Display::IsMapped(SurfaceId id) const {
  const Surface* s = Find(id);
  return s && s->mapped;
}

X11Display::XId X11Display::TopWindowOf(const Surface& s) const { return s.frame ? s.frame : s.window; }

SurfaceId X11Display::CreateSurface(const RECT& screen) {
  const SurfaceId id = nextSurface_++;
  auto s = std::make_unique<Surface>();
  s->rect = screen;
  Surface& ref = *s;
  surfaces_[id] = std::move(s);
  MakeWindow(ref, false);
  byWindow_[ref.window] = id;
  return id;
}

// A window is made again when it must become ARGB: X fixes a window's visual at creation.
void X11Display::MakeWindow(Surface& s, bool argb) {
  ::Display* dpy = dpy_;
  XSetWindowAttributes a{};
  unsigned long mask = CWEventMask | CWOverrideRedirect | CWBitGravity | CWBackPixmap | CWCursor;
  a.event_mask = kEventMask;
  a.override_redirect = s.role == SurfaceRole::Overlay ? True : False;
  a.bit_gravity = NorthWestGravity;
  a.background_pixmap = 0;  // we draw every pixel: no background to flash first
  a.cursor = cursors_.count(cursor_) ? cursors_.at(cursor_) : 0;
  Visual* visual = static_cast<Visual*>(visual_);
  int depth = rootDepth_;
  if (argb) {
    visual = static_cast<Visual*>(argbVisual_);
    depth = 32;
    s.colormap = XCreateColormap(dpy, root_, visual, AllocNone);
    a.colormap = s.colormap;
    a.border_pixel = 0;
    a.background_pixel = 0;  // transparent until the first picture
    mask = (mask & ~static_cast<unsigned long>(CWBackPixmap)) | CWColormap | CWBorderPixel | CWBackPixel;
  }
  s.window = XCreateWindow(dpy, root_, s.rect.left, s.rect.top, static_cast<unsigned>(std::max(1, RectWidth(s.rect))),
                           static_cast<unsigned>(std::max(1, RectHeight(s.rect))), 0, depth, InputOutput, visual, mask,
                           &a);
  s.argb = argb;
  s.gc = reinterpret_cast<XId>(XCreateGC(dpy, s.window, 0, nullptr));
  SetWindowProperties(s);
  ApplyShapes(s);
}

void X11Display::SetWindowProperties(Surface& s) {
  ::Display* dpy = dpy_;
  const Window w = s.window;
  XClassHint cls{const_cast<char*>("velmora"), const_cast<char*>("velmora")};
  XSetClassHint(dpy, w, &cls);
  XWMHints hints{};
  hints.flags = InputHint | StateHint;
  hints.input = True;
  hints.initial_state = NormalState;
  XSetWMHints(dpy, w, &hints);
  XSizeHints size{};
  size.flags = USPosition | USSize | PPosition | PSize | PWinGravity;
  size.x = s.rect.left;
  size.y = s.rect.top;
  size.width = std::max(1, RectWidth(s.rect));
  size.height = std::max(1, RectHeight(s.rect));
  size.win_gravity = StaticGravity;  // the position is the window's own, not a frame's
  XSetWMNormalHints(dpy, w, &size);
  ::Atom protocols[] = {AtomOf(kWmDeleteWindow), AtomOf(kNetWmPing)};
  XSetWMProtocols(dpy, w, protocols, 2);
  const long pid = static_cast<long>(getpid());
  XChangeProperty(dpy, w, AtomOf(kNetWmPid), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) == 0)
    XChangeProperty(dpy, w, XA_WM_CLIENT_MACHINE, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(host), static_cast<int>(std::strlen(host)));
  const MotifHints motif;
  XChangeProperty(dpy, w, AtomOf(kMotifWmHints), AtomOf(kMotifWmHints), 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&motif), 5);
  const ::Atom type = AtomOf(s.role == SurfaceRole::Overlay ? kNetWmWindowTypePopupMenu : kNetWmWindowTypeNormal);
  XChangeProperty(dpy, w, AtomOf(kNetWmWindowType), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
  std::vector<::Atom> states;
  if (s.topmost) states.push_back(AtomOf(kNetWmStateAbove));
  XChangeProperty(dpy, w, AtomOf(kNetWmState), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
  XChangeProperty(dpy, w, AtomOf(kNetWmName), AtomOf(kUtf8String), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(s.title.data()), static_cast<int>(s.title.size()));
  const std::string latin = Latin1(s.title);
  XChangeProperty(dpy, w, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(latin.data()), static_cast<int>(latin.size()));
}

void X11Display::DestroySurface(SurfaceId id) {
  auto it = surfaces_.find(id);
  if (it == surfaces_.end()) return;
  Surface& s = *it->second;
  byWindow_.erase(s.window);
  if (s.frame) byWindow_.erase(s.frame);
  XFreeGC(dpy_, reinterpret_cast<GC>(s.gc));
  XDestroyWindow(dpy_, s.window);
  if (s.colormap) XFreeColormap(dpy_, s.colormap);
  surfaces_.erase(it);
  std::erase(order_, id);
  if (focused_ == id) focused_ = kNoSurface;
  if (pointerIn_ == id) pointerIn_ = kNoSurface;
  if (grab_ == id) GrabPointer(kNoSurface);
}

void X11Display::SetRect(SurfaceId id, const RECT& screen) {
  Surface* s = Find(id);
  if (!s) return;
  const bool wasEmpty = IsEmpty(s->rect);
  s->rect = screen;
  if (s->picture && (s->picture->Width() != RectWidth(screen) || s->picture->Height() != RectHeight(screen))) {
    s->picture = std::make_unique<Bitmap>(std::clamp(RectWidth(screen), 0, Bitmap::kMaxSide),
                                          std::clamp(RectHeight(screen), 0, Bitmap::kMaxSide));
    s->dirty = Region();
    AskForPicture(id, *s);
  }
  XMoveResizeWindow(dpy_, s->window, screen.left, screen.top, static_cast<unsigned>(std::max(1, RectWidth(screen))),
                    static_cast<unsigned>(std::max(1, RectHeight(screen))));
  if (s->shown && wasEmpty != IsEmpty(screen)) {
    s->shown = false;
    Show(id, true);
  }
}

void X11Display::Show(SurfaceId id, bool shown) {
  Surface* s = Find(id);
  if (!s) return;
  const bool visible = shown && !IsEmpty(s->rect);
  s->shown = shown;
  if (visible) {
    if (s->argb) Flush(*s);
    XMapWindow(dpy_, s->window);
    if (s->topmost && (s->role == SurfaceRole::Overlay || !wmCheck_)) XRaiseWindow(dpy_, s->window);
    KeepOverlaysAttached();
  } else if (s->role == SurfaceRole::Window) {
    // A managed window is withdrawn: the window manager hears of it even if it had not yet
    // reparented it.
    XWithdrawWindow(dpy_, s->window, screen_);
  } else {
    XUnmapWindow(dpy_, s->window);
  }
}

void X11Display::SetTopmost(SurfaceId id, bool topmost) {
  Surface* s = Find(id);
  if (!s || s->topmost == topmost) return;
  s->topmost = topmost;
  if (s->role == SurfaceRole::Window && wmCheck_) {
    SendWmState(*s, AtomOf(kNetWmStateAbove), topmost);
  } else if (topmost && s->shown) {
    XRaiseWindow(dpy_, s->window);
  }
}

// Mapped managed windows change state through the window manager; others by their property.
void X11Display::SendWmState(Surface& s, XId state, bool on) {
  if (!s.mapped) {
    SetWindowProperties(s);
    return;
  }
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = s.window;
  e.xclient.message_type = AtomOf(kNetWmState);
  e.xclient.format = 32;
  e.xclient.data.l[0] = on ? 1 : 0;
  e.xclient.data.l[1] = static_cast<long>(state);
  e.xclient.data.l[3] = 1;
  XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void X11Display::SetRole(SurfaceId id, SurfaceRole role) {
  Surface* s = Find(id);
  if (!s || s->role == role) return;
  s->role = role;
  // Override-redirect counts when a window is mapped, so a mapped one is mapped again.
  const bool remap = s->shown && !IsEmpty(s->rect);
  if (remap) Show(id, false);
  XSetWindowAttributes a{};
  a.override_redirect = role == SurfaceRole::Overlay ? True : False;
  XChangeWindowAttributes(dpy_, s->window, CWOverrideRedirect, &a);
  SetWindowProperties(*s);
  if (remap) Show(id, true);
}

void X11Display::SetTitle(SurfaceId id, const std::string& title) {
  Surface* s = Find(id);
  if (!s) return;
  s->title = title;
  XChangeProperty(dpy_, s->window, AtomOf(kNetWmName), AtomOf(kUtf8String), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
  const std::string latin = Latin1(title);
  XChangeProperty(dpy_, s->window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(latin.data()), static_cast<int>(latin.size()));
}

void X11Display::SetShape(SurfaceId id, const Region* shape) {
  Surface* s = Find(id);
  if (!s) return;
  s->shape = shape ? std::optional<Region>(*shape) : std::nullopt;
  ApplyShapes(*s);
}

void X11Display::SetInputTransparent(SurfaceId id, bool transparent) {
  Surface* s = Find(id);
  if (!s || s->inputTransparent == transparent) return;
  s->inputTransparent = transparent;
  ApplyShapes(*s);
}

void X11Display::SetBlend(SurfaceId id, const Blend& blend) {
  Surface* s = Find(id);
  if (!s || s->blend == blend) return;
  s->blend = blend;
  if (!s->argb && layered_ && !DefaultBlend(blend)) {
    // A new window, with the same place, properties and mapping; the old one goes.
    const XId old = s->window;
    const XId oldGc = s->gc;
    byWindow_.erase(old);
    if (s->frame) byWindow_.erase(s->frame);
    s->frame = 0;
    s->mapped = false;
    MakeWindow(*s, true);
    byWindow_[s->window] = id;
    XFreeGC(dpy_, reinterpret_cast<GC>(oldGc));
    XDestroyWindow(dpy_, old);
    if (focused_ == id) focused_ = kNoSurface;
    s->picture = std::make_unique<Bitmap>(std::clamp(RectWidth(s->rect), 0, Bitmap::kMaxSide),
                                          std::clamp(RectHeight(s->rect), 0, Bitmap::kMaxSide));
    if (s->shown) {
      s->shown = false;
      Show(id, true);
    }
    AskForPicture(id, *s);
  }
  if (s->argb) {
    s->dirty = Region(s->picture->Bounds());
    s->inputStale = true;
  }
}

// The bounding shape is the window region (cut to the picture's opaque part when layered
// windows must be shown without a compositing manager); the input shape is empty for
// click-through windows and follows the picture's alpha for per-pixel ones.
void X11Display::ApplyShapes(Surface& s) {
  ::Display* dpy = dpy_;
  const Window w = s.window;
  const bool flat = s.argb && !compositing_ && s.picture;
  if (flat) {
    auto rects = PixelRects(*s.picture, [&](Pixel px) { return PixelShownFlat(px, s.blend); });
    XShapeCombineRectangles(dpy, w, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet, Unsorted);
    if (s.shape) {
      auto shape = XRects(s.shape->Rects());
      XShapeCombineRectangles(dpy, w, ShapeBounding, 0, 0, shape.data(), static_cast<int>(shape.size()),
                              ShapeIntersect, Unsorted);
    }
  } else if (s.shape) {
    auto rects = XRects(s.shape->Rects());
    XShapeCombineRectangles(dpy, w, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet, Unsorted);
  } else {
    XShapeCombineMask(dpy, w, ShapeBounding, 0, 0, 0, ShapeSet);
  }
  const bool perPixel = s.argb && s.picture && (s.blend.perPixel || s.blend.colorKey);
  if (s.inputTransparent || (s.argb && s.blend.constantAlpha == 0)) {
    XShapeCombineRectangles(dpy, w, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
  } else if (perPixel) {
    auto rects = PixelRects(*s.picture, [&](Pixel px) { return PixelTakesPointer(px, s.blend); });
    XShapeCombineRectangles(dpy, w, ShapeInput, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet, Unsorted);
    XShapeCombineShape(dpy, w, ShapeInput, 0, 0, w, ShapeBounding, ShapeIntersect);
  } else {
    XShapeCombineMask(dpy, w, ShapeInput, 0, 0, 0, ShapeSet);
  }
  s.inputStale = false;
}

}  // namespace plat::display
