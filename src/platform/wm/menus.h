#pragma once
// Menus: popup menus behind checked handles, the system menu of a window and the tracking of a
// popup as a plain window that takes the mouse and the keyboard until a choice or a cancel.
#include "platform/wm/wm.h"

namespace plat {

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_UNHILITE = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_BITMAP = 0x0004;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_MENUBARBREAK = 0x0020;
inline constexpr UINT MF_MENUBREAK = 0x0040;
inline constexpr UINT MF_HILITE = 0x0080;
inline constexpr UINT MF_OWNERDRAW = 0x0100;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MF_DEFAULT = 0x1000;
inline constexpr UINT MF_RIGHTJUSTIFY = 0x4000;

inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

inline constexpr UINT WM_INITMENU = 0x0116;
inline constexpr UINT WM_MENUSELECT = 0x011F;
inline constexpr UINT WM_UNINITMENUPOPUP = 0x0125;
inline constexpr WPARAM MSGF_DIALOGBOX = 0;
inline constexpr WPARAM MSGF_MENU = 2;
inline constexpr WPARAM SC_MOUSEMENU = 0xF090;
// Asks a window to show its system menu at the screen point in the second parameter.
inline constexpr UINT WM_POPUPSYSTEMMENU = 0x0313;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the submenus too.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// With MF_POPUP, id is the submenu's handle; the menu then owns it.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, const char* text);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, const char* text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, const char* text);
// RemoveMenu leaves a submenu alive (it is the caller's again); DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// Answer the previous state (MF_GRAYED / MF_DISABLED, or MF_CHECKED), -1 when there is no item.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
int GetMenuItemCount(HMENU menu);
// -1 for a submenu or a missing item.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The item's flags; for a submenu the number of its items in the high byte. -1 when missing.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuString(HMENU menu, UINT item, char* buffer, int size, UINT flags);

// The window's system menu, made for its style on first use and kept up to date with its state
// (minimised, maximised, sizeable) whenever it is asked for. revert: back to the standard menu,
// answering nullptr.
HMENU GetSystemMenu(HWND window, BOOL revert);

// Shows the menu at a screen point and tracks it until a choice or a cancel. With
// TPM_RETURNCMD the answer is the chosen command (0 for none); otherwise the choice is posted to
// the owner (WM_COMMAND, or WM_SYSCOMMAND for a system menu) and the answer says whether there
// was one.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
// Ends the menu being tracked, as a cancel.
BOOL EndMenu();

}  // namespace plat
