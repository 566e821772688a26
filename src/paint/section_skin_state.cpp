#include "paint/section_skin_state.h"

#include "framework/bitmap.h"
#include "paint/color_ops.h"
#include "paint/section_lookup.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

TacPaintSkinState::TacPaintSkinState() = default;
TacPaintSkinState::~TacPaintSkinState() = default;

const TacSkinIndex* TacPaintSkinState::PaintIndex() const {
  return SkinOrDefault(FSkinManager ? &FSkinManager->Index() : nullptr);
}

bool TacPaintSkinState::SectionValid(int index) const { return ValidSection(PaintIndex(), index); }

TColor TacPaintSkinState::Tinted(TColor color) const {
  auto c = static_cast<std::uint32_t>(color);
  if (FHUEOffset != 0) c = ShiftHue(c, FHUEOffset);
  if (FSaturation != 0) c = ScaleSaturation(c, FSaturation);
  return static_cast<TColor>(c);
}

}  // namespace velmora
