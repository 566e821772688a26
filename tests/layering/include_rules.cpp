#include "include_rules.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace layering {

namespace {

// Folders from the bottom up; a file may include its own rank and below.
struct Layer {
  const char* folder;
  int rank;
};
constexpr Layer kLayers[] = {
    {"platform", 0}, {"framework", 1}, {"skin", 2}, {"paint", 3}, {"windows", 4}, {"controls", 4}, {"app", 5},
};

// Upward includes that the design asks for: the skin store recolours with paint's primitives.
struct Tie {
  const char* from;
  const char* to;
};
constexpr Tie kTies[] = {{"skin", "paint"}};

struct Include {
  int line;
  std::string target;  // as written, relative to src/
};

struct SourceFile {
  std::string path;  // relative to src/, with '/'
  std::vector<Include> includes;
  bool internal = false;  // its purpose sentence starts with "Inside"
};

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

std::optional<int> RankOf(const std::string& path) {
  const std::string top = path.substr(0, path.find('/'));
  for (const Layer& l : kLayers)
    if (top == l.folder) return l.rank;
  return std::nullopt;
}

std::string TopOf(const std::string& path) { return path.substr(0, path.find('/')); }

SourceFile Read(const fs::path& root, const fs::path& file) {
  SourceFile f;
  f.path = fs::relative(file, root).generic_string();
  std::ifstream in(file);
  static const std::regex kInclude(R"re(^\s*#\s*include\s*"([^"]+)")re");
  std::string text;
  bool sawComment = false;
  for (int n = 1; std::getline(in, text); ++n) {
    std::smatch m;
    if (std::regex_search(text, m, kInclude)) f.includes.push_back({n, m[1]});
    if (!sawComment && StartsWith(text, "//")) {
      sawComment = true;
      f.internal = StartsWith(text, "// Inside");
    }
  }
  return f;
}

std::optional<std::string> Forbidden(const SourceFile& from, const std::string& to,
                                     const std::map<std::string, SourceFile>& files) {
  const auto fromRank = RankOf(from.path);
  const auto toRank = RankOf(to);
  if (fromRank && toRank && *toRank > *fromRank) {
    const bool tie = std::any_of(std::begin(kTies), std::end(kTies),
                                 [&](const Tie& t) { return TopOf(from.path) == t.from && TopOf(to) == t.to; });
    if (!tie) return TopOf(from.path) + "/ may not include " + TopOf(to) + "/ (a layer above it)";
  }
  if (StartsWith(from.path, "platform/display/") && StartsWith(to, "platform/wm/"))
    return std::string("a display backend may not include the window manager");
  if (StartsWith(from.path, "paint/") && (StartsWith(to, "windows/") || StartsWith(to, "controls/")))
    return std::string("paint/ may not include ") + TopOf(to) + "/";
  if (StartsWith(to, "platform/gdi/") && !StartsWith(from.path, "platform/gdi/")) {
    auto it = files.find(to);
    if (it != files.end() && it->second.internal) return std::string("only gdi includes gdi's internal headers");
  }
  return std::nullopt;
}

// Depth-first search over file-level includes; a grey node reached again closes a cycle.
class CycleFinder {
 public:
  explicit CycleFinder(const std::map<std::string, SourceFile>& files) : files_(files) {}

  std::vector<Violation> Run() {
    for (const auto& [path, file] : files_)
      if (!colour_.count(path)) Visit(file);
    return found_;
  }

 private:
  void Visit(const SourceFile& file) {
    colour_[file.path] = Grey;
    stack_.push_back(file.path);
    for (const Include& inc : file.includes) {
      auto next = files_.find(inc.target);
      if (next == files_.end()) continue;
      auto seen = colour_.find(inc.target);
      if (seen == colour_.end()) {
        Visit(next->second);
      } else if (seen->second == Grey) {
        std::string loop;
        for (auto it = std::find(stack_.begin(), stack_.end(), inc.target); it != stack_.end(); ++it)
          loop += *it + " -> ";
        found_.push_back({file.path, inc.line, "include cycle: " + loop + inc.target});
      }
    }
    stack_.pop_back();
    colour_[file.path] = Black;
  }

  enum Colour { Grey, Black };
  const std::map<std::string, SourceFile>& files_;
  std::map<std::string, Colour> colour_;
  std::vector<std::string> stack_;
  std::vector<Violation> found_;
};

}  // namespace

std::vector<Violation> CheckTree(const fs::path& root) {
  std::map<std::string, SourceFile> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    SourceFile f = Read(root, entry.path());
    files.emplace(f.path, std::move(f));
  }
  std::vector<Violation> out;
  for (const auto& [path, file] : files)
    for (const Include& inc : file.includes)
      if (auto why = Forbidden(file, inc.target, files)) out.push_back({path, inc.line, *why + ": " + inc.target});
  auto cycles = CycleFinder(files).Run();
  out.insert(out.end(), cycles.begin(), cycles.end());
  return out;
}

std::string Describe(const std::vector<Violation>& violations) {
  std::ostringstream s;
  for (const Violation& v : violations) s << "src/" << v.file << ":" << v.line << ": " << v.what << "\n";
  return s.str();
}

}  // namespace layering
