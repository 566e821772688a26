// X events as display events: the pointer and the keys, the focus as activation, the window
// manager's requests, exposure; and waiting on the connection and the next deadline together.
#include <poll.h>

#include <algorithm>

#include "platform/base/keys.h"
#include "platform/display/x11/x11_internal.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>

// Xlib's name for the exposure event is our display's name for its own.
constexpr int kXExpose = Expose;
#undef Expose

namespace plat::display {

namespace {

constexpr UINT kVkPacket = 0xE7;  // a key that only types a character

struct ModifierKey {
  unsigned int mask;
  unsigned int bit;
  UINT vk;
};
constexpr ModifierKey kModifiers[] = {{ShiftMask, 1, VK_SHIFT}, {ControlMask, 2, VK_CONTROL}, {Mod1Mask, 4, VK_MENU}};

unsigned int ModifierBit(UINT vk) {
  for (const ModifierKey& m : kModifiers)
    if (m.vk == vk) return m.bit;
  return 0;
}

unsigned int FontCursor(Cursor c) {
  switch (c) {
    case Cursor::IBeam: return XC_xterm;
    case Cursor::Wait:
    case Cursor::AppStarting: return XC_watch;
    case Cursor::Cross: return XC_crosshair;
    case Cursor::UpArrow: return XC_sb_up_arrow;
    case Cursor::SizeNWSE: return XC_bottom_right_corner;
    case Cursor::SizeNESW: return XC_bottom_left_corner;
    case Cursor::SizeWE: return XC_sb_h_double_arrow;
    case Cursor::SizeNS: return XC_sb_v_double_arrow;
    case Cursor::SizeAll: return XC_fleur;
    case Cursor::No: return XC_X_cursor;
    case Cursor::Hand: return XC_hand2;
    case Cursor::Help: return XC_question_arrow;
    default: return XC_left_ptr;
  }
}

Event MakeEvent(Event::Type type, SurfaceId surface, POINT screen) {
  Event e;
  e.type = type;
  e.surface = surface;
  e.screen = screen;
  return e;
}

}  // namespace

void X11Display::Push(Event e) {
  if (!e.time) e.time = clock_.Now();
  pending_.push_back(e);
}

// The window manager above holds the picture; an exposure of the whole surface brings it back.
void X11Display::AskForPicture(SurfaceId id, const Surface& s) {
  Event e;
  e.type = Event::Type::Expose;
  e.surface = id;
  e.area = MakeRect(0, 0, RectWidth(s.rect), RectHeight(s.rect));
  Push(e);
}

bool X11Display::NextEvent(Event& event) {
  FlushAll();
  while (pending_.empty() && XPending(dpy_)) {
    XEvent e;
    XNextEvent(dpy_, &e);
    Translate(&e);
  }
  if (pending_.empty()) return false;
  event = pending_.front();
  pending_.pop_front();
  return true;
}

// One poll on the connection with the deadline as its timeout: no busy loop, no fixed tick.
void X11Display::WaitForEvents(std::optional<std::uint64_t> deadline) {
  FlushAll();
  if (!pending_.empty() || XPending(dpy_)) return;
  int timeout = -1;
  if (deadline) {
    const std::uint64_t now = clock_.Now();
    if (*deadline <= now) return;
    timeout = static_cast<int>(std::min<std::uint64_t>(*deadline - now, 1u << 30));
  }
  pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
  poll(&fd, 1, timeout);
}

void X11Display::Translate(void* xevent) {
  XEvent& ev = *static_cast<XEvent*>(xevent);
  if (ev.type == shmCompletion_) {
    const auto& done = reinterpret_cast<const XShmCompletionEvent&>(ev);
    for (auto& b : buffers_)
      if (b->segment == done.shmseg) b->busy = false;
    return;
  }
  if (fixesEvent_ >= 0 && ev.type == fixesEvent_ + XFixesSelectionNotify) {
    const bool was = compositing_;
    FollowCompositor();
    if (was != compositing_)
      for (auto& [id, s] : surfaces_)
        if (s->argb) {
          s->dirty = Region(s->picture->Bounds());
          ApplyShapes(*s);
        }
    return;
  }
  if (randrEvent_ >= 0 && ev.type == randrEvent_ + RRScreenChangeNotify) {
    XRRUpdateConfiguration(&ev);
    ReadMonitors();
    return;
  }
  if (OnRootChange(&ev)) return;
  const SurfaceId id = FromWindow(ev.xany.window);
  Surface* s = Find(id);
  switch (ev.type) {
    case MotionNotify: {
      // Only the last of a run of moves counts.
      if (XEventsQueued(dpy_, QueuedAlready)) {
        XEvent next;
        XPeekEvent(dpy_, &next);
        if (next.type == MotionNotify && next.xmotion.window == ev.xmotion.window) return;
      }
      lastTime_ = ev.xmotion.time;
      pointer_ = {ev.xmotion.x_root, ev.xmotion.y_root};
      SyncModifiers(ev.xmotion.state);
      Event e = MakeEvent(Event::Type::PointerMove, grab_ ? grab_ : id, pointer_);
      Push(e);
      return;
    }
    case EnterNotify:
    case LeaveNotify: {
      const XCrossingEvent& c = ev.xcrossing;
      if (c.detail == NotifyInferior) return;
      pointer_ = {c.x_root, c.y_root};
      if (ev.type == EnterNotify) pointerIn_ = id;
      else if (pointerIn_ == id) pointerIn_ = kNoSurface;
      Push(MakeEvent(Event::Type::PointerMove, grab_ ? grab_ : ev.type == EnterNotify ? id : kNoSurface, pointer_));
      return;
    }
    case ButtonPress:
    case ButtonRelease: {
      const XButtonEvent& b = ev.xbutton;
      lastTime_ = b.time;
      pointer_ = {b.x_root, b.y_root};
      SyncModifiers(b.state);
      Event e = MakeEvent(ev.type == ButtonPress ? Event::Type::ButtonDown : Event::Type::ButtonUp, grab_ ? grab_ : id, pointer_);
      if (b.button == Button4 || b.button == Button5) {
        if (ev.type != ButtonPress) return;
        e.type = Event::Type::Wheel;
        e.wheelDelta = b.button == Button4 ? 120 : -120;
      } else if (b.button == Button1 || b.button == Button2 || b.button == Button3) {
        e.button = b.button == Button1 ? Button::Left : b.button == Button2 ? Button::Middle : Button::Right;
      } else {
        return;
      }
      Push(e);
      return;
    }
    case KeyPress:
    case KeyRelease: OnKey(&ev); return;
    case FocusIn:
    case FocusOut: OnFocus(&ev); return;
    case kXExpose: {
      if (!s) return;
      const XExposeEvent& x = ev.xexpose;
      const RECT area = MakeRect(x.x, x.y, x.width, x.height);
      if (s->argb) {
        s->dirty = s->dirty.Union(Region(area));  // we hold the picture ourselves
        return;
      }
      Event e = MakeEvent(Event::Type::Expose, id, {});
      e.area = area;
      Push(e);
      return;
    }
    case MapNotify:
    case UnmapNotify:
    case ReparentNotify: OnOurStructure(&ev); return;
    case ClientMessage: OnClientMessage(&ev); return;
    case PropertyNotify:
      if (ev.xproperty.window != root_) return;
      if (ev.xproperty.atom == AtomOf(kNetWorkarea) || ev.xproperty.atom == AtomOf(kNetCurrentDesktop)) ReadMonitors();
      if (ev.xproperty.atom == AtomOf(kNetSupportingWmCheck)) FindWindowManager();
      if (ev.xproperty.atom == XA_RESOURCE_MANAGER) ReadDpi();
      return;
    case MappingNotify: XRefreshKeyboardMapping(&ev.xmapping); return;
    default: return;
  }
}

void X11Display::OnOurStructure(void* xevent) {
  XEvent& ev = *static_cast<XEvent*>(xevent);
  const SurfaceId id = FromWindow(ev.xany.window);
  Surface* s = Find(id);
  if (!s || ev.xany.window != s->window) return;
  if (ev.type == MapNotify) {
    s->mapped = true;
    if (s->focusOnMap) {
      s->focusOnMap = false;
      FocusSurface(*s);
    }
    ReapplyOrder();
  } else if (ev.type == UnmapNotify) {
    s->mapped = false;
  } else if (ev.type == ReparentNotify) {
    if (s->frame) byWindow_.erase(s->frame);
    s->frame = ev.xreparent.parent == root_ ? 0 : TopLevelAncestor(ev.xreparent.parent);
    if (s->frame) byWindow_[s->frame] = id;
  }
}

void X11Display::OnClientMessage(void* xevent) {
  XClientMessageEvent& m = static_cast<XEvent*>(xevent)->xclient;
  if (m.message_type != AtomOf(kWmProtocols) || m.format != 32) return;
  const auto protocol = static_cast<XId>(m.data.l[0]);
  if (protocol == AtomOf(kNetWmPing)) {
    // The window manager asks whether we still answer: the message goes back to root.
    m.window = root_;
    XSendEvent(dpy_, root_, False, SubstructureNotifyMask | SubstructureRedirectMask, reinterpret_cast<XEvent*>(&m));
  } else if (protocol == AtomOf(kWmDeleteWindow)) {
    if (const SurfaceId id = FromWindow(m.window)) Push(MakeEvent(Event::Type::CloseRequested, id, pointer_));
  }
}

// The focus is our activation. Pointer-focus details and grabs (a window manager's key
// bindings, menus) are not changes of the foreground.
void X11Display::OnFocus(void* xevent) {
  const XFocusChangeEvent& f = static_cast<XEvent*>(xevent)->xfocus;
  if (f.mode == NotifyGrab || f.mode == NotifyUngrab) return;
  if (f.detail == NotifyPointer || f.detail == NotifyPointerRoot || f.detail == NotifyInferior) return;
  const SurfaceId id = FromWindow(f.window);
  Surface* s = Find(id);
  if (!s) return;
  if (f.type == FocusIn) {
    if (focused_ == id) return;
    focused_ = id;
    Push(MakeEvent(Event::Type::Activated, id, pointer_));
    return;
  }
  if (focused_ != id) return;
  // Going to another of our windows is no deactivation: its FocusIn follows.
  Window now = 0;
  int revert = 0;
  XGetInputFocus(dpy_, &now, &revert);
  if (FromWindow(now) != kNoSurface) return;
  focused_ = kNoSurface;
  // A window we hid ourselves: the window manager above has already decided what comes next.
  if (!s->shown) return;
  Push(MakeEvent(Event::Type::Deactivated, kNoSurface, pointer_));
}

void X11Display::OnKey(void* xevent) {
  XKeyEvent& k = static_cast<XEvent*>(xevent)->xkey;
  lastTime_ = k.time;
  pointer_ = {k.x_root, k.y_root};
  SyncModifiers(k.state);
  const bool down = k.type == KeyPress;
  char text[32] = {};
  KeySym typed = 0;
  const int length = XLookupString(&k, text, sizeof text, &typed, nullptr);
  // The key's own symbol (unshifted), except on the keypad, where Num Lock decides.
  const KeySym base = XLookupKeysym(&k, 0);
  UINT vk = VirtualKeyOf(IsKeypadKey(typed) ? typed : base);
  if (!vk) vk = VirtualKeyOf(typed);
  char32_t character = 0;
  if (down) {
    // XLookupString gives Latin-1; anything else comes from the symbol.
    character = length == 1 ? static_cast<unsigned char>(text[0]) : CharacterOfKeysym(typed);
    if (!vk && character) vk = kVkPacket;
  }
  if (!vk) return;
  const unsigned keycode = k.keycode & 0xFF;
  Event e = MakeEvent(down ? Event::Type::KeyDown : Event::Type::KeyUp, FromWindow(k.window), pointer_);
  e.vk = vk;
  e.scanCode = keycode >= 8 ? keycode - 8 : 0;
  e.character = character;
  e.repeat = down && keysDown_[keycode];
  keysDown_[keycode] = down;
  if (const unsigned bit = ModifierBit(vk)) modifiers_ = down ? modifiers_ | bit : modifiers_ & ~bit;
  Push(e);
}

// A modifier released while another program had the keys (Alt after a task switch) would
// otherwise stay down for us.
void X11Display::SyncModifiers(unsigned int state) {
  for (const ModifierKey& m : kModifiers)
    if ((modifiers_ & m.bit) && !(state & m.mask)) {
      modifiers_ &= ~m.bit;
      Event e = MakeEvent(Event::Type::KeyUp, focused_, pointer_);
      e.vk = m.vk;
      Push(e);
    }
}

void X11Display::Activate(SurfaceId id) {
  Surface* s = Find(id);
  if (!s || focused_ == id) return;
  FocusSurface(*s);
}

// Through the window manager when one has announced itself; else straight to the server, which
// takes the focus only for a mapped window.
void X11Display::FocusSurface(Surface& s) {
  for (auto& [id, other] : surfaces_) other->focusOnMap = false;  // the latest request counts
  if (!s.mapped) {
    s.focusOnMap = true;
    return;
  }
  if (s.role == SurfaceRole::Window && wmCheck_) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = s.window;
    e.xclient.message_type = AtomOf(kNetActiveWindow);
    e.xclient.format = 32;
    e.xclient.data.l[0] = 1;  // from an application
    e.xclient.data.l[1] = static_cast<long>(lastTime_);
    const Surface* current = Find(focused_);
    e.xclient.data.l[2] = current ? static_cast<long>(current->window) : 0;
    XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    return;
  }
  XRaiseWindow(dpy_, s.window);
  if (s.role == SurfaceRole::Window) XSetInputFocus(dpy_, s.window, RevertToParent, CurrentTime);
  ReapplyOrder();
}

void X11Display::SetCursor(Cursor cursor) {
  if (cursor == cursor_ && cursors_.count(cursor)) return;
  cursor_ = cursor;
  auto it = cursors_.find(cursor);
  if (it == cursors_.end()) {
    XId made = 0;
    if (cursor == Cursor::Hidden) {
      // An empty one-pixel bitmap as both shape and mask.
      const char empty = 0;
      const Pixmap blank = XCreateBitmapFromData(dpy_, root_, &empty, 1, 1);
      XColor black{};
      made = XCreatePixmapCursor(dpy_, blank, blank, &black, &black, 0, 0);
      XFreePixmap(dpy_, blank);
    } else {
      made = XCreateFontCursor(dpy_, FontCursor(cursor));
    }
    it = cursors_.emplace(cursor, made).first;
  }
  for (auto& [id, s] : surfaces_) XDefineCursor(dpy_, s->window, it->second);
}

POINT X11Display::PointerPosition() const {
  // Events keep the position while the pointer is over us; elsewhere the server is asked.
  if (pointerIn_ || grab_) return pointer_;
  Window rootOut = 0, child = 0;
  int x = 0, y = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  if (XQueryPointer(dpy_, root_, &rootOut, &child, &x, &y, &wx, &wy, &mask)) pointer_ = {x, y};
  return pointer_;
}

void X11Display::WarpPointer(POINT screen) {
  XWarpPointer(dpy_, 0, root_, 0, 0, 0, 0, screen.x, screen.y);
  pointer_ = screen;
}

void X11Display::GrabPointer(SurfaceId id) {
  Surface* s = Find(id);
  if (!s) {
    if (grab_) XUngrabPointer(dpy_, CurrentTime);
    grab_ = kNoSurface;
    return;
  }
  const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
  const int result = XGrabPointer(dpy_, s->window, False, mask, GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime);
  grab_ = result == GrabSuccess ? id : kNoSurface;
}

}  // namespace plat::display
