#pragma once
// The default non-client area: frame and caption sizes by style, where the caption's parts go,
// the hit test, the frame painting and printing, and the defaults of the non-client mouse.
#include "platform/wm/state.h"

namespace plat::wm {

int FrameWidth(DWORD style, DWORD exStyle);
int CaptionHeight(DWORD style, DWORD exStyle);
// Widths of the frame and caption around the client area for a style (scroll bars included).
RECT NonClientInsets(DWORD style, DWORD exStyle);

// Where the parts of a window's caption lie, in window coordinates; absent parts are empty.
struct FrameLayout {
  RECT caption{};  // the caption bar, without the line under it
  RECT icon{};     // the system-menu icon
  RECT iconZone{}; // what of the bar answers HTSYSMENU
  RECT close{};
  RECT maximize{};
  RECT minimize{};
  RECT help{};
  RECT text{};
};
FrameLayout LayoutFrame(const Window* w);
// The caption button a hit-test code names (HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP).
RECT CaptionButtonRect(const FrameLayout& f, int code);
// Whether the button's command can be carried out now.
bool CaptionButtonEnabled(const Window* w, int code);

LRESULT NcCalcSize(Window* w, WPARAM calcValid, LPARAM lp);
LRESULT NcHitTest(Window* w, POINT screen);
void NcPaint(Window* w, HDC dc);
// The frame in window coordinates of dc.
void DrawFrame(Window* w, HDC dc, bool active);
// Draws the frame and caption (active or not) through a window context.
void PaintFrame(Window* w, bool active);
// Draws one caption button again, as w->ncPressed says.
void PaintCaptionButton(Window* w, int code);
void Print(Window* w, HDC dc, LPARAM flags);
LRESULT SetCursorDefault(Window* w, WPARAM wp, LPARAM lp);

// Non-client mouse defaults (frame_mouse.cpp).
LRESULT NcLButtonDown(Window* w, int hit, POINT screen);
LRESULT NcLButtonDblClk(Window* w, int hit);
LRESULT ContextMenuDefault(Window* w, WPARAM wp, LPARAM lp);

// System commands (syscommand.cpp, move_size_loop.cpp).
LRESULT SysCommand(Window* w, WPARAM command, LPARAM lp);
void MoveSizeLoop(Window* w, WPARAM command, POINT screen);

}  // namespace plat::wm
