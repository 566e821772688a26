#include "framework/application.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "framework/hint_window.h"
#include "framework/stored_properties.h"
#include "framework/streams.h"
#include "framework/timer.h"
#include "platform/base/error.h"
#include "platform/wm/dialogs.h"

namespace fw {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
constexpr const char* kApplicationClass = "TApplication";

std::string ProgramName() {
  const char* full = program_invocation_short_name;
  return full ? full : "";
}
}  // namespace

const TMetaClass& TApplication::StaticClass() {
  static const TMetaClass meta("TApplication", &TComponent::StaticClass(), nullptr);
  return meta;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner), screen_(std::make_unique<TScreen>(nullptr)) {
  if (Application) throw EInvalidOperation("Only one application object may exist");
  Application = this;
  title_ = ProgramName();
  RegisterControlClasses();
  SetExceptionHandler([this](TObject* sender) { HandleException(sender); });
  SetPointerObserver([this](TControl* control, TPointerEvent event) { PointerMoved(control, event); });
}

TApplication::~TApplication() {
  SetPointerObserver(nullptr);
  hintWindow_.reset();
  hintTimer_.reset();
  Destroying();
  DestroyComponents();
  if (handle_) plat::DestroyWindow(std::exchange(handle_, nullptr));
  SetExceptionHandler(nullptr);
  screen_.reset();
  Application = nullptr;
}

plat::HWND TApplication::Handle() {
  if (handle_ && plat::IsWindow(handle_)) return handle_;
  plat::WNDCLASS wc;
  if (!plat::GetClassInfo(HInstance, kApplicationClass, &wc)) {
    wc = plat::WNDCLASS{};
    wc.lpfnWndProc = &TApplication::WindowProcedure;
    wc.lpszClassName = kApplicationClass;
    plat::RegisterClass(&wc);
  }
  handle_ = plat::CreateWindowEx(plat::WS_EX_TOOLWINDOW, kApplicationClass, title_.c_str(),
                                 plat::WS_POPUP | plat::WS_CAPTION | plat::WS_SYSMENU | plat::WS_MINIMIZEBOX, 0, 0,
                                 0, 0, nullptr, nullptr, HInstance, nullptr);
  return handle_;
}

plat::LRESULT TApplication::WindowProcedure(plat::HWND h, plat::UINT msg, plat::WPARAM wp, plat::LPARAM lp) {
  if (Application && Application->handle_ == h) {
    TMessage m{msg, wp, lp, 0};
    try {
      // A copy: a hook may unhook itself.
      auto hooks = Application->hooks_;
      for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
        if (it->second(m)) return m.Result;
    } catch (...) {
      Application->HandleException(Application);
      return 0;
    }
    if (msg == plat::WM_ACTIVATEAPP) Application->active_ = wp != 0;
    if (msg == plat::WM_CLOSE) {
      if (Application->mainForm_) Application->mainForm_->Close();
      return 0;
    }
  }
  return plat::DefWindowProc(h, msg, wp, lp);
}

void TApplication::HookMainWindow(const void* who, TWindowHook hook) { hooks_.emplace_back(who, std::move(hook)); }

void TApplication::UnhookMainWindow(const void* who) {
  std::erase_if(hooks_, [who](const auto& h) { return h.first == who; });
}

void TApplication::Run() {
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

bool TApplication::ProcessMessage(plat::MSG& msg) {
  if (!plat::PeekMessage(&msg, nullptr, 0, 0, plat::PM_REMOVE)) return false;
  if (msg.message == plat::WM_QUIT) {
    terminated_ = true;
    return true;
  }
  plat::TranslateMessage(&msg);
  plat::DispatchMessage(&msg);
  FreeReleased();
  return true;
}

void TApplication::ProcessMessages() {
  plat::MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  plat::MSG msg;
  if (!ProcessMessage(msg)) plat::WaitMessage();
}

void TApplication::Terminate() { plat::PostQuitMessage(0); }

void TApplication::FreeReleased() {
  std::vector<TCustomForm*> forms = std::move(released_);
  released_.clear();
  for (TCustomForm* f : forms) FreeComponent(f);
}

void TApplication::FormDestroyed(TCustomForm* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
  std::erase(released_, form);
}

void TApplication::HandleException(TObject* sender) {
  // Exceptions of other kinds become the framework's own, without a message.
  auto report = [&](const Exception& e) {
    if (OnException) OnException(sender, e);
    else ShowException(e);
  };
  try {
    throw;
  } catch (const plat::Interruption&) {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    report(e);
  } catch (...) {
    report(Exception(""));
  }
}

void TApplication::ShowException(const Exception& e) {
  std::string text = e.Message();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  plat::HWND owner = plat::GetActiveWindow();
  if (!owner) owner = Handle();
  plat::MessageBox(owner, text.c_str(), title_.c_str(), plat::MB_OK | plat::MB_ICONSTOP);
}

// ---- TScreen -----------------------------------------------------------------------------------

const TMetaClass& TScreen::StaticClass() {
  static const TMetaClass meta("TScreen", &TComponent::StaticClass(), nullptr);
  return meta;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
  if (Screen) throw EInvalidOperation("Only one screen object may exist");
  Screen = this;
}

TScreen::~TScreen() {
  if (Screen == this) Screen = nullptr;
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) throw EListError(msg::ListIndexError(index));
  return forms_[static_cast<std::size_t>(index)];
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(forms_, form);
  if (activeForm_ == form) activeForm_ = nullptr;
}

plat::RECT TScreen::WorkAreaRect() const {
  plat::RECT r{};
  plat::SystemParametersInfo(plat::SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

int TScreen::PixelsPerInch() const { return plat::GetDeviceCaps(nullptr, plat::LOGPIXELSY); }

int TScreen::Width() const { return plat::GetSystemMetrics(plat::SM_CXSCREEN); }
int TScreen::Height() const { return plat::GetSystemMetrics(plat::SM_CYSCREEN); }

void TScreen::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  plat::SetCursor(CursorHandle(cursor == crDefault ? crArrow : cursor));
}

}  // namespace fw
