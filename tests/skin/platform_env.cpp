#include <gtest/gtest.h>

#include "platform/display/headless/headless_display.h"
#include "platform/wm/wm.h"

namespace {

class PlatformEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>()); }
  void TearDown() override { plat::ShutdownPlatform(); }
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PlatformEnvironment);

}  // namespace
