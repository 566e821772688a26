#pragma once
// The window manager under the platform's names and values: classes and windows behind checked
// handles (a stale handle makes a call fail, never crash), messages and the queue, timers, the
// CBT hook, painting, input, focus and activation, layered windows. Everything runs on the one
// user-interface thread. Strings are UTF-8.
#include <memory>
#include <string>

#include "platform/base/geometry.h"
#include "platform/base/keys.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/modules.h"
#include "platform/wm/messages.h"
#include "platform/wm/metrics.h"
#include "platform/wm/styles.h"

namespace plat {

using ULONG_PTR = std::uintptr_t;
using HWND = struct HWND__*;
using HMENU = struct HMENU__*;
using HICON = struct HICON__*;
using HCURSOR = HICON;
using HINSTANCE = HMODULE;
using HHOOK = struct HHOOK__*;
using ATOM = WORD;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HOOKPROC = LRESULT (*)(int, WPARAM, LPARAM);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

inline const char* MAKEINTATOM(ATOM atom) { return MAKEINTRESOURCE(atom); }

inline HWND const HWND_TOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(-3);
inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(0xFFFF);

// ---- errors ------------------------------------------------------------------------------------
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED = 120;
inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr DWORD ERROR_INVALID_HOOK_HANDLE = 1404;
inline constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
inline constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
inline constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
inline constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
inline constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
DWORD GetLastError();
void SetLastError(DWORD error);
DWORD GetCurrentThreadId();

// ---- classes -----------------------------------------------------------------------------------
struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;  // also a system colour index + 1
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
};
// Class names ignore case; the answer is the class atom (0 on failure).
ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(const char* className, HINSTANCE instance);
BOOL GetClassInfo(HINSTANCE instance, const char* className, WNDCLASS* out);
int GetClassName(HWND window, char* buffer, int size);
ULONG_PTR GetClassLongPtr(HWND window, int index);
ULONG_PTR SetClassLongPtr(HWND window, int index, LONG_PTR value);

// ---- windows -----------------------------------------------------------------------------------
struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance = nullptr;
  HMENU hMenu = nullptr;  // the id of a child window
  HWND hwndParent = nullptr;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  LONG style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

// parent: the parent of a child window, the owner of a top-level one.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance, void* param);
HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width, int height,
                  HWND parent, HMENU menuOrId, HINSTANCE instance, void* param);
// Owned windows and children go first; WM_DESTROY runs parent to children, WM_NCDESTROY back.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL IsChild(HWND parent, HWND window);
HWND GetDesktopWindow();

LONG_PTR GetWindowLongPtr(HWND window, int index);
LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value);
LONG GetWindowLong(HWND window, int index);
LONG SetWindowLong(HWND window, int index, LONG value);

BOOL SetProp(HWND window, const char* name, HANDLE data);
HANDLE GetProp(HWND window, const char* name);
HANDLE RemoveProp(HWND window, const char* name);

BOOL SetWindowText(HWND window, const char* text);
int GetWindowText(HWND window, char* buffer, int size);
int GetWindowTextLength(HWND window);

// ---- geometry and the tree ---------------------------------------------------------------------
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
};
struct NCCALCSIZE_PARAMS {
  RECT rgrc[3]{};
  WINDOWPOS* lppos = nullptr;
};
struct MINMAXINFO {
  POINT ptReserved{};
  POINT ptMaxSize{};
  POINT ptMaxPosition{};
  POINT ptMinTrackSize{};
  POINT ptMaxTrackSize{};
};
struct STYLESTRUCT {
  DWORD styleOld = 0;
  DWORD styleNew = 0;
};

BOOL GetWindowRect(HWND window, RECT* r);
BOOL GetClientRect(HWND window, RECT* r);
BOOL ScreenToClient(HWND window, POINT* p);
BOOL ClientToScreen(HWND window, POINT* p);
// nullptr stands for the screen. Answers the horizontal shift in the low word, the vertical one
// in the high word.
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
// The frame and caption of a style around a client rectangle.
BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL menu, DWORD exStyle);
BOOL AdjustWindowRect(RECT* r, DWORD style, BOOL menu);

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND window);
// Answers whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);
// Answers whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
HWND GetParent(HWND window);
HWND SetParent(HWND window, HWND newParent);
HWND GetWindow(HWND window, UINT command);
HWND GetAncestor(HWND window, UINT flags);
HWND GetTopWindow(HWND window);
HWND GetLastActivePopup(HWND window);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM data);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM data);
HWND WindowFromPoint(POINT screen);
// point in the parent's client coordinates.
HWND ChildWindowFromPoint(HWND parent, POINT point);
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);

// ---- messages ----------------------------------------------------------------------------------
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt{};
};

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessage(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Answers 0 for WM_QUIT, -1 on error, else non-zero. The order: posted messages, the quit
// request, input, paint, timers.
BOOL GetMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
BOOL PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL WaitMessage();
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
LRESULT CallWindowProc(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL InSendMessage();
DWORD GetMessageTime();
DWORD GetMessagePos();

// ---- timers and time ---------------------------------------------------------------------------
inline constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);
void Sleep(DWORD ms);
DWORD GetTickCount();
std::uint64_t GetTickCount64();

// ---- hooks -------------------------------------------------------------------------------------
struct CBTACTIVATESTRUCT {
  BOOL fMouse = FALSE;
  HWND hWndActive = nullptr;
};
struct CBT_CREATEWND {
  CREATESTRUCT* lpcs = nullptr;
  HWND hwndInsertAfter = nullptr;
};
// Only WH_CBT, for this thread (0 or GetCurrentThreadId()).
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// ---- painting ----------------------------------------------------------------------------------
struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint{};
  BOOL fRestore = FALSE;
  BOOL fIncUpdate = FALSE;
  BYTE rgbReserved[32] = {};
};

BOOL InvalidateRect(HWND window, const RECT* r, BOOL erase);
BOOL InvalidateRgn(HWND window, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* r);
BOOL ValidateRgn(HWND window, HRGN rgn);
BOOL GetUpdateRect(HWND window, RECT* r, BOOL erase);
int GetUpdateRgn(HWND window, HRGN rgn, BOOL erase);
BOOL UpdateWindow(HWND window);
// r and rgn in client coordinates.
BOOL RedrawWindow(HWND window, const RECT* r, HRGN rgn, UINT flags);
HDC BeginPaint(HWND window, PAINTSTRUCT* ps);
BOOL EndPaint(HWND window, const PAINTSTRUCT* ps);
// Contexts over the window's top-level picture, clipped to what of the window is visible.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
// clip in screen coordinates.
HDC GetDCEx(HWND window, HRGN clip, DWORD flags);
int ReleaseDC(HWND window, HDC dc);
HWND WindowFromDC(HDC dc);
// The window takes the region (window coordinates); the handle is no longer the caller's.
int SetWindowRgn(HWND window, HRGN rgn, BOOL redraw);
int GetWindowRgn(HWND window, HRGN rgn);
BOOL LockWindowUpdate(HWND window);

// ---- layered windows ---------------------------------------------------------------------------
struct BLENDFUNCTION {
  BYTE BlendOp = AC_SRC_OVER;
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;
};
// Also offered as "UpdateLayeredWindow" and "SetLayeredWindowAttributes" of "user32.dll"
// when the display can show such windows.
BOOL UpdateLayeredWindow(HWND window, HDC dst, POINT* position, SIZE* size, HDC src, POINT* srcPosition,
                         COLORREF key, BLENDFUNCTION* blend, DWORD flags);
BOOL SetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND window, COLORREF* key, BYTE* alpha, DWORD* flags);
using UpdateLayeredWindowProc = BOOL (*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
using SetLayeredWindowAttributesProc = BOOL (*)(HWND, COLORREF, BYTE, DWORD);

// ---- input -------------------------------------------------------------------------------------
struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = HOVER_DEFAULT;
};
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
BOOL GetCursorPos(POINT* p);
BOOL SetCursorPos(int x, int y);
// Bit 15: down; bit 0 (GetKeyState): toggled. GetKeyState follows the messages taken from the
// queue, GetAsyncKeyState the keys as they are now.
short GetKeyState(int vk);
short GetAsyncKeyState(int vk);

inline const char* const IDC_ARROW = MAKEINTRESOURCE(32512);
inline const char* const IDC_IBEAM = MAKEINTRESOURCE(32513);
inline const char* const IDC_WAIT = MAKEINTRESOURCE(32514);
inline const char* const IDC_CROSS = MAKEINTRESOURCE(32515);
inline const char* const IDC_UPARROW = MAKEINTRESOURCE(32516);
inline const char* const IDC_SIZENWSE = MAKEINTRESOURCE(32642);
inline const char* const IDC_SIZENESW = MAKEINTRESOURCE(32643);
inline const char* const IDC_SIZEWE = MAKEINTRESOURCE(32644);
inline const char* const IDC_SIZENS = MAKEINTRESOURCE(32645);
inline const char* const IDC_SIZEALL = MAKEINTRESOURCE(32646);
inline const char* const IDC_NO = MAKEINTRESOURCE(32648);
inline const char* const IDC_HAND = MAKEINTRESOURCE(32649);
inline const char* const IDC_APPSTARTING = MAKEINTRESOURCE(32650);
inline const char* const IDC_HELP = MAKEINTRESOURCE(32651);
// The system's shapes only (instance nullptr); they are never destroyed.
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// ---- focus and activation ----------------------------------------------------------------------
HWND SetFocus(HWND window);
HWND GetFocus();
HWND SetActiveWindow(HWND window);
// nullptr while another program is in the foreground.
HWND GetActiveWindow();
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);

// ---- our own additions -----------------------------------------------------------------------
// Not the platform's: starting it over a display, and conveniences of our own.

namespace display {
class Display;
}

// The platform runs over one display at a time. Initialising again replaces everything (windows,
// classes, timers, hooks, the queue); shutting down destroys the windows without messages.
void InitPlatform(std::unique_ptr<display::Display> display);
void ShutdownPlatform();
display::Display* CurrentDisplay();

// The window's text as a string (GetWindowText without a buffer).
std::string GetWindowTextString(HWND window);

}  // namespace plat
