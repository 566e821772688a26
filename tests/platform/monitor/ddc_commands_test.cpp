#include "platform/monitor/ddc_commands.h"

#include <gtest/gtest.h>

#include "fake_ddc.h"
#include "platform/monitor/ddc_packets.h"

namespace plat {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(auto array) { return Bytes(array.begin(), array.end()); }
Bytes Value(std::uint16_t maximum, std::uint16_t current) {
  return ToBytes(VcpValueReply(kVcpBrightness, true, maximum, current));
}

struct Fixture {
  std::shared_ptr<test::FakeDdcLog> log = std::make_shared<test::FakeDdcLog>();
  test::FakeDdcTransport transport{log};
  std::vector<std::chrono::milliseconds> waits;
  SleepFunction sleep = [this](std::chrono::milliseconds d) { waits.push_back(d); };
};

TEST(DdcCommands, BusyDisplayIsAskedAgain) {
  Fixture f;
  f.log->replies = {ToBytes(NullReply()), Value(100, 37)};
  const auto v = ReadVcp(f.transport, kVcpBrightness, f.sleep);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->current, 37);
  EXPECT_EQ(v->maximum, 100);
  EXPECT_EQ(f.log->writes.size(), 2u);
  EXPECT_EQ(f.waits, (std::vector{40ms, 50ms, 40ms}));
}

TEST(DdcCommands, AttemptsAreBounded) {
  Bytes garbled = Value(100, 37);
  garbled[8] ^= 1;
  const struct {
    const char* name;
    std::deque<Bytes> replies;
    std::size_t writes;
  } cases[] = {
      {"garbled every time", {garbled, garbled, garbled, Value(100, 37)}, 3},
      {"no reply at all", {}, 3},
      {"unsupported is final", {ToBytes(VcpValueReply(kVcpBrightness, false, 0, 0))}, 1},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.log->replies = c.replies;
    EXPECT_FALSE(ReadVcp(f.transport, kVcpBrightness, f.sleep)) << c.name;
    EXPECT_EQ(f.log->writes.size(), c.writes) << c.name;
  }
}

TEST(DdcCommands, SetWaitsForTheDisplayAndRetriesRefusedWrites) {
  Fixture f;
  EXPECT_TRUE(WriteVcp(f.transport, kVcpBrightness, 75, f.sleep));
  ASSERT_EQ(f.log->writes.size(), 1u);
  EXPECT_EQ(f.log->writes[0], ToBytes(SetVcpRequest(kVcpBrightness, 75)));
  EXPECT_EQ(f.waits, (std::vector{50ms}));

  Fixture refused;
  refused.log->writesFail = true;
  EXPECT_FALSE(WriteVcp(refused.transport, kVcpBrightness, 75, refused.sleep));
  EXPECT_EQ(refused.log->writes.size(), static_cast<std::size_t>(kDdcAttempts));
}

}  // namespace
}  // namespace plat
