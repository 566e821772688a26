// The title buttons: which exist and with which glyphs, where they go, how they are drawn and
// repainted one at a time, the hit test of the frame and the mouse on the title bar.
#include <algorithm>

#include "framework/application.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "paint/section_lookup.h"
#include "platform/wm/menus.h"
#include "skin/sSkinManagerComponent.h"
#include "windows/sSkinProvider.h"
#include "windows/sSystemMenu.h"

namespace velmora {

namespace {

// From a press on a title button to the next release anywhere; one for the program.
bool gPressed = false;

constexpr int kDefaultButtonSide = 21;
constexpr int kHelpGap = 6;
constexpr int kUserGap = 6;

bool IsButtonCode(int code) {
  return code == plat::HTMINBUTTON || code == plat::HTMAXBUTTON || code == plat::HTCLOSE || code == plat::HTHELP ||
         (code >= kUserButtonCode && code <= kUserButtonCode + 100);
}

bool Inside(const plat::RECT& r, plat::POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

bool TitleButtonPressed() { return gPressed; }
void SetTitleButtonPressed(bool pressed) { gPressed = pressed; }

bool TsSkinProvider::VisibleClose() const { return SystemMenu && SystemMenu->VisibleClose(); }
bool TsSkinProvider::VisibleMax() const { return SystemMenu && SystemMenu->VisibleMax(); }
bool TsSkinProvider::VisibleMin() const { return SystemMenu && SystemMenu->VisibleMin(); }
bool TsSkinProvider::VisibleHelp() const {
  return SystemMenu && Form->BorderIcons().Contains(fw::biSystemMenu) && Form->BorderIcons().Contains(fw::biHelp);
}
bool TsSkinProvider::EnabledMax() const { return SystemMenu && SystemMenu->EnabledMax(); }
bool TsSkinProvider::EnabledMin() const { return SystemMenu && SystemMenu->EnabledMin(); }
bool TsSkinProvider::EnabledRestore() const { return SystemMenu && SystemMenu->EnabledRestore(); }

void TsSkinProvider::UpdateIconsIndexes() {
  const TacSkinIndex* skin = Skin();
  if (!skin) return;
  const TConstantSkinData& c = skin->ConstData;
  const auto bs = Form->BorderStyle();
  BigButtons = bs == fw::bsSingle || bs == fw::bsSizeable;
  ButtonMin.HitCode = plat::HTMINBUTTON;
  ButtonMax.HitCode = plat::HTMAXBUTTON;
  ButtonClose.HitCode = plat::HTCLOSE;
  ButtonHelp.HitCode = plat::HTHELP;
  auto big = [&] {
    ButtonMin.ImageIndex = c.MaskMinBtn;
    ButtonMax.ImageIndex = c.MaskMaxBtn;
    const bool alone = !VisibleMax() && !VisibleMin() && ValidMask(skin, c.MaskCloseAloneBtn);
    ButtonClose.ImageIndex = alone ? c.MaskCloseAloneBtn : c.MaskCloseBtn;
    ButtonHelp.ImageIndex = c.MaskHelpBtn;
    ButtonMin.HaveAlignment = ButtonMax.HaveAlignment = ButtonClose.HaveAlignment = true;
  };
  if (BigButtons) {
    big();
  } else {
    ButtonClose.ImageIndex = c.MaskCloseSmall;
    ButtonMin.ImageIndex = c.MaskMinSmall;
    ButtonMax.ImageIndex = c.MaskMaxSmall;
    ButtonHelp.ImageIndex = ValidMask(skin, c.MaskHelpSmall) ? c.MaskHelpSmall : c.MaskHelpBtn;
    ButtonMin.HaveAlignment = ButtonMax.HaveAlignment = ButtonClose.HaveAlignment = false;
  }
  // Without a close glyph of the chosen size the whole big set is used.
  if (!ValidMask(skin, ButtonClose.ImageIndex)) big();
  ButtonHelp.HaveAlignment = false;
}

plat::SIZE TsSkinProvider::ButtonSize(const TsCaptionButton& button) const {
  const TacSkinIndex* skin = Skin();
  plat::SIZE size{kDefaultButtonSide, kDefaultButtonSide};
  if (ValidMask(skin, button.ImageIndex)) size.cx = ImageWidthOf(skin->ma[static_cast<std::size_t>(button.ImageIndex)]);
  if (ValidMask(skin, ButtonClose.ImageIndex))
    size.cy = ImageHeightOf(skin->ma[static_cast<std::size_t>(ButtonClose.ImageIndex)]);
  return size;
}

void TsSkinProvider::PlaceButton(TsCaptionButton& button, int& x, int topLine, bool visible) {
  if (!visible) {
    button.Rect = {0, 0, 0, 0};
    return;
  }
  const plat::SIZE size = ButtonSize(button);
  const TsSkinData& data = Skin()->SkinData;
  button.Rect.right = x;
  button.Rect.left = x - size.cx;
  button.Rect.top = button.HaveAlignment && data.BIVAlign == 1 ? topLine : VCenter - size.cy / 2;
  button.Rect.bottom = button.Rect.top + size.cy;
  x = button.Rect.left - (BigButtons ? data.BISpacing : 0);
}

void TsSkinProvider::CalcItems() {
  const TacSkinIndex* skin = Skin();
  if (!skin) return;
  const TsSkinData& data = skin->SkinData;
  const plat::RECT shadow = ShadowSize();
  const bool zoomed = Form->HandleAllocated() && plat::IsZoomed(Form->Handle());
  VCenter = CaptionHeight(true) / 2 + FrameBorderWidth(false) / 2 + (zoomed ? 2 : 0);
  const int topLine = zoomed ? 6 : 0;
  if (IconVisible()) {
    FIconRect.left = FrameBorderWidth(true) + data.BILeftMargin + shadow.left;
    FIconRect.right = FIconRect.left + TitleIconWidth();
    FIconRect.top = VCenter - TitleIconHeight() / 2;
    FIconRect.bottom = FIconRect.top + TitleIconHeight();
  } else {
    FIconRect = {0, 0, 0, 0};
  }
  int x = CaptionWidth() - data.BIRightMargin - shadow.right - FrameBorderWidth(true);
  const bool buttons = SystemMenu && Form->BorderIcons().Contains(fw::biSystemMenu);
  PlaceButton(ButtonClose, x, topLine, buttons && VisibleClose());
  PlaceButton(ButtonMax, x, topLine, buttons && VisibleMax());
  PlaceButton(ButtonMin, x, topLine, buttons && VisibleMin());
  if (buttons && VisibleHelp()) x -= kHelpGap;
  PlaceButton(ButtonHelp, x, topLine, buttons && VisibleHelp());
  if (titleButtons_.Count() == 0) return;
  x -= kUserGap;
  const int background = skin->GetMaskIndex(skin->ConstData.IndexGLobalInfo, "GLOBALINFO", "TITLEBUTTON");
  for (int i = 0; i < titleButtons_.Count() && i < kMaxUserButtons; ++i) {
    TsTitleButton& b = *titleButtons_.Items(i);
    b.Data.HitCode = kUserButtonCode + i;
    b.Data.ImageIndex = b.UseSkinData ? background : -1;
    if (!b.Visible) {
      b.Data.Rect = {0, 0, 0, 0};
      continue;
    }
    const plat::SIZE own = ButtonSize(b.Data);
    const int width = ValidMask(skin, b.Data.ImageIndex) ? own.cx : b.Glyph.Empty() ? kDefaultButtonSide : b.Glyph.Width();
    b.Data.Rect = {x - width, VCenter - own.cy / 2, x, VCenter - own.cy / 2 + own.cy};
    x -= width + (BigButtons ? data.BISpacing : 0);
  }
}

int TsSkinProvider::ButtonsWidth() const {
  const TacSkinIndex* skin = Skin();
  if (!skin) return 0;
  const TsSkinData& data = skin->SkinData;
  const int spacing = BigButtons ? data.BISpacing : 0;
  int width = data.BIRightMargin;
  for (const TsCaptionButton* b : {&ButtonClose, &ButtonMax, &ButtonMin, &ButtonHelp})
    if (plat::RectWidth(b->Rect) > 0) width += plat::RectWidth(b->Rect) + spacing;
  if (plat::RectWidth(ButtonHelp.Rect) > 0) width += kHelpGap;
  bool users = false;
  for (int i = 0; i < titleButtons_.Count(); ++i) {
    const plat::RECT& r = titleButtons_.Items(i)->Data.Rect;
    if (plat::RectWidth(r) > 0) width += plat::RectWidth(r) + spacing, users = true;
  }
  return users ? width + kUserGap : width;
}

int TsSkinProvider::UserButtonIndex(int code) const {
  const int i = code - kUserButtonCode;
  return i >= 0 && i < titleButtons_.Count() ? i : -1;
}

TsCaptionButton* TsSkinProvider::ButtonByCode(int code) {
  switch (code) {
    case plat::HTCLOSE: return &ButtonClose;
    case plat::HTMAXBUTTON: return &ButtonMax;
    case plat::HTMINBUTTON: return &ButtonMin;
    case plat::HTHELP: return &ButtonHelp;
    default: {
      const int i = UserButtonIndex(code);
      return i < 0 ? nullptr : &titleButtons_.Items(i)->Data;
    }
  }
}

// Maximise and minimise show the restore glyph while the form is maximised or held minimised.
int TsSkinProvider::ButtonGlyph(const TsCaptionButton& button) const {
  const TacSkinIndex* skin = Skin();
  const bool bigSet = ButtonClose.HaveAlignment;
  const int restore = bigSet ? skin->ConstData.MaskNormBtn : skin->ConstData.MaskNormSmall;
  if (&button == &ButtonMax && Form->HandleAllocated() && plat::IsZoomed(Form->Handle())) return restore;
  if (&button == &ButtonMin && Form->HandleAllocated() && plat::IsIconic(Form->Handle()) && fw::Application &&
      fw::Application->MainForm() != Form)
    return restore;
  return button.ImageIndex;
}

bool TsSkinProvider::ButtonEnabled(const TsCaptionButton& button) const {
  if (&button == &ButtonMax) return EnabledMax() || EnabledRestore();
  if (&button == &ButtonMin) return EnabledMin();
  return true;
}

void TsSkinProvider::DrawButton(fw::TBitmap& bmp, const TsCaptionButton& button) {
  const TacSkinIndex* skin = Skin();
  if (plat::RectWidth(button.Rect) <= 0) return;
  const int glyph = ButtonGlyph(button);
  if (ValidMask(skin, glyph)) {
    const bool faded = (!FormActive || !ButtonEnabled(button)) && button.State == 0;
    DrawGlyphMask(bmp, {button.Rect.left, button.Rect.top}, button.State, SelfCacheInfo(bmp, 0, 0), *skin, glyph,
                  faded ? 0 : 1);
  }
  const int i = UserButtonIndex(button.HitCode);
  if (i < 0) return;
  fw::TBitmap& own = titleButtons_.Items(i)->Glyph;
  if (own.Empty()) return;
  const int x = button.Rect.left + (plat::RectWidth(button.Rect) - own.Width()) / 2;
  const int y = button.Rect.top + (plat::RectHeight(button.Rect) - own.Height()) / 2;
  if (own.PixelFormat() == fw::pf32bit && own.AlphaFormat() != fw::afIgnored)
    BlendAlphaImage({x, y, x + own.Width(), y + own.Height()}, {0, 0, own.Width(), own.Height()}, bmp, false,
                    TCacheInfo{}, own);
  else
    CopyKeyed(bmp, own, x, y, own.TransparentColor());
}

void TsSkinProvider::PaintBorderIcons() {
  if (!skinData_.FCacheBmp) return;
  fw::TBitmap& bmp = *skinData_.FCacheBmp;
  for (const TsCaptionButton* b : {&ButtonClose, &ButtonMax, &ButtonMin, &ButtonHelp}) DrawButton(bmp, *b);
  for (int i = 0; i < titleButtons_.Count(); ++i)
    if (titleButtons_.Items(i)->Visible) DrawButton(bmp, titleButtons_.Items(i)->Data);
}

// The button alone: its place in the picture from TempBmp, the glyph in its new state, then
// that rectangle to the window.
void TsSkinProvider::RepaintButton(int code) {
  TsCaptionButton* button = ButtonByCode(code);
  if (!button || plat::RectWidth(button->Rect) <= 0 || !Form->HandleAllocated()) return;
  if (skinData_.BGChanged || !skinData_.FCacheBmp) {
    PaintNonClient();
    return;
  }
  fw::TBitmap& bmp = *skinData_.FCacheBmp;
  const plat::RECT& r = button->Rect;
  if (r.left >= FIconRect.right)
    plat::BitBlt(bmp.Canvas().Handle(), r.left, r.top, plat::RectWidth(r), plat::RectHeight(r), TempBmp.Canvas().Handle(),
                 r.left - tempLeft_, r.top, plat::SRCCOPY);
  DrawButton(bmp, *button);
  PushToWindow(r);
}

int TsSkinProvider::HTProcess(plat::POINT screen) {
  const plat::RECT window = WindowRect();
  const plat::POINT p{screen.x - window.left, screen.y - window.top};
  // The buttons by number: close, maximise, minimise, help, then the user's.
  std::vector<const TsCaptionButton*> order{&ButtonClose};
  if (VisibleMax()) order.push_back(&ButtonMax);
  if (VisibleMin()) order.push_back(&ButtonMin);
  if (VisibleHelp()) order.push_back(&ButtonHelp);
  const int systemCount = static_cast<int>(order.size());
  for (int i = 0; i < titleButtons_.Count(); ++i)
    if (titleButtons_.Items(i)->Visible) order.push_back(&titleButtons_.Items(i)->Data);
  const bool withMenu = Form->BorderIcons().Contains(fw::biSystemMenu);
  const bool zoomed = plat::IsZoomed(Form->Handle());
  const bool iconic = plat::IsIconic(Form->Handle());
  for (int n = 1; n <= static_cast<int>(order.size()); ++n) {
    const TsCaptionButton& b = *order[static_cast<std::size_t>(n - 1)];
    if (!Inside(b.Rect, p)) continue;
    int code = plat::HTCLIENT;
    if (n > systemCount) {
      const int i = UserButtonIndex(b.HitCode);
      code = i >= 0 && titleButtons_.Items(i)->Enabled ? b.HitCode : plat::HTCLIENT;
    } else if (&b == &ButtonClose) {
      code = withMenu ? plat::HTCLOSE : plat::HTCLIENT;
    } else if (&b == &ButtonMax) {
      code = EnabledMax() || (EnabledRestore() && !iconic) ? plat::HTMAXBUTTON : plat::HTCAPTION;
    } else if (&b == &ButtonMin) {
      code = EnabledMin() || iconic ? plat::HTMINBUTTON : plat::HTCAPTION;
    } else {
      code = plat::HTHELP;
    }
    if (code != plat::HTCLIENT) return code;
  }
  const int border = FrameBorderWidth(false);
  const plat::RECT whole{0, 0, plat::RectWidth(window), plat::RectHeight(window)};
  const auto bs = Form->BorderStyle();
  if ((bs == fw::bsSizeable || bs == fw::bsSizeToolWin) && !zoomed && !HasBorderWindow()) {
    const bool left = p.x < border, right = p.x >= whole.right - border;
    const bool top = p.y < border, bottom = p.y >= whole.bottom - border;
    if (top && left) return plat::HTTOPLEFT;
    if (top && right) return plat::HTTOPRIGHT;
    if (bottom && left) return plat::HTBOTTOMLEFT;
    if (bottom && right) return plat::HTBOTTOMRIGHT;
    if (left) return plat::HTLEFT;
    if (right) return plat::HTRIGHT;
    if (top) return plat::HTTOP;
    if (bottom) return plat::HTBOTTOM;
  }
  if (p.y < CaptionHeight(true) + FrameBorderHeight(false)) return Inside(FIconRect, p) ? plat::HTSYSMENU : plat::HTCAPTION;
  if (GripMode == gmRightBottom) {
    const TacSkinIndex* skin = Skin();
    if (ValidMask(skin, skin->ConstData.GripRightBottom)) {
      const TsMaskData& grip = skin->ma[static_cast<std::size_t>(skin->ConstData.GripRightBottom)];
      if (p.x >= whole.right - border - ImageWidthOf(grip) && p.y >= whole.bottom - border - ImageHeightOf(grip))
        return plat::HTBOTTOMRIGHT;
    }
  }
  return plat::HTCLIENT;
}

void TsSkinProvider::SetHotHT(int code, bool repaint) {
  if (code == CurrentHT || !DrawNonClientArea) return;
  if (TsCaptionButton* previous = ButtonByCode(CurrentHT)) {
    previous->State = 0;
    if (repaint) RepaintButton(CurrentHT);
  }
  CurrentHT = code;
  if (gPressed || code < 1) return;
  if (TsCaptionButton* button = ButtonByCode(code)) {
    button->State = 1;
    if (repaint) RepaintButton(code);
  }
}

void TsSkinProvider::SetPressedHT(int code) {
  if (code != CurrentHT)
    if (TsCaptionButton* previous = ButtonByCode(CurrentHT)) {
      previous->State = 0;
      RepaintButton(CurrentHT);
    }
  CurrentHT = code;
  if (code == plat::HTMAXBUTTON && !(EnabledMax() || (EnabledRestore() && plat::IsZoomed(Form->Handle())))) {
    CurrentHT = 0;
    return;
  }
  TsCaptionButton* button = ButtonByCode(code);
  if (!button) return;
  button->State = 2;
  gPressed = true;
  RepaintButton(code);
}

void TsSkinProvider::ResetHot() {
  SetHotHT(-1, true);
  gPressed = false;
}

// The non-client mouse on the title bar; false leaves the message to the old procedure.
bool TsSkinProvider::TitleMouse(fw::TMessage& m) {
  const int code = static_cast<int>(m.WParam);
  const plat::POINT at{plat::GET_X_LPARAM(m.LParam), plat::GET_Y_LPARAM(m.LParam)};
  switch (m.Msg) {
    case plat::WM_NCMOUSEMOVE:
      if (IsButtonCode(code)) {
        SetHotHT(code, true);
        plat::TRACKMOUSEEVENT track{sizeof(plat::TRACKMOUSEEVENT), plat::TME_LEAVE | plat::TME_NONCLIENT,
                                    Form->Handle(), 0};
        plat::TrackMouseEvent(&track);
        m.Result = 0;
        return true;
      }
      SetHotHT(0, true);
      return false;
    case plat::WM_NCLBUTTONDOWN:
      if (code == plat::HTMINBUTTON || code == plat::HTMAXBUTTON || code == plat::HTCLOSE || code == plat::HTHELP) {
        SetPressedHT(code);
        m.Result = 0;
        return true;
      }
      if (const int i = UserButtonIndex(code); i >= 0) {
        SetPressedHT(code);
        TsTitleButton& b = *titleButtons_.Items(i);
        if (b.OnMouseDown) b.OnMouseDown(&b, fw::mbLeft, fw::KeyboardState(), at.x, at.y);
        return true;
      }
      if (code == plat::HTSYSMENU) {
        m.Result = 0;
        CallOld(m);
        if (m.Result != 0) return true;
        ResetHot();
        const plat::RECT window = WindowRect();
        DropSysMenu(window.left + FIconRect.left,
                    window.top + FIconRect.top + BorderHeight(true) + plat::RectHeight(FIconRect) + FrameBorderHeight(true));
        return true;
      }
      return false;
    case plat::WM_NCLBUTTONUP: NcLButtonUp(m, code); return true;
    case plat::WM_NCLBUTTONDBLCLK:
      // A quick second click on a button presses it again.
      if (IsButtonCode(code)) {
        fw::TMessage down = m;
        down.Msg = plat::WM_NCLBUTTONDOWN;
        const bool handled = TitleMouse(down);
        m.Result = down.Result;
        return handled;
      }
      if (code == plat::HTCAPTION) {
        if (EnabledMax() || EnabledRestore() || plat::IsIconic(Form->Handle())) {
          const bool zoomed = plat::IsZoomed(Form->Handle()) || plat::IsIconic(Form->Handle());
          plat::SendMessage(Form->Handle(), plat::WM_SYSCOMMAND, zoomed ? plat::SC_RESTORE : plat::SC_MAXIMIZE, 0);
          if (SystemMenu) SystemMenu->UpdateItems();
        }
        return true;
      }
      if (code == plat::HTSYSMENU) {
        Form->Close();
        return true;
      }
      return false;
    case plat::WM_NCRBUTTONDOWN: return code == plat::HTCAPTION || code == plat::HTSYSMENU;
    case plat::WM_NCRBUTTONUP:
      if (code != plat::HTCAPTION && code != plat::HTSYSMENU) return false;
      ResetHot();
      DropSysMenu(at.x, at.y);
      return true;
    default: return false;
  }
}

void TsSkinProvider::NcLButtonUp(fw::TMessage& m, int code) {
  const plat::HWND window = Form->Handle();
  const bool pressed = gPressed;
  const plat::RECT rect = WindowRect();
  const plat::POINT at{plat::GET_X_LPARAM(m.LParam) - rect.left, plat::GET_Y_LPARAM(m.LParam) - rect.top};
  switch (code) {
    case plat::HTMINBUTTON:
      if (pressed && Inside(ButtonMin.Rect, at)) {
        ResetHot();
        plat::SendMessage(window, plat::WM_SYSCOMMAND, plat::IsIconic(window) ? plat::SC_RESTORE : plat::SC_MINIMIZE, 0);
        return;
      }
      break;
    case plat::HTMAXBUTTON:
      if (pressed && (EnabledMax() || (plat::IsZoomed(window) && EnabledRestore()))) {
        ResetHot();
        plat::SendMessage(window, plat::WM_SYSCOMMAND, plat::IsZoomed(window) ? plat::SC_RESTORE : plat::SC_MAXIMIZE, 0);
        if (SystemMenu) SystemMenu->UpdateItems();
        return;
      }
      break;
    case plat::HTCLOSE:
      if (pressed) {
        ButtonClose.State = 0;
        gPressed = false;
        fw::TCustomForm* form = Form;
        plat::SendMessage(window, plat::WM_SYSCOMMAND, plat::SC_CLOSE, 0);
        // The form, and this provider with it, may be gone.
        if (plat::IsWindow(window) && fw::TWinControl::FindControl(window) == form && plat::IsWindowVisible(window)) {
          skinData_.BGChanged = true;
          ResetHot();
        }
        return;
      }
      break;
    case plat::HTHELP:
      if (pressed) {
        plat::SendMessage(window, plat::WM_SYSCOMMAND, plat::SC_CONTEXTHELP, 0);
        ResetHot();
        if (SystemMenu) SystemMenu->UpdateItems();
        RepaintFrame();
        return;
      }
      break;
    default:
      if (const int i = UserButtonIndex(code); i >= 0 && pressed) {
        TsTitleButton& b = *titleButtons_.Items(i);
        ResetHot();
        if (b.OnMouseUp) b.OnMouseUp(&b, fw::mbLeft, fw::KeyboardState(), at.x, at.y);
        return;
      }
      break;
  }
  ResetHot();
  CallOld(m);
}

}  // namespace velmora
