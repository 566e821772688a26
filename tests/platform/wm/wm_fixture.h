#pragma once
// A fresh headless display and window manager per test, a window class whose procedure records
// every message, and helpers to run the queue.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "platform/wm/wm.h"

namespace plat::test {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};

class WmTest : public ::testing::Test {
 public:
  // What the recording procedure answers instead of DefWindowProc, when it answers.
  using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
  static inline std::vector<Logged> log;
  static inline Handler handler;

  static LRESULT Recording(HWND h, UINT m, WPARAM w, LPARAM l) {
    log.push_back({h, m, w, l});
    if (handler)
      if (auto r = handler(h, m, w, l)) return *r;
    return DefWindowProc(h, m, w, l);
  }

 protected:
  void SetUp() override {
    auto d = std::make_unique<display::HeadlessDisplay>(Options());
    screen = d.get();
    InitPlatform(std::move(d));
    log.clear();
    handler = nullptr;
    WNDCLASS wc;
    wc.lpfnWndProc = &Recording;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    wc.lpszClassName = "Rec";
    RegisterClass(&wc);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = "RecDbl";
    RegisterClass(&wc);
  }
  void TearDown() override {
    ShutdownPlatform();
    handler = nullptr;
    log.clear();
  }
  virtual display::HeadlessDisplay::Options Options() { return {}; }

  // Takes and dispatches everything that is there, without waiting.
  static void Pump() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
  static HWND Popup(RECT r, DWORD style = WS_VISIBLE, DWORD exStyle = 0, HWND owner = nullptr,
                    const char* cls = "Rec") {
    return CreateWindowEx(exStyle, cls, "popup", WS_POPUP | style, r.left, r.top, RectWidth(r), RectHeight(r), owner,
                          nullptr, nullptr, nullptr);
  }
  static HWND Child(HWND parent, RECT r, DWORD style = WS_VISIBLE, int id = 1, const char* cls = "Rec") {
    return CreateWindowEx(0, cls, "", WS_CHILD | style, r.left, r.top, RectWidth(r), RectHeight(r), parent,
                          reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
  }
  // The messages of one window (or all) among those named, in order.
  static std::vector<UINT> Sequence(std::initializer_list<UINT> among, HWND only = nullptr) {
    std::vector<UINT> out;
    for (const Logged& l : log)
      if ((!only || l.hwnd == only) && std::find(among.begin(), among.end(), l.msg) != among.end()) out.push_back(l.msg);
    return out;
  }
  static std::vector<std::pair<HWND, UINT>> Pairs(std::initializer_list<UINT> among) {
    std::vector<std::pair<HWND, UINT>> out;
    for (const Logged& l : log)
      if (std::find(among.begin(), among.end(), l.msg) != among.end()) out.emplace_back(l.hwnd, l.msg);
    return out;
  }
  static int Count(UINT msg, HWND only = nullptr) {
    int n = 0;
    for (const Logged& l : log) n += l.msg == msg && (!only || l.hwnd == only);
    return n;
  }

  display::HeadlessDisplay* screen = nullptr;
};

}  // namespace plat::test
