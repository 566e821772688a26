#pragma once
// A canvas draws on a device context with its own font, brush and pen, which it selects into the
// context only when an operation needs them, and deselects when they change or the context goes.
#include <memory>
#include <string>

#include "framework/font_brush_pen.h"
#include "framework/sets.h"
#include "platform/gdi/gdi.h"

namespace fw {

class TGraphic;

enum TCanvasStateItem { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateItem>;

enum TTextFormats {
  tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
  tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight, tfRtlReading,
  tfSingleLine, tfTop, tfVerticalCenter, tfWordBreak, tfHidePrefix, tfNoFullWidthCharBreak,
  tfPrefixOnly, tfTabStop, tfWordEllipsis,
};
using TTextFormat = TSet<TTextFormats>;
// The DrawText flags of a format.
plat::UINT TextFormatFlags(TTextFormat format);

using TCopyMode = plat::DWORD;
inline constexpr TCopyMode cmSrcCopy = plat::SRCCOPY;
inline constexpr TCopyMode cmSrcPaint = plat::SRCPAINT;
inline constexpr TCopyMode cmSrcAnd = plat::SRCAND;
inline constexpr TCopyMode cmSrcInvert = plat::SRCINVERT;
inline constexpr TCopyMode cmBlackness = plat::BLACKNESS;
inline constexpr TCopyMode cmWhiteness = plat::WHITENESS;

class TCanvas : public TPersistent {
  FW_DECLARE_CLASS

 public:
  TCanvas();
  ~TCanvas() override;

  // The context drawn on; a canvas that makes its own (a bitmap's) makes it here.
  plat::HDC Handle();
  // Binds the canvas to a context someone else owns (nullptr unbinds).
  void SetHandle(plat::HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont& Font() { return *font_; }
  TBrush& Brush() { return *brush_; }
  TPen& Pen() { return *pen_; }
  void SetFont(const TFont& font) { font_->Assign(&font); }
  void SetBrush(const TBrush& brush) { brush_->Assign(&brush); }
  void SetPen(const TPen& pen) { pen_->Assign(&pen); }

  void FillRect(const plat::RECT& rect);
  void FrameRect(const plat::RECT& rect);
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const plat::RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  plat::POINT PenPos() const { return penPos_; }
  plat::COLORREF Pixels(int x, int y);
  void SetPixel(int x, int y, TColor color);

  // Text in the font, over the brush (none with bsClear).
  void TextOut(int x, int y, const std::string& text);
  // Text at (x, y) clipped to rect, which the brush fills first unless it is bsClear.
  void TextRect(const plat::RECT& rect, int x, int y, const std::string& text);
  // Laid out inside rect, over the brush where glyphs are; with tfCalcRect rect only takes the
  // text's size.
  void TextRect(plat::RECT& rect, const std::string& text, TTextFormat format);
  plat::SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }

  // Graphics draw themselves: bitmaps by copy mode, transparent colour or alpha, PNG by alpha.
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const plat::RECT& rect, TGraphic* graphic);
  void CopyRect(const plat::RECT& dest, TCanvas& source, const plat::RECT& sourceRect);
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
  plat::RECT ClipRect();

  // Marks the canvas in use; nothing here is shared between threads, so it is a count.
  void Lock() { ++lockCount_; }
  void Unlock() {
    if (lockCount_ > 0) --lockCount_;
  }
  bool TryLock() {
    Lock();
    return true;
  }
  int LockCount() const { return lockCount_; }
  // Deselects the font, brush and pen so that the context holds stock objects again.
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  void RequiredState(TCanvasState state);
  void Changing();
  void Changed();
  // Selects stock objects in place of the canvas's own.
  void DeselectHandles();
  TCanvasState State() const { return state_; }

 private:
  void FontChanged();
  void BrushChanged();
  void PenChanged();

  plat::HDC dc_ = nullptr;
  TCanvasState state_;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TBrush> brush_;
  std::unique_ptr<TPen> pen_;
  plat::POINT penPos_{};
  TCopyMode copyMode_ = cmSrcCopy;
  int lockCount_ = 0;
};

}  // namespace fw
