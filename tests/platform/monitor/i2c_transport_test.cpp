#include "platform/monitor/i2c_transport.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>
#include <string>
#include <vector>

#include "platform/temp_tree.h"

namespace plat {
namespace {

// An adapter that records each call as text and fails transfers with a chosen errno.
struct FakeAdapter : I2cDevice {
  std::vector<std::string>* calls;
  int transferError;
  FakeAdapter(std::vector<std::string>* c, int e) : calls(c), transferError(e) {}
  int Transfer(std::uint16_t address, bool read, std::span<std::uint8_t> bytes) override {
    calls->push_back((read ? "rdwr-read " : "rdwr-write ") + std::to_string(address) + " " + std::to_string(bytes.size()));
    return transferError;
  }
  int SelectAddress(std::uint16_t address) override {
    calls->push_back("slave " + std::to_string(address));
    return 0;
  }
  int Write(std::span<const std::uint8_t> bytes) override {
    calls->push_back("write " + std::to_string(bytes.size()));
    return 0;
  }
  int Read(std::span<std::uint8_t> bytes) override {
    calls->push_back("read " + std::to_string(bytes.size()));
    return 0;
  }
};

std::vector<std::string> Exchange(int transferError, bool* ok) {
  std::vector<std::string> calls;
  auto transport = MakeI2cDdcTransport(std::make_unique<FakeAdapter>(&calls, transferError));
  const std::uint8_t request[5] = {};
  std::uint8_t reply[11];
  *ok = transport->Write(request) && transport->Read(reply) && transport->Write(request);
  return calls;
}

TEST(I2cTransport, CombinedTransfersToTheDisplayAddress) {
  bool ok;
  EXPECT_EQ(Exchange(0, &ok), (std::vector<std::string>{"rdwr-write 55 5", "rdwr-read 55 11", "rdwr-write 55 5"}));
  EXPECT_TRUE(ok);
}

TEST(I2cTransport, AdapterWithoutCombinedTransfersFallsBackForGood) {
  for (int error : {ENOTTY, EINVAL, EOPNOTSUPP}) {
    bool ok;
    EXPECT_EQ(Exchange(error, &ok), (std::vector<std::string>{"rdwr-write 55 5", "slave 55", "write 5", "read 11", "write 5"}))
        << error;
    EXPECT_TRUE(ok);
  }
}

TEST(I2cTransport, SilentDisplayIsNotRetriedAnotherWay) {
  bool ok;
  EXPECT_EQ(Exchange(ENXIO, &ok), (std::vector<std::string>{"rdwr-write 55 5"}));
  EXPECT_FALSE(ok);
}

TEST(I2cTransport, NodesThatCannotBeOpenedRefuse) {
  test::TempTree tree;
  EXPECT_EQ(OpenI2cDdcTransport((tree.root() / "i2c-9").string()), nullptr);               // missing
  EXPECT_EQ(OpenI2cDdcTransport(tree.Write("i2c-3", "not a device").string()), nullptr);  // not a character device
  EXPECT_EQ(MakeI2cDdcTransport(nullptr), nullptr);
}

// Another program's transaction on the bus (a desktop extension polling the monitor) must not
// interleave with ours: the bus is locked while open, and a lock held by another is waited for
// briefly. /dev/null stands in for the node: a character device anyone may open.
TEST(I2cTransport, BusIsLockedAndALockedBusIsWaitedForBriefly) {
  using namespace std::chrono_literals;
  const int other = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  std::string why;
  EXPECT_EQ(OpenI2cDevice("/dev/null", &why, 30ms), nullptr);
  EXPECT_NE(why.find("/dev/null is in use by another program"), std::string::npos) << why;

  std::thread release([other] {
    std::this_thread::sleep_for(20ms);
    ::flock(other, LOCK_UN);
  });
  auto device = OpenI2cDevice("/dev/null", &why, 5000ms);
  release.join();
  ASSERT_NE(device, nullptr) << why;
  EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);  // ours now
  device.reset();
  EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  ::close(other);
}

// Who may open the node is part of the answer. Run as nobody, since root opens anything.
TEST(I2cTransport, PermissionDeniedSaysWhoMayOpen) {
  test::TempTree tree;
  const auto node = tree.Write("i2c-4", "");
  std::filesystem::permissions(tree.root(), std::filesystem::perms(0755));
  std::filesystem::permissions(node, std::filesystem::perms(0600));
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
          std::_Exit(3);
        std::string why;
        if (OpenI2cDevice(node.string(), &why) != nullptr) std::_Exit(4);
        if (why.rfind("permission denied on " + node.string() + " (group ", 0) != 0) std::_Exit(5);
        if (why.find("udev rule") == std::string::npos) std::_Exit(6);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace plat
