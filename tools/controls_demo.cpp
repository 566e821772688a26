// The platform's own look on the headless screen: a dialog-style window with a caption, three
// push buttons (one the default, one disabled) and a status bar with a size grip, and a message
// box open over it. Writes the part of the screen around them as a PNG.
//   controls_demo [out.png]
#include <cstdio>

#include "platform/display/headless/headless_display.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/standard_controls.h"
#include "platform/wm/wm.h"

namespace {

using namespace plat;

constexpr RECT kShot{570, 280, 1030, 610};

int ButtonX(int i) { return 62 + i * 100; }

HWND MakeButton(HWND parent, const char* text, int id, int x, DWORD style) {
  return CreateWindowEx(0, WC_BUTTON, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, 200, 90, 26, parent,
                        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
}

LRESULT MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    SetBkMode(dc, TRANSPARENT);
    RECT r{16, 16, 400, 56};
    DrawText(dc, "Set the brightness of the primary display:", -1, &r, DT_SINGLELINE | DT_VCENTER);
    EndPaint(w, &ps);
    return 0;
  }
  return DefWindowProc(w, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "platform-controls.png";
  auto owned = std::make_unique<display::HeadlessDisplay>();
  display::HeadlessDisplay* screen = owned.get();
  InitPlatform(std::move(owned));

  WNDCLASS wc;
  wc.lpfnWndProc = &MainProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
  wc.lpszClassName = "ControlsDemo";
  RegisterClass(&wc);

  HWND main = CreateWindowEx(WS_EX_DLGMODALFRAME, "ControlsDemo", "Display brightness",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 590, 300, 420, 290, nullptr, nullptr,
                             nullptr, nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (HWND b : {MakeButton(main, "&Apply", IDOK, ButtonX(0), BS_DEFPUSHBUTTON), MakeButton(main, "Cancel", IDCANCEL, ButtonX(1), 0),
                 MakeButton(main, "&Reset", 3, ButtonX(2), 0)})
    SendMessage(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EnableWindow(GetDlgItem(main, 3), FALSE);
  HWND status = CreateWindowEx(0, STATUSCLASSNAME, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, main,
                               reinterpret_cast<HMENU>(static_cast<std::intptr_t>(100)), nullptr, nullptr);
  const int parts[] = {150, 280, -1};
  SendMessage(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  SendMessage(status, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("Monitor 1"));
  SendMessage(status, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("\t50 %"));
  SendMessage(status, SB_SETTEXT, 2, reinterpret_cast<LPARAM>("\t\tDDC/CI"));

  bool shot = false;
  screen->SetIdleHandler([&] {
    if (shot) return false;
    shot = true;
    screen->SaveScreenPng(out, &kShot);
    if (auto box = FindShownMessageBox()) PressMessageBoxButton(box->window, 0);
    return true;
  });
  const int answer = MessageBox(main, "The monitor did not answer over its control channel.\nThe brightness was not changed.",
                                "Display brightness", MB_OK | MB_ICONWARNING);
  std::printf("%s written; the box answered %d\n", out.c_str(), answer);
  ShutdownPlatform();
  return shot && answer == IDOK ? 0 : 1;
}
