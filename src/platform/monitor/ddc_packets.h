#pragma once
// DDC/CI messages for one VCP feature (the MCCS brightness control is 0x10): the bytes a host
// writes after the display's address, and the parsing of the display's reply.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/monitor/ddc_transport.h"

namespace plat {

inline constexpr std::uint8_t kVcpBrightness = 0x10;
// Source address, "Get VCP Feature" reply: 0x6E, length, and eight data bytes, then the checksum.
inline constexpr std::size_t kVcpReplySize = 11;
// What the host reads: one byte more, for displays that repeat their source address.
inline constexpr std::size_t kVcpReadSize = kVcpReplySize + 1;

std::array<std::uint8_t, 5> GetVcpRequest(std::uint8_t code);
std::array<std::uint8_t, 7> SetVcpRequest(std::uint8_t code, std::uint16_t value);

struct VcpReply {
  enum class Kind {
    Value,        // the display answered: type, maximum and current below are valid
    Null,         // "null message": the display is busy and wants the request again
    Unsupported,  // the display says it has no such feature; asking again will not help
    Bad,          // damaged or unexpected bytes; error says what
  };
  Kind kind = Kind::Bad;
  std::uint8_t type = 0;
  std::uint16_t maximum = 0;
  std::uint16_t current = 0;
  std::string error;
};

// A leading duplicate of the source address is dropped.
VcpReply ParseVcpReply(std::span<const std::uint8_t> bytes, std::uint8_t expectedCode);

// What the display sees: a request checked and decoded (the simulated display uses this).
struct VcpRequest {
  enum class Kind { Get, Set, Bad };
  Kind kind = Kind::Bad;
  std::uint8_t code = 0;
  std::uint16_t value = 0;
  std::string error;
};

VcpRequest ParseVcpRequest(std::span<const std::uint8_t> bytes);
std::array<std::uint8_t, kVcpReplySize> VcpValueReply(std::uint8_t code, bool supported, std::uint16_t maximum,
                                                      std::uint16_t current);
std::array<std::uint8_t, 3> NullReply();

}  // namespace plat
