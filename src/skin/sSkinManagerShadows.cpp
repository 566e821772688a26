// The shadow templates of the extended border and its margins: the program's own templates, or
// the frames of the skin's "EXBORDER" image.
#include <algorithm>

#include "framework/png_image.h"
#include "framework/streams.h"
#include "platform/resources/resources.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

namespace {

// The margins of the program's own templates.
constexpr int kBuiltInShadowSize = 9;
constexpr plat::Pixel kTransparentWhite = 0x00FFFFFFu;

fw::TBitmap& BuiltIn(bool active) {
  static fw::TBitmap activeTemplate, inactiveTemplate;
  return active ? activeTemplate : inactiveTemplate;
}

// Older skins use transparent white where they mean nothing at all.
void ClearTransparentWhite(plat::Bitmap& pixels) {
  for (int y = 0; y < pixels.Height(); ++y) {
    plat::Pixel* row = pixels.Row(y);
    std::replace(row, row + pixels.Width(), kTransparentWhite, plat::Pixel{0});
  }
}

void ReadTemplate(const char* name, fw::TBitmap& into) {
  into.SetSize(0, 0);
  if (plat::FindResourceBytes(plat::RT_RCDATA, name).empty()) return;
  fw::TResourceStream stream(nullptr, name, plat::RT_RCDATA);
  fw::TPngImage png;
  png.LoadFromStream(stream);
  plat::Bitmap pixels(*png.Bitmap().Pixels());
  ClearTransparentWhite(pixels);
  into.AssignPixels(pixels);
  into.SetAlphaFormat(fw::afDefined);
}

// Frame `frame` of a mask, cut from its own bitmap or the master bitmap; empty when the
// frame lies outside the picture.
void CopyFrame(const TsMaskData& mask, const fw::TBitmap* master, int frame, fw::TBitmap& into) {
  into.SetSize(0, 0);
  const fw::TBitmap* source = mask.Bmp ? mask.Bmp.get() : master;
  const plat::Bitmap* pixels = source ? source->Pixels() : nullptr;
  const int w = mask.FrameWidth(), h = mask.FrameHeight();
  const int left = mask.R.left + frame * w, top = mask.R.top;
  if (!pixels || pixels->Format() != plat::PixelFormat::Bgra32 || w <= 0 || h <= 0 || left < 0 || top < 0 ||
      left + w > pixels->Width() || top + h > pixels->Height())
    return;
  plat::Bitmap out(w, h);
  for (int y = 0; y < h; ++y) std::copy_n(pixels->Row(top + y) + left, w, out.Row(y));
  into.AssignPixels(out);
  into.SetAlphaFormat(fw::afDefined);
}

void ClearTransparentWhite(fw::TBitmap& b) {
  if (plat::Bitmap* pixels = b.Pixels()) ClearTransparentWhite(*pixels);
}

}  // namespace

void LoadBuiltInShadowTemplates() {
  ReadTemplate("ACSHDA", BuiltIn(true));
  ReadTemplate("ACSHDI", BuiltIn(false));
}

const fw::TBitmap& BuiltInShadowTemplate(bool active) { return BuiltIn(active); }

void TsSkinManager::RebuildConstantIndexes() {
  index_.InitConstantIndexes();
  CheckShadows();
}

void TsSkinManager::CheckShadows() {
  formShadowSize_ = {0, 0, 0, 0};
  if (!active_ || !ExtendedBordersInEffect()) return;
  const int mask = index_.GetMaskIndex("GLOBALINFO", "EXBORDER");
  if (mask < 0) {
    shdaTemplate_.Assign(&BuiltIn(true));
    shdiTemplate_.Assign(&BuiltIn(false));
    formShadowSize_ = {kBuiltInShadowSize, kBuiltInShadowSize, kBuiltInShadowSize, kBuiltInShadowSize};
  } else {
    const TsMaskData& m = index_.ma[static_cast<std::size_t>(mask)];
    const int offs = index_.SkinData.ExContentOffs;
    if (index_.SkinData.ExDrawMode != 0) formShadowSize_ = {offs, offs, offs, offs};
    else formShadowSize_ = {m.WL - offs, m.WT - offs, m.WR - offs, m.WB - offs};
    CopyFrame(m, index_.MasterBitmap.get(), 0, shdiTemplate_);
    CopyFrame(m, index_.MasterBitmap.get(), m.ImageCount > 1 ? 1 : 0, shdaTemplate_);
  }
  if (index_.SkinData.Version < 7.6) {
    ClearTransparentWhite(shdaTemplate_);
    ClearTransparentWhite(shdiTemplate_);
  }
}

}  // namespace velmora
