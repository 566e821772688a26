#include "paint/section_lookup.h"

#include "skin/sSkinManagerComponent.h"

namespace velmora {

const TacSkinIndex* SkinOrDefault(const TacSkinIndex* skin) {
  if (skin) return skin;
  TsSkinManager* manager = DefaultManager();
  return manager ? &manager->Index() : nullptr;
}

}  // namespace velmora
