#include "app/run.h"

#include <ostream>
#include <set>

#include "app/brightness.h"
#include "app/command_line.h"
#include "app/device_list.h"
#include "app/machine.h"
#include "app/main_form.h"
#include "app/startup.h"
#include "app/script_driver.h"
#include "app/skin_extraction.h"
#include "app/window_tree.h"
#include "platform/base/error.h"
#include "platform/base/problems.h"
#include "platform/wm/wm.h"

namespace velmora {

namespace {

using namespace plat;

// A headless run without a script: nobody presses a message box, so the run presses its
// default button itself and reports the text as the user would have read it; once the
// brightness window is on the screen and drawn, the screenshot is saved and the window closed.
class UnattendedRun {
 public:
  UnattendedRun(display::HeadlessDisplay& display, std::optional<std::string> screenshot, std::ostream& err)
      : display_(display), screenshot_(std::move(screenshot)), err_(err) {
    display_.SetIdleHandler([this] { return Step(); });
  }
  ~UnattendedRun() { display_.SetIdleHandler(nullptr); }
  UnattendedRun(const UnattendedRun&) = delete;
  UnattendedRun& operator=(const UnattendedRun&) = delete;

  // Saves the screenshot if the window never got to it (a --get or --set run).
  void Finish() {
    if (!shot_ && screenshot_) Save();
  }

 private:
  bool Step() {
    if (const auto text = AnswerShownMessageBox()) {
      err_ << *text << "\n";
      return true;
    }
    if (closing_ || !MainForm || !MainForm->HandleAllocated() || !IsWindowVisible(MainForm->Handle())) return false;
    if (screenshot_ && !shot_) Save();
    closing_ = true;
    PostMessage(MainForm->Handle(), WM_CLOSE, 0, 0);
    return true;
  }

  // A screenshot that cannot be written ends the run: it was what the run was for.
  void Save() {
    shot_ = true;
    try {
      display_.SaveScreenPng(*screenshot_);
    } catch (const std::exception& e) {
      throw Interruption{"cannot save the screenshot: " + std::string(e.what())};
    }
    err_ << "velmora: screenshot saved to " << *screenshot_ << "\n";
  }

  display::HeadlessDisplay& display_;
  std::optional<std::string> screenshot_;
  std::ostream& err_;
  bool shot_ = false;
  bool closing_ = false;
};

// Why a monitor or backlight could not be used, once per cause, on standard error, for the
// command line; the window stays silent.
class ProblemReport {
 public:
  explicit ProblemReport(std::ostream& err) : err_(err) {
    SetProblemListener([this](const std::string& why) { Add(why); });
  }
  ~ProblemReport() { SetProblemListener(nullptr); }
  ProblemReport(const ProblemReport&) = delete;
  ProblemReport& operator=(const ProblemReport&) = delete;

  void Add(const std::string& why) const {
    if (told_.insert(why).second) err_ << "velmora: " << why << "\n";
  }

 private:
  std::ostream& err_;
  mutable std::set<std::string> told_;
};

int RunOn(Machine& machine, std::span<const std::string> arguments, const CommandLine& line,
          const std::vector<ScriptCommand>& script, std::ostream& out, std::ostream& err) {
  std::optional<ScriptDriver> driver;
  std::optional<UnattendedRun> unattended;
  if (machine.headless()) {
    if (line.script) driver.emplace(*machine.headless(), script, machine.otherProgram());
    else unattended.emplace(*machine.headless(), line.screenshot, err);
  }
  int status = 0;
  if (line.get || line.set) {
    const ProblemReport problems(err);
    if (line.get) {
      bool found = false;
      out << ReadBrightnessCaption(&found) << "\n";
      status = found ? 0 : 1;
    } else {
      bool applied = false;
      SetBrightness(*line.set, &applied);
      if (!applied) {
        problems.Add("nothing took the level " + std::to_string(*line.set));
        status = 1;
      }
    }
  } else if (line.list) {
    ListBrightnessDevices(out);
  } else {
    status = StartUp(arguments);
  }
  if (driver) driver->Finish();
  if (unattended) unattended->Finish();
  return status;
}

}  // namespace

int RunVelmora(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
  try {
    const CommandLine line = ParseCommandLine(arguments);
    if (line.help) {
      out << UsageText();
      return 0;
    }
    if (line.version) {
      out << kVersionText << "\n";
      return 0;
    }
    if (line.extractSkin) return ExtractBuiltInSkin(*line.extractSkin, out, err);
    std::vector<ScriptCommand> script;
    if (line.script) script = LoadScript(*line.script);
    // Scripts and screenshots are for the in-memory display.
    Machine machine({line.headless || line.script || line.screenshot, line.simulate, line.simulateLog});
    return RunOn(machine, arguments, line, script, out, err);
  } catch (const CommandLineError& e) {
    err << "velmora: " << e.what() << "\n";
    return 2;
  } catch (const ScriptError& e) {
    err << "velmora: " << e.what() << "\n";
    return 2;
  } catch (const ScriptFailure& e) {
    err << "velmora: " << e.message << "\n";
    return kScriptFailedStatus;
  } catch (const Interruption& e) {
    err << "velmora: " << e.message << "\n";
    return 2;
  } catch (const Error& e) {
    err << "velmora: " << e.what() << "\n";
    return 2;
  }
}

}  // namespace velmora
