#include "platform/monitor/i2c_transport.h"

#include <gtest/gtest.h>

#include <cerrno>
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

}  // namespace
}  // namespace plat
