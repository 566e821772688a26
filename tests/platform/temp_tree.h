#pragma once
// A scratch folder for tests that need files (sysfs trees, device nodes), removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace plat::test {

class TempTree {
 public:
  TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
  }
  ~TempTree() {
    std::error_code ec;
    // Folders made unreadable by a test would stop the removal.
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ec); !ec && it != decltype(it){}; it.increment(ec))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(root_, ec);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::filesystem::path& root() const { return root_; }

  // Writes a file, making its folders.
  std::filesystem::path Write(const std::filesystem::path& relative, const std::string& content) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  std::filesystem::path Folder(const std::filesystem::path& relative) const {
    std::filesystem::create_directories(root_ / relative);
    return root_ / relative;
  }

  void Link(const std::filesystem::path& relative, const std::filesystem::path& target) const {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::filesystem::create_symlink(target, root_ / relative);
  }

 private:
  std::filesystem::path root_;
};

}  // namespace plat::test
