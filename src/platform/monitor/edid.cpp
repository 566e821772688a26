#include "platform/monitor/edid.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace plat {

namespace {

constexpr std::size_t kBlockSize = 128;
constexpr std::array<std::uint8_t, 8> kHeader{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t kFirstDescriptor = 54;
constexpr std::size_t kDescriptorSize = 18;
constexpr std::uint8_t kProductNameTag = 0xFC;

}  // namespace

std::optional<std::string> EdidMonitorName(std::span<const std::uint8_t> edid) {
  if (edid.size() < kBlockSize) return std::nullopt;
  const auto block = edid.first(kBlockSize);
  if (!std::equal(kHeader.begin(), kHeader.end(), block.begin())) return std::nullopt;
  if (std::accumulate(block.begin(), block.end(), 0u) % 256 != 0) return std::nullopt;
  for (std::size_t at = kFirstDescriptor; at + kDescriptorSize <= kBlockSize - 1; at += kDescriptorSize) {
    const auto d = block.subspan(at, kDescriptorSize);
    if (d[0] != 0 || d[1] != 0 || d[3] != kProductNameTag) continue;
    std::string name;
    for (std::uint8_t c : d.subspan(5)) {
      if (c == '\n') break;
      name += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (!name.empty()) return name;
  }
  return std::nullopt;
}

}  // namespace plat
