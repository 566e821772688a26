#include "framework/font_brush_pen.h"

#include <cmath>

#include "framework/shared_handles.h"
#include "framework/stored_properties.h"

namespace fw {

namespace {

constexpr TEnumValue kFontStyles[] = {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}};
constexpr TEnumValue kFontPitches[] = {{"fpDefault", fpDefault}, {"fpVariable", fpVariable}, {"fpFixed", fpFixed}};
constexpr TEnumValue kCharsets[] = {
    {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2}, {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129}, {"JOHAB_CHARSET", 130}, {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162}, {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177}, {"ARABIC_CHARSET", 178}, {"BALTIC_CHARSET", 186}, {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222}, {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};
constexpr TEnumValue kBrushStyles[] = {{"bsSolid", bsSolid}, {"bsClear", bsClear}, {"bsHorizontal", bsHorizontal},
                                       {"bsVertical", bsVertical}, {"bsFDiagonal", bsFDiagonal}, {"bsBDiagonal", bsBDiagonal},
                                       {"bsCross", bsCross}, {"bsDiagCross", bsDiagCross}};
constexpr TEnumValue kPenStyles[] = {{"psSolid", psSolid}, {"psDash", psDash}, {"psDot", psDot}, {"psDashDot", psDashDot},
                                     {"psDashDotDot", psDashDotDot}, {"psClear", psClear}, {"psInsideFrame", psInsideFrame}};
constexpr TEnumValue kPenModes[] = {
    {"pmBlack", pmBlack}, {"pmWhite", pmWhite}, {"pmNop", pmNop}, {"pmNot", pmNot}, {"pmCopy", pmCopy},
    {"pmNotCopy", pmNotCopy}, {"pmMergePenNot", pmMergePenNot}, {"pmMaskPenNot", pmMaskPenNot},
    {"pmMergeNotPen", pmMergeNotPen}, {"pmMaskNotPen", pmMaskNotPen}, {"pmMerge", pmMerge}, {"pmNotMerge", pmNotMerge},
    {"pmMask", pmMask}, {"pmNotMask", pmNotMask}, {"pmXor", pmXor}, {"pmNotXor", pmNotXor}};

constexpr TEnumType kFontStyleType{"TFontStyle", kFontStyles};
constexpr TEnumType kFontPitchType{"TFontPitch", kFontPitches};
constexpr TEnumType kCharsetType{"TFontCharset", kCharsets};
constexpr TEnumType kBrushStyleType{"TBrushStyle", kBrushStyles};
constexpr TEnumType kPenStyleType{"TPenStyle", kPenStyles};
constexpr TEnumType kPenModeType{"TPenMode", kPenModes};

using plat::MulDiv;

}  // namespace

const TEnumType& FontStyleType() { return kFontStyleType; }
const TEnumType& FontPitchType() { return kFontPitchType; }
const TEnumType& CharsetIdents() { return kCharsetType; }
const TEnumType& BrushStyleType() { return kBrushStyleType; }
const TEnumType& PenStyleType() { return kPenStyleType; }
const TEnumType& PenModeType() { return kPenModeType; }

const TMetaClass& TGraphicsObject::StaticClass() {
  static const TMetaClass meta("TGraphicsObject", &TPersistent::StaticClass(), nullptr);
  return meta;
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---- font --------------------------------------------------------------------------------

const TMetaClass& TFont::StaticClass() {
  static const TMetaClass meta("TFont", &TGraphicsObject::StaticClass(), FactoryFor<TFont>(), Stored<TFont>([](auto& b) {
    b.Integer("Charset", &TFont::SetCharset, &kCharsetType);
    b.Integer("Color", &TFont::SetColor, &ColorIdents());
    b.Integer("Height", &TFont::SetHeight);
    b.String("Name", &TFont::SetName);
    b.Integer("Orientation", &TFont::SetOrientation);
    b.Enum("Pitch", &TFont::SetPitch, kFontPitchType);
    b.Integer("Size", &TFont::SetSize);
    b.Set("Style", &TFont::SetStyle, kFontStyleType);
  }));
  return meta;
}

TFont::TFont() = default;
TFont::~TFont() { ReleaseFont(handle_); }

void TFont::SetName(const std::string& name) { Update(name_, name); }
void TFont::SetHeight(int height) { Update(height_, height); }
int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, pixelsPerInch_, 72)); }
void TFont::SetStyle(TFontStyles style) { Update(style_, style); }
void TFont::SetColor(TColor color) { Update(color_, color); }
void TFont::SetCharset(TFontCharset charset) { Update(charset_, charset); }
void TFont::SetPitch(TFontPitch pitch) { Update(pitch_, pitch); }
void TFont::SetOrientation(int tenths) { Update(orientation_, tenths); }

plat::LOGFONT TFont::LogFont() const {
  plat::LOGFONT lf;
  lf.lfHeight = height_;
  lf.lfEscapement = orientation_;
  lf.lfOrientation = orientation_;
  lf.lfWeight = style_.Contains(fsBold) ? plat::FW_BOLD : plat::FW_NORMAL;
  lf.lfItalic = style_.Contains(fsItalic);
  lf.lfUnderline = style_.Contains(fsUnderline);
  lf.lfStrikeOut = style_.Contains(fsStrikeOut);
  lf.lfCharSet = charset_;
  lf.lfPitchAndFamily = static_cast<plat::BYTE>(pitch_ == fpFixed ? 1 : pitch_ == fpVariable ? 2 : 0);
  lf.lfFaceName = name_;
  return lf;
}

plat::HFONT TFont::Handle() {
  if (!handle_) handle_ = AcquireFont(LogFont());
  return handle_;
}

void TFont::Changed() {
  // Listeners see the new description; the old handle goes once they have let it go.
  plat::HFONT old = handle_;
  handle_ = nullptr;
  TGraphicsObject::Changed();
  ReleaseFont(old);
}

void TFont::Assign(const TPersistent* source) {
  const auto* f = dynamic_cast<const TFont*>(source);
  if (!f) return TGraphicsObject::Assign(source);
  if (f == this) return;
  name_ = f->name_;
  height_ = f->height_;
  style_ = f->style_;
  color_ = f->color_;
  charset_ = f->charset_;
  pitch_ = f->pitch_;
  orientation_ = f->orientation_;
  pixelsPerInch_ = f->pixelsPerInch_;
  Changed();
}

// ---- brush -------------------------------------------------------------------------------

const TMetaClass& TBrush::StaticClass() {
  static const TMetaClass meta("TBrush", &TGraphicsObject::StaticClass(), FactoryFor<TBrush>(), Stored<TBrush>([](auto& b) {
    b.Integer("Color", &TBrush::SetColor, &ColorIdents());
    b.Enum("Style", &TBrush::SetStyle, kBrushStyleType);
  }));
  return meta;
}

TBrush::~TBrush() { ReleaseBrush(handle_); }
void TBrush::SetColor(TColor color) { Update(color_, color); }
void TBrush::SetStyle(TBrushStyle style) { Update(style_, style); }

plat::HBRUSH TBrush::Handle() {
  if (!handle_) {
    plat::LOGBRUSH lb;
    lb.lbStyle = style_ == bsClear ? plat::BS_NULL : plat::BS_SOLID;
    lb.lbColor = style_ == bsClear ? 0 : ColorToRGB(color_);
    handle_ = AcquireBrush(lb);
  }
  return handle_;
}

void TBrush::Changed() {
  plat::HBRUSH old = handle_;
  handle_ = nullptr;
  TGraphicsObject::Changed();
  ReleaseBrush(old);
}

void TBrush::Assign(const TPersistent* source) {
  const auto* b = dynamic_cast<const TBrush*>(source);
  if (!b) return TGraphicsObject::Assign(source);
  if (b == this) return;
  color_ = b->color_;
  style_ = b->style_;
  Changed();
}

// ---- pen ---------------------------------------------------------------------------------

const TMetaClass& TPen::StaticClass() {
  static const TMetaClass meta("TPen", &TGraphicsObject::StaticClass(), FactoryFor<TPen>(), Stored<TPen>([](auto& b) {
    b.Integer("Color", &TPen::SetColor, &ColorIdents());
    b.Enum("Mode", &TPen::SetMode, kPenModeType);
    b.Enum("Style", &TPen::SetStyle, kPenStyleType);
    b.Integer("Width", &TPen::SetWidth);
  }));
  return meta;
}

TPen::~TPen() { ReleasePen(handle_); }
void TPen::SetColor(TColor color) { Update(color_, color); }
void TPen::SetWidth(int width) { Update(width_, width < 0 ? 0 : width); }
void TPen::SetStyle(TPenStyle style) { Update(style_, style); }
void TPen::SetMode(TPenMode mode) { Update(mode_, mode); }

plat::HPEN TPen::Handle() {
  if (!handle_) {
    plat::LOGPEN lp;
    switch (style_) {
      case psDash: lp.lopnStyle = plat::PS_DASH; break;
      case psDot:
      case psDashDot:
      case psDashDotDot: lp.lopnStyle = plat::PS_DOT; break;
      case psClear: lp.lopnStyle = plat::PS_NULL; break;
      default: lp.lopnStyle = plat::PS_SOLID; break;
    }
    lp.lopnWidth = {width_, 0};
    lp.lopnColor = ColorToRGB(color_);
    handle_ = AcquirePen(lp);
  }
  return handle_;
}

void TPen::Changed() {
  plat::HPEN old = handle_;
  handle_ = nullptr;
  TGraphicsObject::Changed();
  ReleasePen(old);
}

void TPen::Assign(const TPersistent* source) {
  const auto* p = dynamic_cast<const TPen*>(source);
  if (!p) return TGraphicsObject::Assign(source);
  if (p == this) return;
  color_ = p->color_;
  width_ = p->width_;
  style_ = p->style_;
  mode_ = p->mode_;
  Changed();
}

}  // namespace fw
