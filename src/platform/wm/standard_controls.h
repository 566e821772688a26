#pragma once
// The standard control classes ("Button", "Static", "msctls_statusbar32"), owner drawing, the
// frame controls the defaults draw with, and the system icons.
#include "platform/wm/wm.h"

namespace plat {

// ---- frame controls ----------------------------------------------------------------------------
inline constexpr UINT DFC_CAPTION = 1;
inline constexpr UINT DFC_MENU = 2;
inline constexpr UINT DFC_SCROLL = 3;
inline constexpr UINT DFC_BUTTON = 4;
inline constexpr UINT DFCS_CAPTIONCLOSE = 0x0000;
inline constexpr UINT DFCS_CAPTIONMIN = 0x0001;
inline constexpr UINT DFCS_CAPTIONMAX = 0x0002;
inline constexpr UINT DFCS_CAPTIONRESTORE = 0x0003;
inline constexpr UINT DFCS_CAPTIONHELP = 0x0004;
inline constexpr UINT DFCS_MENUARROW = 0x0000;
inline constexpr UINT DFCS_MENUCHECK = 0x0001;
inline constexpr UINT DFCS_SCROLLSIZEGRIP = 0x0008;
inline constexpr UINT DFCS_BUTTONPUSH = 0x0010;
inline constexpr UINT DFCS_INACTIVE = 0x0100;
inline constexpr UINT DFCS_PUSHED = 0x0200;
inline constexpr UINT DFCS_CHECKED = 0x0400;
inline constexpr UINT DFCS_ADJUSTRECT = 0x2000;
inline constexpr UINT DFCS_FLAT = 0x4000;
inline constexpr UINT DFCS_MONO = 0x8000;
// Caption buttons, push-button bevels, menu marks and the size grip in the system colours.
BOOL DrawFrameControl(HDC dc, RECT* r, UINT type, UINT state);

// ---- system icons ------------------------------------------------------------------------------
inline const char* const IDI_APPLICATION = MAKEINTRESOURCE(32512);
inline const char* const IDI_ERROR = MAKEINTRESOURCE(32513);
inline const char* const IDI_HAND = IDI_ERROR;
inline const char* const IDI_QUESTION = MAKEINTRESOURCE(32514);
inline const char* const IDI_WARNING = MAKEINTRESOURCE(32515);
inline const char* const IDI_EXCLAMATION = IDI_WARNING;
inline const char* const IDI_INFORMATION = MAKEINTRESOURCE(32516);
inline const char* const IDI_ASTERISK = IDI_INFORMATION;
inline constexpr UINT DI_NORMAL = 0x0003;
// The system's icons only (instance nullptr); they are never destroyed.
HICON LoadIcon(HINSTANCE instance, const char* name);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
// Any size; 0 takes the icon's own (32).
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH background, UINT flags);

// ---- owner drawing -----------------------------------------------------------------------------
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT WM_MEASUREITEM = 0x002C;
inline constexpr UINT WM_CTLCOLORBTN = 0x0135;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT ODT_MENU = 1;
inline constexpr UINT ODT_BUTTON = 4;
inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODA_SELECT = 0x0002;
inline constexpr UINT ODA_FOCUS = 0x0004;
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_GRAYED = 0x0002;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_CHECKED = 0x0008;
inline constexpr UINT ODS_FOCUS = 0x0010;
inline constexpr UINT ODS_DEFAULT = 0x0020;
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = nullptr;
  HDC hDC = nullptr;
  RECT rcItem{};
  ULONG_PTR itemData = 0;
};

// Sent to the parent before an owner-drawn item is first drawn; the child is known by CtlID.
struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  ULONG_PTR itemData = 0;
};

// ---- "Button" ----------------------------------------------------------------------------------
inline const char* const WC_BUTTON = "Button";
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_OWNERDRAW = 0x000B;
inline constexpr DWORD BS_TYPEMASK = 0x000F;
inline constexpr DWORD BS_MULTILINE = 0x2000;
inline constexpr DWORD BS_NOTIFY = 0x4000;
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_SETSTATE = 0x00F3;
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr LRESULT BST_UNCHECKED = 0x0000;
inline constexpr LRESULT BST_CHECKED = 0x0001;
inline constexpr LRESULT BST_PUSHED = 0x0004;
inline constexpr LRESULT BST_FOCUS = 0x0008;
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD BN_DOUBLECLICKED = 5;

// ---- "Static" ----------------------------------------------------------------------------------
inline const char* const WC_STATIC = "Static";
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SS_RIGHT = 0x0002;
inline constexpr DWORD SS_ICON = 0x0003;
inline constexpr DWORD SS_TYPEMASK = 0x001F;
inline constexpr DWORD SS_NOPREFIX = 0x0080;
inline constexpr UINT STM_SETICON = 0x0170;
inline constexpr UINT STM_GETICON = 0x0171;

// ---- "msctls_statusbar32" ----------------------------------------------------------------------
inline const char* const STATUSCLASSNAME = "msctls_statusbar32";
inline constexpr DWORD CCS_TOP = 0x0001;
inline constexpr DWORD CCS_NOMOVEY = 0x0002;
inline constexpr DWORD CCS_BOTTOM = 0x0003;
inline constexpr DWORD CCS_NORESIZE = 0x0004;
inline constexpr DWORD CCS_NOPARENTALIGN = 0x0008;
inline constexpr DWORD SBARS_SIZEGRIP = 0x0100;
inline constexpr UINT SB_SETTEXT = 0x0401;
inline constexpr UINT SB_GETTEXT = 0x0402;
inline constexpr UINT SB_GETTEXTLENGTH = 0x0403;
inline constexpr UINT SB_SETPARTS = 0x0404;
inline constexpr UINT SB_GETPARTS = 0x0406;
inline constexpr UINT SB_GETBORDERS = 0x0407;
inline constexpr UINT SB_SETMINHEIGHT = 0x0408;
inline constexpr UINT SB_SIMPLE = 0x0409;
inline constexpr UINT SB_GETRECT = 0x040A;
inline constexpr UINT SB_ISSIMPLE = 0x040E;
inline constexpr WPARAM SB_SIMPLEID = 0x00FF;
inline constexpr WPARAM SBT_NOBORDERS = 0x0100;
inline constexpr WPARAM SBT_POPOUT = 0x0200;
inline constexpr WPARAM SBT_RTLREADING = 0x0400;
inline constexpr WPARAM SBT_OWNERDRAW = 0x1000;
inline constexpr int SB_MAXPARTS = 256;

// ---- help ----------------------------------------------------------------------------------------
inline constexpr UINT WM_HELP = 0x0053;
inline constexpr int HELPINFO_WINDOW = 0x0001;
struct HELPINFO {
  UINT cbSize = sizeof(HELPINFO);
  int iContextType = HELPINFO_WINDOW;
  int iCtrlId = 0;
  HANDLE hItemHandle = nullptr;
  DWORD_PTR dwContextId = 0;
  POINT MousePos{};
};

// ---- child windows -----------------------------------------------------------------------------
int GetDlgCtrlID(HWND window);
HWND GetDlgItem(HWND dialog, int id);

}  // namespace plat
