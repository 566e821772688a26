#include "framework/ext_controls.h"

#include "framework/stored_properties.h"
#include "platform/wm/standard_controls.h"

namespace fw {

namespace {
constexpr TEnumValue kBevelCuts[] = {
    {"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}};

void DrawCaption(TCanvas& canvas, TFont& font, const std::string& text, plat::RECT rect, plat::UINT flags,
                 bool enabled) {
  plat::HDC dc = canvas.Handle();
  plat::HGDIOBJ old = plat::SelectObject(dc, font.Handle());
  plat::SetBkMode(dc, plat::TRANSPARENT);
  plat::SetTextColor(dc, ColorToRGB(enabled ? font.Color() : clGrayText));
  plat::DrawText(dc, text, &rect, flags);
  plat::SelectObject(dc, old);
}
}  // namespace

const TEnumType& BevelCutType() {
  static const TEnumType t{"TBevelCut", kBevelCuts};
  return t;
}

void Frame3D(TCanvas& canvas, plat::RECT& r, TColor topLeft, TColor bottomRight, int width) {
  canvas.Brush().SetStyle(bsSolid);
  for (int i = 0; i < width && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
    canvas.Brush().SetColor(topLeft);
    canvas.FillRect({r.left, r.top, r.right - 1, r.top + 1});
    canvas.FillRect({r.left, r.top, r.left + 1, r.bottom - 1});
    canvas.Brush().SetColor(bottomRight);
    canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom});
    canvas.FillRect({r.right - 1, r.top, r.right, r.bottom});
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
}

// ---- TSpeedButton ------------------------------------------------------------------------------

const TMetaClass& TSpeedButton::StaticClass() {
  static const TMetaClass meta("TSpeedButton", &TGraphicControl::StaticClass(), FactoryFor<TSpeedButton>(),
                               Stored<TSpeedButton>([](auto& b) {
                                 b.Boolean("Flat", &TSpeedButton::SetFlat);
                                 b.Object("Glyph", &TSpeedButton::Glyph);
                               }));
  return meta;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>()) {
  SetControlStyle({csCaptureMouse, csDoubleClicks});
  SetBounds(0, 0, 23, 22);
  SetColor(clBtnFace);
  SetParentColor(true);
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TSpeedButton::WndProc(TMessage& m) {
  TGraphicControl::WndProc(m);
  // Hot tracking: a flat button shows its edge while the pointer is over it.
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE || m.Msg == CM_ENABLEDCHANGED) Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && Enabled()) {
    pressed_ = true;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !pressed_) return;
  pressed_ = false;
  Invalidate();
  if (x >= 0 && x < Width() && y >= 0 && y < Height()) Click();
}

void TSpeedButton::Paint() {
  plat::RECT r = ClientRect();
  TCanvas& c = Canvas();
  if (!flat_) {
    plat::DrawFrameControl(c.Handle(), &r, plat::DFC_BUTTON,
                           plat::DFCS_BUTTONPUSH | (pressed_ ? plat::DFCS_PUSHED : 0) | plat::DFCS_ADJUSTRECT);
  } else if (pressed_) {
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
  } else if (MouseInClient() && Enabled()) {
    Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
  }
  const int shift = pressed_ ? 1 : 0;
  const std::string& caption = Caption();
  const int gw = glyph_->Empty() ? 0 : glyph_->Width();
  const int gh = glyph_->Empty() ? 0 : glyph_->Height();
  const int textW = caption.empty() ? 0 : c.TextWidth(caption);
  const int gap = gw && textW ? 4 : 0;
  int x = (Width() - gw - gap - textW) / 2 + shift;
  if (gw) c.Draw(x, (Height() - gh) / 2 + shift, glyph_.get());
  if (!caption.empty()) {
    plat::RECT tr{x + gw + gap, shift, Width() + shift, Height() + shift};
    DrawCaption(c, *Font(), caption, tr, plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_LEFT, Enabled());
  }
}

// ---- TPanel ------------------------------------------------------------------------------------

const TMetaClass& TPanel::StaticClass() {
  static const TMetaClass meta("TPanel", &TCustomControl::StaticClass(), FactoryFor<TPanel>(),
                               Stored<TPanel>([](auto& b) {
                                 b.Enum("BevelInner", &TPanel::SetBevelInner, BevelCutType());
                                 b.Enum("BevelOuter", &TPanel::SetBevelOuter, BevelCutType());
                                 b.Integer("BevelWidth", &TPanel::SetBevelWidth);
                                 b.Boolean("ShowCaption", &TPanel::SetShowCaption);
                                 b.Enum("Alignment", &TPanel::SetAlignment, AlignmentType());
                                 b.Enum("VerticalAlignment", &TPanel::SetVerticalAlignment, VerticalAlignmentType());
                               }));
  return meta;
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                   csReplicatable});
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetBevelWidth(int v) {
  bevelWidth_ = std::max(v, 1);
  Realign();
  Invalidate();
}
void TPanel::SetShowCaption(bool v) {
  showCaption_ = v;
  Invalidate();
}
void TPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TPanel::SetVerticalAlignment(TVerticalAlignment v) {
  verticalAlignment_ = v;
  Invalidate();
}

void TPanel::AdjustClientRect(plat::RECT& r) const {
  TCustomControl::AdjustClientRect(r);
  const int bevels = (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
  r = {r.left + bevels, r.top + bevels, r.right - bevels, r.bottom - bevels};
}

void TPanel::Paint() {
  TCanvas& c = Canvas();
  plat::RECT r = ClientRect();
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect(r);
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    const TColor light = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor dark = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    if (cut == bvSpace) Frame3D(c, r, Color(), Color(), bevelWidth_);
    else Frame3D(c, r, light, dark, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(c, r, Color(), Color(), BorderWidth());
  bevel(bevelInner_);
  if (!showCaption_ || Caption().empty()) return;
  plat::UINT flags = plat::DT_SINGLELINE | plat::DT_EXPANDTABS | AlignmentFlags(alignment_);
  flags |= verticalAlignment_ == taAlignTop ? plat::DT_TOP
           : verticalAlignment_ == taAlignBottom ? plat::DT_BOTTOM
                                                 : plat::DT_VCENTER;
  DrawCaption(c, *Font(), Caption(), r, flags, Enabled());
}

// ---- TImage ------------------------------------------------------------------------------------

const TMetaClass& TImage::StaticClass() {
  static const TMetaClass meta("TImage", &TGraphicControl::StaticClass(), FactoryFor<TImage>(),
                               Stored<TImage>([](auto& b) {
                                 b.Object("Picture", &TImage::Picture);
                                 b.Boolean("Transparent", &TImage::SetTransparent);
                                 b.Boolean("AutoSize", &TImage::SetAutoSize);
                                 b.Boolean("Center", &TImage::SetCenter);
                                 b.Boolean("Stretch", &TImage::SetStretch);
                                 b.Boolean("Proportional", &TImage::SetProportional);
                               }));
  return meta;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::PictureChanged() {
  if (TGraphic* g = picture_->Graphic()) {
    if (g->Transparent() != transparent_) g->SetTransparent(transparent_);
    if (autoSize_ && g->Width() > 0 && g->Height() > 0) SetBounds(Left(), Top(), g->Width(), g->Height());
  }
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  transparent_ = v;
  PictureChanged();
}
void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  PictureChanged();
}
void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}
void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}
void TImage::SetProportional(bool v) {
  proportional_ = v;
  Invalidate();
}

plat::RECT TImage::DestRect() const {
  int w = picture_->Width();
  int h = picture_->Height();
  const int cw = Width();
  const int ch = Height();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_ && w > 0 && h > 0) {
      const double scale = std::min(static_cast<double>(cw) / w, static_cast<double>(ch) / h);
      w = static_cast<int>(w * scale);
      h = static_cast<int>(h * scale);
    } else {
      w = cw;
      h = ch;
    }
  }
  plat::RECT r{0, 0, w, h};
  if (center_) r = {(cw - w) / 2, (ch - h) / 2, (cw - w) / 2 + w, (ch - h) / 2 + h};
  return r;
}

void TImage::Paint() {
  TGraphic* g = picture_->Graphic();
  if (!g || g->Empty()) return;
  const plat::RECT r = DestRect();
  if (r.right - r.left == g->Width() && r.bottom - r.top == g->Height())
    Canvas().Draw(r.left, r.top, g);
  else
    Canvas().StretchDraw(r, g);
}

}  // namespace fw
