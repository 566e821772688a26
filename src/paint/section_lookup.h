#pragma once
// Checked access to a skin's sections and masks for the painting code, which must end silently
// on any index the skin does not have.
#include <cstddef>

#include "framework/bitmap.h"
#include "skin/sSkinManager.h"

namespace velmora {

// The skin given, else the default manager's; null when there is no manager at all.
const TacSkinIndex* SkinOrDefault(const TacSkinIndex* skin);

inline bool ValidSection(const TacSkinIndex* skin, int index) {
  return skin && index >= 0 && static_cast<std::size_t>(index) < skin->gd.size();
}
inline bool ValidMask(const TacSkinIndex* skin, int index) {
  return skin && index >= 0 && static_cast<std::size_t>(index) < skin->ma.size();
}
inline bool ValidPattern(const TacSkinIndex* skin, int index) {
  return skin && index >= 0 && static_cast<std::size_t>(index) < skin->pa.size();
}

// A non-empty rectangle wholly inside the bitmap.
inline bool RectFits(const fw::TBitmap* bitmap, const plat::RECT& r) {
  return bitmap && r.left >= 0 && r.top >= 0 && r.right > r.left && r.bottom > r.top && r.right <= bitmap->Width() &&
         r.bottom <= bitmap->Height();
}

// The state painted with: clamped to the section's states, and never below 0.
inline int ClampState(const TsGeneralData& section, int state) {
  if (state > section.States - 1) state = section.States - 1;
  return state < 0 ? 0 : state;
}
// The index into Props: every state above 0 paints with the hot values.
inline int PropsIndex(int state) { return state > 0 ? 1 : 0; }

}  // namespace velmora
