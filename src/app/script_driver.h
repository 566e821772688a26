#pragma once
// Runs a script against the headless display from its idle handler, so that commands are
// carried out in whatever loop the program is in (a modal window or a message box too). Time
// passes on the display's virtual clock in small steps, so that timers fire as they would.
#include <cstdio>
#include <string>
#include <vector>

#include "app/script.h"
#include "platform/base/error.h"
#include "platform/display/headless/headless_display.h"

namespace velmora {

inline constexpr int kScriptFailedStatus = 4;

// Thrown out of the program's loop when a command cannot be carried out or a wait-exit runs out.
// An interruption: the program's exception handlers let it pass.
struct ScriptFailure : plat::Interruption {};

class ScriptDriver {
 public:
  // otherProgram: the display's window of another program, for click-other.
  ScriptDriver(plat::display::HeadlessDisplay& display, std::vector<ScriptCommand> commands, plat::RECT otherProgram,
               std::FILE* messages = stderr);
  ~ScriptDriver();
  ScriptDriver(const ScriptDriver&) = delete;
  ScriptDriver& operator=(const ScriptDriver&) = delete;

  // The idle handler: carries out the next command, or lets time pass for a wait.
  bool Step();
  // After the program has ended: runs what needs no program (waits, screenshots, dumps) and
  // throws ScriptFailure for a command that would have needed it.
  void Finish();
  bool done() const { return next_ >= commands_.size(); }

 private:
  void Run(const ScriptCommand& c);
  bool Waiting(const ScriptCommand& c);
  [[noreturn]] void Fail(const ScriptCommand& c, const std::string& why) const;

  plat::display::HeadlessDisplay& display_;
  std::vector<ScriptCommand> commands_;
  plat::RECT otherProgram_;
  std::FILE* messages_;
  std::size_t next_ = 0;
  std::uint64_t waitUntil_ = 0;
  bool waitStarted_ = false;
};

}  // namespace velmora
