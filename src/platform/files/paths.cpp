#include "platform/base/ascii.h"
#include "platform/files/paths.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace plat::files {

namespace fs = std::filesystem;

namespace {

// The existing entry of dir named like name, or name itself when there is none.
std::string MatchEntry(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  if (fs::exists(dir / name, ec)) return name;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (EqualAsciiNoCase(entry, name)) return entry;
  }
  return name;
}

}  // namespace

std::string DriveRoot(char drive) {
  std::string base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.local/share";
  }
  return base + "/velmora/" + AsciiLower(drive) + "/";
}

std::string HostPath(std::string_view path) {
  std::string p(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  std::string root;
  if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) {
    root = DriveRoot(p[0]);
    p.erase(0, 2);
    while (!p.empty() && p.front() == '/') p.erase(0, 1);
  } else if (!p.empty() && p.front() == '/') {
    root = "/";
    p.erase(0, 1);
  }
  fs::path result(root);
  std::size_t start = 0;
  while (start <= p.size()) {
    const std::size_t end = p.find('/', start);
    const std::string part = p.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!part.empty()) result /= MatchEntry(result, part);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::string out = result.string();
  if (!p.empty() && p.back() == '/' && (out.empty() || out.back() != '/')) out += '/';
  return out;
}

bool FileExists(std::string_view path) {
  std::error_code ec;
  return fs::is_regular_file(HostPath(path), ec);
}

bool DirectoryExists(std::string_view path) {
  std::error_code ec;
  return fs::is_directory(HostPath(path), ec);
}

}  // namespace plat::files
