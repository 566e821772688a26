// The window's picture and what is painted from it: the frame strips, the region that cuts the
// window to the skin's shape and the client background.
#include <algorithm>

#include "framework/application.h"
#include "framework/bitmap.h"
#include "platform/base/pixel_math.h"
#include "paint/masks.h"
#include "paint/section_lookup.h"
#include "paint/sections.h"
#include "paint/text.h"
#include "platform/wm/metrics.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"
#include "windows/sSkinProvider.h"

namespace velmora {

namespace {

constexpr plat::UINT kCaptionFormat = plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_END_ELLIPSIS | plat::DT_NOPREFIX;

// The platform's caption font in the form's character set.
void UseCaptionFont(fw::TCanvas& canvas, const fw::TCustomForm& form) {
  plat::NONCLIENTMETRICS metrics;
  plat::SystemParametersInfo(plat::SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const plat::LOGFONT& lf = metrics.lfCaptionFont;
  fw::TFont& font = canvas.Font();
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  fw::TFontStyles style;
  if (lf.lfWeight >= plat::FW_BOLD) style.Include(fw::fsBold);
  if (lf.lfItalic) style.Include(fw::fsItalic);
  font.SetStyle(style);
  font.SetCharset(form.Font()->Charset());
}

const TsGeneralData* SectionAt(const TacSkinIndex* skin, int index) {
  return ValidSection(skin, index) ? &skin->gd[static_cast<std::size_t>(index)] : nullptr;
}

}  // namespace

bool TsSkinProvider::IconVisible() const {
  const auto bs = Form->BorderStyle();
  return titleIcon_.Visible && ShowAppIcon && (bs == fw::bsSingle || bs == fw::bsSizeable) &&
         Form->BorderIcons().Contains(fw::biSystemMenu);
}

namespace {
int AutoIconSide(int caption) { return caption > 16 ? 16 : caption >= 9 ? 8 : 1; }
}  // namespace

int TsSkinProvider::TitleIconWidth() const {
  return titleIcon_.Width ? titleIcon_.Width : AutoIconSide(CaptionHeight(true));
}
int TsSkinProvider::TitleIconHeight() const {
  return titleIcon_.Height ? titleIcon_.Height : AutoIconSide(CaptionHeight(true));
}

// Title, title icon, the band behind the buttons, the buttons and the caption, over the picture's
// background: all of the picture that changes with activation when the form section does not.
void TsSkinProvider::PaintTitleBar() {
  const TacSkinIndex* skin = Skin();
  if (!skin || !skinData_.FCacheBmp) return;
  fw::TBitmap& bmp = *skinData_.FCacheBmp;
  const plat::RECT shadow = ShadowSize();
  const plat::RECT window = WindowRect();
  const plat::POINT origin{window.left, window.top};
  const int width = bmp.Width();
  const int height = bmp.Height();
  // 5. Title, title icon and the band behind the title buttons.
  const int titleBottom = shadow.top + FrameBorderHeight(false) + CaptionHeight(true);
  if (const TsGeneralData* title = SectionAt(skin, FTitleSkinIndex)) {
    const int state = std::min(FormActive ? 1 : 0, title->States - 1);
    PaintSection(FTitleSkinIndex, title->ClassName, SelfCacheInfo(bmp, 0, 0), -1, -1, skin, &bmp, origin,
                 plat::RECT{shadow.left, shadow.top, width - shadow.right, titleBottom}, state, true);
  }
  if (IconVisible() && !titleIcon_.Glyph.Empty() && plat::RectWidth(FIconRect) > 0) {
    fw::TBitmap& glyph = const_cast<fw::TBitmap&>(titleIcon_.Glyph);
    bmp.Canvas().StretchDraw(FIconRect, &glyph);
  }
  const bool systemButtons = VisibleClose() || VisibleMax() || VisibleMin() || VisibleHelp();
  const int titleBar = skin->GetMaskIndex(skinData_.SkinIndex, skinData_.FSkinSection, "TITLEBAR");
  if (systemButtons && ValidMask(skin, titleBar)) {
    const int barWidth = ImageWidthOf(skin->ma[static_cast<std::size_t>(titleBar)]);
    const plat::RECT band{width - (ButtonsWidth() + 2 * barWidth), 0, width,
                          CaptionHeight(true) + FrameBorderHeight(false)};
    DrawBorderMask(bmp, band, FormActive ? 1 : 0, true, *skin, titleBar, SelfCacheInfo(bmp, 0, 0));
  }
  // 8. Title buttons over a saved copy of the title's right end.
  const int tempWidth = FrameBorderWidth(true) + ButtonsWidth() + shadow.right + 10;
  const int tempHeight = FrameBorderHeight(true) + CaptionHeight(true) + FrameBorderWidth(false) + shadow.top;
  const int tempLeft = tempLeft_ = std::max(0, width - tempWidth - 1);
  TempBmp.SetPixelFormat(fw::pf32bit);
  TempBmp.SetSize(std::min(tempWidth, width), std::min(tempHeight, height));
  plat::BitBlt(TempBmp.Canvas().Handle(), 0, 0, TempBmp.Width(), TempBmp.Height(), bmp.Canvas().Handle(), tempLeft, 0,
               plat::SRCCOPY);
  PaintBorderIcons();
  // 6. The caption comes last without a border window.
  PaintCaption(bmp);
}

bool TsSkinProvider::PictureReady() {
  if (skinData_.BGChanged || !skinData_.FCacheBmp || skinData_.FCacheBmp->Width() == 0) PaintAll();
  return skinData_.FCacheBmp && skinData_.FCacheBmp->Width() > 0 && !skinData_.BGChanged;
}

void TsSkinProvider::PaintAll() {
  if ((FormState & (kFsShowAnimation | kFsHideSnapshot)) || !Skinned()) return;
  const TacSkinIndex* skin = Skin();
  ++paintAllCount_;
  const plat::RECT shadow = ShadowSize();
  const plat::RECT window = WindowRect();
  const int width = CaptionWidth();
  int height = plat::RectHeight(window) + shadow.top + shadow.bottom;
  if (Form->HandleAllocated() && plat::IsIconic(Form->Handle()) && fw::Application &&
      fw::Application->MainForm() != Form)
    height = CaptionHeight(true) + 2;
  if (width <= 0 || height <= 0) return;
  // 1. Size.
  const bool fresh = !skinData_.FCacheBmp;
  if (fresh) skinData_.FCacheBmp = std::make_unique<fw::TBitmap>();
  fw::TBitmap& bmp = *skinData_.FCacheBmp;
  const bool wasEmpty = bmp.Width() == 0;
  if (bmp.PixelFormat() != fw::pf32bit) bmp.SetPixelFormat(fw::pf32bit);
  if (bmp.Width() != width || bmp.Height() != height) bmp.SetSize(width, height);
  if (wasEmpty && !Form->ComponentState().Contains(fw::csLoading)) {
    fw::TMessage repaint = MakeSkinMessage(scControlState);
    repaint.WParam = SkinParam(scControlState, 1);
    BroadcastToControls(Form, repaint);
  }
  // 2. Layout.
  CalcItems();
  RgnChanged = true;
  // 3. Background: the form section over everything but the shadow margins.
  const plat::POINT origin{window.left, window.top};
  const plat::RECT body{shadow.left, shadow.top, width - shadow.right, height - shadow.bottom};
  PaintControlSection(skinData_, TCacheInfo{}, true, &bmp, origin, body, FormActive ? 1 : 0);
  // 4. Size grip.
  if (GripMode == gmRightBottom && ValidMask(skin, skin->ConstData.GripRightBottom)) {
    const TsMaskData& grip = skin->ma[static_cast<std::size_t>(skin->ConstData.GripRightBottom)];
    const plat::POINT at{body.right - BorderWidth(true) - ImageWidthOf(grip),
                         body.bottom - BorderHeight(true) - ImageHeightOf(grip)};
    DrawGlyphMask(bmp, at, 0, SelfCacheInfo(bmp, 0, 0), grip, 1);
  }
  PaintTitleBar();
  // 9. Fresh now; what the form paints itself becomes part of it.
  skinData_.BGChanged = false;
  if (Form->OnPaint) {
    fw::TCanvas& canvas = Form->Canvas();
    const plat::HDC own = canvas.HandleAllocated() ? canvas.Handle() : nullptr;
    const int saved = plat::SaveDC(bmp.Canvas().Handle());
    plat::SetViewportOrgEx(bmp.Canvas().Handle(), OffsetX(), OffsetY(), nullptr);
    canvas.SetHandle(bmp.Canvas().Handle());
    Form->OnPaint(Form);
    canvas.SetHandle(own);
    plat::RestoreDC(bmp.Canvas().Handle(), saved);
  }
}

void TsSkinProvider::PaintCaption(fw::TBitmap& bmp) {
  const TacSkinIndex* skin = Skin();
  const std::string& text = Form->Caption();
  if (!skin || (!addedTitle_.ShowMainCaption && addedTitle_.Text.empty())) return;
  const TsSkinData& data = skin->SkinData;
  const plat::RECT shadow = ShadowSize();
  const TsGeneralData* captionSection = SectionAt(skin, FCaptionSkinIndex);
  plat::RECT rect{FrameBorderWidth(true) + (IconVisible() ? TitleIconWidth() : 0) + 4 + data.BILeftMargin + shadow.left +
                      (captionSection ? 2 : 0),
                  0, bmp.Width() - ButtonsWidth() - 12 - shadow.right, 0};
  if (rect.right <= rect.left) return;
  fw::TCanvas& canvas = bmp.Canvas();
  UseCaptionFont(canvas, *Form);
  const std::string mainText = addedTitle_.ShowMainCaption ? text : std::string();
  const int textHeight = canvas.TextHeight("Wy");
  rect.top = VCenter - textHeight / 2;
  rect.bottom = rect.top + textHeight;
  const int captionWidth = mainText.empty() ? 0 : canvas.TextWidth(mainText);
  int addedWidth = 0;
  if (!addedTitle_.Text.empty()) {
    fw::TFont saved;
    saved.Assign(&canvas.Font());
    canvas.Font().Assign(addedTitle_.Font());
    addedWidth = canvas.TextWidth(addedTitle_.Text);
    canvas.Font().Assign(&saved);
  }
  const int whole = captionWidth + addedWidth + 4;
  switch (CaptionAlignment) {
    case fw::taRightJustify:
      if (whole < plat::RectWidth(rect)) rect.left = rect.right - whole;
      break;
    case fw::taCenter: {
      const int left = std::max<int>(rect.left, rect.left + (plat::RectWidth(rect) - whole) / 2);
      rect.right = std::min<int>(left + std::max(captionWidth, whole), rect.right);
      rect.left = left;
      break;
    }
    default: break;
  }
  const bool active = FormActive;
  int colourSection = FTitleSkinIndex;
  if (captionSection) {
    const plat::RECT behind{rect.left - 4, rect.top - 2, rect.right + 4, rect.bottom + 2};
    PaintSection(FCaptionSkinIndex, "CAPTION", SelfCacheInfo(bmp, 0, 0), -1, -1, skin, &bmp, {0, 0}, behind,
                 active ? 1 : 0, true);
    colourSection = FCaptionSkinIndex;
  }
  const TsGeneralData* colours = SectionAt(skin, colourSection);
  const int state = colours ? std::min(active ? 1 : 0, colours->States - 1) : 0;
  plat::RECT textRect = rect;
  if (!mainText.empty()) {
    if (colours) {
      const int glowSize = state ? colours->HotGlowSize : colours->GlowSize;
      if (glowSize > 0) {
        const TColor glowColor = state ? colours->HotGlowColor : colours->GlowColor;
        DrawTextGlow(bmp, mainText, rect, active ? FGlow1 : FGlow2, glowColor, glowSize, 0, kCaptionFormat);
      }
    }
    WriteSectionText(canvas, mainText, true, skin, state, colourSection, kCaptionFormat, rect);
    textRect.left = std::min<int>(rect.right, rect.left + captionWidth + 4);
  }
  if (addedWidth > 4 && textRect.left < textRect.right) {
    canvas.Font().Assign(addedTitle_.Font());
    TColor color = addedTitle_.Font()->Color();
    const TColor sectionFont = colours ? (active ? colours->HotFontColor.Color : colours->FontColor.Color) : 0;
    if (color == fw::clNone || color == fw::clWindowText) color = sectionFont;
    else if (!active && colours) color = static_cast<TColor>(plat::LerpColor(static_cast<plat::Pixel>(fw::ColorToRGB(color)), static_cast<plat::Pixel>(colours->FontColor.Color), 128));
    canvas.Font().SetColor(color);
    canvas.Brush().SetStyle(fw::bsClear);
    plat::RECT r = textRect;
    plat::DrawText(canvas.Handle(), addedTitle_.Text.c_str(), -1, &r, kCaptionFormat);
  }
}

void TsSkinProvider::UpdateRgn(bool repaint) {
  if (!DrawNonClientArea || !Form->HandleAllocated() || RgnChanging) return;
  const bool iconic = plat::IsIconic(Form->Handle());
  if (!HaveBorder() && !HaveCaption() && !iconic) return;
  const TacSkinIndex* skin = Skin();
  if (!skin) return;
  RgnChanging = true;
  const plat::RECT window = WindowRect();
  const int width = CaptionWidth();
  const int height = plat::RectHeight(window);
  plat::HRGN region = nullptr;
  if (plat::IsZoomed(Form->Handle())) {
    const int f = FrameBorderWidth(false);
    region = plat::CreateRectRgn(f, f, width - f, height - f);
  } else {
    ArOR.clear();
    if (ValidMask(skin, skinData_.BorderIndex)) {
      const TsMaskData& mask = skin->ma[static_cast<std::size_t>(skinData_.BorderIndex)];
      CornerRects(ArOR, width, mask, false, 0);
      CornerRects(ArOR, width, mask, true, height - mask.WB);
    }
    const int titleBorder = skin->GetMaskIndex(FTitleSkinIndex, SectionAt(skin, FTitleSkinIndex)
                                                                     ? skin->gd[static_cast<std::size_t>(FTitleSkinIndex)].ClassName
                                                                     : std::string(),
                                               "BORDERSMASK");
    if (ValidMask(skin, titleBorder)) CornerRects(ArOR, width, skin->ma[static_cast<std::size_t>(titleBorder)], false, 0);
    region = plat::CreateRectRgn(0, 0, width, height);
    for (const plat::RECT& r : ArOR) {
      const plat::HRGN cut = plat::CreateRectRgn(r.left, r.top, r.right, r.bottom);
      plat::CombineRgn(region, region, cut, plat::RGN_DIFF);
      plat::DeleteObject(cut);
    }
  }
  plat::SetWindowRgn(Form->Handle(), region, repaint ? plat::TRUE : plat::FALSE);
  RgnChanged = false;
  RgnChanging = false;
}

void TsSkinProvider::PaintNonClient(plat::HDC dc) {
  if (!Form->HandleAllocated()) return;
  if (RgnChanged) UpdateRgn(false);
  if (!PictureReady()) return;
  fw::TBitmap& bmp = *skinData_.FCacheBmp;
  const plat::HWND window = Form->Handle();
  const bool own = dc == nullptr;
  if (own) dc = plat::GetWindowDC(window);
  const plat::HDC src = bmp.Canvas().Handle();
  const int width = bmp.Width();
  const int height = bmp.Height();
  const int top = OffsetY();
  const int left = OffsetX();
  const plat::RECT client = Form->ClientRect();
  const int bottom = top + client.bottom;
  const int right = left + client.right;
  auto strip = [&](int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    plat::BitBlt(dc, x, y, w, h, src, x, y, plat::SRCCOPY);
    pixelsPushed_ += static_cast<long long>(w) * h;
  };
  strip(0, 0, width, top);                      // title with the top border
  strip(0, top, left, bottom - top);            // left
  strip(right, top, width - right, bottom - top);  // right
  strip(0, bottom, width, height - bottom);     // bottom
  if (own) plat::ReleaseDC(window, dc);
}

bool TsSkinProvider::PaintClientBackground(plat::HDC dc) {
  if (!dc || !PictureReady()) return false;
  const plat::RECT client = Form->ClientRect();
  plat::BitBlt(dc, 0, 0, client.right, client.bottom, skinData_.FCacheBmp->Canvas().Handle(), OffsetX(), OffsetY(),
               plat::SRCCOPY);
  return true;
}

// The window gets one rectangle of the picture, at the same place.
void TsSkinProvider::PushToWindow(const plat::RECT& r) {
  if (!Form->HandleAllocated() || !skinData_.FCacheBmp || plat::IsRectEmpty(&r)) return;
  const plat::HDC dc = plat::GetWindowDC(Form->Handle());
  plat::BitBlt(dc, r.left, r.top, plat::RectWidth(r), plat::RectHeight(r), skinData_.FCacheBmp->Canvas().Handle(), r.left,
               r.top, plat::SRCCOPY);
  plat::ReleaseDC(Form->Handle(), dc);
  pixelsPushed_ += static_cast<long long>(plat::RectWidth(r)) * plat::RectHeight(r);
}

}  // namespace velmora
