#pragma once
// A monitor's DDC/CI channel: bytes to and from the display's control address on its video cable.
#include <cstdint>
#include <span>

namespace plat {

// The 7-bit i2c address every DDC/CI display answers on.
inline constexpr std::uint16_t kDdcAddress = 0x37;
// The same address as the first byte on the wire (write direction): the display's name in packets.
inline constexpr std::uint8_t kDdcAddressByte = kDdcAddress << 1;

class DdcTransport {
 public:
  virtual ~DdcTransport() = default;
  // Both return false when the bus or the display does not take part (no acknowledge, I/O error).
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
  virtual bool Read(std::span<std::uint8_t> bytes) = 0;
};

}  // namespace plat
