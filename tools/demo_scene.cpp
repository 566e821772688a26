#include "demo_scene.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plat::demo {

namespace {

constexpr int kPanelW = 420;
constexpr int kPanelH = 240;
constexpr int kShadow = 28;  // room for the shadow on every side
constexpr int kShadowDrop = 8;

LRESULT FramedProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProc(w, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  RECT client;
  GetClientRect(w, &client);
  RECT band{0, 0, client.right, 56};
  HBRUSH accent = CreateSolidBrush(RGB(0xE8, 0xEE, 0xF6));
  FillRect(dc, &band, accent);
  DeleteObject(accent);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0x20, 0x30, 0x48));
  RECT title{16, 0, client.right - 16, 56};
  DrawText(dc, "Brightness of the primary display", -1, &title, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  const char* levels[] = {"0 %", "25 %", "50 %", "75 %"};
  for (int i = 0; i < 4; ++i) {
    RECT b = MakeRect(16 + i * 94, 80, 84, 32);
    FillRect(dc, &b, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &b, EDGE_RAISED, BF_RECT);
    DrawText(dc, levels[i], -1, &b, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  EndPaint(w, &ps);
  return 0;
}

// A push button of its own window: a raised bevel, sunken while the mouse holds it.
LRESULT ButtonProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProc(w, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  RECT r;
  GetClientRect(w, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  SetBkMode(dc, TRANSPARENT);
  DrawText(dc, "100 %", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  EndPaint(w, &ps);
  return 0;
}

// A rounded panel over a blurred, dropped shadow, premultiplied.
void PaintPanel(Bitmap& px) {
  const RECT panel = MakeRect(kShadow, kShadow, kPanelW, kPanelH);
  const double radius = 14;
  auto inside = [&](double x, double y, double grow) {
    // Signed distance to the rounded rectangle, negative inside.
    const double cx = std::clamp(x, panel.left + radius, panel.right - radius);
    const double cy = std::clamp(y, panel.top + radius, panel.bottom - radius);
    return std::hypot(x - cx, y - cy) - radius - grow;
  };
  for (int y = 0; y < px.Height(); ++y)
    for (int x = 0; x < px.Width(); ++x) {
      const double d = inside(x + 0.5, y + 0.5, 0);
      // The shadow: the panel's shape moved down, its edge blurred over the margin.
      const double ds = inside(x + 0.5, y + 0.5 - kShadowDrop, -4);
      const double shadow = ds <= 0 ? 1.0 : std::exp(-(ds * ds) / (2 * 7.0 * 7.0));
      const double sa = 0.55 * shadow;
      // Panel coverage with a one-pixel soft edge.
      const double pa = std::clamp(0.5 - d, 0.0, 1.0);
      // Panel colour: a gentle vertical gradient.
      const double t = std::clamp((y - panel.top) / static_cast<double>(kPanelH), 0.0, 1.0);
      const double r = 250 - 18 * t, g = 251 - 12 * t, b = 253 - 4 * t;
      const double a = pa + sa * (1 - pa);
      px.Row(y)[x] = MakePixel(static_cast<BYTE>(std::lround(r * pa)), static_cast<BYTE>(std::lround(g * pa)),
                               static_cast<BYTE>(std::lround(b * pa)), static_cast<BYTE>(std::lround(255 * a)));
    }
}

// The panel's picture: shadow and panel, then its text drawn on top; text leaves alpha 0,
// so the panel's own pixels get their alpha back afterwards.
bool ShowPanel(HWND layered) {
  const int width = kPanelW + 2 * kShadow;
  const int height = kPanelH + 2 * kShadow + kShadowDrop;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap32(width, height);
  HGDIOBJ old = SelectObject(mem, bmp);
  Bitmap& px = *BitmapOf(bmp);
  PaintPanel(px);
  std::vector<BYTE> alpha(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) alpha[static_cast<std::size_t>(y) * width + x] = static_cast<BYTE>(PixelA(px.Row(y)[x]));
  SetBkMode(mem, TRANSPARENT);
  SetTextColor(mem, RGB(0x24, 0x2C, 0x38));
  RECT text = MakeRect(kShadow + 24, kShadow + 20, kPanelW - 48, kPanelH - 40);
  DrawText(mem, "A layered window: its picture carries per-pixel alpha, so the rounded corners and the soft "
                "shadow show what lies below, the framed window and another program alike.",
           -1, &text, DT_WORDBREAK | DT_LEFT);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Pixel& p = px.Row(y)[x];
      p = (p & 0x00FFFFFFu) | (static_cast<Pixel>(alpha[static_cast<std::size_t>(y) * width + x]) << 24);
    }
  POINT at{640, 300}, from{0, 0};
  SIZE size{width, height};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BOOL shown = UpdateLayeredWindow(layered, nullptr, &at, &size, mem, &from, 0, &blend, ULW_ALPHA);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  return shown != FALSE;
}

}  // namespace

RECT SceneArea() { return MakeRect(280, 80, 1080, 600); }

bool MakeScene(Scene& scene) {
  WNDCLASS wc;
  wc.lpfnWndProc = &FramedProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
  wc.lpszClassName = "DemoFramed";
  RegisterClass(&wc);
  wc.lpfnWndProc = &ButtonProc;
  wc.hCursor = LoadCursor(nullptr, IDC_HAND);
  wc.lpszClassName = "DemoButton";
  RegisterClass(&wc);
  wc.lpfnWndProc = &DefWindowProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = "DemoLayered";
  RegisterClass(&wc);

  scene.framed = CreateWindowEx(0, "DemoFramed", "Velmora", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 320, 220,
                                510, 200, nullptr, nullptr, nullptr, nullptr);
  scene.button = CreateWindowEx(0, "DemoButton", "100 %", WS_CHILD | WS_VISIBLE, 16 + 4 * 94, 80, 84, 32, scene.framed,
                                reinterpret_cast<HMENU>(static_cast<std::intptr_t>(1)), nullptr, nullptr);
  scene.panel = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "DemoLayered", "",
                               WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, scene.framed, nullptr, nullptr, nullptr);
  if (!scene.framed || !scene.button || !scene.panel) return false;
  SetForegroundWindow(scene.framed);
  UpdateWindow(scene.framed);
  // Without layered windows the panel stays an empty window of no size.
  return GetProcAddress(GetModuleHandle("user32.dll"), "UpdateLayeredWindow") == nullptr || ShowPanel(scene.panel);
}

}  // namespace plat::demo
