// The system's icons, drawn from simple shapes at any size and smoothed against what lies
// under them (a 4 x 4 grid of samples a pixel).
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/wm/standard_controls.h"

namespace plat {

namespace {

enum class Kind { Application, Error, Question, Warning, Information };

struct IconShape {
  WORD id;
  Kind kind;
};

constexpr IconShape kIcons[] = {{32512, Kind::Application}, {32513, Kind::Error}, {32514, Kind::Question},
                                {32515, Kind::Warning},     {32516, Kind::Information}};

const IconShape* Find(HICON icon) {
  for (const IconShape& s : kIcons)
    if (reinterpret_cast<HICON>(const_cast<IconShape*>(&s)) == icon) return &s;
  return nullptr;
}

double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - ax - t * dx, y - ay - t * dy);
}

bool InBox(double x, double y, double l, double t, double r, double b) { return x >= l && x < r && y >= t && y < b; }

// The colour of the icon at (x, y) in a unit square, or nothing where it is transparent.
std::optional<COLORREF> Sample(Kind kind, double x, double y) {
  const double r = std::hypot(x - 0.5, y - 0.5);
  switch (kind) {
    case Kind::Application:
      if (!InBox(x, y, 0.06, 0.12, 0.94, 0.88)) return std::nullopt;
      if (!InBox(x, y, 0.12, 0.18, 0.88, 0.82)) return RGB(40, 40, 40);
      if (y < 0.34) return RGB(10, 36, 106);
      return RGB(255, 255, 255);
    case Kind::Error:
      if (r > 0.47) return std::nullopt;
      if (r > 0.43) return RGB(128, 0, 0);
      if (SegmentDistance(x, y, 0.32, 0.32, 0.68, 0.68) < 0.07 || SegmentDistance(x, y, 0.68, 0.32, 0.32, 0.68) < 0.07)
        return RGB(255, 255, 255);
      return RGB(220, 30, 30);
    case Kind::Information:
    case Kind::Question: {
      if (r > 0.47) return std::nullopt;
      if (r > 0.43) return RGB(20, 40, 120);
      bool mark;
      if (kind == Kind::Information) {
        mark = std::hypot(x - 0.5, y - 0.27) < 0.07 || InBox(x, y, 0.44, 0.40, 0.56, 0.76);
      } else {
        const double arc = std::hypot(x - 0.5, y - 0.36);
        mark = (arc > 0.10 && arc < 0.20 && (y < 0.38 || x > 0.5)) ||
               SegmentDistance(x, y, 0.6, 0.46, 0.5, 0.58) < 0.055 || std::hypot(x - 0.5, y - 0.74) < 0.065;
      }
      return mark ? RGB(255, 255, 255) : RGB(40, 90, 200);
    }
    case Kind::Warning: {
      // A triangle standing on its base, corners (0.5, 0.06), (0.03, 0.92), (0.97, 0.92).
      const double half = (y - 0.06) / 0.86 * 0.47;
      if (y < 0.06 || y > 0.92 || std::abs(x - 0.5) > half) return std::nullopt;
      if (y > 0.88 || std::abs(x - 0.5) > half - 0.05) return RGB(90, 70, 0);
      if (InBox(x, y, 0.45, 0.32, 0.55, 0.68) || std::hypot(x - 0.5, y - 0.78) < 0.055) return RGB(0, 0, 0);
      return RGB(250, 205, 40);
    }
  }
  return std::nullopt;
}

}  // namespace

HICON LoadIcon(HINSTANCE instance, const char* name) {
  if (instance || !IS_INTRESOURCE(name)) return nullptr;
  for (const IconShape& s : kIcons)
    if (s.id == reinterpret_cast<std::uintptr_t>(name)) return reinterpret_cast<HICON>(const_cast<IconShape*>(&s));
  return nullptr;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH background, UINT) {
  const IconShape* shape = Find(icon);
  if (!dc || !shape) return FALSE;
  width = width > 0 ? width : GetSystemMetrics(SM_CXICON);
  height = height > 0 ? height : GetSystemMetrics(SM_CYICON);
  if (background) {
    const RECT r = MakeRect(x, y, width, height);
    FillRect(dc, &r, background);
  }
  constexpr int kGrid = 4;
  for (int py = 0; py < height; ++py)
    for (int px = 0; px < width; ++px) {
      int hits = 0, red = 0, green = 0, blue = 0;
      for (int sy = 0; sy < kGrid; ++sy)
        for (int sx = 0; sx < kGrid; ++sx) {
          const auto c = Sample(shape->kind, (px + (sx + 0.5) / kGrid) / width, (py + (sy + 0.5) / kGrid) / height);
          if (!c) continue;
          ++hits;
          red += GetRValue(*c);
          green += GetGValue(*c);
          blue += GetBValue(*c);
        }
      if (!hits) continue;
      const COLORREF under = hits < kGrid * kGrid ? GetPixel(dc, x + px, y + py) : 0;
      const int rest = kGrid * kGrid - hits;
      auto mix = [&](int sum, int back) { return static_cast<BYTE>((sum + back * rest) / (kGrid * kGrid)); };
      SetPixel(dc, x + px, y + py,
               RGB(mix(red, GetRValue(under)), mix(green, GetGValue(under)), mix(blue, GetBValue(under))));
    }
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

}  // namespace plat
