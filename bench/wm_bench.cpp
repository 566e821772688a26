// The window manager's hot paths, each against a reference measured in the same run:
//  - a SendMessage round trip through two subclass levels, against calling the same three
//    procedures directly ("vs_direct": how many direct chains one send costs);
//  - composing the whole headless screen with three windows (opaque, constant alpha, per-pixel
//    alpha), against one memcpy of the screen ("vs_memcpy");
//  - an idle message loop on the real clock: the CPU time it takes while waiting one second
//    for a timer ("cpu_ms"; a loop that blocks takes next to none).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "platform/wm/wm.h"
#include "reference.h"

namespace {

using namespace plat;
using Clock = std::chrono::steady_clock;

LRESULT Base(HWND, UINT, WPARAM wp, LPARAM) { return static_cast<LRESULT>(wp + 1); }
WNDPROC innerNext = nullptr;
WNDPROC outerNext = nullptr;
LRESULT Inner(HWND h, UINT m, WPARAM wp, LPARAM lp) { return CallWindowProc(innerNext, h, m, wp, lp); }
LRESULT Outer(HWND h, UINT m, WPARAM wp, LPARAM lp) { return CallWindowProc(outerNext, h, m, wp, lp); }

// The same chain without the window manager, through pointers it cannot see through.
WNDPROC volatile directOuter = nullptr;
WNDPROC volatile directInner = nullptr;
WNDPROC volatile directBase = &Base;
LRESULT DirectInner(HWND h, UINT m, WPARAM wp, LPARAM lp) { return directBase(h, m, wp, lp); }
LRESULT DirectOuter(HWND h, UINT m, WPARAM wp, LPARAM lp) { return directInner(h, m, wp, lp); }

double DirectChainNs() {
  directInner = &DirectInner;
  directOuter = &DirectOuter;
  constexpr int kBatch = 1 << 16;  // one clock reading per batch, not per few-nanosecond call
  return bench::BestSecondsPerCall([] {
           LRESULT sum = 0;
           for (int i = 0; i < kBatch; ++i) sum += directOuter(nullptr, WM_USER, static_cast<WPARAM>(i), 0);
           benchmark::DoNotOptimize(sum);
         }) * 1e9 / kBatch;
}

void BM_SendMessageThroughTwoSubclasses(benchmark::State& state) {
  InitPlatform(std::make_unique<display::HeadlessDisplay>());
  WNDCLASS wc;
  wc.lpfnWndProc = &Base;
  wc.lpszClassName = "BenchBase";
  RegisterClass(&wc);
  HWND w = CreateWindowEx(0, "BenchBase", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  innerNext = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Inner)));
  outerNext = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Outer)));
  const double reference = DirectChainNs();
  WPARAM i = 0;
  const auto start = Clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(w, WM_USER, i++, 0));
  const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
                    static_cast<double>(state.iterations());
  state.counters["direct_ns"] = reference;
  state.counters["vs_direct"] = ns / reference;
  ShutdownPlatform();
}
BENCHMARK(BM_SendMessageThroughTwoSubclasses);

HWND Window(RECT r, DWORD exStyle, int brush) {
  HWND w = CreateWindowEx(exStyle, "BenchPaint", "", WS_POPUP | WS_VISIBLE, r.left, r.top, RectWidth(r),
                          RectHeight(r), nullptr, nullptr, nullptr, nullptr);
  SetClassLongPtr(w, GCLP_HBRBACKGROUND, brush + 1);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return w;
}

void BM_ComposeScreenWithThreeWindows(benchmark::State& state) {
  auto owned = std::make_unique<display::HeadlessDisplay>();
  display::HeadlessDisplay* screen = owned.get();
  InitPlatform(std::move(owned));
  WNDCLASS wc;
  wc.lpfnWndProc = &DefWindowProc;
  wc.lpszClassName = "BenchPaint";
  RegisterClass(&wc);
  Window(MakeRect(100, 100, 800, 600), 0, COLOR_3DFACE);
  HWND faded = Window(MakeRect(500, 300, 700, 500), WS_EX_LAYERED, COLOR_HIGHLIGHT);
  SetLayeredWindowAttributes(faded, 0, 160, LWA_ALPHA);
  // A soft-edged shadow picture, premultiplied.
  HWND shadow = CreateWindowEx(WS_EX_LAYERED, "BenchPaint", "", WS_POPUP | WS_VISIBLE, 300, 200, 900, 700, nullptr,
                               nullptr, nullptr, nullptr);
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap32(900, 700);
  HGDIOBJ old = SelectObject(mem, bmp);
  Bitmap& px = *BitmapOf(bmp);
  for (int y = 0; y < px.Height(); ++y)
    for (int x = 0; x < px.Width(); ++x) {
      const int edge = std::min({x, y, px.Width() - 1 - x, px.Height() - 1 - y});
      const BYTE a = static_cast<BYTE>(std::min(255, edge * 8));
      px.Row(y)[x] = MakePixel(0, 0, 0, a);
    }
  POINT from{0, 0};
  SIZE size{900, 700};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(shadow, nullptr, nullptr, &size, mem, &from, 0, &blend, ULW_ALPHA);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);

  const std::size_t bytes = static_cast<std::size_t>(screen->Screen().Width()) * screen->Screen().Height() * 4;
  std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
  for (auto _ : state) benchmark::DoNotOptimize(screen->Compose().Row(0));
  // Both best-of on the thread's CPU clock, which the machine's other work moves less.
  const double memcpyNs = bench::BestSecondsPerCall<bench::ThreadCpuClock>([&] {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
  }) * 1e9;
  const double ns =
      bench::BestSecondsPerCall<bench::ThreadCpuClock>([&] { benchmark::DoNotOptimize(screen->Compose().Row(0)); }) * 1e9;
  state.counters["compose_ms"] = ns / 1e6;
  state.counters["memcpy_ms"] = memcpyNs / 1e6;
  state.counters["vs_memcpy"] = ns / memcpyNs;
  ShutdownPlatform();
}
BENCHMARK(BM_ComposeScreenWithThreeWindows)->Unit(benchmark::kMillisecond);

double CpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

void BM_IdleLoopOnTheRealClock(benchmark::State& state) {
  display::HeadlessDisplay::Options o;
  o.realClock = true;
  InitPlatform(std::make_unique<display::HeadlessDisplay>(o));
  WNDCLASS wc;
  wc.lpfnWndProc = &DefWindowProc;
  wc.lpszClassName = "BenchIdle";
  RegisterClass(&wc);
  HWND w = CreateWindowEx(0, "BenchIdle", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  double cpu = 0;
  for (auto _ : state) {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
    SetTimer(w, 1, 1000, nullptr);
    const double before = CpuMs();
    while (GetMessage(&m, nullptr, 0, 0) > 0 && m.message != WM_TIMER) DispatchMessage(&m);
    cpu += CpuMs() - before;
    KillTimer(w, 1);
  }
  state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
  ShutdownPlatform();
}
BENCHMARK(BM_IdleLoopOnTheRealClock)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
