#pragma once
// A timer component on the platform's window timers: a hidden window of its own takes the
// ticks and calls OnTimer. It runs while Enabled, Interval and OnTimer all allow it.
#include "framework/component.h"
#include "platform/wm/wm.h"

namespace fw {

class TTimer : public TComponent {
  FW_DECLARE_CLASS

 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  void SetOnTimer(TNotifyEvent e);
  TNotifyEvent OnTimer() const { return onTimer_; }

 protected:
  virtual void Timer();

 private:
  static plat::LRESULT WindowProcedure(plat::HWND, plat::UINT, plat::WPARAM, plat::LPARAM);
  void UpdateTimer();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  TNotifyEvent onTimer_;
  plat::HWND window_ = nullptr;
};

}  // namespace fw
