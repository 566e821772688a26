#pragma once
// The small window that shows a control's hint: a top-level popup in the info colours that never
// takes the activation, placed and sized by whoever shows it.
#include <string>

#include "framework/win_control.h"

namespace fw {

// The part of a hint before '|' (the whole hint without one).
std::string GetShortHint(const std::string& hint);

// What the application is about to show; a control changes it (or answers non-zero to refuse)
// on CM_HINTSHOW, which carries it in LParam.
struct THintInfo {
  TControl* HintControl = nullptr;
  plat::POINT HintPos{};  // screen, the window's top left
  std::string HintStr;
  int HideTimeout = 0;    // milliseconds
};

class THintWindow : public TCustomControl {
  FW_DECLARE_CLASS

 public:
  explicit THintWindow(TComponent* owner);

  // The window's size for a text, at most maxWidth wide, at (0, 0).
  plat::RECT CalcHintRect(int maxWidth, const std::string& hint);
  // Shows the text in rect (screen), moved inside the work area, over every other window.
  void ActivateHint(const plat::RECT& rect, const std::string& hint);
  void ReleaseHint();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
};

}  // namespace fw
