// The application's hints: a timer started when the pointer arrives over a control that shows
// its hint, the hint window shown when it runs out, and hidden again when the pointer leaves,
// a button goes down, hints are switched off or the hint has been shown long enough.
#include <algorithm>

#include "framework/application.h"
#include "framework/hint_window.h"
#include "framework/timer.h"

namespace fw {

namespace {
// The hint's top left, below the pointer's tip.
constexpr int kHintBelowPointer = 16;
}  // namespace

void TApplication::SetShowHint(bool v) {
  showHint_ = v;
  if (!v) CancelHint();
}

void TApplication::CancelHint() {
  if (hintTimer_) hintTimer_->SetEnabled(false);
  if (hintWindow_ && hintWindow_->Visible()) hintWindow_->ReleaseHint();
}

bool TApplication::ShowsHint(const TControl* control) const {
  return showHint_ && control && control->ShowHint() && control->Showing() && !GetShortHint(control->Hint()).empty();
}

void TApplication::PointerMoved(TControl* control, TPointerEvent event) {
  CancelHint();
  if (event != TPointerEvent::Entered || !ShowsHint(control)) return;
  if (!hintTimer_) {
    hintTimer_ = std::make_unique<TTimer>(nullptr);
    hintTimer_->SetEnabled(false);
    hintTimer_->SetOnTimer([this](TObject*) { HintTimerExpired(); });
  }
  hintTimerHides_ = false;
  hintTimer_->SetInterval(static_cast<unsigned>(std::max(hintPause_, 1)));
  hintTimer_->SetEnabled(true);
}

void TApplication::HintTimerExpired() {
  hintTimer_->SetEnabled(false);
  if (hintTimerHides_) {
    CancelHint();
    return;
  }
  // The timer restarts whenever the pointer moves to another control: the one under it now is
  // the one it rested on.
  if (ShowsHint(MouseControl())) ActivateHint(MouseControl());
}

void TApplication::ActivateHint(TControl* control) {
  plat::POINT cursor;
  plat::GetCursorPos(&cursor);
  THintInfo info{control, {cursor.x, cursor.y + kHintBelowPointer}, GetShortHint(control->Hint()), hintHidePause_};
  if (control->Perform(CM_HINTSHOW, 0, reinterpret_cast<plat::LPARAM>(&info)) != 0 || info.HintStr.empty()) return;
  if (!hintWindow_) hintWindow_ = std::make_unique<THintWindow>(nullptr);
  const plat::RECT work = Screen->WorkAreaRect();
  plat::RECT r = hintWindow_->CalcHintRect(work.right - work.left, info.HintStr);
  plat::OffsetRect(&r, info.HintPos.x, info.HintPos.y);
  hintWindow_->ActivateHint(r, info.HintStr);
  if (info.HideTimeout > 0) {
    hintTimerHides_ = true;
    hintTimer_->SetInterval(static_cast<unsigned>(info.HideTimeout));
    hintTimer_->SetEnabled(true);
  }
}

}  // namespace fw
