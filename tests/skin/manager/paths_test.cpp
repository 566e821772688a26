#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/files/paths.h"

namespace {

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("velmora_paths_" + std::to_string(::getpid()));
    fs::create_directories(root / "velmora/c/Skins/Graphite");
    std::ofstream(root / "velmora/c/Skins/Graphite/Options.dat") << "x";
    setenv("XDG_DATA_HOME", root.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(root);
  }
  fs::path root;
};

TEST_F(PathsTest, ProgramPathsBecomeHostPaths) {
  const std::string c = (root / "velmora/c/").string();
  const struct {
    const char* path;
    std::string host;
  } cases[] = {
      {"c:\\Skins\\Graphite\\Options.dat", c + "Skins/Graphite/Options.dat"},
      {"C:\\SKINS\\graphite\\OPTIONS.DAT", c + "Skins/Graphite/Options.dat"},
      {"c:\\skins\\", c + "Skins/"},
      {"c:\\Skins\\Missing\\a.bmp", c + "Skins/Missing/a.bmp"},
      {"D:\\x", (root / "velmora/d/x").string()},
  };
  for (const auto& t : cases) EXPECT_EQ(plat::files::HostPath(t.path), t.host) << t.path;
  EXPECT_TRUE(plat::files::FileExists("c:\\skins\\GRAPHITE\\options.dat"));
  EXPECT_TRUE(plat::files::DirectoryExists("c:\\Skins"));
  EXPECT_FALSE(plat::files::FileExists("c:\\Skins"));
}

TEST_F(PathsTest, WithoutXdgDataHomeTheDataFolderIsUnderHome) {
  unsetenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  EXPECT_EQ(plat::files::DriveRoot('C'), std::string(home ? home : "") + "/.local/share/velmora/c/");
}

}  // namespace
