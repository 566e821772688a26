#pragma once
// The skin manager on a headless platform: its skin directory under a private drive root, the
// program's archive as a built-in skin, its message boxes collected.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "manager_fixture.h"
#include "platform/wm/dialogs.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora::test {

namespace fs = std::filesystem;

struct Shown {
  std::string text;
  plat::UINT type;
};

// The manager with its skin directory under a private drive root, its messages collected.
class SkinManagerTest : public ManagerTest {
 protected:
  void SetUp() override {
    ManagerTest::SetUp();
    root = fs::temp_directory_path() / ("velmora_manager_" + std::to_string(::getpid()));
    skins = root / "velmora/c/Skins";
    fs::create_directories(skins);
    setenv("XDG_DATA_HOME", root.c_str(), 1);
    SetSkinMessageHandler([this](const std::string& text, plat::UINT type) { shown.push_back({text, type}); });
    SetProgramArguments({});
    form = Form("Main");
  }
  void TearDown() override {
    SetSkinMessageHandler(nullptr);
    SetProgramArguments({});
    ManagerTest::TearDown();
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(root);
  }
  TsSkinManager* Manager() { return fw::New<TsSkinManager>(form); }
  void AddBuiltIn(TsSkinManager* m, const std::string& name) {
    auto* item = m->InternalSkins()->Add();
    item->SetName(name);
    fw::TMemoryStream bytes;
    const auto data = ReadArchive();
    bytes.WriteBuffer(data);
    bytes.SetPosition(0);
    item->ReadData(bytes);
  }
  static std::vector<std::uint8_t> ReadArchive() {
    std::ifstream in(VELMORA_SKIN_ARCHIVE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // A folder skin: the program's description with another version, no images.
  void FolderSkin(const std::string& name, const std::string& version) {
    fs::create_directories(skins / name);
    std::ifstream in(std::string(VELMORA_SOURCE_DIR) + "/resources/skin/Options.dat");
    std::string text{std::istreambuf_iterator<char>(in), {}};
    const auto at = text.find("VERSION=8");
    text.replace(at, 9, "VERSION=" + version);
    std::ofstream(skins / name / "Options.dat") << text;
  }
  fs::path root, skins;
  std::vector<Shown> shown;
  TLogForm* form = nullptr;
};

}  // namespace velmora::test
