#include "tests/platform/display/x11/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace plat::test {

namespace {

using Clock = std::chrono::steady_clock;

template <typename Ready>
bool WaitUntil(Ready ready, std::chrono::milliseconds limit = std::chrono::milliseconds(8000)) {
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ready();
}

int Quiet(::Display*, XErrorEvent*) { return 0; }

pid_t Launch(const std::vector<std::string>& argv, const std::string& display, int keepFd) {
  const pid_t pid = fork();
  if (pid != 0) return pid < 0 ? 0 : pid;
  if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
  const int null = open("/dev/null", O_RDWR);
  dup2(null, 0);
  dup2(null, 1);
  dup2(null, 2);
  for (int fd = 3; fd < 256; ++fd)
    if (fd != keepFd) close(fd);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

// A client window with this WM_CLASS among root's children and grandchildren (frames).
Window FindByClass(::Display* dpy, Window parent, const char* cls, int depth) {
  Window rootOut = 0, parentOut = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(dpy, parent, &rootOut, &parentOut, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XClassHint hint{};
    if (XGetClassHint(dpy, children[i], &hint)) {
      if (hint.res_class && std::strcmp(hint.res_class, cls) == 0) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable) found = children[i];
      }
      XFree(hint.res_name);
      XFree(hint.res_class);
    }
    if (!found && depth > 0) found = FindByClass(dpy, children[i], cls, depth - 1);
  }
  if (children) XFree(children);
  return found;
}

// The same among the clients a window manager lists, once it manages them.
Window FindManaged(::Display* dpy, const char* cls) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  Window found = 0;
  XGetWindowProperty(dpy, DefaultRootWindow(dpy), XInternAtom(dpy, "_NET_CLIENT_LIST", False), 0, 1024, False,
                     XA_WINDOW, &type, &format, &count, &after, &data);
  for (unsigned long i = 0; data && format == 32 && i < count && !found; ++i) {
    const Window w = reinterpret_cast<const long*>(data)[i];
    XClassHint hint{};
    XWindowAttributes a{};
    if (XGetClassHint(dpy, w, &hint)) {
      if (hint.res_class && std::strcmp(hint.res_class, cls) == 0 && XGetWindowAttributes(dpy, w, &a) &&
          a.map_state == IsViewable)
        found = w;
      XFree(hint.res_name);
      XFree(hint.res_class);
    }
  }
  if (data) XFree(data);
  return found;
}

}  // namespace

XSession::XSession() {
  int fds[2];
  if (pipe(fds) != 0) {
    why_ = "no pipe for Xvfb's display number";
    return;
  }
  server_ = Launch({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                    "-br", "-noreset"},
                   "", fds[1]);
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  const auto end = Clock::now() + std::chrono::seconds(15);
  while (server_ && Clock::now() < end && number.find('\n') == std::string::npos) {
    if (poll(&p, 1, 100) <= 0) continue;
    char buf[16];
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n <= 0) break;
    number.append(buf, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    why_ = server_ ? "Xvfb did not start (is the xvfb package installed?)" : "cannot run Xvfb";
    Stop(server_);
    server_ = 0;
    return;
  }
  number.pop_back();
  dpy_ = XOpenDisplay((":" + number).c_str());
  if (!dpy_) {
    why_ = "Xvfb started but cannot be reached";
    Stop(server_);
    server_ = 0;
    return;
  }
  XSetErrorHandler(&Quiet);
  display_ = ":" + number;
}

XSession::~XSession() {
  for (auto it = started_.rbegin(); it != started_.rend(); ++it) Stop(*it);
  if (dpy_) XCloseDisplay(dpy_);
  if (server_) Stop(server_);
}

pid_t XSession::Spawn(const std::vector<std::string>& argv) {
  const pid_t pid = Launch(argv, display_, -1);
  if (pid) started_.push_back(pid);
  return pid;
}

void XSession::Stop(pid_t pid) {
  if (pid <= 0) return;
  std::erase(started_, pid);
  kill(pid, SIGTERM);
  int status = 0;
  if (!WaitUntil([&] { return waitpid(pid, &status, WNOHANG) != 0; }, std::chrono::milliseconds(3000))) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
}

bool XSession::WaitForSelection(const std::string& selection, bool owned) {
  const Atom atom = XInternAtom(dpy_, selection.c_str(), False);
  return WaitUntil([&] { return (XGetSelectionOwner(dpy_, atom) != 0) == owned; });
}

bool XSession::StartWindowManager() {
  if (!Spawn({"openbox"})) return false;
  const Atom check = XInternAtom(dpy_, "_NET_SUPPORTING_WM_CHECK", False);
  return WaitUntil([&] {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(dpy_, DefaultRootWindow(dpy_), check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data);
    if (data) XFree(data);
    return count == 1;
  });
}

bool XSession::StartCompositor() {
  compositor_ = Spawn({"xcompmgr"});
  return compositor_ && WaitForSelection("_NET_WM_CM_S0", true);
}

void XSession::StopCompositor() {
  Stop(compositor_);
  compositor_ = 0;
  WaitForSelection("_NET_WM_CM_S0", false);
}

bool XSession::StartOtherProgram(const std::string& text, RECT* where) {
  Window found = 0;
  auto find = [&] {
    found = FindManaged(dpy_, "Xmessage");
    if (!found) found = FindByClass(dpy_, DefaultRootWindow(dpy_), "Xmessage", 4);
    return found != 0;
  };
  // Now and then an xmessage started next to a fresh window manager never shows; another does.
  for (int attempt = 0; attempt < 3 && !found; ++attempt) {
    const pid_t pid = Spawn({"xmessage", "-geometry", "+700+120", text});
    if (!pid) return false;
    if (!WaitUntil(find, std::chrono::milliseconds(4000))) Stop(pid);
  }
  if (!found) return false;
  XWindowAttributes a{};
  XGetWindowAttributes(dpy_, found, &a);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(dpy_, found, DefaultRootWindow(dpy_), 0, 0, &x, &y, &child);
  if (where) *where = MakeRect(x, y, a.width, a.height);
  return true;
}

void XSession::Click(POINT screen) {
  XTestFakeMotionEvent(dpy_, -1, screen.x, screen.y, 0);
  XTestFakeButtonEvent(dpy_, 1, True, 0);
  XTestFakeButtonEvent(dpy_, 1, False, 0);
  XSync(dpy_, False);
}

void XSession::Key(unsigned long keysym, bool shift) {
  const KeyCode shiftCode = XKeysymToKeycode(dpy_, XK_Shift_L);
  const KeyCode code = XKeysymToKeycode(dpy_, keysym);
  if (shift) XTestFakeKeyEvent(dpy_, shiftCode, True, 0);
  XTestFakeKeyEvent(dpy_, code, True, 0);
  XTestFakeKeyEvent(dpy_, code, False, 0);
  if (shift) XTestFakeKeyEvent(dpy_, shiftCode, False, 0);
  XSync(dpy_, False);
}

void XSession::SetRootString(const std::string& property, const std::string& value) {
  XChangeProperty(dpy_, DefaultRootWindow(dpy_), XInternAtom(dpy_, property.c_str(), False), XA_STRING, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(value.data()), static_cast<int>(value.size()));
  XSync(dpy_, False);
}

void XSession::SetRootCardinals(const std::string& property, const std::vector<long>& values) {
  XChangeProperty(dpy_, DefaultRootWindow(dpy_), XInternAtom(dpy_, property.c_str(), False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(values.data()), static_cast<int>(values.size()));
  XSync(dpy_, False);
}

void XSession::SendDelete(unsigned long window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy_, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy_, window, False, NoEventMask, &e);
  XSync(dpy_, False);
}

std::string XSession::Property(unsigned long window, const std::string& property) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string out;
  if (XGetWindowProperty(dpy_, window, XInternAtom(dpy_, property.c_str(), False), 0, 4096, False, AnyPropertyType,
                         &type, &format, &count, &after, &data) == Success && data) {
    const std::size_t unit = format == 8 ? 1 : format == 16 ? sizeof(short) : sizeof(long);
    out.assign(reinterpret_cast<const char*>(data), count * unit);
  }
  if (data) XFree(data);
  return out;
}

bool XSession::OverrideRedirect(unsigned long window) {
  XWindowAttributes a{};
  return XGetWindowAttributes(dpy_, window, &a) && a.override_redirect;
}

}  // namespace plat::test
