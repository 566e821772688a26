#pragma once
// --extract-skin DIR: the skin the program carries, written into DIR as "skin extracted.asz"
// the way the skin manager writes out its built-in skins. DIR is a host path or one the
// program's way ("c:\Skins"); it is made when missing.
#include <iosfwd>
#include <string>

namespace velmora {

// The name the program gives its built-in skin.
inline constexpr const char* kBuiltInSkinName = "skin";

// Exit status: 0 written (the path goes to out), 1 the program carries no skin, 2 DIR cannot
// take it (the reason goes to err).
int ExtractBuiltInSkin(const std::string& dir, std::ostream& out, std::ostream& err);

}  // namespace velmora
