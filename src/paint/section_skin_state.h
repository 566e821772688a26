#pragma once
// What section painting and skinned text read and set of a control's skin state. The control
// layer's skin state derives from this and answers the questions only its owner can; painting
// never needs the control classes themselves.
#include <memory>
#include <string>

#include "paint/cache_info.h"
#include "skin/sStyleSimply.h"

namespace fw {
class TBitmap;
class TControl;
}  // namespace fw

namespace velmora {

class TacSkinIndex;
class TsSkinManager;

// How the owner's parent answered a background request.
enum class TacParentBackground {
  NoParent,  // nothing to ask: neither a parent control nor a parent window
  NotReady,  // the parent's picture is not made yet; paint nothing until it is
  Fill,      // a plain colour (TCacheInfo::Ready false, FillColor set)
  Picture,   // a picture (TCacheInfo::Ready true, X and Y the owner's place in it)
};

class TacPaintSkinState {
 public:
  TacPaintSkinState();
  virtual ~TacPaintSkinState();
  TacPaintSkinState(const TacPaintSkinState&) = delete;
  TacPaintSkinState& operator=(const TacPaintSkinState&) = delete;

  std::string FSkinSection;  // upper-case
  int SkinIndex = -1;        // the section in the skin, -1: not skinned
  int BorderIndex = -1;      // mask indexes of the section's border, texture and hot texture
  int Texture = -1;
  int HotTexture = -1;
  bool FCustomColor = false;  // the owner keeps its own background colour
  bool FCustomFont = false;   // ... and its own font colour
  int FHUEOffset = 0;
  int FSaturation = 0;
  int COC = 0;  // the kind of owner (control-class code)
  bool BGChanged = true;
  bool FUpdating = false;
  TsSkinManager* FSkinManager = nullptr;  // none: the default manager
  std::unique_ptr<fw::TBitmap> FCacheBmp;

  // The skin data painted from: the explicit manager's, else the default manager's; null when
  // there is neither.
  virtual const TacSkinIndex* PaintIndex() const;
  // A section index that is valid for PaintIndex().
  bool SectionValid(int index) const;
  // SkinIndex names a section of the skin painted from.
  bool IsSkinned() const { return SectionValid(SkinIndex); }
  // A colour through the owner's hue offset and saturation (each only when not 0).
  TColor Tinted(TColor color) const;

  // The skinned control; null for a form's provider.
  virtual fw::TControl* OwnerControl() const = 0;
  // The owner's own background colour, resolved: the form's for a provider.
  virtual TColor OwnerColor() const = 0;
  // The colour of the owner's parent (control or window), resolved.
  virtual TColor ParentColor() const = 0;
  virtual bool OwnerWindowed() const = 0;
  // Asks the owner's parent for what lies behind the owner; info's X and Y come back as the
  // owner's origin in the parent's picture.
  virtual TacParentBackground QueryParentBackground(TCacheInfo& info) = 0;
  // The owner's background as one plain colour for a state.
  virtual TColor EffectiveColor(int state) = 0;
  // The section that paints the owner's parent, whose font colours text over a transparent
  // owner takes; -1 when there is none.
  virtual int ParentFontSection() = 0;
};

}  // namespace velmora
