#include "platform/wmi/backlight.h"

#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

#include "backlight_tree.h"
#include "platform/base/error.h"
#include "platform/wmi/logind.h"

namespace plat {
namespace {

using Backlights = test::BacklightTree;

TEST(BacklightLevels, PercentagesAndRawValuesRoundToNearest) {
  const struct {
    std::uint32_t brightness, maximum;
    int percent;
  } reads[] = {{115, 480, 24}, {240, 480, 50}, {0, 480, 0}, {480, 480, 100}, {1, 3, 33}, {2, 3, 67}, {1, 200, 1},
               {2147483647, 2147483647, 100}};
  for (const auto& r : reads)
    EXPECT_EQ(BrightnessPercent({"d", BacklightType::Raw, r.brightness, r.maximum, std::nullopt}), r.percent)
        << r.brightness << "/" << r.maximum;

  const struct {
    int percent;
    std::uint32_t maximum, raw;
  } writes[] = {{50, 480, 240}, {25, 255, 64}, {100, 480, 480}, {75, 937, 703}, {100, 2147483647, 2147483647},
                // Raw panels go black at 0: devices with fine steps keep their lowest light.
                {0, 7, 0}, {1, 7, 0}, {0, 98, 0}, {0, 99, 1}, {0, 100, 1}, {0, 4882, 1}, {1, 4882, 49}};
  for (const auto& w : writes) EXPECT_EQ(RawBrightness(w.percent, w.maximum), w.raw) << w.percent << " of " << w.maximum;
}

TEST_F(Backlights, ReadsTheBrightnessFileAsAPercentage) {
  Device("intel_backlight", "115\n", "480\n");
  tree.Write("backlight/intel_backlight/actual_brightness", "112\n");  // not what a read shows
  const auto devices = ListBacklights(CurrentBacklightSettings());
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].brightness, 115u);
  EXPECT_EQ(BrightnessPercent(devices[0]), 24);
}

TEST_F(Backlights, MalformedDevicesAreLeftOutWithAReason) {
  const struct {
    const char* file;
    std::string content;
    const char* reason;
  } cases[] = {
      {"brightness", "", "brightness is empty"},
      {"brightness", "\n", "brightness is empty"},
      {"brightness", "abc\n", "brightness is not a number: abc"},
      {"brightness", "-5\n", "brightness is negative: -5"},
      {"brightness", "115 lux\n", "not a number"},
      {"brightness", " 115\n", "not a number"},
      {"brightness", "115\n\n", "not a number"},
      {"brightness", "0x73\n", "not a number"},
      {"brightness", "2147483648\n", "brightness is too large"},
      {"brightness", std::string(40, '9'), "brightness is too large"},
      {"brightness", std::string(100, '1'), "larger than 64 bytes"},
      {"max_brightness", "0\n", "max_brightness is 0"},
      {"max_brightness", "-480\n", "max_brightness is negative"},
      {"max_brightness", std::string("48\0" "0\n", 5), "not a number"},
      {"type", "gpu\n", "unknown type: gpu"},
      {"type", "", "unknown type"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    Device("good", "1\n", "2\n");
    Device("bad", "115\n", "480\n");
    tree.Write(std::string("backlight/bad/") + c.file, c.content);
    std::vector<std::string> problems;
    const auto devices = ListBacklights(CurrentBacklightSettings(), &problems);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].name, "good");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("backlight bad: "), std::string::npos) << problems[0];
    EXPECT_NE(problems[0].find(c.reason), std::string::npos) << problems[0];
  }
}

TEST_F(Backlights, BrightnessAboveTheMaximumCountsAsTheMaximum) {
  Device("intel_backlight", "500\n", "480\n");
  const auto devices = ListBacklights(CurrentBacklightSettings());
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].brightness, 480u);
  EXPECT_EQ(BrightnessPercent(devices[0]), 100);
}

// One device serves the panel: firmware, then platform, then a raw one whose connector is on,
// then any raw one.
TEST_F(Backlights, OneDeviceIsChosenForThePanel) {
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> devices;  // name, type or "raw:enabled"/"raw:disabled"
    const char* chosen;
  } cases[] = {
      {"laptop", {{"intel_backlight", "raw"}, {"acpi_video0", "firmware"}}, "acpi_video0"},
      {"platform over raw", {{"intel_backlight", "raw"}, {"dell_backlight", "platform"}}, "dell_backlight"},
      {"the lit panel", {{"amdgpu_bl0", "raw:disabled"}, {"intel_backlight", "raw:enabled"}}, "intel_backlight"},
      {"any raw", {{"b_raw", "raw:disabled"}, {"a_raw", "raw"}}, "a_raw"},
      {"none", {}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    for (const auto& [name, kind] : c.devices) {
      const auto colon = kind.find(':');
      Device(name, "1\n", "100\n", kind.substr(0, colon));
      if (colon != std::string::npos) tree.Write("backlight/" + name + "/device/enabled", kind.substr(colon + 1) + "\n");
    }
    const auto chosen = ChooseBacklight(ListBacklights(CurrentBacklightSettings()));
    if (!c.chosen) {
      EXPECT_FALSE(chosen);
    } else {
      ASSERT_TRUE(chosen);
      EXPECT_EQ(chosen->name, c.chosen);
    }
  }
}

TEST_F(Backlights, MissingFifoAndUnreadableFilesNeitherHangNorCrash) {
  Device("gone", "1\n", "2\n");
  std::filesystem::remove(root / "gone" / "max_brightness");
  Device("fifo", "1\n", "2\n");
  std::filesystem::remove(root / "fifo" / "brightness");
  ASSERT_EQ(::mkfifo((root / "fifo" / "brightness").c_str(), 0644), 0);
  Device("locked", "1\n", "2\n");
  tree.Write("backlight/stray-file", "");
  BacklightSettings settings = CurrentBacklightSettings();
  settings.unreadable = [](const std::string& device) { return device == "locked"; };
  std::vector<std::string> problems;
  EXPECT_TRUE(ListBacklights(settings, &problems).empty());
  std::string all;
  for (const auto& p : problems) all += p + "\n";
  EXPECT_NE(all.find("gone: "), std::string::npos) << all;
  EXPECT_NE(all.find("fifo: "), std::string::npos) << all;
  EXPECT_NE(all.find("not a regular file"), std::string::npos) << all;
  EXPECT_NE(all.find("locked: type: cannot be read"), std::string::npos) << all;
}

TEST_F(Backlights, FirmwareBeforePlatformBeforeRawThenByName) {
  Device("b_raw", "1", "2", "raw");
  Device("a_raw", "1", "2", "raw");
  Device("z_firmware", "1", "2", "firmware");
  Device("m_platform", "1", "2", "platform");
  std::vector<std::string> names;
  for (const auto& d : ListBacklights(CurrentBacklightSettings())) names.push_back(d.name);
  EXPECT_EQ(names, (std::vector<std::string>{"z_firmware", "m_platform", "a_raw", "b_raw"}));
}

TEST_F(Backlights, WritesTheRawValue) {
  Device("intel_backlight", "115\n", "480\n");
  WriteBacklight(CurrentBacklightSettings(), "intel_backlight", 50);
  EXPECT_EQ(Raw("intel_backlight"), "240\n");
  EXPECT_EQ(writes, (decltype(writes){{"intel_backlight", 240}}));
  EXPECT_THROW(WriteBacklight(CurrentBacklightSettings(), "intel_backlight", 101), Error);
  EXPECT_THROW(WriteBacklight(CurrentBacklightSettings(), "../backlight/intel_backlight", 10), Error);
  EXPECT_THROW(WriteBacklight(CurrentBacklightSettings(), "missing", 10), Error);
  EXPECT_EQ(writes.size(), 1u);
}

// A file we may not write goes through the privileged writer. Run in a child process that, when
// it is root (as in CI), becomes nobody first (groups too), since root writes read-only files anyway.
TEST_F(Backlights, UnwritableFileGoesThroughThePrivilegedWriter) {
  Device("intel_backlight", "115\n", "480\n");
  namespace fs = std::filesystem;
  fs::permissions(tree.root(), fs::perms(0755));
  for (const auto& entry : fs::recursive_directory_iterator(tree.root()))
    fs::permissions(entry.path(), entry.is_directory() ? fs::perms(0755) : fs::perms(0644));
  fs::permissions(root / "intel_backlight" / "brightness", fs::perms(0444));
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
          std::_Exit(3);
        BacklightSettings settings = CurrentBacklightSettings();
        std::uint32_t handed = 0;
        settings.privilegedWrite = [&](const std::string&, std::uint32_t raw) { handed = raw; };
        WriteBacklight(settings, "intel_backlight", 50);
        if (handed != 240) std::_Exit(4);
        settings.privilegedWrite = [](const std::string&, std::uint32_t) { throw Error("refused"); };
        try {
          WriteBacklight(settings, "intel_backlight", 50);
          std::_Exit(5);
        } catch (const Error&) {
        }
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(Logind, WithoutABusOrSessionTheCallFailsWithAReason) {
  try {
    LogindSetBrightness("backlight", "velmora-no-such-device", 1);
    FAIL() << "a device that does not exist was set";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("logind SetBrightness: ", 0), 0u) << e.what();
  }
}

// A bus that takes the connection and then says nothing, not even to the authentication: the
// whole exchange ends at the one deadline.
TEST(Logind, ABusThatNeverAnswersIsGivenUpOnAtTheDeadline) {
  test::TempTree tree;
  const std::string path = (tree.root() / "bus").string();
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::copy(path.begin(), path.end(), address.sun_path);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  std::thread mute([listener] {
    const int connection = ::accept(listener, nullptr, nullptr);
    char byte;
    while (connection >= 0 && ::read(connection, &byte, 1) > 0) {
    }
    if (connection >= 0) ::close(connection);
  });
  const auto start = std::chrono::steady_clock::now();
  try {
    LogindSetBrightness("backlight", "intel_backlight", 1, {"unix:path=" + path});
    ADD_FAILURE() << "a mute bus took the call";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("did not answer within 2000 ms"), std::string::npos) << e.what();
  }
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, kLogindDeadline - std::chrono::milliseconds(50));
  EXPECT_LT(took, kLogindDeadline + std::chrono::seconds(3));
  ::shutdown(listener, SHUT_RDWR);
  ::close(listener);
  mute.join();
}

}  // namespace
}  // namespace plat
