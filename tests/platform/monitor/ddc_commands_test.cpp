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
  std::chrono::milliseconds now{0};
  SleepFunction sleep = [this](std::chrono::milliseconds d) {
    waits.push_back(d);
    now += d;
  };
};

// A display waking from sleep: busy (null replies) until a moment, then at 40 of 100.
class WakingDisplay : public DdcTransport {
 public:
  WakingDisplay(const std::chrono::milliseconds& now, std::chrono::milliseconds busyUntil)
      : now_(now), busyUntil_(busyUntil) {}
  bool Write(std::span<const std::uint8_t>) override {
    ++requests;
    return true;
  }
  bool Read(std::span<std::uint8_t> bytes) override {
    const Bytes reply = now_ < busyUntil_ ? ToBytes(NullReply()) : Value(100, 40);
    std::fill(bytes.begin(), bytes.end(), 0xFF);
    std::copy_n(reply.begin(), std::min(reply.size(), bytes.size()), bytes.begin());
    return true;
  }
  int requests = 0;

 private:
  const std::chrono::milliseconds& now_;
  std::chrono::milliseconds busyUntil_;
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

// Asking again goes on for a time, not a count: a display busy for 400 ms is still read, one
// busy for 2 s is given up on within the bound.
TEST(DdcCommands, RetriesAreBoundedInTime) {
  for (const auto busy : {400ms, 2000ms}) {
    Fixture f;
    WakingDisplay display(f.now, busy);
    std::string why;
    const auto v = ReadVcp(display, kVcpBrightness, f.sleep, &why);
    EXPECT_LE(f.now, kDdcOperationBound) << busy.count();
    if (busy < kDdcOperationBound) {
      ASSERT_TRUE(v) << why;
      EXPECT_EQ(v->current, 40);
    } else {
      EXPECT_FALSE(v);
      EXPECT_GT(display.requests, 3);
      EXPECT_NE(why.find("null"), std::string::npos) << why;
    }
  }
}

TEST(DdcCommands, GarbageAndSilenceAreNoAnswer) {
  Bytes garbled = Value(100, 37);
  garbled[8] ^= 1;
  const struct {
    const char* name;
    std::deque<Bytes> replies;
    const char* why;
  } cases[] = {
      {"garbled every time", std::deque<Bytes>(20, garbled), "checksum"},
      {"no reply at all", {}, "cannot be read"},
      {"unsupported is final", {ToBytes(VcpValueReply(kVcpBrightness, false, 0, 0))}, "no brightness control"},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.log->replies = c.replies;
    std::string why;
    EXPECT_FALSE(ReadVcp(f.transport, kVcpBrightness, f.sleep, &why)) << c.name;
    EXPECT_NE(why.find(c.why), std::string::npos) << c.name << ": " << why;
    EXPECT_LE(f.now, kDdcOperationBound) << c.name;
  }
}

TEST(DdcCommands, SetWaitsForTheDisplayAndRetriesRefusedWritesWithinTheBound) {
  Fixture f;
  EXPECT_TRUE(WriteVcp(f.transport, kVcpBrightness, 75, f.sleep));
  ASSERT_EQ(f.log->writes.size(), 1u);
  EXPECT_EQ(f.log->writes[0], ToBytes(SetVcpRequest(kVcpBrightness, 75)));
  EXPECT_EQ(f.waits, (std::vector{50ms}));

  Fixture refused;
  refused.log->writesFail = true;
  EXPECT_FALSE(WriteVcp(refused.transport, kVcpBrightness, 75, refused.sleep));
  EXPECT_GT(refused.log->writes.size(), 3u);
  EXPECT_LE(refused.now, kDdcOperationBound);
}

}  // namespace
}  // namespace plat
