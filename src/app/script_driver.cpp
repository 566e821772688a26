#include "app/script_driver.h"

#include <fstream>

#include "app/window_tree.h"
#include "platform/wm/wm.h"

namespace velmora {

namespace {

using namespace plat;
using Kind = ScriptCommand::Kind;

// Small enough that every timer of the program fires on its own tick.
constexpr std::uint64_t kTimeStep = 5;

POINT Centre(const RECT& r) { return {r.left + RectWidth(r) / 2, r.top + RectHeight(r) / 2}; }

bool NeedsProgram(Kind kind) {
  return kind != Kind::Wait && kind != Kind::WaitExit && kind != Kind::Screenshot && kind != Kind::Dump;
}

}  // namespace

ScriptDriver::ScriptDriver(display::HeadlessDisplay& display, std::vector<ScriptCommand> commands, RECT otherProgram,
                           std::FILE* messages)
    : display_(display), commands_(std::move(commands)), otherProgram_(otherProgram), messages_(messages) {
  display_.SetIdleHandler([this] { return Step(); });
}

ScriptDriver::~ScriptDriver() { display_.SetIdleHandler(nullptr); }

void ScriptDriver::Fail(const ScriptCommand& c, const std::string& why) const {
  throw ScriptFailure{{"script line " + std::to_string(c.line) + ": " + why}};
}

bool ScriptDriver::Step() {
  if (done()) throw ScriptFailure{{"the script has ended and the program is still running"}};
  const ScriptCommand& c = commands_[next_];
  if (c.kind == Kind::Wait || c.kind == Kind::WaitExit) {
    if (Waiting(c)) return true;
    if (c.kind == Kind::WaitExit) Fail(c, "the program has not ended within " + std::to_string(c.ms) + " ms");
    ++next_;
    return true;
  }
  ++next_;
  Run(c);
  return true;
}

bool ScriptDriver::Waiting(const ScriptCommand& c) {
  Clock& clock = display_.GetClock();
  if (!waitStarted_) {
    waitStarted_ = true;
    waitUntil_ = clock.Now() + c.ms;
  }
  if (clock.Now() < waitUntil_) {
    clock.Sleep(std::min(kTimeStep, waitUntil_ - clock.Now()));
    return true;
  }
  waitStarted_ = false;
  return false;
}

void ScriptDriver::Run(const ScriptCommand& c) {
  switch (c.kind) {
    case Kind::Move: display_.MovePointer({c.x, c.y}); break;
    case Kind::Down:
      display_.MovePointer({c.x, c.y});
      display_.Press();
      break;
    case Kind::Up:
      display_.MovePointer({c.x, c.y});
      display_.Release();
      break;
    case Kind::Click: display_.Click({c.x, c.y}); break;
    case Kind::ClickAt: {
      const HWND w = FindVisibleWindowOfClass(c.text);
      if (!w) Fail(c, "no visible window of class \"" + c.text + "\"");
      POINT p{c.x, c.y};
      ClientToScreen(w, &p);
      display_.Click(p);
      break;
    }
    case Kind::ClickOn: {
      const HWND w = FindVisibleWindowWithText(c.text);
      if (!w) Fail(c, "no visible window with the text \"" + c.text + "\"");
      RECT r{};
      GetWindowRect(w, &r);
      display_.Click(Centre(r));
      break;
    }
    case Kind::Key:
      display_.KeyDown(c.vk, c.character);
      display_.KeyUp(c.vk);
      break;
    case Kind::ClickOther: display_.Click(Centre(otherProgram_)); break;
    case Kind::Screenshot:
      try {
        display_.SaveScreenPng(c.text);
      } catch (const std::exception& e) {
        Fail(c, e.what());
      }
      break;
    case Kind::ScreenshotWindow: {
      const HWND w = FindVisibleWindowOfClass(c.text);
      if (!w) Fail(c, "no visible window of class \"" + c.text + "\"");
      RECT r{};
      GetWindowRect(w, &r);
      try {
        display_.SaveScreenPng(c.file, &r);
      } catch (const std::exception& e) {
        Fail(c, e.what());
      }
      break;
    }
    case Kind::Dump: {
      std::ofstream out(c.text, std::ios::binary);
      out << DumpWindowTree();
      if (!out.flush()) Fail(c, "cannot write \"" + c.text + "\"");
      break;
    }
    case Kind::AnswerBox: {
      const auto text = AnswerShownMessageBox();
      if (!text) Fail(c, "no message box is showing");
      if (messages_) std::fprintf(messages_, "%s\n", text->c_str());
      break;
    }
    case Kind::Wait:
    case Kind::WaitExit: break;
  }
}

void ScriptDriver::Finish() {
  for (; next_ < commands_.size(); ++next_) {
    const ScriptCommand& c = commands_[next_];
    if (NeedsProgram(c.kind)) Fail(c, "the program ended before this line");
    if (c.kind == Kind::Wait) display_.GetClock().Sleep(c.ms);
    if (c.kind == Kind::Screenshot || c.kind == Kind::Dump) Run(c);
  }
}

}  // namespace velmora
