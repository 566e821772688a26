#pragma once
// Inside the text code: from a logical font's face name, weight, slant and character set to a
// face file through fontconfig, and the ordered stand-ins for characters that face lacks.
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace plat::gdi {

struct FaceRef {
  std::string file;  // canonical path; empty when nothing was found
  int index = 0;
};

struct FallbackList;

struct Resolution {
  FaceRef primary;
  bool japanese = false;  // the face covers Japanese
  std::shared_ptr<FallbackList> fallback;
};

// Never null; cached per request.
std::shared_ptr<const Resolution> ResolveFont(std::string_view faceName, int weight, bool italic, BYTE charSet);

// The first face in fontconfig's sorted order that has c, or nullptr.
const FaceRef* FallbackFace(FallbackList& list, char32_t c);

}  // namespace plat::gdi
