// System metrics of the classic scheme at 96 dots per inch, system parameters, the monitors
// the display reports, and the version.
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/wm/state.h"

namespace plat {

namespace wm {
namespace {

std::vector<display::Monitor> Monitors() { return S().display->Monitors(); }

const display::Monitor& Primary(const std::vector<display::Monitor>& all) {
  for (const auto& m : all)
    if (m.primary) return m;
  return all.front();
}

RECT VirtualScreen(const std::vector<display::Monitor>& all) {
  RECT r{};
  for (const auto& m : all) r = Union(r, m.bounds);
  return r;
}

constexpr std::uintptr_t kMonitorBase = 0x4D00;

HMONITOR MonitorHandle(std::size_t index) { return reinterpret_cast<HMONITOR>(kMonitorBase + index); }

HMONITOR Fallback(const std::vector<display::Monitor>& all, DWORD flags, auto distance) {
  if (flags == MONITOR_DEFAULTTONULL || all.empty()) return nullptr;
  if (flags == MONITOR_DEFAULTTOPRIMARY)
    return MonitorHandle(static_cast<std::size_t>(&Primary(all) - all.data()));
  std::size_t best = 0;
  long long bestDistance = LLONG_MAX;
  for (std::size_t i = 0; i < all.size(); ++i)
    if (const long long d = distance(all[i].bounds); d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  return MonitorHandle(best);
}

long long Gap(LONG lo, LONG hi, LONG a, LONG b) {  // distance between [lo, hi) and [a, b)
  if (b <= lo) return lo - b + 1;
  if (a >= hi) return a - hi + 1;
  return 0;
}

LOGFONT UiFont(bool bold) {
  LOGFONT lf;
  lf.lfHeight = -12;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfFaceName = "Segoe UI";
  return lf;
}

}  // namespace
}  // namespace wm

using namespace wm;

int GetDeviceCaps(HDC, int index) {
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return CurrentDisplay() ? CurrentDisplay()->DotsPerInch() : 96;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    default: return 0;
  }
}

int GetSystemMetrics(int index) {
  const auto all = Monitors();
  const display::Monitor& primary = Primary(all);
  const RECT vs = VirtualScreen(all);
  const RECT& work = primary.work;
  const int frame = 4;
  switch (index) {
    case SM_CXSCREEN: return RectWidth(primary.bounds);
    case SM_CYSCREEN: return RectHeight(primary.bounds);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return frame;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return RectWidth(work);
    case SM_CYFULLSCREEN: return RectHeight(work) - 19;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_SAMEDISPLAYFORMAT: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXMIN:
    case SM_CXMINTRACK: return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK: return 27;
    case SM_CXSIZE:
    case SM_CYSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE: return 18;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXMINSPACING:
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINSPACING:
    case SM_CYMINIMIZED: return 24;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE: return 12;
    case SM_CYSMSIZE: return 14;
    case SM_ARRANGE: return 8;
    case SM_CXMAXTRACK: return RectWidth(vs) + 2 * frame + 4;
    case SM_CYMAXTRACK: return RectHeight(vs) + 2 * frame + 4;
    case SM_CXMAXIMIZED: return RectWidth(work) + 2 * frame;
    case SM_CYMAXIMIZED: return RectHeight(work) + 2 * frame;
    case SM_NETWORK: return 3;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_XVIRTUALSCREEN: return vs.left;
    case SM_YVIRTUALSCREEN: return vs.top;
    case SM_CXVIRTUALSCREEN: return RectWidth(vs);
    case SM_CYVIRTUALSCREEN: return RectHeight(vs);
    case SM_CMONITORS: return static_cast<int>(all.size());
    default: return 0;
  }
}

BOOL SystemParametersInfo(UINT action, UINT, void* pvParam, UINT) {
  if (!pvParam) return FALSE;
  auto set = [&](auto value) {
    *static_cast<decltype(value)*>(pvParam) = value;
    return TRUE;
  };
  switch (action) {
    case SPI_GETWORKAREA: {
      const auto all = Monitors();
      return set(Primary(all).work);
    }
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICS*>(pvParam);
      m->iBorderWidth = 1;
      m->iScrollWidth = m->iScrollHeight = 17;
      m->iCaptionWidth = m->iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;
      m->lfCaptionFont = UiFont(true);
      m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
      m->lfSmCaptionFont = UiFont(true);
      m->iMenuWidth = m->iMenuHeight = GetSystemMetrics(SM_CYMENU) - 1;
      m->lfMenuFont = m->lfStatusFont = m->lfMessageFont = UiFont(false);
      m->iPaddedBorderWidth = 0;
      return TRUE;
    }
    case SPI_GETANIMATION: static_cast<ANIMATIONINFO*>(pvParam)->iMinAnimate = 0; return TRUE;
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT: return set(UINT{4});
    case SPI_GETMOUSEHOVERTIME: return set(UINT{400});
    case SPI_GETWHEELSCROLLLINES: return set(UINT{3});
    case SPI_GETMENUSHOWDELAY: return set(int{400});
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETKEYBOARDCUES:
    case SPI_GETUIEFFECTS:
    case SPI_GETCLIENTAREAANIMATION: return set(BOOL{TRUE});
    case SPI_GETMENUANIMATION:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW: return set(BOOL{FALSE});
    default: return FALSE;
  }
}

HMONITOR MonitorFromPoint(POINT p, DWORD flags) {
  const auto all = Monitors();
  for (std::size_t i = 0; i < all.size(); ++i)
    if (Contains(all[i].bounds, p)) return MonitorHandle(i);
  return Fallback(all, flags, [&](const RECT& b) {
    const long long dx = Gap(b.left, b.right, p.x, p.x + 1);
    const long long dy = Gap(b.top, b.bottom, p.y, p.y + 1);
    return dx * dx + dy * dy;
  });
}

HMONITOR MonitorFromRect(const RECT* r, DWORD flags) {
  const auto all = Monitors();
  if (!r) return Fallback(all, flags, [](const RECT&) { return 0LL; });
  long long bestArea = 0;
  std::optional<std::size_t> best;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const RECT c = Intersection(all[i].bounds, *r);
    const long long area = static_cast<long long>(RectWidth(c)) * RectHeight(c);
    if (!IsEmpty(c) && area > bestArea) {
      bestArea = area;
      best = i;
    }
  }
  if (best) return MonitorHandle(*best);
  return Fallback(all, flags, [&](const RECT& b) {
    const long long dx = Gap(b.left, b.right, r->left, std::max(r->right, r->left + 1));
    const long long dy = Gap(b.top, b.bottom, r->top, std::max(r->bottom, r->top + 1));
    return dx * dx + dy * dy;
  });
}

namespace {
bool monitorHandlesMissing = false;
}  // namespace

void SetMonitorHandlesMissing(bool missing) { monitorHandlesMissing = missing; }

HMONITOR MonitorFromWindow(HWND window, DWORD flags) {
  if (monitorHandlesMissing) return nullptr;
  Window* w = FromHandle(window);
  if (!w) return MonitorFromRect(nullptr, flags);
  RECT r = WindowScreenRect(w);
  if (w->style & WS_MINIMIZE) r = w->normalRect;
  return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  const auto all = Monitors();
  const std::uintptr_t index = reinterpret_cast<std::uintptr_t>(monitor) - kMonitorBase;
  if (!info || index >= all.size()) return FALSE;
  const display::Monitor& m = all[index];
  info->rcMonitor = m.bounds;
  info->rcWork = m.work;
  info->dwFlags = m.primary ? MONITORINFOF_PRIMARY : 0;
  if (info->cbSize >= sizeof(MONITORINFOEX)) {
    auto* ex = static_cast<MONITORINFOEX*>(info);
    const std::size_t n = std::min(m.name.size(), sizeof ex->szDevice - 1);
    std::memcpy(ex->szDevice, m.name.data(), n);
    ex->szDevice[n] = '\0';
  }
  return TRUE;
}

BOOL EnumDisplayMonitors(HDC, const RECT* clip, MONITORENUMPROC proc, LPARAM data) {
  if (!proc) return FALSE;
  const auto all = Monitors();
  for (std::size_t i = 0; i < all.size(); ++i) {
    RECT r = clip ? Intersection(all[i].bounds, *clip) : all[i].bounds;
    if (clip && IsEmpty(r)) continue;
    if (!proc(MonitorHandle(i), nullptr, &r, data)) return FALSE;
  }
  return TRUE;
}

BOOL GetVersionEx(OSVERSIONINFO* info) {
  if (!info) return FALSE;
  info->dwMajorVersion = 6;
  info->dwMinorVersion = 1;
  info->dwBuildNumber = 7601;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::strcpy(info->szCSDVersion, "Service Pack 1");
  return TRUE;
}

DWORD GetVersion() { return 6 | (1 << 8) | (7601u << 16); }

UINT GetDoubleClickTime() { return 500; }

}  // namespace plat
