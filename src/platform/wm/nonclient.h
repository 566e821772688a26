#pragma once
// The default non-client area: frame and caption sizes by style, the basic hit test, the
// default frame painting and printing. Kept apart so that the full default frame (caption
// buttons, menus, the move loop) can grow here.
#include "platform/wm/state.h"

namespace plat::wm {

// Widths of the frame and caption around the client area for a style (scroll bars included).
RECT NonClientInsets(DWORD style, DWORD exStyle);
LRESULT NcCalcSize(Window* w, WPARAM calcValid, LPARAM lp);
LRESULT NcHitTest(Window* w, POINT screen);
void NcPaint(Window* w, HDC dc);
// Draws the frame and caption (active or not) through a window context.
void PaintFrame(Window* w, bool active);
void Print(Window* w, HDC dc, LPARAM flags);
LRESULT SetCursorDefault(Window* w, WPARAM wp, LPARAM lp);

}  // namespace plat::wm
