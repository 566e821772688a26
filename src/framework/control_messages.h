#pragma once
// The framework's own notifications between controls, numbered above the platform's messages,
// and the message record that a control's WindowProc chain passes along.
#include <functional>

#include "platform/wm/messages.h"

namespace fw {

struct TMessage {
  plat::UINT Msg = 0;
  plat::WPARAM WParam = 0;
  plat::LPARAM LParam = 0;
  plat::LRESULT Result = 0;
};

// A WindowProc: a replacement keeps the one it replaced and passes messages on to it.
using TWndMethod = std::function<void(TMessage&)>;

inline constexpr plat::UINT CM_BASE = 0xB000;
inline constexpr plat::UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr plat::UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr plat::UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr plat::UINT CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr plat::UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr plat::UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr plat::UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr plat::UINT CM_HITTEST = CM_BASE + 10;
inline constexpr plat::UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr plat::UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr plat::UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr plat::UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr plat::UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr plat::UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr plat::UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr plat::UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr plat::UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr plat::UINT CM_MENUCHANGED = CM_BASE + 21;
inline constexpr plat::UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr plat::UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr plat::UINT CM_ENTER = CM_BASE + 26;
inline constexpr plat::UINT CM_EXIT = CM_BASE + 27;
inline constexpr plat::UINT CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr plat::UINT CM_ICONCHANGED = CM_BASE + 29;
inline constexpr plat::UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr plat::UINT CM_CANCELMODE = CM_BASE + 31;
inline constexpr plat::UINT CM_TABSTOPCHANGED = CM_BASE + 32;
inline constexpr plat::UINT CM_UIACTIVATE = CM_BASE + 33;
inline constexpr plat::UINT CM_CONTROLLISTCHANGE = CM_BASE + 34;
inline constexpr plat::UINT CM_GETDATALINK = CM_BASE + 35;
inline constexpr plat::UINT CM_CHILDKEY = CM_BASE + 36;
inline constexpr plat::UINT CM_HINTSHOW = CM_BASE + 37;
inline constexpr plat::UINT CM_RECREATEWND = CM_BASE + 38;
inline constexpr plat::UINT CM_INVALIDATE = CM_BASE + 39;
inline constexpr plat::UINT CM_SYSFONTCHANGED = CM_BASE + 40;
inline constexpr plat::UINT CM_CONTROLCHANGE = CM_BASE + 41;
inline constexpr plat::UINT CM_CHANGED = CM_BASE + 42;
inline constexpr plat::UINT CM_BORDERCHANGED = CM_BASE + 43;
inline constexpr plat::UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 44;
inline constexpr plat::UINT CM_ACTIONUPDATE = CM_BASE + 45;
inline constexpr plat::UINT CM_MOUSEACTIVATE = CM_BASE + 46;
inline constexpr plat::UINT CM_PARENTBACKGROUNDCHANGED = CM_BASE + 47;

// Notifications a parent hands back to the child control they concern (WM_COMMAND from a
// button, WM_DRAWITEM of an owner-drawn status-bar panel).
inline constexpr plat::UINT CN_BASE = 0xBC00;
inline constexpr plat::UINT CN_DRAWITEM = CN_BASE + 0x002B /* WM_DRAWITEM */;
inline constexpr plat::UINT CN_MEASUREITEM = CN_BASE + 0x002C /* WM_MEASUREITEM */;
inline constexpr plat::UINT CN_COMMAND = CN_BASE + plat::WM_COMMAND;
inline constexpr plat::UINT CN_NOTIFY = CN_BASE + plat::WM_NOTIFY;
inline constexpr plat::UINT CN_KEYDOWN = CN_BASE + plat::WM_KEYDOWN;
inline constexpr plat::UINT CN_KEYUP = CN_BASE + plat::WM_KEYUP;
inline constexpr plat::UINT CN_CHAR = CN_BASE + plat::WM_CHAR;
inline constexpr plat::UINT CN_CTLCOLORBTN = CN_BASE + 0x0135 /* WM_CTLCOLORBTN */;
inline constexpr plat::UINT CN_CTLCOLORSTATIC = CN_BASE + 0x0138 /* WM_CTLCOLORSTATIC */;

}  // namespace fw
