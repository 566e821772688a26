#pragma once
// Virtual-key codes: what a display backend reports for a key and what the window manager
// and the program test against.
#include "platform/base/types.h"

namespace plat {

inline constexpr UINT VK_LBUTTON = 0x01;
inline constexpr UINT VK_RBUTTON = 0x02;
inline constexpr UINT VK_CANCEL = 0x03;
inline constexpr UINT VK_MBUTTON = 0x04;
inline constexpr UINT VK_BACK = 0x08;
inline constexpr UINT VK_TAB = 0x09;
inline constexpr UINT VK_CLEAR = 0x0C;
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_SHIFT = 0x10;
inline constexpr UINT VK_CONTROL = 0x11;
inline constexpr UINT VK_MENU = 0x12;
inline constexpr UINT VK_PAUSE = 0x13;
inline constexpr UINT VK_CAPITAL = 0x14;
inline constexpr UINT VK_ESCAPE = 0x1B;
inline constexpr UINT VK_SPACE = 0x20;
inline constexpr UINT VK_PRIOR = 0x21;
inline constexpr UINT VK_NEXT = 0x22;
inline constexpr UINT VK_END = 0x23;
inline constexpr UINT VK_HOME = 0x24;
inline constexpr UINT VK_LEFT = 0x25;
inline constexpr UINT VK_UP = 0x26;
inline constexpr UINT VK_RIGHT = 0x27;
inline constexpr UINT VK_DOWN = 0x28;
inline constexpr UINT VK_SNAPSHOT = 0x2C;
inline constexpr UINT VK_INSERT = 0x2D;
inline constexpr UINT VK_DELETE = 0x2E;
inline constexpr UINT VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
inline constexpr UINT VK_LWIN = 0x5B;
inline constexpr UINT VK_RWIN = 0x5C;
inline constexpr UINT VK_APPS = 0x5D;
inline constexpr UINT VK_NUMPAD0 = 0x60;
inline constexpr UINT VK_MULTIPLY = 0x6A;
inline constexpr UINT VK_ADD = 0x6B;
inline constexpr UINT VK_SUBTRACT = 0x6D;
inline constexpr UINT VK_DECIMAL = 0x6E;
inline constexpr UINT VK_DIVIDE = 0x6F;
inline constexpr UINT VK_F1 = 0x70;
inline constexpr UINT VK_F4 = 0x73;
inline constexpr UINT VK_F10 = 0x79;
inline constexpr UINT VK_F12 = 0x7B;
inline constexpr UINT VK_NUMLOCK = 0x90;
inline constexpr UINT VK_SCROLL = 0x91;
inline constexpr UINT VK_LSHIFT = 0xA0;
inline constexpr UINT VK_RSHIFT = 0xA1;
inline constexpr UINT VK_LCONTROL = 0xA2;
inline constexpr UINT VK_RCONTROL = 0xA3;
inline constexpr UINT VK_LMENU = 0xA4;
inline constexpr UINT VK_RMENU = 0xA5;

}  // namespace plat
