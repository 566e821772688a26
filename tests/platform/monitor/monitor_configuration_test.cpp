#include "platform/monitor/monitor_configuration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_ddc.h"
#include "platform/base/problems.h"
#include "platform/monitor/ddc_packets.h"
#include "platform/monitor/physical_monitor_provider.h"

namespace plat {
namespace {

using Bytes = std::vector<std::uint8_t>;

const HMONITOR kPrimary = reinterpret_cast<HMONITOR>(0x10001);

Bytes Reply(std::uint16_t maximum, std::uint16_t current) {
  const auto r = VcpValueReply(kVcpBrightness, true, maximum, current);
  return Bytes(r.begin(), r.end());
}

// The primary monitor's outputs: each answers through a fake channel, or refuses when it has none.
class PhysicalMonitors : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMonitorSleep([](std::chrono::milliseconds) {});
    SetPhysicalMonitorProvider([this](HMONITOR h) -> std::optional<std::vector<PhysicalMonitorSource>> {
      if (h != kPrimary || !known) return std::nullopt;
      std::vector<PhysicalMonitorSource> sources;
      for (std::size_t i = 0; i < channels.size(); ++i) {
        PhysicalMonitorSource s;
        s.description = descriptions.at(i);
        if (auto log = channels[i]) s.open = [log] { return std::make_unique<test::FakeDdcTransport>(log); };
        sources.push_back(std::move(s));
      }
      return sources;
    });
  }
  void TearDown() override {
    SetPhysicalMonitorProvider(nullptr);
    SetMonitorSleep(nullptr);
  }

  std::shared_ptr<test::FakeDdcLog> AddMonitor(std::u16string description) {
    auto log = std::make_shared<test::FakeDdcLog>();
    channels.push_back(log);
    descriptions.push_back(std::move(description));
    return log;
  }
  void AddPanel() {
    channels.push_back(nullptr);
    descriptions.push_back(u"panel");
  }

  std::vector<PHYSICAL_MONITOR> Open() {
    DWORD n = 0;
    EXPECT_TRUE(GetNumberOfPhysicalMonitorsFromHMONITOR(kPrimary, &n));
    std::vector<PHYSICAL_MONITOR> records(n);
    EXPECT_TRUE(GetPhysicalMonitorsFromHMONITOR(kPrimary, n, records.data()));
    return records;
  }

  bool known = true;
  std::vector<std::shared_ptr<test::FakeDdcLog>> channels;
  std::vector<std::u16string> descriptions;
};

TEST_F(PhysicalMonitors, CountFailsWhenTheOutputsAreUnknown) {
  DWORD n = 7;
  EXPECT_FALSE(GetNumberOfPhysicalMonitorsFromHMONITOR(nullptr, &n));
  EXPECT_FALSE(GetNumberOfPhysicalMonitorsFromHMONITOR(kPrimary, nullptr));
  known = false;
  EXPECT_FALSE(GetNumberOfPhysicalMonitorsFromHMONITOR(kPrimary, &n));
  SetPhysicalMonitorProvider(nullptr);
  known = true;
  EXPECT_FALSE(GetNumberOfPhysicalMonitorsFromHMONITOR(kPrimary, &n));
  EXPECT_EQ(n, 7u);
}

TEST_F(PhysicalMonitors, EveryOutputIsAPhysicalMonitorWithItsDescription) {
  AddMonitor(u"VELMORA 27");
  AddPanel();
  AddMonitor(std::u16string(200, u'x'));
  auto records = Open();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(std::u16string(records[0].szPhysicalMonitorDescription), u"VELMORA 27");
  EXPECT_EQ(std::u16string(records[2].szPhysicalMonitorDescription), std::u16string(127, u'x'));
  EXPECT_NE(records[0].hPhysicalMonitor, records[1].hPhysicalMonitor);
  EXPECT_TRUE(DestroyPhysicalMonitors(3, records.data()));

  // Asked with another size than counted, the outputs changed in between.
  std::vector<PHYSICAL_MONITOR> two(2);
  EXPECT_FALSE(GetPhysicalMonitorsFromHMONITOR(kPrimary, 2, two.data()));
  EXPECT_FALSE(GetPhysicalMonitorsFromHMONITOR(kPrimary, 3, nullptr));
}

TEST_F(PhysicalMonitors, ReadsCurrentAndMaximumAndWritesTheLevelUnchanged) {
  auto log = AddMonitor(u"m");
  log->replies.push_back(Reply(50, 20));
  auto records = Open();
  DWORD minimum = 9, current = 0, maximum = 0;
  ASSERT_TRUE(GetMonitorBrightness(records[0].hPhysicalMonitor, &minimum, &current, &maximum));
  EXPECT_EQ(minimum, 0u);
  EXPECT_EQ(current, 20u);
  EXPECT_EQ(maximum, 50u);

  ASSERT_TRUE(SetMonitorBrightness(records[0].hPhysicalMonitor, 75));  // above the maximum: not rescaled
  const auto expected = SetVcpRequest(kVcpBrightness, 75);
  EXPECT_EQ(log->writes.back(), Bytes(expected.begin(), expected.end()));
  EXPECT_FALSE(SetMonitorBrightness(records[0].hPhysicalMonitor, 0x10000));  // no 16-bit VCP value
  DestroyPhysicalMonitors(1, records.data());
}

bool IsSet(const Bytes& request) { return request.size() > 2 && request[2] == 0x03; }

TEST_F(PhysicalMonitors, PanelsAndSilentMonitorsRefuseAndSayWhy) {
  std::vector<std::string> problems;
  SetProblemListener([&](const std::string& why) { problems.push_back(why); });
  AddPanel();
  auto silent = AddMonitor(u"silent");
  silent->writesFail = true;
  auto records = Open();
  DWORD a, b, c;
  for (const auto& r : records) {
    EXPECT_FALSE(GetMonitorBrightness(r.hPhysicalMonitor, &a, &b, &c));
    EXPECT_FALSE(SetMonitorBrightness(r.hPhysicalMonitor, 50));
  }
  EXPECT_TRUE(std::none_of(silent->writes.begin(), silent->writes.end(), IsSet));
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(problems[0].rfind("silent: the monitor does not answer", 0), 0u) << problems[0];
  SetProblemListener(nullptr);
  DestroyPhysicalMonitors(2, records.data());
}

// Some monitors ignore a set on a freshly opened bus until they were read; the read also spares
// a write of the value the monitor already has, and a monitor answering garbage never gets one.
TEST_F(PhysicalMonitors, SetReadsFirstAndSkipsAnUnchangedValue) {
  auto log = AddMonitor(u"m");
  log->replies.push_back(Reply(100, 30));
  auto garbage = AddMonitor(u"garbage");
  for (int i = 0; i < 20; ++i) garbage->replies.push_back(Bytes(11, 0x42));
  auto records = Open();
  ASSERT_TRUE(SetMonitorBrightness(records[0].hPhysicalMonitor, 60));
  const auto get = GetVcpRequest(kVcpBrightness);
  const auto set = SetVcpRequest(kVcpBrightness, 60);
  EXPECT_EQ(log->writes, (std::vector<Bytes>{Bytes(get.begin(), get.end()), Bytes(set.begin(), set.end())}));
  ASSERT_TRUE(SetMonitorBrightness(records[0].hPhysicalMonitor, 60));  // already there
  EXPECT_EQ(log->writes.size(), 2u);

  EXPECT_FALSE(SetMonitorBrightness(records[1].hPhysicalMonitor, 60));
  EXPECT_TRUE(std::none_of(garbage->writes.begin(), garbage->writes.end(), IsSet));
  const auto described = DescribePhysicalMonitorChannel(records[1].hPhysicalMonitor);
  ASSERT_TRUE(described);
  EXPECT_NE(described->problem.find("does not answer"), std::string::npos) << described->problem;
  DestroyPhysicalMonitors(2, records.data());
}

TEST_F(PhysicalMonitors, StaleAndMadeUpHandlesFailHarmlessly) {
  auto log = AddMonitor(u"m");
  auto records = Open();
  const HANDLE h = records[0].hPhysicalMonitor;
  ASSERT_TRUE(DestroyPhysicalMonitors(1, records.data()));
  DWORD a, b, c;
  for (HANDLE stale : {h, static_cast<HANDLE>(nullptr), reinterpret_cast<HANDLE>(0xDEAD)}) {
    EXPECT_FALSE(GetMonitorBrightness(stale, &a, &b, &c));
    EXPECT_FALSE(SetMonitorBrightness(stale, 10));
    EXPECT_FALSE(DestroyPhysicalMonitor(stale));
  }
  EXPECT_FALSE(DestroyPhysicalMonitors(1, records.data()));
  EXPECT_TRUE(log->writes.empty());

  // A fresh handle for the same output never equals the destroyed one.
  auto again = Open();
  EXPECT_NE(again[0].hPhysicalMonitor, h);
  EXPECT_FALSE(GetMonitorBrightness(again[0].hPhysicalMonitor, nullptr, &b, &c));
  DestroyPhysicalMonitors(1, again.data());
}

}  // namespace
}  // namespace plat
