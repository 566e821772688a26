#include "app/run.h"

#include <ostream>

#include "app/brightness.h"
#include "app/command_line.h"
#include "app/machine.h"
#include "app/script_driver.h"
#include "app/skin_extraction.h"
#include "app/window_tree.h"
#include "platform/base/error.h"

namespace velmora {

namespace {

using namespace plat;

// A headless run without a script has nobody to press a message box, so the run presses its
// default button itself and reports the text as the user would have read it.
class BoxAnswerer {
 public:
  BoxAnswerer(display::HeadlessDisplay& display, std::ostream& err) : display_(display) {
    display_.SetIdleHandler([&err] {
      const auto text = AnswerShownMessageBox();
      if (text) err << *text << "\n";
      return text.has_value();
    });
  }
  ~BoxAnswerer() { display_.SetIdleHandler(nullptr); }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

 private:
  display::HeadlessDisplay& display_;
};

int RunOn(Machine& machine, const CommandLine& line, const std::vector<ScriptCommand>& script, std::ostream& out,
          std::ostream& err) {
  std::optional<ScriptDriver> driver;
  std::optional<BoxAnswerer> answerer;
  if (machine.headless()) {
    if (line.script) driver.emplace(*machine.headless(), script, machine.otherProgram());
    else answerer.emplace(*machine.headless(), err);
  }
  int status = 0;
  if (line.get) {
    const int monitor = GetBrightness();
    const int wmi = monitor < 0 ? GetWmiBrightness() : -1;
    out << CaptionForLevels(monitor, wmi) << "\n";
    status = monitor < 0 && wmi < 0 ? 1 : 0;
  } else if (line.set) {
    SetBrightness(*line.set);
  } else {
    err << "velmora: the brightness window is not available in this build; use --get or --set\n";
    return 2;
  }
  if (driver) driver->Finish();
  if (line.screenshot && machine.headless()) machine.headless()->SaveScreenPng(*line.screenshot);
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
    return RunOn(machine, line, script, out, err);
  } catch (const CommandLineError& e) {
    err << "velmora: " << e.what() << "\n";
    return 2;
  } catch (const ScriptError& e) {
    err << "velmora: " << e.what() << "\n";
    return 2;
  } catch (const ScriptFailure& e) {
    err << "velmora: " << e.message << "\n";
    return kScriptFailedStatus;
  } catch (const Error& e) {
    err << "velmora: " << e.what() << "\n";
    return 2;
  }
}

}  // namespace velmora
