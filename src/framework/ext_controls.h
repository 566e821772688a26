#pragma once
// The speed button (graphic, with a 32-bit glyph and hot tracking), the panel with its bevels,
// and the image that shows a picture.
#include <memory>

#include "framework/bitmap.h"
#include "framework/picture.h"
#include "framework/std_controls.h"

namespace fw {

class TSpeedButton : public TGraphicControl {
  FW_DECLARE_CLASS

 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(const TBitmap* glyph) { glyph_->Assign(glyph); }
  bool Pressed() const { return pressed_; }
  void WndProc(TMessage& m) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  bool flat_ = false;
  bool pressed_ = false;
  std::unique_ptr<TBitmap> glyph_;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
const TEnumType& BevelCutType();

// A bevel of width lines: topLeft along the top and left, bottomRight along the others; rect
// shrinks by it.
void Frame3D(TCanvas& canvas, plat::RECT& rect, TColor topLeft, TColor bottomRight, int width);

class TPanel : public TCustomControl {
  FW_DECLARE_CLASS

 public:
  explicit TPanel(TComponent* owner);

  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
  void SetVerticalAlignment(TVerticalAlignment v);

 protected:
  void Paint() override;
  void AdjustClientRect(plat::RECT& rect) const override;

 private:
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  bool showCaption_ = true;
  TAlignment alignment_ = taCenter;
  TVerticalAlignment verticalAlignment_ = taVerticalCenter;
};

class TImage : public TGraphicControl {
  FW_DECLARE_CLASS

 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return picture_.get(); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool v);
  // Where the picture is drawn in the client area.
  plat::RECT DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged();

  std::unique_ptr<TPicture> picture_;
  bool transparent_ = false;
  bool autoSize_ = false;
  bool center_ = false;
  bool stretch_ = false;
  bool proportional_ = false;
};

}  // namespace fw
