#pragma once
// Ternary raster operations over 32-bit pixels. The code's truth table is indexed by
// pattern << 2 | source << 1 | destination, evaluated bitwise on whole pixels.
#include <cstdint>

namespace plat::gdi {

inline constexpr std::uint8_t RopCode(std::uint32_t rop) { return static_cast<std::uint8_t>(rop >> 16); }
inline constexpr bool RopUsesSource(std::uint8_t code) { return ((code >> 2) ^ code) & 0x33; }
inline constexpr bool RopUsesPattern(std::uint8_t code) { return ((code >> 4) ^ code) & 0x0F; }

inline std::uint32_t ApplyRop(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  switch (code) {
    case 0xCC: return s;
    case 0xF0: return p;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFFu;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x66: return s ^ d;
    case 0x55: return ~d;
    case 0x5A: return p ^ d;
    case 0x33: return ~s;
    default: break;
  }
  std::uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((code >> i) & 1)) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r;
}

}  // namespace plat::gdi
