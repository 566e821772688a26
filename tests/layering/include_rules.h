#pragma once
// The directions in which #include "..." lines of src/ may point, and a checker that reads a tree
// against them. Layers from the bottom: platform, framework, skin, paint, windows and controls,
// app; a file may include its own layer and those below, plus the designed ties listed in the
// .cpp. Inside the platform, display backends never reach the window manager and only gdi itself
// includes gdi's internal headers (those whose purpose sentence starts with "Inside").
#include <filesystem>
#include <string>
#include <vector>

namespace layering {

struct Violation {
  std::string file;  // relative to the tree's root
  int line = 0;
  std::string what;
};

// Every include that points the wrong way, and every file-level include cycle (reported at the
// line that closes it).
std::vector<Violation> CheckTree(const std::filesystem::path& root);

std::string Describe(const std::vector<Violation>& violations);

}  // namespace layering
