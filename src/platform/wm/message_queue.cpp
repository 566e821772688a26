// Sending, posting and taking messages. The queue hands out, in this order: posted messages, the
// quit request, input, WM_PAINT for a window with something to paint, WM_TIMER for a due timer.
// When nothing is there, the loop waits on the display until input comes or the next timer is
// due; on a virtual clock that wait moves time straight to the deadline.
#include <algorithm>

#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

bool MatchesFilter(HWND window, UINT message, HWND filter, UINT min, UINT max) {
  if ((min || max) && (message < min || message > max)) return false;
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return window == nullptr;
  return window == filter || IsChild(filter, window);
}

void DropPostedFor(HWND w) {
  State& s = S();
  std::erase_if(s.posted, [&](const MSG& m) { return m.hwnd == w; });
  std::erase_if(s.input, [&](const MSG& m) { return m.hwnd == w; });
}

void PostInput(const MSG& m) { S().input.push_back(m); }

namespace {

MSG Stamp(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  MSG m{window, message, wp, lp, GetTickCount(), {}};
  GetCursorPos(&m.pt);
  return m;
}

void PumpDisplay(State& s) {
  display::Event e;
  while (s.display->NextEvent(e)) s.raw.push_back(e);
}

bool TakeFrom(std::deque<MSG>& queue, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (it->hwnd && !FromHandle(it->hwnd)) continue;
    if (!MatchesFilter(it->hwnd, it->message, filter, min, max)) continue;
    *out = *it;
    if (remove) queue.erase(it);
    return true;
  }
  return false;
}

bool Peek(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  WindowRecordPin pin;
  State& s = S();
  PumpDisplay(s);
  CheckHover();
  MSG m;
  bool found = false;
  // Input is turned into messages one event at a time, so that what an event posts (a mouse
  // leave, say) comes before the messages of the next one.
  for (;;) {
    found = TakeFrom(s.posted, &m, filter, min, max, remove);
    if (!found && s.quit) {
      m = Stamp(nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0);
      if (remove) s.quit = false;
      found = true;
    }
    if (!found) {
      found = TakeFrom(s.input, &m, filter, min, max, remove);
      if (found && remove) NoteKeyTaken(m);
    }
    if (found || !CookNextInput()) break;
  }
  if (!found && s.paintCount > 0 && MatchesFilter(nullptr, WM_PAINT, nullptr, min, max)) {
    if (Window* w = FindPaintWindow(filter)) {
      m = Stamp(w->handle, WM_PAINT, 0, 0);
      // An internal paint request is answered once, whether or not the window validates.
      if (remove && w->update.Empty() && !w->ncPaint) {
        w->internalPaint = false;
        SetNeedsPaint(w);
      }
      found = true;
    }
  }
  if (!found) {
    if (Timer* t = DueTimer(filter, min, max)) {
      m = Stamp(t->window, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc));
      if (remove) t->due = Now() + t->interval;
      found = true;
    }
  }
  if (!found) return false;
  if (remove) s.current = m;
  if (out) *out = m;
  return true;
}

void WaitForInput(HWND filter, UINT min, UINT max) {
  State& s = S();
  std::optional<std::uint64_t> deadline = NextTimerDeadline(filter, min, max);
  if (auto hover = HoverDeadline(); hover && (!deadline || *hover < *deadline)) deadline = hover;
  s.display->WaitForEvents(deadline);
}

}  // namespace

}  // namespace wm

using namespace wm;

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == HWND_BROADCAST) {
    WindowRecordPin pin;
    std::vector<HWND> tops;
    for (Window* t : S().desktop->children) tops.push_back(t->handle);
    for (HWND h : tops)
      if (Window* t = FromHandle(h)) Send(t, message, wParam, lParam);
    return 0;
  }
  Window* w = CheckedWindow(window);
  if (!w) return 0;
  return Call(w, w->proc, message, wParam, lParam);
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  if (window == HWND_BROADCAST) {
    for (Window* t : s.desktop->children) s.posted.push_back(Stamp(t->handle, message, wParam, lParam));
    return TRUE;
  }
  if (window && !CheckedWindow(window)) return FALSE;
  s.posted.push_back(Stamp(window, message, wParam, lParam));
  return TRUE;
}

BOOL PostThreadMessage(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam) {
  if (thread != GetCurrentThreadId()) {
    Fail(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return PostMessage(nullptr, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  State& s = S();
  s.quit = true;
  s.quitCode = exitCode;
}

BOOL GetMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (window && window != reinterpret_cast<HWND>(-1) && !CheckedWindow(window)) return -1;
  if (!msg) {
    Fail(ERROR_INVALID_PARAMETER);
    return -1;
  }
  while (!Peek(msg, window, filterMin, filterMax, true)) WaitForInput(window, filterMin, filterMax);
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  return Peek(msg, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WaitMessage() {
  if (!Peek(nullptr, nullptr, 0, 0, false)) WaitForInput(nullptr, 0, 0);
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    const auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    // Only a timer's own callback is called, never a pointer some message carried.
    if (!IsTimerProc(msg->hwnd, msg->wParam, proc)) return 0;
    WindowRecordPin pin;
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  Window* w = FromHandle(msg->hwnd);
  if (!w) return 0;
  return Send(w, msg->message, msg->wParam, msg->lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  WindowRecordPin pin;
  return proc(window, message, wParam, lParam);
}

DWORD GetMessageTime() { return S().current.time; }

DWORD GetMessagePos() {
  const POINT p = S().current.pt;
  return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

}  // namespace plat
