#include "platform/monitor/drm_connectors.h"

#include <gtest/gtest.h>

#include <numeric>

#include "platform/base/error.h"
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
    const auto found = FindDrmConnector(connectors, {c.output, c.edid, std::nullopt});
    if (!c.folder) {
      EXPECT_FALSE(found) << c.output << " matched " << found->dir;
    } else {
      ASSERT_TRUE(found) << c.output;
      EXPECT_EQ(found->dir.filename(), c.folder) << c.output;
    }
  }
}

TEST_F(DrmTree, SourcesSayWhyAChannelCannotBeUsed) {
  const auto none = DdcSourcesForOutputs({{"DP-1", {}, std::nullopt}}, {tree.root(), tree.root() / "dev"});
  EXPECT_FALSE(none[0].open);
  EXPECT_NE(none[0].problem.find("i2c-dev kernel module is not loaded"), std::string::npos) << none[0].problem;

  tree.Write("dev/i2c-4", "not a device");
  const auto sources = DdcSourcesForOutputs(
      {{"HDMI-1", Edid(2, "VELMORA 27"), std::nullopt}, {"eDP-1", {}, std::nullopt}, {"VGA-1", {}, std::nullopt},
       {"DP-1", {}, std::nullopt}},
      {tree.root(), tree.root() / "dev"});
  ASSERT_EQ(sources.size(), 4u);
  EXPECT_EQ(sources[0].description, u"VELMORA 27");
  ASSERT_TRUE(sources[0].open);
  EXPECT_EQ(sources[0].channel, "DDC/CI on " + (tree.root() / "dev" / "i2c-7").string());
  EXPECT_THROW(sources[0].open(), Error);  // there is no /dev/i2c-7 here
  EXPECT_EQ(sources[1].description, u"eDP-1");
  EXPECT_FALSE(sources[1].open);  // a panel is never probed, and that is no problem
  EXPECT_EQ(sources[1].problem, "");
  EXPECT_FALSE(sources[2].open);
  EXPECT_NE(sources[2].problem.find("no DRM connector matches output \"VGA-1\""), std::string::npos);
  ASSERT_TRUE(sources[3].open);
  try {
    sources[3].open();
    ADD_FAILURE() << "a plain file was opened as a bus";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("is not a device node"), std::string::npos) << e.what();
  }
}

// One folder under class/drm: its bus link and folder, EDID, status and connector number.
struct ConnectorSpec {
  const char* folder;
  int linkedBus;  // -1: no "ddc" link
  int busFolder;  // -1: no i2c-N folder
  Bytes edid;
  std::uint32_t id;
};

std::vector<DrmConnector> Machine(test::TempTree& tree, const std::vector<ConnectorSpec>& specs) {
  for (const ConnectorSpec& c : specs) {
    const std::string dir = std::string("class/drm/") + c.folder;
    tree.Write(dir + "/status", "connected\n");
    tree.Write(dir + "/edid", Text(c.edid));
    tree.Write(dir + "/connector_id", std::to_string(c.id) + "\n");
    if (c.linkedBus >= 0) tree.Link(dir + "/ddc", "../../i2c-" + std::to_string(c.linkedBus));
    if (c.busFolder >= 0) tree.Folder(dir + "/i2c-" + std::to_string(c.busFolder));
  }
  return ListDrmConnectors(tree.root());
}

struct MatchCase {
  OutputIdentity output;
  const char* folder;  // nullptr: no match
  int bus;
};

void ExpectMatches(const std::vector<DrmConnector>& connectors, const std::vector<MatchCase>& cases) {
  for (const MatchCase& c : cases) {
    const std::string label = c.output.name + (c.output.connectorId ? " #" + std::to_string(*c.output.connectorId) : "");
    std::string why;
    const auto found = FindDrmConnector(connectors, c.output, &why);
    if (!c.folder) {
      EXPECT_FALSE(found) << label << " matched " << found->dir;
      EXPECT_NE(why.find("with certainty"), std::string::npos) << label << ": " << why;
      continue;
    }
    ASSERT_TRUE(found) << label << ": " << why;
    EXPECT_EQ(found->dir.filename(), c.folder) << label;
    EXPECT_EQ(found->i2cBus, c.bus) << label;
  }
}

// amdgpu: DisplayPort's DDC is the AUX adapter folder, not the "ddc" link; the X driver numbers
// outputs from 0.
TEST(DrmMachines, AmdgpuLike) {
  test::TempTree tree;
  const auto connectors = Machine(tree, {{"card0-DP-1", 1, 10, Edid(1), 90},
                                         {"card0-DP-2", 2, 11, {}, 95},
                                         {"card0-HDMI-A-1", 3, 12, Edid(3), 99}});
  ExpectMatches(connectors, {{{"DisplayPort-1", {}, std::nullopt}, "card0-DP-2", 11},
                             {{"DisplayPort-0", {}, std::nullopt}, "card0-DP-1", 10},
                             {{"HDMI-A-0", {}, std::nullopt}, "card0-HDMI-A-1", 3},
                             {{"DisplayPort-2", {}, std::nullopt}, nullptr, 0}});
}

// i915: the DP AUX adapter is a folder, HDMI has its link; the X drivers number from 1.
TEST(DrmMachines, I915Like) {
  test::TempTree tree;
  const auto connectors = Machine(tree, {{"card0-DP-1", -1, 5, {}, 80},
                                         {"card0-HDMI-A-1", 4, -1, {}, 86},
                                         {"card0-eDP-1", -1, 6, {}, 77}});
  ExpectMatches(connectors, {{{"DP1", {}, std::nullopt}, "card0-DP-1", 5},
                             {{"DP-1", {}, std::nullopt}, "card0-DP-1", 5},
                             {{"HDMI1", {}, std::nullopt}, "card0-HDMI-A-1", 4},
                             {{"eDP1", {}, std::nullopt}, "card0-eDP-1", 6}});
}

// Two monitors of one model: the connector number decides; else only a name that cannot mean
// the other one does; an EDID longer in sysfs than the server's still matches by its base block.
TEST(DrmMachines, TwinEdidsAndLongEdids) {
  test::TempTree tree;
  Bytes extended = Edid(6);
  extended.resize(256, 0x11);
  const auto connectors = Machine(tree, {{"card0-DP-1", -1, 5, Edid(5), 70},
                                         {"card0-DP-2", -1, 6, Edid(5), 75},
                                         {"card0-HDMI-A-1", 7, -1, extended, 79}});
  ExpectMatches(connectors, {{{"DP-2", Edid(5), 75u}, "card0-DP-2", 6},
                             {{"DP-1", Edid(9), 75u}, "card0-DP-2", 6},  // the number wins over all else
                             {{"DP-1", Edid(5), std::nullopt}, nullptr, 0},  // DP-1 from 1, or DP-2 from 0
                             {{"DP1", Edid(5), std::nullopt}, "card0-DP-1", 5},
                             {{"DisplayPort-1", Edid(5), std::nullopt}, "card0-DP-2", 6},
                             {{"HDMI-A-0", Edid(6), std::nullopt}, "card0-HDMI-A-1", 7},
                             {{"DisplayPort-0", Edid(6), std::nullopt}, "card0-HDMI-A-1", 7}});
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
