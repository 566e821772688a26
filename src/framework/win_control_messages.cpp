// How a windowed control answers messages: painting itself and its graphic children, routing
// mouse messages to the graphic child under the pointer, keys with the form's preview first,
// and handing notifications from child windows back to their controls.
#include <algorithm>

#include "framework/stored_properties.h"
#include "framework/win_control.h"
#include "platform/wm/standard_controls.h"

namespace fw {

namespace {

bool IsButtonDown(plat::UINT msg) {
  return msg == plat::WM_LBUTTONDOWN || msg == plat::WM_RBUTTONDOWN || msg == plat::WM_MBUTTONDOWN ||
         msg == plat::WM_LBUTTONDBLCLK || msg == plat::WM_RBUTTONDBLCLK || msg == plat::WM_MBUTTONDBLCLK;
}

bool IsButtonUp(plat::UINT msg) {
  return msg == plat::WM_LBUTTONUP || msg == plat::WM_RBUTTONUP || msg == plat::WM_MBUTTONUP;
}

// A memory picture of a size, selected into its own context while it lives.
class TPaintBuffer {
 public:
  TPaintBuffer(plat::HDC like, int width, int height)
      : dc_(plat::CreateCompatibleDC(like)), bitmap_(plat::CreateBitmap32(std::max(width, 1), std::max(height, 1))) {
    old_ = plat::SelectObject(dc_, bitmap_);
  }
  ~TPaintBuffer() {
    plat::SelectObject(dc_, old_);
    plat::DeleteObject(bitmap_);
    plat::DeleteDC(dc_);
  }
  TPaintBuffer(const TPaintBuffer&) = delete;
  TPaintBuffer& operator=(const TPaintBuffer&) = delete;
  plat::HDC Dc() const { return dc_; }

 private:
  plat::HDC dc_;
  plat::HBITMAP bitmap_;
  plat::HGDIOBJ old_;
};

}  // namespace

void TWinControl::WndProc(TMessage& m) {
  if (m.Msg >= plat::WM_MOUSEFIRST && m.Msg <= plat::WM_MOUSELAST && m.Msg != plat::WM_MOUSEWHEEL) {
    bool handled = false;
    HandleMouseForChildren(m, handled);
    if (handled) return;
  }
  switch (m.Msg) {
    case plat::WM_PAINT: WmPaint(m); return;
    case plat::WM_ERASEBKGND:
      if (defWndProc_ != &plat::DefWindowProc && defWndProc_) break;
      // A double-buffered control erases only its own buffer (the request then carries the
      // buffer in both parameters); the window itself is left as it is until the one blit.
      if (!ControlStyle().Contains(csOpaque) && (!doubleBuffered_ || m.WParam == static_cast<plat::WPARAM>(m.LParam)))
        EraseBackground(reinterpret_cast<plat::HDC>(m.WParam));
      m.Result = 1;
      return;
    case plat::WM_MOUSELEAVE: {
      TControl* mc = MouseControl();
      if (mc == this || (mc && mc->Parent() == this && !dynamic_cast<TWinControl*>(mc))) SetMouseControl(nullptr);
      break;
    }
    case plat::WM_SETCURSOR:
      if (plat::LOWORD(static_cast<plat::DWORD>(m.LParam)) == plat::HTCLIENT &&
          reinterpret_cast<plat::HWND>(m.WParam) == handle_) {
        plat::POINT p;
        plat::GetCursorPos(&p);
        plat::ScreenToClient(handle_, &p);
        TControl* c = captureControl_ ? captureControl_ : ControlAtPos(p);
        const TCursor cursor = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
        if (cursor != crDefault) {
          plat::SetCursor(CursorHandle(cursor));
          m.Result = 1;
          return;
        }
      }
      break;
    case plat::WM_KEYDOWN:
    case plat::WM_SYSKEYDOWN:
      if (DoKeyDown(m)) return;
      if (m.Msg == plat::WM_KEYDOWN &&
          (m.WParam == plat::VK_TAB || m.WParam == plat::VK_RETURN || m.WParam == plat::VK_ESCAPE)) {
        TWinControl* root = this;
        while (root->Parent()) root = root->Parent();
        if (root->Perform(CM_DIALOGKEY, m.WParam, m.LParam)) return;
      }
      break;
    case plat::WM_KEYUP:
    case plat::WM_SYSKEYUP:
      if (DoKeyUp(m)) return;
      break;
    case plat::WM_CHAR:
      if (OnKeyPress) {
        char c = static_cast<char>(m.WParam);
        OnKeyPress(this, c);
        if (!c) return;
        m.WParam = static_cast<plat::WPARAM>(static_cast<unsigned char>(c));
      }
      break;
    case plat::WM_SETFOCUS: {
      DefaultHandler(m);
      TWinControl* root = this;
      while (root->Parent()) root = root->Parent();
      if (root != this) root->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<plat::LPARAM>(this));
      Perform(CM_ENTER);
      return;
    }
    case plat::WM_KILLFOCUS:
      DefaultHandler(m);
      Perform(CM_EXIT);
      return;
    case CM_ENTER:
      if (OnEnter) OnEnter(this);
      return;
    case CM_EXIT:
      if (OnExit) OnExit(this);
      return;
    case plat::WM_COMMAND:
      if (ReflectToChild(m, reinterpret_cast<plat::HWND>(m.LParam))) return;
      break;
    case plat::WM_NOTIFY:
      if (m.LParam) {
        // The platform's notification record starts with the sender's window.
        if (ReflectToChild(m, *reinterpret_cast<plat::HWND*>(m.LParam))) return;
      }
      break;
    case plat::WM_DRAWITEM:
      if (m.LParam) {
        if (ReflectToChild(m, reinterpret_cast<const plat::DRAWITEMSTRUCT*>(m.LParam)->hwndItem)) return;
      }
      break;
    case plat::WM_MEASUREITEM:
      if (m.LParam) {
        const auto* item = reinterpret_cast<const plat::MEASUREITEMSTRUCT*>(m.LParam);
        if (item->CtlType != plat::ODT_MENU &&
            ReflectToChild(m, plat::GetDlgItem(handle_, static_cast<int>(item->CtlID))))
          return;
      }
      break;
    case plat::WM_WINDOWPOSCHANGED:
      DefaultHandler(m);
      UpdateBounds();
      return;
    case plat::WM_SIZE:
      DefaultHandler(m);
      UpdateBounds();
      Realign();
      return;
    case CM_SHOWINGCHANGED:
      if (handle_)
        plat::SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                           plat::SWP_NOSIZE | plat::SWP_NOMOVE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE |
                               (m.WParam ? plat::SWP_SHOWWINDOW : plat::SWP_HIDEWINDOW));
      return;
    case CM_ENABLEDCHANGED:
      if (handle_) plat::EnableWindow(handle_, Enabled() ? plat::TRUE : plat::FALSE);
      Invalidate();
      return;
    case CM_COLORCHANGED:
      brush_->SetColor(Color());
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTCOLORCHANGED);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      if (handle_) plat::SendMessage(handle_, plat::WM_SETFONT, reinterpret_cast<plat::WPARAM>(Font()->Handle()), 1);
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTFONTCHANGED);
      Invalidate();
      return;
    case plat::WM_SETTEXT:
      // Text given to the window directly is the control's text too (and outlives the window).
      DefaultHandler(m);
      if (m.LParam && m.Result) {
        text_ = reinterpret_cast<const char*>(m.LParam);
        Perform(CM_TEXTCHANGED);
      }
      return;
    case CM_TEXTCHANGED:
      if (handle_ && plat::GetWindowTextString(handle_) != text_) plat::SetWindowText(handle_, text_.c_str());
      Invalidate();
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_CANCELMODE:
      // Offered to every child until one takes it.
      for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->Perform(m.Msg, m.WParam, m.LParam)) {
          m.Result = 1;
          return;
        }
      }
      return;
    default: break;
  }
  TControl::WndProc(m);
}

bool TWinControl::ReflectToChild(TMessage& m, plat::HWND child) {
  TWinControl* c = FindControl(child);
  if (!c || c == this) return false;
  m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

void TWinControl::HandleMouseForChildren(TMessage& m, bool& handled) {
  if (!handle_) return;
  const plat::POINT p{plat::GET_X_LPARAM(m.LParam), plat::GET_Y_LPARAM(m.LParam)};
  TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p);
  if (m.Msg == plat::WM_MOUSEMOVE) {
    SetMouseControl(target ? target : this);
    plat::TRACKMOUSEEVENT tme;
    tme.dwFlags = plat::TME_LEAVE;
    tme.hwndTrack = handle_;
    plat::TrackMouseEvent(&tme);
  }
  if (!target) return;
  if (IsButtonDown(m.Msg) && target->ControlStyle().Contains(csCaptureMouse)) {
    captureControl_ = target;
    plat::SetCapture(handle_);
  }
  const plat::LPARAM local = plat::MAKELPARAM(p.x - target->Left(), p.y - target->Top());
  target->Perform(m.Msg, m.WParam, local);
  if (IsButtonUp(m.Msg) && captureControl_) {
    captureControl_ = nullptr;
    if (plat::GetCapture() == handle_) plat::ReleaseCapture();
  }
  handled = true;
}

void TWinControl::WmPaint(TMessage& m) {
  const bool platformPaints = defWndProc_ && defWndProc_ != &plat::DefWindowProc &&
                              !ControlState().Contains(csCustomPaint);
  if (platformPaints) {
    DefaultHandler(m);
    return;
  }
  if (m.WParam) {
    PaintHandler(reinterpret_cast<plat::HDC>(m.WParam));
    return;
  }
  plat::PAINTSTRUCT ps;
  plat::HDC dc = plat::BeginPaint(handle_, &ps);
  if (doubleBuffered_) {
    const plat::RECT client = ClientRect();
    TPaintBuffer buffer(dc, client.right, client.bottom);
    const auto bufferDc = reinterpret_cast<plat::WPARAM>(buffer.Dc());
    Perform(plat::WM_ERASEBKGND, bufferDc, static_cast<plat::LPARAM>(bufferDc));
    PaintHandler(buffer.Dc());
    plat::BitBlt(dc, 0, 0, client.right, client.bottom, buffer.Dc(), 0, 0, plat::SRCCOPY);
  } else {
    PaintHandler(dc);
  }
  plat::EndPaint(handle_, &ps);
}

void TWinControl::EraseBackground(plat::HDC dc) {
  if (!dc) return;
  plat::RECT r = ClientRect();
  const TColor color = ParentBackground() && Parent() ? Parent()->Color() : Color();
  plat::HBRUSH b = plat::CreateSolidBrush(ColorToRGB(color));
  plat::FillRect(dc, &r, b);
  plat::DeleteObject(b);
}

void TWinControl::PaintHandler(plat::HDC dc) {
  PaintWindow(dc);
  PaintControls(dc, nullptr);
}

void TWinControl::PaintControls(plat::HDC dc, TControl* first) {
  auto it = first ? std::find(controls_.begin(), controls_.end(), first) : controls_.begin();
  for (; it != controls_.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    const plat::RECT r = c->BoundsRect();
    if (!plat::RectVisible(dc, &r)) continue;
    const int saved = plat::SaveDC(dc);
    plat::POINT origin;
    plat::GetViewportOrgEx(dc, &origin);
    plat::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    plat::SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
    c->Perform(plat::WM_PAINT, reinterpret_cast<plat::WPARAM>(dc), 0);
    plat::RestoreDC(dc, saved);
  }
}

void TWinControl::PaintTo(plat::HDC dc, int x, int y) {
  HandleNeeded();
  const int saved = plat::SaveDC(dc);
  plat::POINT origin;
  plat::GetViewportOrgEx(dc, &origin);
  plat::SetViewportOrgEx(dc, origin.x + x, origin.y + y, nullptr);
  plat::IntersectClipRect(dc, 0, 0, Width(), Height());
  // The frame at (x, y), the client at its place inside it. Both go through the messages, so
  // that whoever took over the window's painting paints here too.
  plat::RECT window;
  plat::GetWindowRect(handle_, &window);
  plat::POINT client{0, 0};
  plat::ClientToScreen(handle_, &client);
  const bool platformPaints = defWndProc_ && defWndProc_ != &plat::DefWindowProc;
  plat::SendMessage(handle_, plat::WM_PRINT, reinterpret_cast<plat::WPARAM>(dc),
                    platformPaints ? plat::PRF_CLIENT | plat::PRF_ERASEBKGND | plat::PRF_NONCLIENT : plat::PRF_NONCLIENT);
  plat::OffsetViewportOrgEx(dc, client.x - window.left, client.y - window.top, nullptr);
  const plat::RECT area = ClientRect();
  plat::IntersectClipRect(dc, 0, 0, area.right, area.bottom);
  if (!platformPaints) {
    const auto target = reinterpret_cast<plat::WPARAM>(dc);
    Perform(plat::WM_ERASEBKGND, target, static_cast<plat::LPARAM>(target));
    Perform(plat::WM_PAINT, target, 0);
  }
  for (TControl* c : std::vector<TControl*>(controls_)) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && w->Visible()) w->PaintTo(dc, w->Left(), w->Top());
  }
  plat::RestoreDC(dc, saved);
}

bool TWinControl::DoKeyDown(TMessage& m) {
  TWinControl* root = this;
  while (root->Parent()) root = root->Parent();
  if (root != this && root->KeyPreviewEnabled() && root->DoKeyDown(m)) return true;
  auto key = static_cast<plat::WORD>(m.WParam);
  KeyDown(key, KeyboardState());
  if (!key) return true;
  m.WParam = key;
  return false;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  TWinControl* root = this;
  while (root->Parent()) root = root->Parent();
  if (root != this && root->KeyPreviewEnabled() && root->DoKeyUp(m)) return true;
  auto key = static_cast<plat::WORD>(m.WParam);
  KeyUp(key, KeyboardState());
  if (!key) return true;
  m.WParam = key;
  return false;
}

void TWinControl::KeyDown(plat::WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(plat::WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

// ---- TCustomControl ----------------------------------------------------------------------------

const TMetaClass& TCustomControl::StaticClass() {
  static const TMetaClass meta("TCustomControl", &TWinControl::StaticClass(), FactoryFor<TCustomControl>());
  return meta;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(plat::HDC dc) {
  canvas_->Lock();
  canvas_->SetHandle(dc);
  Paint();
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
}

}  // namespace fw
