#pragma once
// A private X session for tests: an Xvfb on a free display (found with -displayfd), and the
// programs a test asks for on it (a window manager, a compositing manager, another program's
// window). Only what was started here is stopped here. Xlib stays inside x_session.cpp.
#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/base/geometry.h"

struct _XDisplay;

namespace plat::test {

class XSession {
 public:
  // Starts Xvfb (1280 x 800, 24 bits, black root); Ok() is false with Why() set if it cannot.
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Ok() const { return !display_.empty(); }
  const std::string& Why() const { return why_; }
  const std::string& Name() const { return display_; }  // ":N"

  // Starts a program on the session's display; 0 when it cannot be started.
  pid_t Spawn(const std::vector<std::string>& argv);
  void Stop(pid_t pid);
  // Window manager and compositing manager: started, and waited for until they are in charge.
  bool StartWindowManager();
  bool StartCompositor();
  void StopCompositor();
  // Another program's window: an xmessage with this text, waited for until it is mapped.
  // Answers its frame's rectangle on the screen.
  bool StartOtherProgram(const std::string& text, RECT* where);

  // The user, through XTest.
  void Click(POINT screen);
  void Key(unsigned long keysym, bool shift = false);
  // Sets a property on root (a string, or 32-bit cardinals).
  void SetRootString(const std::string& property, const std::string& value);
  void SetRootCardinals(const std::string& property, const std::vector<long>& values);
  // Asks the window manager, as it would, to close a window.
  void SendDelete(unsigned long window);
  // A window's property as text (8-bit data), and whether it is override-redirect.
  std::string Property(unsigned long window, const std::string& property);
  bool OverrideRedirect(unsigned long window);

 private:
  bool WaitForSelection(const std::string& selection, bool owned);

  std::string display_;
  std::string why_;
  pid_t server_ = 0;
  pid_t compositor_ = 0;
  std::vector<pid_t> started_;
  _XDisplay* dpy_ = nullptr;
};

}  // namespace plat::test
