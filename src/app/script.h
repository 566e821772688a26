#pragma once
// The scripted driver's commands, one a line; '#' starts a comment:
//
//   wait MS              let MS milliseconds pass
//   move X Y | down X Y | up X Y | click X Y      the pointer, in screen coordinates
//   click-at CLASS X Y   a click at client coordinates of the visible window of that class
//   click-on TEXT        a click in the middle of the visible window with that text
//   key NAME             Enter, Escape, Space, a letter or a digit
//   click-other          a click on the window of another program
//   screenshot FILE      the screen as PNG
//   screenshot-window CLASS FILE   the visible window of that class as PNG
//   dump FILE            the window tree
//   answer-box           press the default button of the message box that is showing
//   wait-exit MS         the program must have ended within MS milliseconds
//
// Bad lines throw ScriptError naming the line.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ScriptCommand {
  enum class Kind {
    Wait, Move, Down, Up, Click, ClickAt, ClickOn, Key, ClickOther, Screenshot, ScreenshotWindow, Dump, AnswerBox,
    WaitExit,
  };
  Kind kind = Kind::Wait;
  int line = 0;
  int x = 0;
  int y = 0;
  std::uint64_t ms = 0;
  std::string text;  // the class, the window text, the file
  std::string file;  // the file of screenshot-window
  unsigned vk = 0;
  char32_t character = 0;  // what the key types
};

inline constexpr std::size_t kMaxScriptSize = 1 << 20;
inline constexpr std::uint64_t kMaxScriptWait = 24ull * 60 * 60 * 1000;

std::vector<ScriptCommand> ParseScript(std::string_view text);
// Errors name the file too.
std::vector<ScriptCommand> LoadScript(const std::filesystem::path& file);

}  // namespace velmora
