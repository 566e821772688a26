#include "framework/std_controls.h"

#include "framework/stored_properties.h"
#include "platform/wm/standard_controls.h"

namespace fw {

namespace {
constexpr TEnumValue kLayouts[] = {{"tlTop", tlTop}, {"tlCenter", tlCenter}, {"tlBottom", tlBottom}};

// A context to measure text in when the control has none (before it is painted).
class TMeasureDc {
 public:
  TMeasureDc() : dc_(plat::CreateCompatibleDC(nullptr)) {}
  ~TMeasureDc() { plat::DeleteDC(dc_); }
  TMeasureDc(const TMeasureDc&) = delete;
  TMeasureDc& operator=(const TMeasureDc&) = delete;
  plat::HDC Dc() const { return dc_; }

 private:
  plat::HDC dc_;
};
}  // namespace

const TEnumType& TextLayoutType() {
  static const TEnumType t{"TTextLayout", kLayouts};
  return t;
}

plat::UINT AlignmentFlags(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return plat::DT_RIGHT;
    case taCenter: return plat::DT_CENTER;
    default: return plat::DT_LEFT;
  }
}

// ---- TButton -----------------------------------------------------------------------------------

const TMetaClass& TButton::StaticClass() {
  static const TMetaClass meta("TButton", &TWinControl::StaticClass(), FactoryFor<TButton>(),
                               Stored<TButton>([](auto& b) {
                                 b.Integer("ModalResult", &TButton::SetModalResult, &ModalResultIdents());
                                 b.Boolean("Default", &TButton::SetDefault);
                                 b.Boolean("Cancel", &TButton::SetCancel);
                                 b.Boolean("WordWrap", &TButton::SetWordWrap);
                               }));
  return meta;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetControlStyle({csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, plat::WC_BUTTON);
  p.Style |= default_ ? plat::BS_DEFPUSHBUTTON : plat::BS_PUSHBUTTON;
  if (wordWrap_) p.Style |= plat::BS_MULTILINE;
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  if (HandleAllocated())
    plat::SendMessage(Handle(), plat::BM_SETSTYLE, v ? plat::BS_DEFPUSHBUTTON : plat::BS_PUSHBUTTON, 1);
}

void TButton::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  RecreateWnd();
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this); form && modalResult_ != mrNone) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (plat::HIWORD(static_cast<plat::DWORD>(m.WParam)) == plat::BN_CLICKED) Click();
      m.Result = 1;
      return;
    case CM_DIALOGKEY:
      if (((m.WParam == plat::VK_RETURN && default_) || (m.WParam == plat::VK_ESCAPE && cancel_)) && CanFocus()) {
        Click();
        m.Result = 1;
      }
      return;
    default: TWinControl::WndProc(m);
  }
}

// ---- TLabel ------------------------------------------------------------------------------------

const TMetaClass& TLabel::StaticClass() {
  static const TMetaClass meta("TLabel", &TGraphicControl::StaticClass(), FactoryFor<TLabel>(),
                               Stored<TLabel>([](auto& b) {
                                 b.Boolean("Transparent", &TLabel::SetTransparent);
                                 b.Boolean("AutoSize", &TLabel::SetAutoSize);
                                 b.Enum("Alignment", &TLabel::SetAlignment, AlignmentType());
                                 b.Enum("Layout", &TLabel::SetLayout, TextLayoutType());
                                 b.Boolean("WordWrap", &TLabel::SetWordWrap);
                                 b.Boolean("ShowAccelChar", &TLabel::SetShowAccelChar);
                               }));
  return meta;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetBounds(0, 0, 65, 17);
  SetColor(clBtnFace);
  SetParentColor(true);
}

void TLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  SetControlStyle(v ? ControlStyle() - TControlStyle{csOpaque} : ControlStyle() + TControlStyle{csOpaque});
  Invalidate();
}

void TLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout l) {
  layout_ = l;
  Invalidate();
}

void TLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::WndProc(TMessage& m) {
  TGraphicControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) AdjustBounds();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::DoDrawText(plat::RECT& rect, plat::UINT flags) {
  std::string text = Caption();
  if ((flags & plat::DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) flags |= plat::DT_NOPREFIX;
  plat::HDC dc = Canvas().Handle();
  plat::HGDIOBJ oldFont = plat::SelectObject(dc, Font()->Handle());
  plat::SetBkMode(dc, plat::TRANSPARENT);
  plat::SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  plat::DrawText(dc, text, &rect, flags);
  plat::SelectObject(dc, oldFont);
}

void TLabel::Paint() {
  plat::RECT r = ClientRect();
  if (!transparent_) {
    Canvas().Brush().SetColor(Color());
    Canvas().Brush().SetStyle(bsSolid);
    Canvas().FillRect(r);
  }
  plat::UINT flags = plat::DT_EXPANDTABS | (wordWrap_ ? plat::DT_WORDBREAK : 0) | AlignmentFlags(alignment_);
  if (layout_ != tlTop) {
    plat::RECT calc = r;
    DoDrawText(calc, flags | plat::DT_CALCRECT);
    const int h = calc.bottom - calc.top;
    const int offset = layout_ == tlBottom ? r.bottom - r.top - h : (r.bottom - r.top - h) / 2;
    r.top += offset;
  }
  DoDrawText(r, flags);
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || ComponentState().Contains(csLoading)) return;
  TMeasureDc measure;
  Canvas().SetHandle(measure.Dc());
  plat::RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  DoDrawText(r, plat::DT_EXPANDTABS | plat::DT_CALCRECT | (wordWrap_ ? plat::DT_WORDBREAK : 0));
  Canvas().SetHandle(nullptr);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int left = alignment_ == taRightJustify ? Left() + Width() - w : Left();
  SetBounds(left, Top(), w, h);
}

}  // namespace fw
