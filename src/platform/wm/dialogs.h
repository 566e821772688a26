#pragma once
// The dialog class "#32770" with its keyboard handling, and message boxes built from it.
#include <optional>
#include <string>
#include <vector>

#include "platform/wm/wm.h"

namespace plat {

inline const char* const WC_DIALOG = "#32770";
inline constexpr DWORD DS_MODALFRAME = 0x0080;
inline constexpr DWORD DS_CENTER = 0x0800;
inline constexpr UINT DM_GETDEFID = WM_USER + 0;
inline constexpr UINT DM_SETDEFID = WM_USER + 1;
inline constexpr WORD DC_HASDEFID = 0x534B;
inline constexpr UINT WM_NEXTDLGCTL = 0x0028;

inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;
inline constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr LRESULT DLGC_STATIC = 0x0100;
inline constexpr LRESULT DLGC_BUTTON = 0x2000;

// The default procedure of the dialog class: the default push button, Enter and Escape as
// commands, the close command as IDCANCEL.
LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Takes the keys a dialog handles itself (Tab, Enter, Escape); answers whether it did.
BOOL IsDialogMessage(HWND dialog, MSG* msg);

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr UINT MB_YESNOCANCEL = 0x00000003;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_RETRYCANCEL = 0x00000005;
inline constexpr UINT MB_TYPEMASK = 0x0000000F;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr UINT MB_ICONMASK = 0x000000F0;
inline constexpr UINT MB_DEFBUTTON1 = 0x00000000;
inline constexpr UINT MB_DEFBUTTON2 = 0x00000100;
inline constexpr UINT MB_DEFBUTTON3 = 0x00000200;
inline constexpr UINT MB_DEFMASK = 0x00000F00;
inline constexpr UINT MB_APPLMODAL = 0x00000000;
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;
inline constexpr UINT MB_TASKMODAL = 0x00002000;
inline constexpr UINT MB_SETFOREGROUND = 0x00010000;
inline constexpr UINT MB_TOPMOST = 0x00040000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// A modal box of class "#32770", centred on its owner (or on the work area), with the owner
// disabled while it shows. Answers the id of the button that closed it; Escape and the close
// button answer IDCANCEL, or IDOK for a box whose only button is OK. 0 on failure.
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);

// What a message box that is showing says, for headless runs and tests.
struct ShownMessageBox {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  UINT type = 0;
  std::vector<int> buttons;  // ids, left to right
  int defaultButton = 0;
};
// The topmost message box being shown, if any.
std::optional<ShownMessageBox> FindShownMessageBox();
// Presses a button of a shown box (0: its default button). The press is posted, so it takes
// effect when the box's loop takes it; safe from a display's idle handler.
BOOL PressMessageBoxButton(HWND box, int id);

}  // namespace plat
