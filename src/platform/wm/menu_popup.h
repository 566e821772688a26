#pragma once
// The window that shows one level of a tracked menu (class "#32768"): its items' places, which
// item is lit, and how it paints.
#include <vector>

#include "platform/wm/state.h"

namespace plat::wm {

inline const char* const kMenuClass = "#32768";

struct MenuPopup : ControlState {
  HMENU menu = nullptr;
  int hot = -1;
  std::vector<RECT> items;  // client coordinates, one a menu item
};

// Opens a popup for the menu with its top-left corner near `at` (kept on the monitor), or to
// the left of / above it when it does not fit. Nullptr for an empty or stale menu.
HWND OpenMenuPopup(HMENU menu, POINT at, UINT align, const RECT* avoid);
MenuPopup* PopupOf(HWND popup);
// The item at a screen point, -1 for none.
int MenuItemAt(HWND popup, POINT screen);
void SetHotItem(HWND popup, int item);
LRESULT MenuPopupProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace plat::wm
