#include "platform/monitor/ddc_packets.h"

#include <gtest/gtest.h>

#include <vector>

namespace plat {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(auto array) { return Bytes(array.begin(), array.end()); }

TEST(DdcPackets, RequestsCarryTheDisplayAddressInTheirChecksum) {
  EXPECT_EQ(ToBytes(GetVcpRequest(0x10)), (Bytes{0x51, 0x82, 0x01, 0x10, 0xAC}));
  EXPECT_EQ(ToBytes(SetVcpRequest(0x10, 75)), (Bytes{0x51, 0x84, 0x03, 0x10, 0x00, 0x4B, 0xE3}));
  EXPECT_EQ(ToBytes(SetVcpRequest(0x10, 0x1234)), (Bytes{0x51, 0x84, 0x03, 0x10, 0x12, 0x34, 0x8E}));
}

TEST(DdcPackets, ReplyGivesMaximumAndCurrent) {
  // A display at 37 of 100; the checksum uses 0x50, the host's virtual address.
  const Bytes reply{0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64, 0x00, 0x25, 0xE5};
  const VcpReply r = ParseVcpReply(reply, 0x10);
  ASSERT_EQ(r.kind, VcpReply::Kind::Value) << r.error;
  EXPECT_EQ(r.maximum, 100);
  EXPECT_EQ(r.current, 37);
  EXPECT_EQ(ToBytes(VcpValueReply(0x10, true, 100, 37)), reply);
}

// Some displays repeat their source address; the host reads one byte more and drops it.
TEST(DdcPackets, DoubledSourceAddressIsDropped) {
  const Bytes doubled{0x6E, 0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64, 0x00, 0x25, 0xE5};
  const VcpReply r = ParseVcpReply(doubled, 0x10);
  ASSERT_EQ(r.kind, VcpReply::Kind::Value) << r.error;
  EXPECT_EQ(r.current, 37);
  EXPECT_EQ(ParseVcpReply(Bytes{0x6E, 0x6E, 0x80, 0xBE}, 0x10).kind, VcpReply::Kind::Null);
  // Only one duplicate, and only of the address.
  EXPECT_EQ(ParseVcpReply(Bytes{0x6E, 0x6E, 0x6E, 0x80, 0xBE}, 0x10).kind, VcpReply::Kind::Bad);
}

TEST(DdcPackets, NullAndUnsupportedReplies) {
  EXPECT_EQ(ParseVcpReply(Bytes{0x6E, 0x80, 0xBE, 0xFF, 0xFF}, 0x10).kind, VcpReply::Kind::Null);
  EXPECT_EQ(ToBytes(NullReply()), (Bytes{0x6E, 0x80, 0xBE}));
  EXPECT_EQ(ParseVcpReply(VcpValueReply(0x10, false, 0, 0), 0x10).kind, VcpReply::Kind::Unsupported);
}

// Returns a copy of a good reply with one byte changed and the checksum made right again, so the
// case fails for the changed byte, not for the checksum.
Bytes GoodReplyWith(std::size_t at, std::uint8_t value) {
  Bytes b = ToBytes(VcpValueReply(0x10, true, 100, 37));
  b[at] = value;
  std::uint8_t sum = 0x50;
  for (std::size_t i = 0; i + 1 < b.size(); ++i) sum ^= b[i];
  b.back() = sum;
  return b;
}

TEST(DdcPackets, MalformedRepliesAreRejectedWithAReason) {
  Bytes badChecksum = ToBytes(VcpValueReply(0x10, true, 100, 37));
  badChecksum.back() ^= 1;
  const struct {
    const char* name;
    Bytes reply;
    const char* error;
  } cases[] = {
      {"empty", {}, "too short"},
      {"two bytes", {0x6E, 0x88}, "too short"},
      {"bad checksum", badChecksum, "checksum"},
      {"null with bad checksum", {0x6E, 0x80, 0xBF}, "checksum"},
      {"cut short", {0x6E, 0x88, 0x02, 0x00, 0x10}, "cut short"},
      {"other source", GoodReplyWith(0, 0x6F), "source 0x6F"},
      {"length without flag", GoodReplyWith(1, 0x08), "0x80 flag"},
      {"other length", GoodReplyWith(1, 0x87), "length 7"},
      {"other opcode", GoodReplyWith(2, 0x03), "opcode 0x03"},
      {"result code", GoodReplyWith(3, 0x02), "result code 0x02"},
      {"other feature", GoodReplyWith(4, 0x12), "feature 0x12"},
  };
  for (const auto& c : cases) {
    const VcpReply r = ParseVcpReply(c.reply, 0x10);
    EXPECT_EQ(r.kind, VcpReply::Kind::Bad) << c.name;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << c.name << ": " << r.error;
  }
}

TEST(DdcPackets, DisplaySideDecodesRequests) {
  const VcpRequest get = ParseVcpRequest(GetVcpRequest(0x10));
  EXPECT_EQ(get.kind, VcpRequest::Kind::Get);
  EXPECT_EQ(get.code, 0x10);
  const VcpRequest set = ParseVcpRequest(SetVcpRequest(0x10, 300));
  EXPECT_EQ(set.kind, VcpRequest::Kind::Set);
  EXPECT_EQ(set.value, 300);

  Bytes damaged = ToBytes(SetVcpRequest(0x10, 300));
  damaged[5] ^= 0x40;
  EXPECT_EQ(ParseVcpRequest(damaged).kind, VcpRequest::Kind::Bad);
  EXPECT_EQ(ParseVcpRequest(Bytes{0x51, 0x84, 0x03}).kind, VcpRequest::Kind::Bad);
}

}  // namespace
}  // namespace plat
