// Start-up with a brightness window whose stored description is broken: the error is shown in
// the application's exception box and the program still ends with 0.
#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "platform/display/headless/headless_display.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/wm.h"

namespace velmora {
namespace {

TEST(StartUp, AnErrorWhileCreatingTheWindowsIsShownInTheExceptionBox) {
  auto owned = std::make_unique<plat::display::HeadlessDisplay>();
  plat::display::HeadlessDisplay* screen = owned.get();
  plat::InitPlatform(std::move(owned));
  std::vector<plat::ShownMessageBox> boxes;
  screen->SetIdleHandler([&] {
    const auto box = plat::FindShownMessageBox();
    if (!box) return false;
    boxes.push_back(*box);
    return plat::PressMessageBoxButton(box->window, plat::IDOK) != 0;
  });
  EXPECT_EQ(StartUp({}), 0);
  screen->SetIdleHandler(nullptr);
  plat::ShutdownPlatform();
  EXPECT_EQ(MainForm, nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("TMainForm"), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find("line 16"), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find("Brightness"), std::string::npos) << boxes[0].text;
  EXPECT_EQ(boxes[0].type & plat::MB_ICONMASK, plat::MB_ICONSTOP);
}

}  // namespace
}  // namespace velmora
