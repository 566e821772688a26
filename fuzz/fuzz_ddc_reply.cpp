// Bytes from a display: as one reply, as the request a simulated display decodes, as a run of
// replies the host's retry loop reads through, and as an EDID.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/monitor/ddc_commands.h"
#include "platform/monitor/ddc_packets.h"
#include "platform/monitor/edid.h"

namespace {

class Replay : public plat::DdcTransport {
 public:
  explicit Replay(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Write(std::span<const std::uint8_t>) override { return true; }
  bool Read(std::span<std::uint8_t> out) override {
    if (bytes_.empty()) return false;
    const std::size_t n = std::min(out.size(), bytes_.size());
    std::fill(out.begin(), out.end(), 0xFF);
    std::copy_n(bytes_.begin(), n, out.begin());
    bytes_ = bytes_.subspan(n);
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const plat::VcpReply reply = plat::ParseVcpReply(bytes, plat::kVcpBrightness);
  // A rejected reply always says why; an accepted one never carries a reason.
  if ((reply.kind == plat::VcpReply::Kind::Bad) == reply.error.empty()) __builtin_trap();
  // A reply whose source address comes twice reads as the reply itself.
  if (!bytes.empty() && bytes[0] == plat::kDdcAddressByte && (size < 2 || bytes[1] != plat::kDdcAddressByte)) {
    std::vector<std::uint8_t> doubled(bytes.begin(), bytes.end());
    doubled.insert(doubled.begin(), plat::kDdcAddressByte);
    const plat::VcpReply again = plat::ParseVcpReply(doubled, plat::kVcpBrightness);
    if (again.kind != reply.kind || again.current != reply.current || again.maximum != reply.maximum) __builtin_trap();
  }
  plat::ParseVcpRequest(bytes);
  Replay transport(bytes);
  plat::ReadVcp(transport, plat::kVcpBrightness, [](std::chrono::milliseconds) {});
  plat::EdidMonitorName(bytes);
  return 0;
}
