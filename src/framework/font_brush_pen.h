#pragma once
// Fonts, brushes and pens: descriptions of how to draw, each with a platform handle made when
// first asked for and kept until the description changes. A change is announced through
// OnChange (a canvas listens to deselect the old handle).
#include <cstdint>
#include <string>

#include "framework/colors.h"
#include "framework/persistent.h"
#include "framework/sets.h"
#include "platform/gdi/gdi.h"

namespace fw {

class TGraphicsObject : public TPersistent {
  FW_DECLARE_CLASS

 public:
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  // Sets a field and announces the change, when it is one.
  template <class V>
  void Update(V& field, const V& value) {
    if (field == value) return;
    field = value;
    Changed();
  }
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;

const TEnumType& FontStyleType();
const TEnumType& FontPitchType();
// Character-set constants (SHIFTJIS_CHARSET, DEFAULT_CHARSET, ...).
const TEnumType& CharsetIdents();

class TFont : public TGraphicsObject {
  FW_DECLARE_CLASS

 public:
  TFont();
  ~TFont() override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  // Negative: the character height in pixels; positive: the cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points at PixelsPerInch: Size = -Height * 72 / PixelsPerInch, rounded.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  int Orientation() const { return orientation_; }
  void SetOrientation(int tenthsOfDegree);
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi > 0 ? ppi : 96; }

  plat::LOGFONT LogFont() const;
  plat::HFONT Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  void Assign(const TPersistent* source) override;

 protected:
  void Changed() override;

 private:
  std::string name_ = "Tahoma";
  int height_ = -11;
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontCharset charset_ = plat::DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
  int orientation_ = 0;
  int pixelsPerInch_ = 96;
  plat::HFONT handle_ = nullptr;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
const TEnumType& BrushStyleType();

// Hatched styles draw solid: the platform has no hatch brushes.
class TBrush : public TGraphicsObject {
  FW_DECLARE_CLASS

 public:
  TBrush() = default;
  ~TBrush() override;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  plat::HBRUSH Handle();
  void Assign(const TPersistent* source) override;

 protected:
  void Changed() override;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  plat::HBRUSH handle_ = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
                pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };
const TEnumType& PenStyleType();
const TEnumType& PenModeType();

class TPen : public TGraphicsObject {
  FW_DECLARE_CLASS

 public:
  TPen() = default;
  ~TPen() override;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  // Kept for stored descriptions; lines are drawn in pmCopy.
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);
  plat::HPEN Handle();
  void Assign(const TPersistent* source) override;

 protected:
  void Changed() override;

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  plat::HPEN handle_ = nullptr;
};

}  // namespace fw
