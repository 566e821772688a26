#include "app/script.h"

#include <cctype>
#include <charconv>
#include <optional>

#include "platform/base/ascii.h"
#include "platform/base/bounded_file.h"
#include "platform/base/error.h"
#include "platform/base/keys.h"

namespace velmora {

namespace {

using Kind = ScriptCommand::Kind;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> out;
  while (true) {
    s = Trim(s);
    if (s.empty()) return out;
    std::size_t end = 0;
    while (end < s.size() && !IsSpace(s[end])) ++end;
    out.push_back(s.substr(0, end));
    s.remove_prefix(end);
  }
}

// Built by appending: gcc 12 warns wrongly about the temporaries of "a" + b + "c".
std::string InQuotes(std::string_view word) {
  std::string out = "\"";
  out += word;
  out += '"';
  return out;
}

class LineParser {
 public:
  LineParser(int line, std::string_view text) : line_(line), text_(text), words_(Words(text)) {}

  ScriptCommand Parse() {
    const std::string_view name = words_[0];
    ScriptCommand c;
    c.line = line_;
    if (name == "wait" || name == "wait-exit") {
      Count(1);
      c.kind = name == "wait" ? Kind::Wait : Kind::WaitExit;
      c.ms = Milliseconds(words_[1]);
    } else if (auto kind = PointerKind(name)) {
      Count(2);
      c.kind = *kind;
      c.x = Coordinate(words_[1]);
      c.y = Coordinate(words_[2]);
    } else if (name == "click-at") {
      Count(3);
      c.kind = Kind::ClickAt;
      c.text = words_[1];
      c.x = Coordinate(words_[2]);
      c.y = Coordinate(words_[3]);
    } else if (name == "click-on") {
      c.kind = Kind::ClickOn;
      c.text = Rest();
    } else if (name == "key") {
      Count(1);
      c.kind = Kind::Key;
      Key(words_[1], c);
    } else if (name == "click-other" || name == "answer-box") {
      Count(0);
      c.kind = name == "click-other" ? Kind::ClickOther : Kind::AnswerBox;
    } else if (name == "screenshot-window") {
      if (words_.size() < 3) Fail("screenshot-window needs a class and a file");
      c.kind = Kind::ScreenshotWindow;
      c.text = std::string(words_[1]);
      c.file = std::string(Trim(Trim(Trim(text_).substr(words_[0].size())).substr(words_[1].size())));
    } else if (name == "screenshot" || name == "dump") {
      c.kind = name == "screenshot" ? Kind::Screenshot : Kind::Dump;
      c.text = Rest();
    } else {
      Fail("unknown command " + InQuotes(name));
    }
    return c;
  }

 private:
  [[noreturn]] void Fail(const std::string& why) const {
    throw ScriptError("script line " + std::to_string(line_) + ": " + why);
  }

  void Count(std::size_t arguments) const {
    if (words_.size() - 1 != arguments)
      Fail(std::string(words_[0]) + " takes " + std::to_string(arguments) + " argument" + (arguments == 1 ? "" : "s") +
           ", not " + std::to_string(words_.size() - 1));
  }

  // Everything after the command's name: texts and file names may hold spaces.
  std::string Rest() const {
    std::string_view rest = Trim(Trim(text_).substr(words_[0].size()));
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
    if (rest.empty()) Fail(std::string(words_[0]) + " needs an argument");
    return std::string(rest);
  }

  static std::optional<Kind> PointerKind(std::string_view name) {
    if (name == "move") return Kind::Move;
    if (name == "down") return Kind::Down;
    if (name == "up") return Kind::Up;
    if (name == "click") return Kind::Click;
    return std::nullopt;
  }

  template <typename T>
  std::optional<T> Number(std::string_view word) const {
    T value{};
    const auto [at, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || at != word.data() + word.size()) return std::nullopt;
    return value;
  }

  int Coordinate(std::string_view word) const {
    const auto v = Number<int>(word);
    if (!v || *v < -100000 || *v > 100000) Fail(InQuotes(word) + " is not a coordinate");
    return *v;
  }

  std::uint64_t Milliseconds(std::string_view word) const {
    const auto v = Number<std::uint64_t>(word);
    if (!v || *v > kMaxScriptWait) Fail(InQuotes(word) + " is not a time in milliseconds (0 to 86400000)");
    return *v;
  }

  void Key(std::string_view name, ScriptCommand& c) const {
    if (plat::EqualAsciiNoCase(name, "Enter")) {
      c.vk = plat::VK_RETURN;
      c.character = U'\r';
    } else if (plat::EqualAsciiNoCase(name, "Escape")) {
      c.vk = plat::VK_ESCAPE;
      c.character = 0x1B;
    } else if (plat::EqualAsciiNoCase(name, "Space")) {
      c.vk = plat::VK_SPACE;
      c.character = U' ';
    } else if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
      const char ch = name[0];
      c.vk = static_cast<unsigned char>(plat::AsciiUpper(ch));
      c.character = static_cast<char32_t>(ch);
    } else {
      Fail("unknown key " + InQuotes(name) + " (Enter, Escape, Space, a letter or a digit)");
    }
  }

  int line_;
  std::string_view text_;
  std::vector<std::string_view> words_;
};

}  // namespace

std::vector<ScriptCommand> ParseScript(std::string_view text) {
  std::vector<ScriptCommand> commands;
  int line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t end = text.find('\n');
    std::string_view content = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (content.find('\0') != std::string_view::npos)
      throw ScriptError("script line " + std::to_string(line) + ": holds a null character");
    if (const std::size_t hash = content.find('#'); hash != std::string_view::npos) content = content.substr(0, hash);
    if (Trim(content).empty()) continue;
    commands.push_back(LineParser(line, content).Parse());
  }
  return commands;
}

std::vector<ScriptCommand> LoadScript(const std::filesystem::path& file) {
  const std::string text = plat::ReadBoundedFile(file, kMaxScriptSize);
  try {
    return ParseScript(text);
  } catch (const ScriptError& e) {
    throw ScriptError(file.string() + ": " + e.what());
  }
}

}  // namespace velmora
