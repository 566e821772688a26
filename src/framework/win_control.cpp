#include "framework/win_control.h"

#include <algorithm>

#include "framework/stored_properties.h"
#include "framework/streams.h"

namespace fw {

namespace {
constexpr const char* kControlProp = "FwControl";
}

// The platform procedure of every framework class: finds the control of the window (the one
// being created binds itself on the first message) and hands the message to its WindowProc.
struct TWindowBridge {
  static inline TWinControl* creating = nullptr;

  static plat::LRESULT Proc(plat::HWND h, plat::UINT msg, plat::WPARAM wp, plat::LPARAM lp) {
    TWinControl* c = TWinControl::FindControl(h);
    if (!c && creating) {
      c = creating;
      creating = nullptr;
      c->handle_ = h;
      plat::SetProp(h, kControlProp, c);
    }
    if (!c) return plat::DefWindowProc(h, msg, wp, lp);
    TMessage m{msg, wp, lp, 0};
    try {
      c->MainWndProc(m);
    } catch (...) {
      HandleMessageException(c);
    }
    if (msg == plat::WM_NCDESTROY && c->handle_ == h) {
      plat::RemoveProp(h, kControlProp);
      c->handle_ = nullptr;
    }
    return m.Result;
  }
};

const TMetaClass& TWinControl::StaticClass() {
  static const TMetaClass meta("TWinControl", &TControl::StaticClass(), FactoryFor<TWinControl>(),
                               Stored<TWinControl>([](auto& b) {
                                 b.Integer("TabOrder", &TWinControl::SetTabOrder);
                                 b.Boolean("TabStop", &TWinControl::SetTabStop);
                                 b.Boolean("DoubleBuffered", &TWinControl::SetDoubleBuffered);
                                 b.Integer("BorderWidth", &TWinControl::SetBorderWidth);
                                 b.Boolean("ParentBackground", &TWinControl::SetParentBackground);
                                 b.Event("OnKeyDown", &TWinControl::SetOnKeyDown);
                                 b.Event("OnKeyUp", &TWinControl::SetOnKeyUp);
                                 b.Event("OnEnter", &TWinControl::SetOnEnter);
                                 b.Event("OnExit", &TWinControl::SetOnExit);
                               }));
  return meta;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(std::make_unique<TBrush>()) {
  brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
  for (TControl* c : std::vector<TControl*>(controls_)) c->parent_ = nullptr;
  controls_.clear();
  tabOrder_.clear();
  if (handle_) {
    DetachHandle();
    plat::HWND h = handle_;
    handle_ = nullptr;
    plat::DestroyWindow(h);
  }
  if (TWindowBridge::creating == this) TWindowBridge::creating = nullptr;
}

// Messages still to come (the destruction's own) go to the platform procedure alone.
void TWinControl::DetachHandle() {
  plat::RemoveProp(handle_, kControlProp);
  if (defWndProc_) plat::SetWindowLongPtr(handle_, plat::GWLP_WNDPROC, reinterpret_cast<plat::LONG_PTR>(defWndProc_));
}

TWinControl* TWinControl::FindControl(plat::HWND window) {
  if (!window) return nullptr;
  return static_cast<TWinControl*>(plat::GetProp(window, kControlProp));
}

plat::HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = text_;
  p.Style = parent_ ? plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_CLIPCHILDREN : plat::WS_POPUP;
  if (parent_ && Visible()) p.Style |= plat::WS_VISIBLE;
  if (tabStop_) p.Style |= plat::WS_TABSTOP;
  if (!Enabled()) p.Style |= plat::WS_DISABLED;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  p.WndParent = parent_ ? parent_->Handle() : nullptr;
  p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* platformClass) {
  params.BaseClassName = platformClass;
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  if (!handle_) return;
  plat::SendMessage(handle_, plat::WM_SETFONT, reinterpret_cast<plat::WPARAM>(Font()->Handle()), 0);
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  UpdateBounds();
  Realign();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  plat::WNDCLASS base;
  if (p.BaseClassName.empty() || !plat::GetClassInfo(nullptr, p.BaseClassName.c_str(), &base)) {
    base = plat::WNDCLASS{};
    base.lpfnWndProc = &plat::DefWindowProc;
    base.style = p.ClassStyle;
    base.hCursor = plat::LoadCursor(nullptr, plat::IDC_ARROW);
  }
  defWndProc_ = base.lpfnWndProc;
  plat::WNDCLASS existing;
  if (!plat::GetClassInfo(nullptr, p.WinClassName.c_str(), &existing) || existing.lpfnWndProc != &TWindowBridge::Proc) {
    plat::WNDCLASS wc = base;
    wc.lpfnWndProc = &TWindowBridge::Proc;
    wc.hInstance = HInstance;
    wc.lpszClassName = p.WinClassName.c_str();
    plat::RegisterClass(&wc);
  }
  CreateWindowHandle(p);
  if (!handle_) throw EInvalidOperation("Error creating window of class " + p.WinClassName);
}

namespace {
// Child windows are told apart by their ids in the notifications that carry no window
// (WM_MEASUREITEM); 0 is never given.
plat::HMENU NextChildId() {
  static plat::UINT_PTR last = 0;
  last = last % 0xFFFF + 1;
  return reinterpret_cast<plat::HMENU>(last);
}
}  // namespace

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  TWindowBridge::creating = this;
  plat::HMENU id = p.Style & plat::WS_CHILD ? NextChildId() : nullptr;
  plat::HWND h = plat::CreateWindowEx(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                                      p.Width, p.Height, p.WndParent, id, HInstance, nullptr);
  TWindowBridge::creating = nullptr;
  if (h && !handle_) {
    handle_ = h;
    plat::SetProp(h, kControlProp, this);
  }
}

void TWinControl::DestroyWnd() {
  if (!handle_) return;
  text_ = plat::GetWindowTextString(handle_);
  plat::DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  // The new window takes over what the old one showed: a shown top-level window is shown again
  // (it is no new showing of the form), the active one is activated, and the focus goes back to
  // the control that had it. Children follow their parent's new window.
  const bool shown = !parent_ && plat::IsWindowVisible(handle_);
  const bool active = shown && plat::GetActiveWindow() == handle_;
  const plat::HWND focus = plat::GetFocus();
  TWinControl* focused = focus == handle_ || plat::IsChild(handle_, focus) ? FindControl(focus) : nullptr;
  SetControlState(ControlState() + TControlState{csRecreating});
  DestroyWnd();
  HandleNeeded();
  SetControlState(ControlState() - TControlState{csRecreating});
  if (shown) plat::ShowWindow(handle_, active ? plat::SW_SHOWNORMAL : plat::SW_SHOWNA);
  if (focused && focused->CanFocus()) plat::SetFocus(focused->Handle());
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) throw EListError(msg::ListIndexError(index));
  return controls_[static_cast<std::size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  controls_.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabOrder_.push_back(w);
    if (handle_) w->HandleNeeded();
  }
  if (control->parentFont_) control->TakeParentFont();
  if (control->parentColor_) control->TakeParentColor();
  if (control->parentShowHint_) control->TakeParentShowHint();
  control->Invalidate();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<plat::WPARAM>(control), 1);
  control->RequestAlign();
}

void TWinControl::RemoveControl(TControl* control) {
  if (control->parent_ != this) return;
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<plat::WPARAM>(control), 0);
  control->Invalidate();
  std::erase(controls_, control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) std::erase(tabOrder_, w);
  if (captureControl_ == control) captureControl_ = nullptr;
  control->parent_ = nullptr;
  if (control->Align() != alNone) Realign();
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  if (handle_ && !ComponentState().Contains(csDestroying)) DestroyWnd();
  TControl::SetParent(parent);
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(plat::POINT p, bool allowDisabled, bool allowWin) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWin && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    const plat::RECT r = c->BoundsRect();
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return c;
  }
  return nullptr;
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabOrder_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabOrder_;
  std::erase(list, this);
  const auto at = static_cast<std::size_t>(std::clamp(order, 0, static_cast<int>(list.size())));
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

void TWinControl::SetTabStop(bool v) {
  if (v == tabStop_) return;
  tabStop_ = v;
  if (handle_) {
    const auto style = static_cast<plat::DWORD>(plat::GetWindowLong(handle_, plat::GWL_STYLE));
    plat::SetWindowLong(handle_, plat::GWL_STYLE,
                        static_cast<plat::LONG>(v ? style | plat::WS_TABSTOP : style & ~plat::WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> out;
  for (TWinControl* w : tabOrder_) {
    out.push_back(w);
    for (TWinControl* inner : w->TabList()) out.push_back(inner);
  }
  return out;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const {
  const std::vector<TWinControl*> list = TabList();
  if (list.empty()) return nullptr;
  const auto n = static_cast<int>(list.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (list[static_cast<std::size_t>(i)] == current) start = i;
  if (start < 0) start = forward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    const int i = ((start + (forward ? step : -step)) % n + n) % n;
    TWinControl* w = list[static_cast<std::size_t>(i)];
    if (w->CanFocus() && (!checkTabStop || w->TabStop())) return w;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && plat::GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  plat::SetFocus(Handle());
}

void TWinControl::SetBorderWidth(int v) {
  if (v == borderWidth_) return;
  borderWidth_ = std::max(v, 0);
  Realign();
  Invalidate();
}

void TWinControl::SetParentBackground(bool v) {
  SetControlStyle(v ? ControlStyle() + TControlStyle{csParentBackground}
                    : ControlStyle() - TControlStyle{csParentBackground});
  Perform(CM_PARENTBACKGROUNDCHANGED, v ? 1 : 0);
  Invalidate();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (!handle_) {
    TControl::SetBounds(left, top, width, height);
    return;
  }
  plat::SetWindowPos(handle_, nullptr, left, top, width, height, plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
  UpdateBounds();
}

// Takes the window's place as the control's bounds, in the parent's client coordinates.
void TWinControl::UpdateBounds() {
  if (!handle_) return;
  plat::RECT r;
  plat::GetWindowRect(handle_, &r);
  if (parent_ && parent_->HandleAllocated()) plat::MapWindowPoints(nullptr, parent_->handle_, reinterpret_cast<plat::POINT*>(&r), 2);
  const bool resized = r.right - r.left != Width() || r.bottom - r.top != Height();
  if (r.left == Left() && r.top == Top() && !resized) return;
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  RequestAlign();
  if (resized) {
    Realign();
    Resize();
  }
}

plat::RECT TWinControl::ClientRect() const {
  if (handle_) {
    plat::RECT r;
    plat::GetClientRect(handle_, &r);
    return r;
  }
  return TControl::ClientRect();
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (Parent()) return Parent()->Showing();
  return handle_ && plat::IsWindowVisible(handle_);
}

void TWinControl::UpdateShowing() {
  if (!handle_ && !(Visible() && (!Parent() || Parent()->HandleAllocated()))) return;
  HandleNeeded();
  Perform(CM_SHOWINGCHANGED, Visible() ? 1 : 0);
}

void TWinControl::Invalidate() {
  if (handle_) plat::InvalidateRect(handle_, nullptr, ControlStyle().Contains(csOpaque) ? plat::FALSE : plat::TRUE);
}

void TWinControl::Update() {
  if (handle_) plat::UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  if (!handle_) return;
  plat::RedrawWindow(handle_, nullptr, nullptr,
                     plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_UPDATENOW | plat::RDW_ALLCHILDREN);
}

void TWinControl::AdjustClientRect(plat::RECT& r) const {
  r.left += borderWidth_;
  r.top += borderWidth_;
  r.right -= borderWidth_;
  r.bottom -= borderWidth_;
}

void TWinControl::Realign() {
  if (realigning_ || ComponentState().Contains(csLoading)) return;
  realigning_ = true;
  plat::RECT r = ClientRect();
  AdjustClientRect(r);
  AlignControls(nullptr, r);
  realigning_ = false;
}

void TWinControl::AlignControls(TControl*, plat::RECT& r) {
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
      if (c->Align() != a || !c->Visible()) continue;
      const int w = r.right - r.left;
      const int h = r.bottom - r.top;
      switch (a) {
        case alTop: c->SetBounds(r.left, r.top, w, c->Height()); r.top += c->Height(); break;
        case alBottom: c->SetBounds(r.left, r.bottom - c->Height(), w, c->Height()); r.bottom -= c->Height(); break;
        case alLeft: c->SetBounds(r.left, r.top, c->Width(), h); r.left += c->Width(); break;
        case alRight: c->SetBounds(r.right - c->Width(), r.top, c->Width(), h); r.right -= c->Width(); break;
        default: c->SetBounds(r.left, r.top, w, h); break;
      }
    }
  }
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::MainWndProc(TMessage& m) { WindowProc(m); }

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) {
    m.Result = 0;
    return;
  }
  m.Result = plat::CallWindowProc(defWndProc_ ? defWndProc_ : &plat::DefWindowProc, handle_, m.Msg, m.WParam, m.LParam);
}

}  // namespace fw

namespace fw {

void TWinControl::ScaleControls(int multiplier, int divisor) {
  // A copy: scaling may realign, never add or remove, but stay safe.
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) c->ScaleBy(multiplier, divisor);
}

void TWinControl::ChangeScale(int multiplier, int divisor) {
  if (multiplier <= 0 || divisor <= 0 || multiplier == divisor) return;
  ScaleControls(multiplier, divisor);
  TControl::ChangeScale(multiplier, divisor);
}

}  // namespace fw
