#pragma once
// Window and class styles, and the flags of the window functions, with the platform's values.
#include "platform/base/types.h"

namespace plat {

inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_MINIMIZE = 0x20000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_MAXIMIZE = 0x01000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_SIZEBOX = WS_THICKFRAME;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

inline constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
inline constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
inline constexpr DWORD WS_EX_MDICHILD = 0x00000040;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
inline constexpr DWORD WS_EX_RIGHT = 0x00001000;
inline constexpr DWORD WS_EX_RTLREADING = 0x00002000;
inline constexpr DWORD WS_EX_LEFTSCROLLBAR = 0x00004000;
inline constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
inline constexpr DWORD WS_EX_LAYERED = 0x00080000;
inline constexpr DWORD WS_EX_LAYOUTRTL = 0x00400000;
inline constexpr DWORD WS_EX_COMPOSITED = 0x02000000;
inline constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_DBLCLKS = 0x0008;
inline constexpr UINT CS_OWNDC = 0x0020;
inline constexpr UINT CS_CLASSDC = 0x0040;
inline constexpr UINT CS_PARENTDC = 0x0080;
inline constexpr UINT CS_NOCLOSE = 0x0200;
inline constexpr UINT CS_SAVEBITS = 0x0800;
inline constexpr UINT CS_GLOBALCLASS = 0x4000;
inline constexpr UINT CS_DROPSHADOW = 0x00020000;

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr UINT SWP_NOCOPYBITS = 0x0100;
inline constexpr UINT SWP_NOOWNERZORDER = 0x0200;
inline constexpr UINT SWP_NOREPOSITION = SWP_NOOWNERZORDER;
inline constexpr UINT SWP_NOSENDCHANGING = 0x0400;
// Set in WM_WINDOWPOSCHANGED when the client area kept its size or place.
inline constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
inline constexpr UINT SWP_NOCLIENTMOVE = 0x1000;
inline constexpr UINT SWP_DEFERERASE = 0x2000;
inline constexpr UINT SWP_ASYNCWINDOWPOS = 0x4000;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;

inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_INTERNALPAINT = 0x0002;
inline constexpr UINT RDW_ERASE = 0x0004;
inline constexpr UINT RDW_VALIDATE = 0x0008;
inline constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
inline constexpr UINT RDW_NOERASE = 0x0020;
inline constexpr UINT RDW_NOCHILDREN = 0x0040;
inline constexpr UINT RDW_ALLCHILDREN = 0x0080;
inline constexpr UINT RDW_UPDATENOW = 0x0100;
inline constexpr UINT RDW_ERASENOW = 0x0200;
inline constexpr UINT RDW_FRAME = 0x0400;
inline constexpr UINT RDW_NOFRAME = 0x0800;

inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;
inline constexpr UINT GW_ENABLEDPOPUP = 6;

inline constexpr UINT GA_PARENT = 1;
inline constexpr UINT GA_ROOT = 2;
inline constexpr UINT GA_ROOTOWNER = 3;

inline constexpr int GWLP_WNDPROC = -4;
inline constexpr int GWLP_HINSTANCE = -6;
inline constexpr int GWLP_HWNDPARENT = -8;
inline constexpr int GWLP_ID = -12;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWLP_USERDATA = -21;

inline constexpr int GCLP_MENUNAME = -8;
inline constexpr int GCLP_HBRBACKGROUND = -10;
inline constexpr int GCLP_HCURSOR = -12;
inline constexpr int GCLP_HICON = -14;
inline constexpr int GCLP_HMODULE = -16;
inline constexpr int GCL_CBWNDEXTRA = -18;
inline constexpr int GCL_CBCLSEXTRA = -20;
inline constexpr int GCLP_WNDPROC = -24;
inline constexpr int GCL_STYLE = -26;
inline constexpr int GCLP_HICONSM = -34;

inline constexpr DWORD DCX_WINDOW = 0x00000001;
inline constexpr DWORD DCX_CACHE = 0x00000002;
inline constexpr DWORD DCX_NORESETATTRS = 0x00000004;
inline constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
inline constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
inline constexpr DWORD DCX_PARENTCLIP = 0x00000020;
inline constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
inline constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
inline constexpr DWORD DCX_INTERSECTUPDATE = 0x00000200;
inline constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;
inline constexpr DWORD DCX_VALIDATE = 0x00200000;

inline constexpr UINT CWP_ALL = 0x0000;
inline constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
inline constexpr UINT CWP_SKIPDISABLED = 0x0002;
inline constexpr UINT CWP_SKIPTRANSPARENT = 0x0004;

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;
inline constexpr UINT PM_NOYIELD = 0x0002;

inline constexpr DWORD TME_HOVER = 0x00000001;
inline constexpr DWORD TME_LEAVE = 0x00000002;
inline constexpr DWORD TME_NONCLIENT = 0x00000010;
inline constexpr DWORD TME_QUERY = 0x40000000;
inline constexpr DWORD TME_CANCEL = 0x80000000;
inline constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

inline constexpr int WH_CBT = 5;
inline constexpr int HCBT_MOVESIZE = 0;
inline constexpr int HCBT_MINMAX = 1;
inline constexpr int HCBT_QS = 2;
inline constexpr int HCBT_CREATEWND = 3;
inline constexpr int HCBT_DESTROYWND = 4;
inline constexpr int HCBT_ACTIVATE = 5;
inline constexpr int HCBT_CLICKSKIPPED = 6;
inline constexpr int HCBT_KEYSKIPPED = 7;
inline constexpr int HCBT_SYSCOMMAND = 8;
inline constexpr int HCBT_SETFOCUS = 9;

inline constexpr DWORD ULW_COLORKEY = 0x00000001;
inline constexpr DWORD ULW_ALPHA = 0x00000002;
inline constexpr DWORD ULW_OPAQUE = 0x00000004;
inline constexpr BYTE AC_SRC_OVER = 0x00;
inline constexpr BYTE AC_SRC_ALPHA = 0x01;
inline constexpr DWORD LWA_COLORKEY = 0x00000001;
inline constexpr DWORD LWA_ALPHA = 0x00000002;

inline constexpr DWORD MONITOR_DEFAULTTONULL = 0;
inline constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
inline constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
inline constexpr DWORD MONITORINFOF_PRIMARY = 1;

}  // namespace plat
