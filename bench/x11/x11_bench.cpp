// Figures of the X11 display on the X server of $DISPLAY (run it under Xvfb: see
// docs/desktop.md): from process start to the first frame on the screen, and the cost of
// pushing a 394 x 276 picture with shared memory and with XPutImage.
//   x11_bench [rounds]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/display/x11/x11_display.h"

namespace {

using namespace plat;
using display::X11Display;

constexpr int kWidth = 394;
constexpr int kHeight = 276;

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

Bitmap Picture(int seed) {
  Bitmap b(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      b.Row(y)[x] = MakePixel(static_cast<BYTE>(x + seed), static_cast<BYTE>(y), static_cast<BYTE>(seed * 7), 255);
  return b;
}

// In a fresh process: connect, map a window, put its first picture, and say when that was done.
int FirstFrame(std::int64_t started) {
  std::string error;
  auto d = X11Display::Open({}, &error);
  if (!d) return 2;
  const std::int64_t connected = NowNs();
  const display::SurfaceId s = d->CreateSurface(MakeRect(100, 100, kWidth, kHeight));
  d->Show(s, true);
  display::Event e;
  while (!d->IsMapped(s)) {
    while (d->NextEvent(e)) {
    }
    if (!d->IsMapped(s)) d->WaitForEvents(std::nullopt);
  }
  const std::int64_t mapped = NowNs();
  const Bitmap picture = Picture(1);
  d->Present(s, picture, Region(picture.Bounds()));
  d->Sync();
  const std::int64_t shown = NowNs();
  std::printf("%lld %lld %lld\n", static_cast<long long>(connected - started), static_cast<long long>(mapped - started),
              static_cast<long long>(shown - started));
  return 0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void Startup(const char* self, int rounds) {
  std::vector<double> connect, map, frame;
  for (int i = 0; i < rounds; ++i) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::int64_t started = NowNs();
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(fds[1], 1);
      const std::string at = std::to_string(started);
      execl(self, self, "--first-frame", at.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    char buf[128] = {};
    const ssize_t n = read(fds[0], buf, sizeof buf - 1);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long c = 0, m = 0, f = 0;
    if (n <= 0 || std::sscanf(buf, "%lld %lld %lld", &c, &m, &f) != 3) {
      std::fprintf(stderr, "x11_bench: the child drew nothing\n");
      return;
    }
    connect.push_back(c / 1e6);
    map.push_back(m / 1e6);
    frame.push_back(f / 1e6);
  }
  std::printf("process start to first frame (median of %d runs): connected %.2f ms, MapNotify %.2f ms, picture on screen %.2f ms\n",
              rounds, Median(connect), Median(map), Median(frame));
}

void Push(bool sharedMemory, int rounds) {
  std::string error;
  auto d = X11Display::Open({"", sharedMemory}, &error);
  if (!d) return;
  const display::SurfaceId s = d->CreateSurface(MakeRect(100, 100, kWidth, kHeight));
  d->Show(s, true);
  display::Event e;
  while (!d->IsMapped(s)) {
    while (d->NextEvent(e)) {
    }
    if (!d->IsMapped(s)) d->WaitForEvents(std::nullopt);
  }
  const Bitmap a = Picture(1), b = Picture(2);
  const Region all(a.Bounds());
  // Back to back, the server working while we fill the next buffer.
  std::int64_t start = NowNs();
  for (int i = 0; i < rounds; ++i) d->Present(s, i % 2 ? a : b, all);
  d->Sync();
  const double streamed = (NowNs() - start) / 1e3 / rounds;
  // One at a time, each waited for until it is on the screen.
  std::vector<double> single;
  for (int i = 0; i < rounds / 4; ++i) {
    start = NowNs();
    d->Present(s, i % 2 ? a : b, all);
    d->Sync();
    single.push_back((NowNs() - start) / 1e3);
  }
  std::printf("%-12s %3dx%d picture: %.1f us each streamed, %.1f us waited for (median)\n",
              d->UsesSharedMemory() ? "MIT-SHM" : "XPutImage", kWidth, kHeight, streamed, Median(single));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--first-frame") return FirstFrame(std::atoll(argv[2]));
  const std::string problem = display::ProbeX11Display();
  if (!problem.empty()) {
    std::fprintf(stderr, "x11_bench: %s\n", problem.c_str());
    return 2;
  }
  const int rounds = argc > 1 ? std::max(4, std::atoi(argv[1])) : 400;
  Startup(argv[0], 20);
  Push(true, rounds);
  Push(false, rounds);
  return 0;
}
