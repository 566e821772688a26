// Taking messages for the modal loops of the defaults.
#include "platform/wm/modal_loop.h"

namespace plat::wm {

bool NextModalMessage(MSG& m, HWND idleOwner, WPARAM idleKind, HWND idleSource) {
  if (idleOwner && IsWindow(idleOwner) && !PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE))
    SendMessage(idleOwner, WM_ENTERIDLE, idleKind, reinterpret_cast<LPARAM>(idleSource));
  if (GetMessage(&m, nullptr, 0, 0)) return true;
  PostQuitMessage(static_cast<int>(m.wParam));
  return false;
}

}  // namespace plat::wm
