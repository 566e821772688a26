#pragma once
// Helpers for the skin tests: archives built in memory, raw entries for malformed ones, and a
// headless platform for the system colours and metrics behind some defaults.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/acSkinPack.h"

namespace velmora::test {

inline void Put32(std::vector<std::uint8_t>& out, std::int64_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

inline std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
  uLongf n = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> out(n);
  compress2(out.data(), &n, data.data(), static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION);
  out.resize(n);
  return out;
}

inline std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// One entry with whatever header values the test wants, whatever the stream says.
inline void RawEntry(std::vector<std::uint8_t>& out, const std::string& name, std::int64_t declared,
                     const std::vector<std::uint8_t>& stream) {
  Put32(out, static_cast<std::int64_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  Put32(out, declared);
  out.insert(out.end(), stream.begin(), stream.end());
}

inline std::vector<std::uint8_t> Header(std::int64_t count) {
  std::vector<std::uint8_t> out = {'A', 'S', 'z', 'f'};
  Put32(out, count);
  return out;
}

}  // namespace velmora::test
