// The classes every program finds registered: the menu popup, the dialog and the standard
// controls.
#include "platform/wm/dialogs.h"
#include "platform/wm/menu_popup.h"
#include "platform/wm/standard_controls.h"
#include "platform/wm/state.h"

namespace plat::wm {

LRESULT ButtonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
LRESULT StaticProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
LRESULT StatusBarProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

namespace {

HBRUSH SysColorBrushIndex(int index) {
  return reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(index + 1));
}

void Register(const char* name, WNDPROC proc, UINT style, HBRUSH background, int extra = 0) {
  WNDCLASS wc;
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = extra;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

}  // namespace

std::optional<LRESULT> AnswerPaint(HWND h, UINT msg, WPARAM wp, void (*paint)(HWND, HDC)) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC dc = BeginPaint(h, &ps)) paint(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: paint(h, reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND: return 1;
    default: return std::nullopt;
  }
}

void RegisterSystemClasses() {
  Register(kMenuClass, &MenuPopupProc, CS_SAVEBITS | CS_DBLCLKS, SysColorBrushIndex(COLOR_MENU));
  Register(WC_DIALOG, &DefDlgProc, CS_SAVEBITS | CS_DBLCLKS, SysColorBrushIndex(COLOR_3DFACE), 3 * sizeof(LONG_PTR));
  Register(WC_BUTTON, &ButtonProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, nullptr);
  Register(WC_STATIC, &StaticProc, CS_PARENTDC | CS_DBLCLKS, nullptr);
  Register(STATUSCLASSNAME, &StatusBarProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, SysColorBrushIndex(COLOR_3DFACE));
}

}  // namespace plat::wm
