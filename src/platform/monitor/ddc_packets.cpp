#include "platform/monitor/ddc_packets.h"

#include <cstdio>

#include "platform/base/bytes.h"

namespace plat {

namespace {

// The checksum covers the destination address as well: the display's own (0x6E) for requests,
// the "virtual host address" 0x50 for replies.
constexpr std::uint8_t kDisplayWriteAddress = kDdcAddressByte;
constexpr std::uint8_t kHostVirtualAddress = 0x50;
constexpr std::uint8_t kHostSource = 0x51;
constexpr std::uint8_t kLengthFlag = 0x80;
constexpr std::uint8_t kGetVcpOpcode = 0x01;
constexpr std::uint8_t kGetVcpReplyOpcode = 0x02;
constexpr std::uint8_t kSetVcpOpcode = 0x03;
constexpr std::uint8_t kReplyDataLength = 8;

std::uint8_t Checksum(std::uint8_t seed, std::span<const std::uint8_t> bytes) {
  for (std::uint8_t b : bytes) seed ^= b;
  return seed;
}

std::string Hex(std::uint8_t b) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", b);
  return text;
}

VcpReply BadReply(std::string why) {
  VcpReply r;
  r.error = std::move(why);
  return r;
}

VcpRequest BadRequest(std::string why) {
  VcpRequest r;
  r.error = std::move(why);
  return r;
}

}  // namespace

std::array<std::uint8_t, 5> GetVcpRequest(std::uint8_t code) {
  std::array<std::uint8_t, 5> p{kHostSource, kLengthFlag | 2, kGetVcpOpcode, code, 0};
  p[4] = Checksum(kDisplayWriteAddress, std::span(p).first(4));
  return p;
}

std::array<std::uint8_t, 7> SetVcpRequest(std::uint8_t code, std::uint16_t value) {
  std::array<std::uint8_t, 7> p{kHostSource, kLengthFlag | 4, kSetVcpOpcode, code,
                                static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF), 0};
  p[6] = Checksum(kDisplayWriteAddress, std::span(p).first(6));
  return p;
}

VcpReply ParseVcpReply(std::span<const std::uint8_t> bytes, std::uint8_t expectedCode) {
  // Some displays send their source address twice. A length byte always has its 0x80 flag, so a
  // second 0x6E can only be that duplicate.
  if (bytes.size() >= 2 && bytes[0] == kDisplayWriteAddress && bytes[1] == kDisplayWriteAddress) bytes = bytes.subspan(1);
  if (bytes.size() < 3) return BadReply("reply too short");
  if (bytes[0] != kDisplayWriteAddress) return BadReply("reply from source " + Hex(bytes[0]) + ", not 0x6E");
  if ((bytes[1] & kLengthFlag) == 0) return BadReply("length byte " + Hex(bytes[1]) + " lacks its 0x80 flag");
  const std::size_t length = bytes[1] & ~kLengthFlag;
  if (length != 0 && length != kReplyDataLength)
    return BadReply("reply length " + std::to_string(length) + ", expected 8");
  if (bytes.size() < length + 3) return BadReply("reply cut short");
  if (Checksum(kHostVirtualAddress, bytes.first(length + 2)) != bytes[length + 2]) return BadReply("bad reply checksum");
  VcpReply r;
  if (length == 0) {
    r.kind = VcpReply::Kind::Null;
    return r;
  }
  if (bytes[2] != kGetVcpReplyOpcode) return BadReply("reply opcode " + Hex(bytes[2]) + ", expected 0x02");
  if (bytes[4] != expectedCode) return BadReply("reply for feature " + Hex(bytes[4]) + ", asked for " + Hex(expectedCode));
  if (bytes[3] == 1) {
    r.kind = VcpReply::Kind::Unsupported;
    return r;
  }
  if (bytes[3] != 0) return BadReply("reply result code " + Hex(bytes[3]));
  r.kind = VcpReply::Kind::Value;
  r.type = bytes[5];
  r.maximum = ReadBe16(&bytes[6]);
  r.current = ReadBe16(&bytes[8]);
  return r;
}

VcpRequest ParseVcpRequest(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 3) return BadRequest("request too short");
  if (bytes[0] != kHostSource) return BadRequest("request from source " + Hex(bytes[0]) + ", not 0x51");
  if ((bytes[1] & kLengthFlag) == 0) return BadRequest("length byte " + Hex(bytes[1]) + " lacks its 0x80 flag");
  const std::size_t length = bytes[1] & ~kLengthFlag;
  if (bytes.size() != length + 3) return BadRequest("request size does not match its length byte");
  if (Checksum(kDisplayWriteAddress, bytes.first(length + 2)) != bytes[length + 2])
    return BadRequest("bad request checksum");
  VcpRequest r;
  if (length == 2 && bytes[2] == kGetVcpOpcode) {
    r.kind = VcpRequest::Kind::Get;
    r.code = bytes[3];
  } else if (length == 4 && bytes[2] == kSetVcpOpcode) {
    r.kind = VcpRequest::Kind::Set;
    r.code = bytes[3];
    r.value = ReadBe16(&bytes[4]);
  } else {
    return BadRequest("unknown request opcode " + Hex(bytes[2]));
  }
  return r;
}

std::array<std::uint8_t, kVcpReplySize> VcpValueReply(std::uint8_t code, bool supported, std::uint16_t maximum,
                                                      std::uint16_t current) {
  std::array<std::uint8_t, kVcpReplySize> p{kDisplayWriteAddress,
                                            kLengthFlag | kReplyDataLength,
                                            kGetVcpReplyOpcode,
                                            static_cast<std::uint8_t>(supported ? 0 : 1),
                                            code,
                                            0,  // type: "set parameter"
                                            static_cast<std::uint8_t>(maximum >> 8),
                                            static_cast<std::uint8_t>(maximum & 0xFF),
                                            static_cast<std::uint8_t>(current >> 8),
                                            static_cast<std::uint8_t>(current & 0xFF),
                                            0};
  p[10] = Checksum(kHostVirtualAddress, std::span(p).first(10));
  return p;
}

std::array<std::uint8_t, 3> NullReply() {
  std::array<std::uint8_t, 3> p{kDisplayWriteAddress, kLengthFlag, 0};
  p[2] = Checksum(kHostVirtualAddress, std::span(p).first(2));
  return p;
}

}  // namespace plat
