#include "framework/canvas.h"

#include "framework/graphic.h"

namespace fw {

plat::UINT TextFormatFlags(TTextFormat format) {
  static constexpr plat::UINT kFlags[] = {
      plat::DT_BOTTOM, plat::DT_CALCRECT, plat::DT_CENTER, plat::DT_EDITCONTROL, plat::DT_END_ELLIPSIS,
      plat::DT_PATH_ELLIPSIS, plat::DT_EXPANDTABS, plat::DT_EXTERNALLEADING, plat::DT_LEFT, plat::DT_MODIFYSTRING,
      plat::DT_NOCLIP, plat::DT_NOPREFIX, plat::DT_RIGHT, plat::DT_RTLREADING, plat::DT_SINGLELINE, plat::DT_TOP,
      plat::DT_VCENTER, plat::DT_WORDBREAK, plat::DT_HIDEPREFIX, plat::DT_NOFULLWIDTHCHARBREAK, plat::DT_PREFIXONLY,
      plat::DT_TABSTOP, plat::DT_WORD_ELLIPSIS,
  };
  plat::UINT flags = 0;
  for (unsigned i = 0; i < std::size(kFlags); ++i)
    if (format.Contains(static_cast<TTextFormats>(i))) flags |= kFlags[i];
  return flags;
}

const TMetaClass& TCanvas::StaticClass() {
  static const TMetaClass meta("TCanvas", &TPersistent::StaticClass(), FactoryFor<TCanvas>());
  return meta;
}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>()) {
  font_->OnChange = [this](TObject*) { FontChanged(); };
  brush_->OnChange = [this](TObject*) { BrushChanged(); };
  pen_->OnChange = [this](TObject*) { PenChanged(); };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

plat::HDC TCanvas::Handle() {
  RequiredState({csHandleValid});
  return dc_;
}

void TCanvas::SetHandle(plat::HDC dc) {
  if (dc == dc_) return;
  if (dc_) {
    DeselectHandles();
    state_.Exclude(csHandleValid);
  }
  dc_ = dc;
  if (dc_) state_.Include(csHandleValid);
}

void TCanvas::DeselectHandles() {
  if (!dc_ || (state_ * TCanvasState{csFontValid, csBrushValid, csPenValid}).Empty()) return;
  plat::SelectObject(dc_, plat::GetStockObject(plat::DEFAULT_GUI_FONT));
  plat::SelectObject(dc_, plat::GetStockObject(plat::WHITE_BRUSH));
  plat::SelectObject(dc_, plat::GetStockObject(plat::BLACK_PEN));
  state_ = state_ - TCanvasState{csFontValid, csBrushValid, csPenValid};
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::RequiredState(TCanvasState wanted) {
  const TCanvasState missing = wanted - state_;
  if (missing.Empty()) return;
  if (missing.Contains(csHandleValid)) {
    CreateHandle();
    if (!dc_) return;
    state_.Include(csHandleValid);
  }
  if (missing.Contains(csFontValid)) {
    plat::SelectObject(dc_, font_->Handle());
    plat::SetTextColor(dc_, ColorToRGB(font_->Color()));
    state_.Include(csFontValid);
  }
  if (missing.Contains(csPenValid)) {
    plat::SelectObject(dc_, pen_->Handle());
    state_.Include(csPenValid);
  }
  if (missing.Contains(csBrushValid)) {
    plat::SelectObject(dc_, brush_->Handle());
    if (brush_->Style() == bsClear) {
      plat::SetBkMode(dc_, plat::TRANSPARENT);
    } else {
      plat::SetBkColor(dc_, ColorToRGB(brush_->Color()));
      plat::SetBkMode(dc_, plat::OPAQUE);
    }
    state_.Include(csBrushValid);
  }
}

void TCanvas::FontChanged() {
  if (dc_ && state_.Contains(csFontValid)) {
    plat::SelectObject(dc_, plat::GetStockObject(plat::DEFAULT_GUI_FONT));
    state_.Exclude(csFontValid);
  }
}

void TCanvas::BrushChanged() {
  if (dc_ && state_.Contains(csBrushValid)) {
    plat::SelectObject(dc_, plat::GetStockObject(plat::WHITE_BRUSH));
    state_.Exclude(csBrushValid);
  }
}

void TCanvas::PenChanged() {
  if (dc_ && state_.Contains(csPenValid)) {
    plat::SelectObject(dc_, plat::GetStockObject(plat::BLACK_PEN));
    state_.Exclude(csPenValid);
  }
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::FillRect(const plat::RECT& rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  if (dc_) plat::FillRect(dc_, &rect, brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const plat::RECT& rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  if (dc_) plat::FrameRect(dc_, &rect, brush_->Handle());
  Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  if (dc_) plat::Rectangle(dc_, left, top, right, bottom);
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState({csHandleValid});
  if (dc_) plat::MoveToEx(dc_, x, y, nullptr);
  penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  if (dc_) plat::LineTo(dc_, x, y);
  penPos_ = {x, y};
  Changed();
}

plat::COLORREF TCanvas::Pixels(int x, int y) {
  RequiredState({csHandleValid});
  return dc_ ? plat::GetPixel(dc_, x, y) : plat::CLR_INVALID;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  if (dc_) plat::SetPixel(dc_, x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  if (dc_) {
    plat::ExtTextOut(dc_, x, y, 0, nullptr, text.data(), static_cast<int>(text.size()));
    plat::SIZE size{};
    plat::GetTextExtentPoint32(dc_, text.data(), static_cast<int>(text.size()), &size);
    MoveTo(x + size.cx, y);
  }
  Changed();
}

void TCanvas::TextRect(const plat::RECT& rect, int x, int y, const std::string& text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  if (dc_) {
    const plat::UINT options = plat::ETO_CLIPPED | (brush_->Style() != bsClear ? plat::ETO_OPAQUE : 0);
    plat::ExtTextOut(dc_, x, y, options, &rect, text.data(), static_cast<int>(text.size()));
  }
  Changed();
}

void TCanvas::TextRect(plat::RECT& rect, const std::string& text, TTextFormat format) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  if (dc_) plat::DrawText(dc_, text, &rect, TextFormatFlags(format));
  Changed();
}

plat::SIZE TCanvas::TextExtent(const std::string& text) {
  RequiredState({csHandleValid, csFontValid});
  plat::SIZE size{};
  if (dc_) plat::GetTextExtentPoint32(dc_, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  RequiredState({csHandleValid});
  if (!dc_) return;
  Changing();
  graphic->Draw(*this, plat::MakeRect(x, y, graphic->Width(), graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const plat::RECT& rect, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  RequiredState({csHandleValid});
  if (!dc_) return;
  Changing();
  graphic->Draw(*this, rect);
  Changed();
}

void TCanvas::CopyRect(const plat::RECT& dest, TCanvas& source, const plat::RECT& sourceRect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  plat::HDC from = source.Handle();
  if (dc_ && from)
    plat::StretchBlt(dc_, dest.left, dest.top, plat::RectWidth(dest), plat::RectHeight(dest), from, sourceRect.left,
                     sourceRect.top, plat::RectWidth(sourceRect), plat::RectHeight(sourceRect), copyMode_);
  Changed();
}

plat::RECT TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  plat::RECT box{};
  if (dc_) plat::GetClipBox(dc_, &box);
  return box;
}

}  // namespace fw
