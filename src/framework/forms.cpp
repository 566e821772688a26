#include "framework/forms.h"

#include "framework/application.h"
#include "framework/form_reader.h"
#include "framework/stored_properties.h"
#include "framework/streams.h"
#include "platform/resources/resources.h"

namespace fw {

namespace {

constexpr TEnumValue kBorderStyles[] = {{"bsNone", bsNone},     {"bsSingle", bsSingle},
                                        {"bsSizeable", bsSizeable}, {"bsDialog", bsDialog},
                                        {"bsToolWindow", bsToolWindow}, {"bsSizeToolWin", bsSizeToolWin}};
constexpr TEnumValue kBorderIcons[] = {
    {"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}};
constexpr TEnumValue kPositions[] = {{"poDesigned", poDesigned},
                                     {"poDefault", poDefault},
                                     {"poDefaultPosOnly", poDefaultPosOnly},
                                     {"poDefaultSizeOnly", poDefaultSizeOnly},
                                     {"poScreenCenter", poScreenCenter},
                                     {"poDesktopCenter", poDesktopCenter},
                                     {"poMainFormCenter", poMainFormCenter},
                                     {"poOwnerFormCenter", poOwnerFormCenter}};
constexpr TEnumValue kFormStyles[] = {
    {"fsNormal", fsNormal}, {"fsMDIChild", fsMDIChild}, {"fsMDIForm", fsMDIForm}, {"fsStayOnTop", fsStayOnTop}};
constexpr TEnumValue kModalResults[] = {{"mrNone", mrNone},   {"mrOk", mrOk},   {"mrCancel", mrCancel},
                                        {"mrAbort", mrAbort}, {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore},
                                        {"mrYes", mrYes},     {"mrNo", mrNo},   {"mrClose", mrClose}};

// Windows that a modal form disables while it shows, enabled again afterwards.
std::vector<plat::HWND> DisableTaskWindows(plat::HWND except) {
  struct Ctx {
    plat::HWND except;
    std::vector<plat::HWND> disabled;
  } ctx{except, {}};
  plat::EnumWindows(
      [](plat::HWND w, plat::LPARAM data) -> plat::BOOL {
        auto* c = reinterpret_cast<Ctx*>(data);
        if (w != c->except && TWinControl::FindControl(w) && plat::IsWindowVisible(w) && plat::IsWindowEnabled(w)) {
          plat::EnableWindow(w, plat::FALSE);
          c->disabled.push_back(w);
        }
        return plat::TRUE;
      },
      reinterpret_cast<plat::LPARAM>(&ctx));
  return ctx.disabled;
}

}  // namespace

const TEnumType& FormBorderStyleType() {
  static const TEnumType t{"TFormBorderStyle", kBorderStyles};
  return t;
}
const TEnumType& BorderIconType() {
  static const TEnumType t{"TBorderIcon", kBorderIcons};
  return t;
}
const TEnumType& PositionType() {
  static const TEnumType t{"TPosition", kPositions};
  return t;
}
const TEnumType& FormStyleType() {
  static const TEnumType t{"TFormStyle", kFormStyles};
  return t;
}
const TEnumType& ModalResultIdents() {
  static const TEnumType t{"TModalResult", kModalResults};
  return t;
}

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

const TMetaClass& TCustomForm::StaticClass() {
  static const TMetaClass meta("TCustomForm", &TWinControl::StaticClass(), nullptr,
                               Stored<TCustomForm>([](auto& b) {
                                 b.Enum("BorderStyle", &TCustomForm::SetBorderStyle, FormBorderStyleType());
                                 b.Set("BorderIcons", &TCustomForm::SetBorderIcons, BorderIconType());
                                 b.Enum("Position", &TCustomForm::SetPosition, PositionType());
                                 b.Enum("FormStyle", &TCustomForm::SetFormStyle, FormStyleType());
                                 b.Boolean("KeyPreview", &TCustomForm::SetKeyPreview);
                                 b.Boolean("AlphaBlend", &TCustomForm::SetAlphaBlend);
                                 b.Integer("AlphaBlendValue", &TCustomForm::SetAlphaBlendValue);
                                 b.Integer("PixelsPerInch", &TCustomForm::SetPixelsPerInch);
                                 b.Boolean("Scaled", &TCustomForm::SetScaled);
                                 b.Integer("TextHeight", &TCustomForm::SetTextHeight);
                                 b.Boolean("OldCreateOrder", &TCustomForm::SetOldCreateOrder);
                                 b.Event("OnCreate", &TCustomForm::SetOnCreate);
                                 b.Event("OnDestroy", &TCustomForm::SetOnDestroy);
                                 b.Event("OnShow", &TCustomForm::SetOnShow);
                                 b.Event("OnHide", &TCustomForm::SetOnHide);
                                 b.Event("OnActivate", &TCustomForm::SetOnActivate);
                                 b.Event("OnDeactivate", &TCustomForm::SetOnDeactivate);
                                 b.Event("OnClose", &TCustomForm::SetOnClose);
                                 b.Event("OnCloseQuery", &TCustomForm::SetOnCloseQuery);
                                 b.Event("OnPaint", &TCustomForm::SetOnPaint);
                               }));
  return meta;
}

const TMetaClass& TForm::StaticClass() {
  static const TMetaClass meta("TForm", &TCustomForm::StaticClass(), FactoryFor<TForm>());
  return meta;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
  }
  // The controls go while the form is whole: they reach back into it.
  Destroying();
  DestroyComponents();
  if (Screen) Screen->RemoveForm(this);
  if (Application) Application->FormDestroyed(this);
}

void TCustomForm::AfterConstruction() {
  formState_.Include(fsCreating);
  const std::string name = ClassName();
  if (&ClassType() != &TForm::StaticClass() && plat::FindResource(HInstance, name.c_str(), plat::RT_RCDATA))
    InitComponentFromResource(*this);
  formState_.Exclude(fsCreating);
  if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == formStyle_) return;
  formStyle_ = style;
  if (HandleAllocated())
    plat::SetWindowPos(Handle(), style == fsStayOnTop ? plat::HWND_TOPMOST : plat::HWND_NOTOPMOST, 0, 0, 0, 0,
                       plat::SWP_NOMOVE | plat::SWP_NOSIZE | plat::SWP_NOACTIVATE);
}

// The window keeps its handle: the layered style comes and goes on it.
void TCustomForm::SetAlphaBlend(bool v) {
  if (v == alphaBlend_) return;
  alphaBlend_ = v;
  if (!HandleAllocated()) return;
  const plat::HWND h = Handle();
  const auto ex = static_cast<plat::DWORD>(plat::GetWindowLong(h, plat::GWL_EXSTYLE));
  plat::SetWindowLong(h, plat::GWL_EXSTYLE, static_cast<plat::LONG>(v ? ex | plat::WS_EX_LAYERED : ex & ~plat::WS_EX_LAYERED));
  if (v) plat::SetLayeredWindowAttributes(h, 0, static_cast<plat::BYTE>(alphaBlendValue_), plat::LWA_ALPHA);
}

void TCustomForm::SetAlphaBlendValue(int v) {
  alphaBlendValue_ = std::clamp(v, 0, 255);
  if (alphaBlend_ && HandleAllocated())
    plat::SetLayeredWindowAttributes(Handle(), 0, static_cast<plat::BYTE>(alphaBlendValue_), plat::LWA_ALPHA);
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style = plat::WS_CLIPCHILDREN | plat::WS_CLIPSIBLINGS;
  p.ExStyle = 0;
  switch (borderStyle_) {
    case bsNone: p.Style |= plat::WS_POPUP; break;
    case bsSingle: p.Style |= plat::WS_CAPTION | plat::WS_BORDER; break;
    case bsToolWindow: p.Style |= plat::WS_CAPTION | plat::WS_BORDER; p.ExStyle |= plat::WS_EX_TOOLWINDOW; break;
    case bsSizeable: p.Style |= plat::WS_CAPTION | plat::WS_THICKFRAME; break;
    case bsSizeToolWin: p.Style |= plat::WS_CAPTION | plat::WS_THICKFRAME; p.ExStyle |= plat::WS_EX_TOOLWINDOW; break;
    case bsDialog:
      p.Style |= plat::WS_POPUP | plat::WS_CAPTION;
      p.ExStyle |= plat::WS_EX_DLGMODALFRAME | plat::WS_EX_WINDOWEDGE;
      break;
  }
  if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
    p.Style |= plat::WS_SYSMENU;
    if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
      if (borderIcons_.Contains(biMinimize)) p.Style |= plat::WS_MINIMIZEBOX;
      if (borderIcons_.Contains(biMaximize)) p.Style |= plat::WS_MAXIMIZEBOX;
    }
    if (borderStyle_ == bsDialog && borderIcons_.Contains(biHelp)) p.ExStyle |= plat::WS_EX_CONTEXTHELP;
  }
  if (!Enabled()) p.Style |= plat::WS_DISABLED;
  if (formStyle_ == fsStayOnTop) p.ExStyle |= plat::WS_EX_TOPMOST;
  if (alphaBlend_) p.ExStyle |= plat::WS_EX_LAYERED;
  p.WndParent = nullptr;
  if (Application) {
    TCustomForm* main = Application->MainForm();
    const bool isMain = main == this || (!main && Owner() == Application);
    if (isMain && Application->MainFormOnTaskBar()) {
      p.ExStyle |= plat::WS_EX_APPWINDOW;
    } else if (!isMain && main && Application->MainFormOnTaskBar()) {
      p.WndParent = main->Handle();
    } else {
      p.WndParent = Application->Handle();
    }
  }
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (alphaBlend_)
    plat::SetLayeredWindowAttributes(Handle(), 0, static_cast<plat::BYTE>(alphaBlendValue_), plat::LWA_ALPHA);
}

plat::RECT TCustomForm::FrameInsets() const {
  TCreateParams p;
  const_cast<TCustomForm*>(this)->TCustomForm::CreateParams(p);
  plat::RECT r{0, 0, 0, 0};
  plat::AdjustWindowRectEx(&r, p.Style, plat::FALSE, p.ExStyle);
  return {-r.left, -r.top, r.right, r.bottom};
}

plat::RECT TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  const plat::RECT f = FrameInsets();
  return {0, 0, std::max(Width() - f.left - f.right, 0), std::max(Height() - f.top - f.bottom, 0)};
}

void TCustomForm::SetClientWidth(int v) {
  if (ComponentState().Contains(csLoading)) {
    pendingClientWidth_ = v;
    return;
  }
  const plat::RECT f = FrameInsets();
  SetWidth(v + f.left + f.right);
}

void TCustomForm::SetClientHeight(int v) {
  if (ComponentState().Contains(csLoading)) {
    pendingClientHeight_ = v;
    return;
  }
  const plat::RECT f = FrameInsets();
  SetHeight(v + f.top + f.bottom);
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (pendingClientWidth_ >= 0) SetClientWidth(std::exchange(pendingClientWidth_, -1));
  if (pendingClientHeight_ >= 0) SetClientHeight(std::exchange(pendingClientHeight_, -1));
  // Stored at one resolution, shown at the screen's.
  if (scaled_ && pixelsPerInch_ > 0 && Screen && Screen->PixelsPerInch() != pixelsPerInch_)
    ChangeScale(Screen->PixelsPerInch(), pixelsPerInch_);
  Realign();
}

// The form keeps its place; its client area, its font and its controls scale.
void TCustomForm::ChangeScale(int multiplier, int divisor) {
  if (multiplier <= 0 || divisor <= 0 || multiplier == divisor) return;
  const int width = plat::MulDiv(ClientWidth(), multiplier, divisor);
  const int height = plat::MulDiv(ClientHeight(), multiplier, divisor);
  ScaleControls(multiplier, divisor);
  Font()->SetHeight(plat::MulDiv(Font()->Height(), multiplier, divisor));
  SetClientWidth(width);
  SetClientHeight(height);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  if (control && active_ && control->CanFocus()) control->SetFocus();
}

void TCustomForm::PaintWindow(plat::HDC dc) {
  if (!OnPaint) return;
  canvas_->Lock();
  canvas_->SetHandle(dc);
  OnPaint(this);
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) plat::SetWindowPos(Handle(), plat::HWND_TOP, 0, 0, 0, 0, plat::SWP_NOMOVE | plat::SWP_NOSIZE);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (formState_.Contains(fsModal)) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caFree) {
    Release();
  } else if (action == caMinimize) {
    if (HandleAllocated()) plat::ShowWindow(Handle(), plat::SW_MINIMIZE);
  } else {
    Hide();
  }
}

void TCustomForm::Release() {
  Hide();
  if (Application && Owner()) Application->released_.push_back(this);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || formState_.Contains(fsModal))
    throw EInvalidOperation("Cannot make a visible window modal");
  if (plat::HWND capture = plat::GetCapture()) {
    plat::SendMessage(capture, plat::WM_CANCELMODE, 0, 0);
    plat::ReleaseCapture();
  }
  formState_.Include(fsModal);
  plat::HWND previous = plat::GetActiveWindow();
  const std::vector<plat::HWND> disabled = DisableTaskWindows(Handle());
  TModalResult result = mrNone;
  try {
    Show();
    Perform(CM_ACTIVATE);
    modalResult_ = mrNone;
    do {
      Application->HandleMessage();
      if (Application->Terminated()) {
        modalResult_ = mrCancel;
      } else if (modalResult_ != mrNone) {
        // Closing may be refused; the loop then goes on.
        TCloseAction action = caNone;
        if (CloseQuery()) {
          action = caHide;
          DoClose(action);
        }
        if (action == caNone) modalResult_ = mrNone;
      }
    } while (modalResult_ == mrNone);
    result = modalResult_;
    Perform(CM_DEACTIVATE);
  } catch (...) {
    formState_.Exclude(fsModal);
    for (plat::HWND w : disabled) plat::EnableWindow(w, plat::TRUE);
    Hide();
    throw;
  }
  for (plat::HWND w : disabled) plat::EnableWindow(w, plat::TRUE);
  Hide();
  if (previous && plat::IsWindow(previous)) plat::SetActiveWindow(previous);
  formState_.Exclude(fsModal);
  return result;
}

void TCustomForm::PlaceOnScreen() {
  TCustomForm* center = nullptr;
  switch (position_) {
    case poMainFormCenter: center = Application ? Application->MainForm() : nullptr; break;
    case poOwnerFormCenter: center = dynamic_cast<TCustomForm*>(Owner()); break;
    case poScreenCenter:
    case poDesktopCenter: break;
    default: return;
  }
  if (center == this || (center && !center->Visible())) center = nullptr;
  // The screen's centre is that of the area left free by the task bar; the desktop's is the
  // whole screen's.
  plat::RECT area{0, 0, plat::GetSystemMetrics(plat::SM_CXSCREEN), plat::GetSystemMetrics(plat::SM_CYSCREEN)};
  if (center) area = center->BoundsRect();
  else if (position_ != poDesktopCenter && Screen) area = Screen->WorkAreaRect();
  SetBounds(area.left + (area.right - area.left - Width()) / 2, area.top + (area.bottom - area.top - Height()) / 2,
            Width(), Height());
}

void TCustomForm::ShowingChanged(bool showing) {
  if (formState_.Contains(fsShowing)) return;
  formState_.Include(fsShowing);
  try {
    if (showing) {
      PlaceOnScreen();
      DoShow();
      plat::ShowWindow(Handle(), plat::SW_SHOWNORMAL);
      formState_.Include(fsVisible);
    } else {
      if (OnHide) OnHide(this);
      if (HandleAllocated()) plat::ShowWindow(Handle(), plat::SW_HIDE);
      formState_.Exclude(fsVisible);
    }
  } catch (...) {
    formState_.Exclude(fsShowing);
    throw;
  }
  formState_.Exclude(fsShowing);
}

void TCustomForm::Activated(bool active) {
  active_ = active;
  if (active) {
    if (Screen) Screen->SetActiveForm(this);
    // A form activated for the first time gives the focus to its first tab stop.
    if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true);
    if (activeControl_ && activeControl_->CanFocus()) plat::SetFocus(activeControl_->Handle());
    if (OnActivate) OnActivate(this);
  } else if (OnDeactivate) {
    OnDeactivate(this);
  }
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_SHOWINGCHANGED: ShowingChanged(m.WParam != 0); return;
    case plat::WM_CLOSE: Close(); m.Result = 0; return;
    case plat::WM_ACTIVATE:
      DefaultHandler(m);
      Activated(plat::LOWORD(static_cast<plat::DWORD>(m.WParam)) != plat::WA_INACTIVE);
      return;
    case plat::WM_ACTIVATEAPP:
      DefaultHandler(m);
      if (Application) Application->active_ = m.WParam != 0;
      return;
    case CM_FOCUSCHANGED:
      activeControl_ = reinterpret_cast<TWinControl*>(m.LParam);
      return;
    case CM_DIALOGKEY:
      if (m.WParam == plat::VK_TAB) {
        SelectNext(activeControl_, (plat::GetKeyState(plat::VK_SHIFT) & 0x8000) == 0, true);
        m.Result = 1;
        return;
      }
      break;
    case CM_CONTROLLISTCHANGE:
      if (!m.LParam && activeControl_ == reinterpret_cast<TControl*>(m.WParam)) activeControl_ = nullptr;
      break;
    default: break;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
