#pragma once
// A DDC/CI transport that plays back prepared replies and records what was written.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/monitor/ddc_transport.h"

namespace plat::test {

struct FakeDdcLog {
  std::vector<std::vector<std::uint8_t>> writes;
  std::deque<std::vector<std::uint8_t>> replies;  // each read takes the next; none left: the read fails
  bool writesFail = false;
};

class FakeDdcTransport : public DdcTransport {
 public:
  explicit FakeDdcTransport(std::shared_ptr<FakeDdcLog> log) : log_(std::move(log)) {}
  bool Write(std::span<const std::uint8_t> bytes) override {
    log_->writes.emplace_back(bytes.begin(), bytes.end());
    return !log_->writesFail;
  }
  bool Read(std::span<std::uint8_t> bytes) override {
    if (log_->replies.empty()) return false;
    std::vector<std::uint8_t> reply = std::move(log_->replies.front());
    log_->replies.pop_front();
    reply.resize(bytes.size(), 0xFF);  // an idle bus reads as ones
    std::copy(reply.begin(), reply.end(), bytes.begin());
    return true;
  }

 private:
  std::shared_ptr<FakeDdcLog> log_;
};

}  // namespace plat::test
