// Timers: WM_TIMER is made when a timer is due and nothing else waits; the next one is due an
// interval after it was taken, so a slow program gets fewer ticks rather than a burst.
#include <algorithm>

#include "platform/wm/state.h"

namespace plat {

namespace wm {

void KillTimersOf(HWND w) {
  std::erase_if(S().timers, [&](const Timer& t) { return t.window == w; });
}

Timer* DueTimer(HWND filter, UINT min, UINT max) {
  State& s = S();
  const std::uint64_t now = Now();
  Timer* best = nullptr;
  for (Timer& t : s.timers)
    if (t.due <= now && MatchesFilter(t.window, WM_TIMER, filter, min, max) && (!best || t.due < best->due)) best = &t;
  return best;
}

std::optional<std::uint64_t> NextTimerDeadline(HWND filter, UINT min, UINT max) {
  std::optional<std::uint64_t> next;
  for (const Timer& t : S().timers)
    if (MatchesFilter(t.window, WM_TIMER, filter, min, max) && (!next || t.due < *next)) next = t.due;
  return next;
}

bool IsTimerProc(HWND window, UINT_PTR id, TIMERPROC proc) {
  const auto& timers = S().timers;
  return std::any_of(timers.begin(), timers.end(),
                     [&](const Timer& t) { return t.window == window && t.id == id && t.proc == proc; });
}

}  // namespace wm

using namespace wm;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  State& s = S();
  if (window && !CheckedWindow(window)) return 0;
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, 0x7FFFFFFF);
  const std::uint64_t due = Now() + elapse;
  for (Timer& t : s.timers)
    if (t.window == window && t.id == id && (window || id)) {
      t.interval = elapse;
      t.due = due;
      t.proc = proc;
      return window ? (id ? id : 1) : id;
    }
  if (!window) {
    // Thread timers get ids of their own, clear of the small ids windows use.
    do id = 0x7F00 + s.nextTimerId++;
    while (std::any_of(s.timers.begin(), s.timers.end(), [&](const Timer& t) { return !t.window && t.id == id; }));
  }
  s.timers.push_back(Timer{window, id, elapse, due, proc});
  return window ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  State& s = S();
  auto it = std::find_if(s.timers.begin(), s.timers.end(), [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it == s.timers.end()) {
    Fail(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  s.timers.erase(it);
  return TRUE;
}

void Sleep(DWORD ms) { S().display->GetClock().Sleep(ms); }

DWORD GetTickCount() { return static_cast<DWORD>(Now()); }

std::uint64_t GetTickCount64() { return Now(); }

}  // namespace plat
