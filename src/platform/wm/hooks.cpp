// The computer-based-training hook of the thread: newest hook first, each passing on with
// CallNextHookEx. A hook removed while the chain runs is skipped and freed afterwards.
#include <algorithm>

#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

struct ChainRun {
  explicit ChainRun(State& s) : state(s) { ++state.hookDepth; }
  ~ChainRun() {
    if (--state.hookDepth == 0) std::erase_if(state.hooks, [](const Hook& h) { return h.removed; });
  }
  State& state;
};

LRESULT RunFrom(State& s, std::size_t index, int code, WPARAM wp, LPARAM lp) {
  for (; index < s.hooks.size(); ++index) {
    if (s.hooks[index].removed) continue;
    ChainRun run(s);
    return s.hooks[index].proc(code, wp, lp);
  }
  return 0;
}

}  // namespace

bool HasCbtHooks() {
  State* s = TryState();
  return s && std::any_of(s->hooks.begin(), s->hooks.end(), [](const Hook& h) { return !h.removed; });
}

LRESULT CallCbt(int code, WPARAM wp, LPARAM lp) {
  if (!HasCbtHooks()) return 0;
  WindowRecordPin pin;
  return RunFrom(S(), 0, code, wp, lp);
}

}  // namespace wm

using namespace wm;

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  State& s = S();
  if (idHook != WH_CBT || !proc || (threadId != 0 && threadId != GetCurrentThreadId())) {
    Fail(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto handle = reinterpret_cast<HHOOK>(s.nextHook++ << 4);
  s.hooks.insert(s.hooks.begin(), Hook{handle, proc, false});
  return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  State& s = S();
  auto it = std::find_if(s.hooks.begin(), s.hooks.end(), [&](const Hook& h) { return h.handle == hook && !h.removed; });
  if (it == s.hooks.end()) {
    Fail(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  if (s.hookDepth)
    it->removed = true;
  else
    s.hooks.erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wp, LPARAM lp) {
  State& s = S();
  auto it = std::find_if(s.hooks.begin(), s.hooks.end(), [&](const Hook& h) { return h.handle == hook; });
  // A hook that is not (or no longer) in the chain passes to the whole chain's next: none.
  if (it == s.hooks.end()) return 0;
  return RunFrom(s, static_cast<std::size_t>(it - s.hooks.begin()) + 1, code, wp, lp);
}

}  // namespace plat
