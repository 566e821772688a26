#include "framework/controls.h"

#include "framework/stored_properties.h"
#include "framework/win_control.h"

namespace fw {

namespace {

constexpr TEnumValue kAlign[] = {{"alNone", alNone}, {"alTop", alTop},     {"alBottom", alBottom},
                                 {"alLeft", alLeft}, {"alRight", alRight}, {"alClient", alClient},
                                 {"alCustom", alCustom}};
constexpr TEnumValue kAlignment[] = {
    {"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}};
constexpr TEnumValue kVerticalAlignment[] = {
    {"taAlignTop", taAlignTop}, {"taAlignBottom", taAlignBottom}, {"taVerticalCenter", taVerticalCenter}};
constexpr TEnumValue kCursors[] = {
    {"crDefault", crDefault},     {"crNone", crNone},         {"crArrow", crArrow},         {"crCross", crCross},
    {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW}, {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},
    {"crSizeWE", crSizeWE},       {"crUpArrow", crUpArrow},   {"crHourGlass", crHourGlass}, {"crNo", crNo},
    {"crAppStart", crAppStart},   {"crHelp", crHelp},         {"crHandPoint", crHandPoint}, {"crSizeAll", crSizeAll}};

TControl* gMouseControl = nullptr;
TPointerObserver& PointerObserver() {
  static TPointerObserver observer;
  return observer;
}
void NotifyPointer(TControl* control, TPointerEvent event) {
  if (PointerObserver()) PointerObserver()(control, event);
}
TExceptionHandler& ExceptionHandler() {
  static TExceptionHandler handler;
  return handler;
}

}  // namespace

const TEnumType& AlignType() {
  static const TEnumType t{"TAlign", kAlign};
  return t;
}
const TEnumType& AlignmentType() {
  static const TEnumType t{"TAlignment", kAlignment};
  return t;
}
const TEnumType& VerticalAlignmentType() {
  static const TEnumType t{"TVerticalAlignment", kVerticalAlignment};
  return t;
}
const TEnumType& CursorIdents() {
  static const TEnumType t{"TCursor", kCursors};
  return t;
}

plat::HCURSOR CursorHandle(TCursor cursor) {
  const char* shape = plat::IDC_ARROW;
  switch (cursor) {
    case crCross: shape = plat::IDC_CROSS; break;
    case crIBeam: shape = plat::IDC_IBEAM; break;
    case crSizeNESW: shape = plat::IDC_SIZENESW; break;
    case crSizeNS: shape = plat::IDC_SIZENS; break;
    case crSizeNWSE: shape = plat::IDC_SIZENWSE; break;
    case crSizeWE: shape = plat::IDC_SIZEWE; break;
    case crUpArrow: shape = plat::IDC_UPARROW; break;
    case crHourGlass: shape = plat::IDC_WAIT; break;
    case crNo: shape = plat::IDC_NO; break;
    case crAppStart: shape = plat::IDC_APPSTARTING; break;
    case crHelp: shape = plat::IDC_HELP; break;
    case crHandPoint: shape = plat::IDC_HAND; break;
    case crSizeAll: shape = plat::IDC_SIZEALL; break;
    case crNone: return nullptr;
    default: break;
  }
  return plat::LoadCursor(nullptr, shape);
}

TShiftState KeysToShiftState(plat::WPARAM keys) {
  TShiftState s;
  if (keys & plat::MK_SHIFT) s.Include(ssShift);
  if (keys & plat::MK_CONTROL) s.Include(ssCtrl);
  if (keys & plat::MK_LBUTTON) s.Include(ssLeft);
  if (keys & plat::MK_RBUTTON) s.Include(ssRight);
  if (keys & plat::MK_MBUTTON) s.Include(ssMiddle);
  return s;
}

TShiftState KeyboardState() {
  TShiftState s;
  if (plat::GetKeyState(plat::VK_SHIFT) < 0) s.Include(ssShift);
  if (plat::GetKeyState(plat::VK_CONTROL) < 0) s.Include(ssCtrl);
  if (plat::GetKeyState(plat::VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

void SetMouseControl(TControl* control) {
  if (control == gMouseControl) return;
  TControl* old = gMouseControl;
  gMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (control && gMouseControl == control) control->Perform(CM_MOUSEENTER);
  if (gMouseControl == control) NotifyPointer(control, TPointerEvent::Entered);
}

void SetPointerObserver(TPointerObserver observer) { PointerObserver() = std::move(observer); }

TControl* MouseControl() { return gMouseControl; }

void SetExceptionHandler(TExceptionHandler handler) { ExceptionHandler() = std::move(handler); }

void HandleMessageException(TObject* sender) {
  if (!ExceptionHandler()) throw;
  ExceptionHandler()(sender);
}

const TMetaClass& TControl::StaticClass() {
  static const TMetaClass meta("TControl", &TComponent::StaticClass(), FactoryFor<TControl>(),
                               Stored<TControl>([](auto& b) {
                                 b.Integer("Left", &TControl::SetLeft);
                                 b.Integer("Top", &TControl::SetTop);
                                 b.Integer("Width", &TControl::SetWidth);
                                 b.Integer("Height", &TControl::SetHeight);
                                 b.Integer("ClientWidth", &TControl::SetClientWidth);
                                 b.Integer("ClientHeight", &TControl::SetClientHeight);
                                 b.Enum("Align", &TControl::SetAlign, AlignType());
                                 b.String("Caption", &TControl::SetText);
                                 b.String("Text", &TControl::SetText);
                                 b.Integer("Color", &TControl::SetColor, &ColorIdents());
                                 b.Boolean("ParentColor", &TControl::SetParentColor);
                                 b.Object("Font", &TControl::Font);
                                 b.Boolean("ParentFont", &TControl::SetParentFont);
                                 b.Boolean("Visible", &TControl::SetVisible);
                                 b.Boolean("Enabled", &TControl::SetEnabled);
                                 b.Integer("Cursor", &TControl::SetCursor, &CursorIdents());
                                 b.String("Hint", &TControl::SetHint);
                                 b.Boolean("ShowHint", &TControl::SetShowHint);
                                 b.Boolean("ParentShowHint", &TControl::SetParentShowHint);
                                 b.Event("OnClick", &TControl::SetOnClick);
                                 b.Event("OnDblClick", &TControl::SetOnDblClick);
                                 b.Event("OnMouseDown", &TControl::SetOnMouseDown);
                                 b.Event("OnMouseUp", &TControl::SetOnMouseUp);
                                 b.Event("OnMouseMove", &TControl::SetOnMouseMove);
                                 b.Event("OnMouseEnter", &TControl::SetOnMouseEnter);
                                 b.Event("OnMouseLeave", &TControl::SetOnMouseLeave);
                               }));
  return meta;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  if (gMouseControl == this) {
    gMouseControl = nullptr;
    NotifyPointer(nullptr, TPointerEvent::Entered);
  }
  if (parent_) parent_->RemoveControl(this);
}

plat::LRESULT TControl::Perform(plat::UINT msg, plat::WPARAM wp, plat::LPARAM lp) {
  TMessage m{msg, wp, lp, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  if (m.Msg >= plat::WM_MOUSEFIRST && m.Msg <= plat::WM_MOUSELAST && m.Msg != plat::WM_MOUSEWHEEL) {
    HandleMouse(m);
    return;
  }
  switch (m.Msg) {
    case CM_MOUSEENTER:
      mouseInClient_ = true;
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      mouseInClient_ = false;
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_) TakeParentFont();
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_) TakeParentColor();
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (parentShowHint_) TakeParentShowHint();
      return;
    case CM_INVALIDATE:
      Invalidate();
      return;
    default: DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage& m) { m.Result = 0; }

void TControl::HandleMouse(TMessage& m) {
  DefaultHandler(m);
  const int x = plat::GET_X_LPARAM(m.LParam);
  const int y = plat::GET_Y_LPARAM(m.LParam);
  TShiftState shift = KeysToShiftState(m.WParam) + KeyboardState();
  auto button = [&](plat::UINT msg) {
    switch (msg) {
      case plat::WM_RBUTTONDOWN: case plat::WM_RBUTTONUP: case plat::WM_RBUTTONDBLCLK: return mbRight;
      case plat::WM_MBUTTONDOWN: case plat::WM_MBUTTONUP: case plat::WM_MBUTTONDBLCLK: return mbMiddle;
      default: return mbLeft;
    }
  };
  switch (m.Msg) {
    case plat::WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case plat::WM_LBUTTONDBLCLK:
    case plat::WM_RBUTTONDBLCLK:
    case plat::WM_MBUTTONDBLCLK:
      shift.Include(ssDouble);
      if (m.Msg == plat::WM_LBUTTONDBLCLK && OnDblClick) OnDblClick(this);
      [[fallthrough]];
    case plat::WM_LBUTTONDOWN:
    case plat::WM_RBUTTONDOWN:
    case plat::WM_MBUTTONDOWN:
      if (button(m.Msg) == mbLeft && controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
      if (button(m.Msg) == mbLeft) controlState_.Include(csLButtonDown);
      NotifyPointer(this, TPointerEvent::Pressed);
      MouseDown(button(m.Msg), shift, x, y);
      break;
    case plat::WM_LBUTTONUP:
    case plat::WM_RBUTTONUP:
    case plat::WM_MBUTTONUP:
      if (button(m.Msg) == mbLeft) {
        controlState_.Exclude(csLButtonDown);
        if (controlState_.Contains(csClicked)) {
          controlState_.Exclude(csClicked);
          const plat::RECT r = ClientRect();
          if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) Click();
        }
      }
      MouseUp(button(m.Msg), shift, x, y);
      break;
    default: break;
  }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::ChangeScale(int multiplier, int divisor) {
  if (multiplier <= 0 || divisor <= 0 || multiplier == divisor) return;
  SetBounds(plat::MulDiv(left_, multiplier, divisor), plat::MulDiv(top_, multiplier, divisor),
            plat::MulDiv(width_, multiplier, divisor), plat::MulDiv(height_, multiplier, divisor));
  if (!parentFont_) font_->SetHeight(plat::MulDiv(font_->Height(), multiplier, divisor));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  InvalidateControl(visible_, false);
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  InvalidateControl(visible_, controlStyle_.Contains(csOpaque));
  RequestAlign();
  if (resized) Resize();
}

plat::RECT TControl::ClientRect() const { return {0, 0, width_, height_}; }

void TControl::SetClientWidth(int v) { SetWidth(v + width_ - ClientWidth()); }
void TControl::SetClientHeight(int v) { SetHeight(v + height_ - ClientHeight()); }

plat::POINT TControl::ClientOrigin() const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->HandleAllocated()) {
    plat::POINT p{0, 0};
    plat::ClientToScreen(const_cast<TWinControl*>(w)->Handle(), &p);
    return p;
  }
  if (!parent_) return {left_, top_};
  plat::POINT p = parent_->ClientOrigin();
  return {p.x + left_, p.y + top_};
}

plat::POINT TControl::ClientToScreen(plat::POINT p) const {
  const plat::POINT o = ClientOrigin();
  return {p.x + o.x, p.y + o.y};
}

plat::POINT TControl::ScreenToClient(plat::POINT p) const {
  const plat::POINT o = ClientOrigin();
  return {p.x - o.x, p.y - o.y};
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  InvalidateControl(true, false);
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  RequestAlign();
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->UpdateShowing();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  RequestAlign();
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v && parent_) TakeParentColor();
}

void TControl::TakeParentColor() {
  if (!parent_ || parent_->Color() == color_) return;
  color_ = parent_->Color();
  Perform(CM_COLORCHANGED);
}

void TControl::SetShowHint(bool v) {
  parentShowHint_ = false;
  if (v == showHint_) return;
  showHint_ = v;
  // Children that follow their parent's setting take the new one, and theirs in turn.
  if (auto* w = dynamic_cast<TWinControl*>(this))
    for (TControl* c : std::vector<TControl*>(w->controls_)) c->Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
  parentShowHint_ = v;
  if (v && parent_) TakeParentShowHint();
}

void TControl::TakeParentShowHint() {
  if (!parent_ || parent_->ShowHint() == showHint_) return;
  SetShowHint(parent_->ShowHint());
  parentShowHint_ = true;
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v && parent_) TakeParentFont();
}

void TControl::TakeParentFont() {
  if (!parent_) return;
  takingParentFont_ = true;
  font_->Assign(parent_->Font());
  takingParentFont_ = false;
}

void TControl::FontChanged() {
  if (!takingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetText(const std::string& text) {
  if (text == GetText()) return;
  text_ = text;
  TextChanged();
  Perform(CM_TEXTCHANGED);
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  Perform(CM_CURSORCHANGED);
}

void TControl::InvalidateControl(bool wasVisible, bool opaque) {
  if (!wasVisible || !parent_ || !parent_->HandleAllocated() || dynamic_cast<TWinControl*>(this)) return;
  const plat::RECT r = BoundsRect();
  plat::InvalidateRect(parent_->Handle(), &r, opaque ? plat::FALSE : plat::TRUE);
}

void TControl::Invalidate() { InvalidateControl(visible_, controlStyle_.Contains(csOpaque)); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  TWinControl* p = parent_;
  p->RemoveControl(this);
  p->InsertControl(this);
}

void TControl::RequestAlign() {
  if (parent_ && align_ != alNone && !ComponentState().Contains(csLoading)) parent_->Realign();
}

void TControl::Loaded() {
  TComponent::Loaded();
  RequestAlign();
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  auto* p = dynamic_cast<TWinControl*>(parent);
  if (parent && !p) throw EInvalidOperation(ClassName() + " needs a windowed parent, not " + parent->ClassName());
  SetParent(p);
}

// ---- TGraphicControl ---------------------------------------------------------------------------

const TMetaClass& TGraphicControl::StaticClass() {
  static const TMetaClass meta("TGraphicControl", &TControl::StaticClass(), FactoryFor<TGraphicControl>());
  return meta;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == plat::WM_PAINT && m.WParam) {
    canvas_->SetHandle(reinterpret_cast<plat::HDC>(m.WParam));
    canvas_->Lock();
    Paint();
    canvas_->Unlock();
    canvas_->SetHandle(nullptr);
    return;
  }
  TControl::WndProc(m);
}

}  // namespace fw
