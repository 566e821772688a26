// Opening the X display and what the server tells of itself: extensions, visuals, monitors and
// the work area, the desktop's window manager and compositing manager, the dots per inch.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/display/x11/x11_internal.h"

// After our own headers, so that Xlib's macros cannot reach them.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

namespace plat::display {

namespace {

// Xlib's default handler ends the process on any error. Ours lets the request fail: windows
// of other programs come and go between our requests.
int IgnoreErrors(::Display*, XErrorEvent*) { return 0; }

std::string DisplayName(const std::string& name) {
  if (!name.empty()) return name;
  const char* env = std::getenv("DISPLAY");
  return env ? env : "";
}

std::string CannotOpen(const std::string& name) {
  const std::string shown = DisplayName(name);
  if (shown.empty())
    return "no X display is set (DISPLAY is empty): run Velmora in an X session or under XWayland";
  return "cannot open the X display \"" + shown + "\": is an X server (or XWayland) running there, and may we use it?";
}

const char* const kAtomNames[] = {
    "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "_NET_WM_PING", "_NET_WM_NAME", "UTF8_STRING", "_NET_WM_PID",
    "_MOTIF_WM_HINTS", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_POPUP_MENU",
    "_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_ACTIVE_WINDOW",
    "_NET_RESTACK_WINDOW", "_NET_SUPPORTING_WM_CHECK", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP",
    "_NET_WM_WINDOW_OPACITY", "EDID",
};
static_assert(sizeof kAtomNames / sizeof kAtomNames[0] == X11Display::kCompositorSelection);

// A window property of 32-bit items (which Xlib hands over as longs).
std::vector<long> LongProperty(::Display* dpy, Window w, Atom property, Atom type) {
  Atom actual = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> out;
  if (XGetWindowProperty(dpy, w, property, 0, 1024, False, type, &actual, &format, &count, &after, &data) == Success &&
      data && format == 32) {
    const long* items = reinterpret_cast<const long*>(data);
    out.assign(items, items + count);
  }
  if (data) XFree(data);
  return out;
}

}  // namespace

std::string ProbeX11Display(const std::string& name) {
  ::Display* dpy = XOpenDisplay(name.empty() ? nullptr : name.c_str());
  if (!dpy) return CannotOpen(name);
  XCloseDisplay(dpy);
  return {};
}

std::unique_ptr<Display> OpenX11Display(std::string* error, const X11Options& options) {
  return X11Display::Open(options, error);
}

std::unique_ptr<X11Display> X11Display::Open(const X11Options& options, std::string* error) {
  ::Display* dpy = XOpenDisplay(options.name.empty() ? nullptr : options.name.c_str());
  if (!dpy) {
    if (error) *error = CannotOpen(options.name);
    return nullptr;
  }
  int shapeEvent = 0, shapeError = 0;
  if (!XShapeQueryExtension(dpy, &shapeEvent, &shapeError)) {
    XCloseDisplay(dpy);
    if (error) *error = "the X server lacks the SHAPE extension, which Velmora's windows need";
    return nullptr;
  }
  XSetErrorHandler(&IgnoreErrors);
  std::unique_ptr<X11Display> d(new X11Display(dpy));
  d->Initialise(options);
  return d;
}

X11Display::X11Display(_XDisplay* dpy) : dpy_(dpy) {}

void X11Display::Initialise(const X11Options& options) {
  ::Display* dpy = dpy_;
  screen_ = DefaultScreen(dpy);
  root_ = RootWindow(dpy, screen_);
  rootDepth_ = DefaultDepth(dpy, screen_);
  visual_ = DefaultVisual(dpy, screen_);

  std::vector<char*> names;
  for (const char* n : kAtomNames) names.push_back(const_cast<char*>(n));
  const std::string cm = "_NET_WM_CM_S" + std::to_string(screen_);
  names.push_back(const_cast<char*>(cm.c_str()));
  std::vector<Atom> atoms(names.size());
  XInternAtoms(dpy, names.data(), static_cast<int>(names.size()), False, atoms.data());
  atoms_.assign(atoms.begin(), atoms.end());

  XVisualInfo want{};
  want.screen = screen_;
  want.depth = 32;
  want.c_class = TrueColor;
  int count = 0;
  if (XVisualInfo* found = XGetVisualInfo(dpy, VisualScreenMask | VisualDepthMask | VisualClassMask, &want, &count)) {
    for (int i = 0; i < count && !argbVisual_; ++i)
      if (found[i].red_mask == 0xFF0000 && found[i].green_mask == 0xFF00 && found[i].blue_mask == 0xFF)
        argbVisual_ = found[i].visual;
    XFree(found);
  }

  if (options.sharedMemory && XShmQueryExtension(dpy)) {
    shmAvailable_ = true;
    shmCompletion_ = XShmGetEventBase(dpy) + ShmCompletion;
  }
  int fixesError = 0;
  if (XFixesQueryExtension(dpy, &fixesEvent_, &fixesError))
    XFixesSelectSelectionInput(dpy, root_, AtomOf(kCompositorSelection),
                               XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
  else
    fixesEvent_ = -1;
  int randrError = 0;
  if (XRRQueryExtension(dpy, &randrEvent_, &randrError))
    XRRSelectInput(dpy, root_, RRScreenChangeNotifyMask);
  else
    randrEvent_ = -1;
  // Root's property changes tell of the work area and the window manager; its substructure, of
  // the stacking of every top-level window.
  XSelectInput(dpy, root_, PropertyChangeMask | SubstructureNotifyMask);
  int repeatSupported = 0;
  XkbSetDetectableAutoRepeat(dpy, True, &repeatSupported);

  FollowCompositor();
  layered_ = compositing_ && argbVisual_;
  FindWindowManager();
  ReadDpi();
  ReadMonitors();
  pointer_ = PointerPosition();
}

X11Display::~X11Display() {
  for (auto& [id, s] : surfaces_) {
    if (s->window) XDestroyWindow(dpy_, s->window);
    if (s->colormap) XFreeColormap(dpy_, s->colormap);
  }
  for (auto& [shape, cursor] : cursors_) XFreeCursor(dpy_, cursor);
  ReleaseBuffers();
  XCloseDisplay(dpy_);
}

X11Display::XId X11Display::AtomOf(AtomName name) const { return atoms_[static_cast<std::size_t>(name)]; }

void X11Display::Sync() {
  XSync(dpy_, False);
  while (std::any_of(buffers_.begin(), buffers_.end(), [](const auto& b) { return b->busy; })) WaitForBuffer();
}

// ---- the compositing manager and the window manager ----

void X11Display::FollowCompositor() {
  const bool now = XGetSelectionOwner(dpy_, AtomOf(kCompositorSelection)) != 0;
  if (now == compositing_) return;
  compositing_ = now;
  if (layered_) {
    Event e;
    e.type = Event::Type::CompositionChanged;
    Push(e);
  }
}

// A window manager announces itself with a window named on root that names itself back.
void X11Display::FindWindowManager() {
  wmCheck_ = 0;
  const auto check = LongProperty(dpy_, root_, AtomOf(kNetSupportingWmCheck), XA_WINDOW);
  if (check.empty()) return;
  const auto self = LongProperty(dpy_, static_cast<Window>(check[0]), AtomOf(kNetSupportingWmCheck), XA_WINDOW);
  if (!self.empty() && self[0] == check[0]) wmCheck_ = static_cast<XId>(check[0]);
}

void X11Display::ReadDpi() {
  dpi_ = 96;
  const char* resources = XResourceManagerString(dpy_);
  if (!resources) return;
  XrmInitialize();
  XrmDatabase db = XrmGetStringDatabase(resources);
  char* type = nullptr;
  XrmValue value{};
  if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
    const double dpi = std::atof(value.addr);
    if (dpi >= 24 && dpi <= 960) dpi_ = static_cast<int>(dpi + 0.5);
  }
  XrmDestroyDatabase(db);
}

// ---- monitors ----

void X11Display::ReadWorkArea() {
  haveWorkArea_ = false;
  const auto area = LongProperty(dpy_, root_, AtomOf(kNetWorkarea), XA_CARDINAL);
  const auto desktop = LongProperty(dpy_, root_, AtomOf(kNetCurrentDesktop), XA_CARDINAL);
  const std::size_t index = desktop.empty() ? 0 : static_cast<std::size_t>(desktop[0]);
  if (area.size() < (index + 1) * 4) return;
  const long* a = &area[index * 4];
  workArea_ = MakeRect(static_cast<int>(a[0]), static_cast<int>(a[1]), static_cast<int>(a[2]), static_cast<int>(a[3]));
  haveWorkArea_ = true;
}

void X11Display::ReadMonitors() {
  ReadWorkArea();
  monitors_.clear();
  if (randrEvent_ >= 0) {
    if (XRRScreenResources* res = XRRGetScreenResourcesCurrent(dpy_, root_)) {
      const RROutput primary = XRRGetOutputPrimary(dpy_, root_);
      for (int i = 0; i < res->noutput; ++i) {
        XRROutputInfo* out = XRRGetOutputInfo(dpy_, res, res->outputs[i]);
        if (!out) continue;
        if (out->connection == RR_Connected && out->crtc) {
          if (XRRCrtcInfo* crtc = XRRGetCrtcInfo(dpy_, res, out->crtc)) {
            Monitor m;
            m.bounds = MakeRect(crtc->x, crtc->y, static_cast<int>(crtc->width), static_cast<int>(crtc->height));
            m.primary = res->outputs[i] == primary;
            m.name.assign(out->name, static_cast<std::size_t>(out->nameLen));
            m.edid = Edid(m.name);
            XRRFreeCrtcInfo(crtc);
            // The primary output comes first, as the program's monitor list expects.
            if (m.primary) monitors_.insert(monitors_.begin(), std::move(m));
            else monitors_.push_back(std::move(m));
          }
        }
        XRRFreeOutputInfo(out);
      }
      XRRFreeScreenResources(res);
    }
  }
  if (monitors_.empty()) {
    Monitor m;
    m.bounds = MakeRect(0, 0, DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_));
    m.name = "screen";
    monitors_.push_back(std::move(m));
  }
  monitors_.front().primary = true;
  for (Monitor& m : monitors_) {
    // _NET_WORKAREA spans all monitors; each gets its share of it.
    const RECT work = haveWorkArea_ ? Intersection(m.bounds, workArea_) : m.bounds;
    m.work = IsEmpty(work) ? m.bounds : work;
  }
}

std::vector<Monitor> X11Display::Monitors() const { return monitors_; }

std::vector<std::uint8_t> X11Display::Edid(const std::string& output) const {
  std::vector<std::uint8_t> edid;
  if (randrEvent_ < 0) return edid;
  XRRScreenResources* res = XRRGetScreenResourcesCurrent(dpy_, root_);
  if (!res) return edid;
  for (int i = 0; i < res->noutput && edid.empty(); ++i) {
    XRROutputInfo* out = XRRGetOutputInfo(dpy_, res, res->outputs[i]);
    if (!out) continue;
    if (std::string(out->name, static_cast<std::size_t>(out->nameLen)) == output) {
      ::Atom type = 0;
      int format = 0;
      unsigned long count = 0, after = 0;
      unsigned char* data = nullptr;
      if (XRRGetOutputProperty(dpy_, res->outputs[i], AtomOf(kEdid), 0, 256, False, False, AnyPropertyType, &type,
                               &format, &count, &after, &data) == Success &&
          data && format == 8)
        edid.assign(data, data + count);
      if (data) XFree(data);
    }
    XRRFreeOutputInfo(out);
  }
  XRRFreeScreenResources(res);
  return edid;
}

}  // namespace plat::display
