#include "platform/monitor/drm_connectors.h"

#include <gtest/gtest.h>

#include <numeric>

#include "platform/monitor/edid.h"
#include "platform/monitor/sysfs_ddc_provider.h"
#include "platform/temp_tree.h"

namespace plat {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A base EDID block; serial tells monitors apart, name goes into a product-name descriptor.
Bytes Edid(std::uint8_t serial, const std::string& name = "") {
  Bytes b(128, 0);
  for (int i = 1; i < 7; ++i) b[i] = 0xFF;
  b[12] = serial;
  if (!name.empty()) {
    b[54 + 18 + 3] = 0xFC;  // second descriptor
    std::string text = name + "\n";
    text.resize(13, ' ');
    std::copy(text.begin(), text.end(), b.begin() + 54 + 18 + 5);
  }
  b[127] = static_cast<std::uint8_t>(256 - std::accumulate(b.begin(), b.end() - 1, 0u) % 256);
  return b;
}

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

// Two cards: card0 with DP-1 (bus by link), HDMI-A-1 (bus by folder) and a panel; card1 with a
// second, disconnected DP-1 and no bus.
class DrmTree : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string drm = "class/drm/";
    tree.Folder(drm + "card0");
    tree.Write(drm + "version", "drm 1.1.0");
    Connector("card0-DP-1", Edid(1), "connected\n");
    tree.Link(drm + "card0-DP-1/ddc", "../../../bus/i2c/devices/i2c-4");
    Connector("card0-HDMI-A-1", Edid(2, "VELMORA 27"), "connected\n");
    tree.Folder(drm + "card0-HDMI-A-1/i2c-9");
    tree.Folder(drm + "card0-HDMI-A-1/i2c-7");
    Connector("card0-eDP-1", Edid(3), "connected\n");
    tree.Link(drm + "card0-eDP-1/ddc", "../../i2c-2");
    Connector("card1-DP-1", Edid(4), "disconnected\n");
    connectors = ListDrmConnectors(tree.root());
  }
  void Connector(const std::string& folder, const Bytes& edid, const std::string& status) {
    tree.Write("class/drm/" + folder + "/edid", Text(edid));
    tree.Write("class/drm/" + folder + "/status", status);
  }

  test::TempTree tree;
  std::vector<DrmConnector> connectors;
};

TEST_F(DrmTree, ListsConnectorsWithTheirBuses) {
  ASSERT_EQ(connectors.size(), 4u);
  EXPECT_EQ(connectors[0].name, "DP-1");
  EXPECT_EQ(connectors[0].i2cBus, 4);
  EXPECT_TRUE(connectors[0].connected);
  EXPECT_EQ(connectors[1].name, "HDMI-A-1");
  EXPECT_EQ(connectors[1].i2cBus, 7);  // the lowest bus folder
  EXPECT_EQ(connectors[3].i2cBus, std::nullopt);
  EXPECT_FALSE(connectors[3].connected);
}

TEST_F(DrmTree, MatchesDisplayServerNames) {
  const struct {
    const char* output;
    Bytes edid;
    const char* folder;  // nullptr: no match
  } cases[] = {
      {"DP-1", {}, "card0-DP-1"},  // the connected one of two
      {"HDMI-1", {}, "card0-HDMI-A-1"},
      {"HDMI1", {}, "card0-HDMI-A-1"},
      {"HDMI-A-1", Edid(2, "VELMORA 27"), "card0-HDMI-A-1"},
      {"eDP", {}, "card0-eDP-1"},
      {"DP-1", Edid(4), "card1-DP-1"},                   // the EDID says which of the two
      {"DisplayPort-0", Edid(2, "VELMORA 27"), "card0-HDMI-A-1"},  // no such name: found by EDID
      {"DP-1", Edid(9), nullptr},                        // both DP-1 show another monitor
      {"VGA-1", {}, nullptr},
      {"", {}, nullptr},
  };
  for (const auto& c : cases) {
    const auto found = FindDrmConnector(connectors, {c.output, c.edid});
    if (!c.folder) {
      EXPECT_FALSE(found) << c.output << " matched " << found->dir;
    } else {
      ASSERT_TRUE(found) << c.output;
      EXPECT_EQ(found->dir.filename(), c.folder) << c.output;
    }
  }
}

TEST_F(DrmTree, SourcesNeverProbePanelsOrUnknownOutputs) {
  const auto sources = DdcSourcesForOutputs({{"HDMI-1", Edid(2, "VELMORA 27")}, {"eDP-1", {}}, {"VGA-1", {}}, {"DP-1", {}}},
                                            {tree.root(), tree.root() / "dev"});
  ASSERT_EQ(sources.size(), 4u);
  EXPECT_EQ(sources[0].description, u"VELMORA 27");
  EXPECT_TRUE(sources[0].open);
  EXPECT_EQ(sources[0].open(), nullptr);  // there is no /dev/i2c-7 here: the monitor refuses
  EXPECT_EQ(sources[1].description, u"eDP-1");
  EXPECT_FALSE(sources[1].open);
  EXPECT_FALSE(sources[2].open);
  EXPECT_TRUE(sources[3].open);
}

TEST(Edid, ProductNameOnlyFromAValidBlock) {
  EXPECT_EQ(EdidMonitorName(Edid(1, "VELMORA 27")), "VELMORA 27");
  EXPECT_EQ(EdidMonitorName(Edid(1)), std::nullopt);
  Bytes damaged = Edid(1, "VELMORA 27");
  damaged[20] ^= 1;
  EXPECT_EQ(EdidMonitorName(damaged), std::nullopt);
  EXPECT_EQ(EdidMonitorName(Bytes(damaged.begin(), damaged.begin() + 100)), std::nullopt);
}

}  // namespace
}  // namespace plat
