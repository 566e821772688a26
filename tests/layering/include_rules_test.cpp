// The include directions of src/, and the checker that keeps them, tried on small planted trees.
#include <gtest/gtest.h>

#include <fstream>

#include "include_rules.h"
#include "platform/temp_tree.h"

namespace fs = std::filesystem;

namespace {

TEST(IncludeRules, SourceTreeKeepsItsLayers) {
  const auto violations = layering::CheckTree(VELMORA_SOURCE_DIR "/src");
  EXPECT_TRUE(violations.empty()) << layering::Describe(violations);
}

struct Planted {
  const char* name;
  const char* file;
  const char* text;
  const char* expected;  // "" when the include is allowed
};

class PlantedInclude : public ::testing::TestWithParam<Planted> {};

TEST_P(PlantedInclude, IsJudged) {
  const Planted& p = GetParam();
  plat::test::TempTree tree;
  tree.Write("platform/wm/menus.h", "#pragma once\n");
  tree.Write("platform/gdi/objects.h", "#pragma once\n// Inside the device-context layer.\n");
  tree.Write("platform/gdi/gdi.h", "#pragma once\n// The device-context layer.\n");
  tree.Write("paint/color_ops.h", "#pragma once\n");
  tree.Write("controls/sButton.h", "#pragma once\n");
  tree.Write("windows/sSkinProvider.h", "#pragma once\n");
  tree.Write(p.file, p.text);
  const auto violations = layering::CheckTree(tree.root());
  if (*p.expected == '\0') {
    EXPECT_TRUE(violations.empty()) << layering::Describe(violations);
    return;
  }
  ASSERT_EQ(violations.size(), 1u) << layering::Describe(violations);
  EXPECT_EQ(violations[0].file, p.file);
  EXPECT_EQ(violations[0].line, 2);
  EXPECT_NE(violations[0].what.find(p.expected), std::string::npos) << violations[0].what;
}

INSTANTIATE_TEST_SUITE_P(
    Directions, PlantedInclude,
    ::testing::Values(
        Planted{"PlatformUp", "platform/base/a.cpp", "\n#include \"framework/forms.h\"\n", "platform/ may not include framework/"},
        Planted{"FrameworkUp", "framework/a.cpp", "\n#include \"skin/sSkinManager.h\"\n", "framework/ may not include skin/"},
        Planted{"BackendToWm", "platform/display/x11/a.cpp", "\n#include \"platform/wm/menus.h\"\n", "display backend"},
        Planted{"GdiInternal", "platform/wm/a.cpp", "\n#include \"platform/gdi/objects.h\"\n", "internal"},
        Planted{"PaintToControls", "paint/a.cpp", "\n#include \"controls/sButton.h\"\n", "paint/ may not include controls/"},
        Planted{"GdiPublic", "platform/wm/a.cpp", "\n#include \"platform/gdi/gdi.h\"\n", ""},
        Planted{"SkinToPaint", "skin/a.cpp", "\n#include \"paint/color_ops.h\"\n", ""},
        Planted{"ControlsToWindows", "controls/a.cpp", "\n#include \"windows/sSkinProvider.h\"\n", ""},
        Planted{"AppDown", "app/a.cpp", "\n#include \"controls/sButton.h\"\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IncludeRules, CycleIsNamedWithItsPath) {
  plat::test::TempTree tree;
  tree.Write("windows/a.h", "#pragma once\n#include \"controls/b.h\"\n");
  tree.Write("controls/b.h", "#pragma once\n#include \"windows/a.h\"\n");
  const auto violations = layering::CheckTree(tree.root());
  ASSERT_EQ(violations.size(), 1u) << layering::Describe(violations);
  EXPECT_NE(violations[0].what.find("include cycle: controls/b.h -> windows/a.h -> controls/b.h"), std::string::npos)
      << violations[0].what;
}

}  // namespace
