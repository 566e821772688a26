#pragma once
// A headless platform with the program's skin active on a default manager, and dialog-style
// forms with a provider, the way the program's windows are made.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "platform/display/headless/headless_display.h"
#include "platform/wm/wm.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"
#include "windows/sSkinProvider.h"

namespace velmora::test {

namespace fs = std::filesystem;

class ProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("velmora_windows_" + std::to_string(::getpid()));
    fs::create_directories(root / "velmora/c/Skins");
    setenv("XDG_DATA_HOME", root.c_str(), 1);
    display = new plat::display::HeadlessDisplay();
    plat::InitPlatform(std::unique_ptr<plat::display::HeadlessDisplay>(display));
    app = std::make_unique<fw::TApplication>(nullptr);
    SetSkinMessageHandler([this](const std::string& text, plat::UINT) { messages.push_back(text); });
    RegisterProviderClasses();
    owner = fw::NewForm<fw::TForm>(app.get());
    owner->SetName("Owner");
  }
  void TearDown() override {
    app.reset();
    plat::ShutdownPlatform();
    SetHookProviderFactory(nullptr);
    SetSkinMessageHandler(nullptr);
    SkinnedForms().clear();
    SetTitleButtonPressed(false);
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(root);
  }
  static std::vector<std::uint8_t> ReadArchive() {
    std::ifstream in(VELMORA_SKIN_ARCHIVE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // The manager on the owner form with the program's skin as built-in item "skin"; a changed
  // description can stand in for the one of the archive.
  TsSkinManager* ActivateSkin(bool active = true) {
    manager = fw::New<TsSkinManager>(owner);
    manager->SetSkinName("Office2007 Black");  // as the brightness window stores it
    auto* item = manager->InternalSkins()->Add();
    item->SetName("skin");
    fw::TMemoryStream bytes;
    const auto data = ReadArchive();
    bytes.WriteBuffer(data);
    bytes.SetPosition(0);
    item->ReadData(bytes);
    manager->SetSkinName("skin");
    manager->SetActive(active);
    return manager;
  }
  // A shown dialog-style form of the given client size, with a placed provider.
  fw::TForm* DialogForm(const std::string& caption, int clientWidth = 368, int clientHeight = 224,
                        bool withProvider = true) {
    auto* f = fw::NewForm<fw::TForm>(app.get());
    f->SetBorderStyle(fw::bsDialog);
    f->SetBorderIcons({fw::biSystemMenu});
    f->SetCaption(caption);
    f->SetClientWidth(clientWidth);
    f->SetClientHeight(clientHeight);
    f->SetLeft(200);
    f->SetTop(150);
    if (withProvider) fw::New<TsSkinProvider>(f);
    f->Show();
    Pump();
    return f;
  }
  static plat::RECT WindowRectOf(fw::TForm* f) {
    plat::RECT r{};
    plat::GetWindowRect(f->Handle(), &r);
    return r;
  }
  static void Pump() {
    plat::MSG msg;
    for (int i = 0; i < 1000 && plat::PeekMessage(&msg, nullptr, 0, 0, plat::PM_REMOVE); ++i) {
      plat::TranslateMessage(&msg);
      plat::DispatchMessage(&msg);
    }
  }
  // The screen pixel, as 0xRRGGBB.
  std::uint32_t ScreenPixel(int x, int y) { return display->ScreenPixel(x, y) & 0xFFFFFF; }

  fs::path root;
  plat::display::HeadlessDisplay* display = nullptr;
  std::unique_ptr<fw::TApplication> app;
  fw::TForm* owner = nullptr;
  TsSkinManager* manager = nullptr;
  std::vector<std::string> messages;
};

}  // namespace velmora::test
