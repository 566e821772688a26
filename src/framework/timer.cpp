#include "framework/timer.h"

#include "framework/controls.h"
#include "framework/stored_properties.h"
#include "framework/streams.h"

namespace fw {

namespace {
constexpr const char* kUtilityClass = "TPUtilWindow";
constexpr plat::UINT_PTR kTimerId = 1;
}  // namespace

const TMetaClass& TTimer::StaticClass() {
  static const TMetaClass meta("TTimer", &TComponent::StaticClass(), FactoryFor<TTimer>(),
                               Stored<TTimer>([](auto& b) {
                                 b.Boolean("Enabled", &TTimer::SetEnabled);
                                 b.Integer("Interval", &TTimer::SetInterval);
                                 b.Event("OnTimer", &TTimer::SetOnTimer);
                               }));
  return meta;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  plat::WNDCLASS wc;
  if (!plat::GetClassInfo(HInstance, kUtilityClass, &wc)) {
    wc = plat::WNDCLASS{};
    wc.lpfnWndProc = &TTimer::WindowProcedure;
    wc.lpszClassName = kUtilityClass;
    plat::RegisterClass(&wc);
  }
  window_ = plat::CreateWindowEx(plat::WS_EX_TOOLWINDOW, kUtilityClass, "", plat::WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, HInstance, nullptr);
  plat::SetWindowLongPtr(window_, plat::GWLP_USERDATA, reinterpret_cast<plat::LONG_PTR>(this));
}

TTimer::~TTimer() {
  if (plat::IsWindow(window_)) {
    plat::KillTimer(window_, kTimerId);
    plat::SetWindowLongPtr(window_, plat::GWLP_USERDATA, 0);
    plat::DestroyWindow(window_);
  }
}

plat::LRESULT TTimer::WindowProcedure(plat::HWND h, plat::UINT msg, plat::WPARAM wp, plat::LPARAM lp) {
  auto* timer = reinterpret_cast<TTimer*>(plat::GetWindowLongPtr(h, plat::GWLP_USERDATA));
  if (msg != plat::WM_TIMER || !timer) return plat::DefWindowProc(h, msg, wp, lp);
  try {
    timer->Timer();
  } catch (...) {
    HandleMessageException(timer);
  }
  return 0;
}

void TTimer::Timer() {
  if (onTimer_) onTimer_(this);
}

void TTimer::UpdateTimer() {
  if (!plat::IsWindow(window_)) return;
  plat::KillTimer(window_, kTimerId);
  if (enabled_ && interval_ && onTimer_) plat::SetTimer(window_, kTimerId, interval_, nullptr);
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent e) {
  onTimer_ = std::move(e);
  UpdateTimer();
}

}  // namespace fw
