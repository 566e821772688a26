#pragma once
// What the modal loops of the defaults (caption buttons, moving and sizing, menus, message boxes,
// help mode) share: taking messages from the one queue, so that the display's input reaches
// them, and giving back the pointer capture however the loop ends.
#include "platform/wm/wm.h"

namespace plat::wm {

// Waits for and removes the next message as GetMessage does; before waiting, idleOwner (when
// given) hears WM_ENTERIDLE with idleKind. False when the quit request came: it is posted again
// for the loop outside. A wait that can never end throws, as GetMessage does.
bool NextModalMessage(MSG& m, HWND idleOwner = nullptr, WPARAM idleKind = 0, HWND idleSource = nullptr);

inline bool IsMouseMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}
inline bool IsKeyMessage(UINT m) { return m >= WM_KEYFIRST && m <= WM_KEYLAST; }

// Takes the capture for a loop and gives it back at the end, if still held.
class CaptureHold {
 public:
  explicit CaptureHold(HWND window) : window_(window) { SetCapture(window); }
  ~CaptureHold() {
    if (GetCapture() == window_) ReleaseCapture();
  }
  CaptureHold(const CaptureHold&) = delete;
  CaptureHold& operator=(const CaptureHold&) = delete;
  bool Held() const { return GetCapture() == window_; }

 private:
  HWND window_;
};

}  // namespace plat::wm
