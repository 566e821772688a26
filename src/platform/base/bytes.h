#pragma once
// Fixed-size unsigned integers out of file and wire bytes, in either byte order. The caller has
// checked that the bytes are there.
#include <cstdint>

namespace plat {

constexpr std::uint16_t ReadLe16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
constexpr std::uint32_t ReadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
constexpr std::uint16_t ReadBe16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
constexpr std::uint32_t ReadBe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

}  // namespace plat
