// Start and end of the platform, the window handle table and the one way into a window
// procedure.
#include "platform/base/error.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

std::unique_ptr<State>& Global() {
  static std::unique_ptr<State> state;
  return state;
}

// Changes whenever the state is made or dropped, so that a pin outliving its state does nothing.
std::uint64_t epoch = 0;

constexpr int kSlotBits = 20;
constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << kSlotBits) - 1;

void FlushGraveyard(State& s) {
  // Destroying records can run no window code, but clear in a loop in case of nesting.
  while (!s.graveyard.empty()) {
    auto dead = std::move(s.graveyard);
    dead.clear();
  }
}

}  // namespace

WindowRecordPin::WindowRecordPin() : state_(TryState()), epoch_(epoch) {
  if (state_) ++state_->depth;
}

WindowRecordPin::~WindowRecordPin() {
  if (!state_ || epoch_ != epoch) return;
  if (--state_->depth == 0) FlushGraveyard(*state_);
}

State* TryState() { return Global().get(); }

State& S() {
  State* s = TryState();
  if (!s) throw Error("the platform is not initialised");
  return *s;
}

display::Display& Dsp() { return *S().display; }
std::uint64_t Now() { return S().display->GetClock().Now(); }

void Fail(DWORD error) {
  if (State* s = TryState()) s->lastError = error;
}

Window* CheckedWindow(HWND h, Accept accept) {
  Window* w = FromHandle(h);
  if (!w || (accept == Accept::NotDesktop && w == S().desktop)) {
    Fail(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return w;
}

Window* FromHandle(HWND h) {
  State* s = TryState();
  if (!s) return nullptr;
  const auto v = reinterpret_cast<std::uintptr_t>(h);
  const std::uintptr_t index = (v & kSlotMask) - 1;
  if (index >= s->slots.size()) return nullptr;
  State::Slot& slot = s->slots[index];
  if (slot.generation != (v >> kSlotBits) || !slot.window) return nullptr;
  return slot.window.get();
}

HWND Allocate(std::unique_ptr<Window> w) {
  State& s = S();
  std::uint32_t index;
  if (!s.freeSlots.empty()) {
    index = s.freeSlots.back();
    s.freeSlots.pop_back();
  } else {
    if (s.slots.size() >= kSlotMask - 1) return nullptr;
    index = static_cast<std::uint32_t>(s.slots.size());
    s.slots.emplace_back();
  }
  State::Slot& slot = s.slots[index];
  ++slot.generation;  // handles are never reused: a stale one finds another generation
  w->slot = index;
  w->handle = reinterpret_cast<HWND>((static_cast<std::uintptr_t>(slot.generation) << kSlotBits) | (index + 1));
  slot.window = std::move(w);
  return slot.window->handle;
}

void Bury(Window* w) {
  State& s = S();
  State::Slot& slot = s.slots[w->slot];
  if (slot.window.get() != w) return;
  w->dead = true;
  if (w->surface && w->surface->id) {
    s.bySurface.erase(w->surface->id);
    s.display->DestroySurface(w->surface->id);
    w->surface->id = display::kNoSurface;
  }
  s.graveyard.push_back(std::move(slot.window));
  s.freeSlots.push_back(w->slot);
}

LRESULT Call(Window* w, WNDPROC proc, UINT msg, WPARAM wp, LPARAM lp) {
  if (!proc) return 0;
  WindowRecordPin pin;
  return proc(w->handle, msg, wp, lp);
}

void MakeDesktop(State& s);  // window_create.cpp

}  // namespace wm

using namespace wm;

void InitPlatform(std::unique_ptr<display::Display> display) {
  ShutdownPlatform();
  if (!display) throw Error("the platform needs a display");
  ++epoch;
  auto state = std::make_unique<State>();
  state->display = std::move(display);
  Global() = std::move(state);
  State& s = *Global();
  MakeDesktop(s);
  s.cursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterLayeredFunctions(s.display->LayeredSupported());
  RegisterSystemClasses();
}

void ShutdownPlatform() {
  std::unique_ptr<State>& global = Global();
  if (!global) return;
  State& s = *global;
  for (auto& [dc, info] : s.dcs) DeleteDC(dc);
  s.dcs.clear();
  for (State::Slot& slot : s.slots)
    if (slot.window && slot.window->surface && slot.window->surface->id)
      s.display->DestroySurface(slot.window->surface->id);
  RegisterLayeredFunctions(false);
  ++epoch;
  global.reset();
}

display::Display* CurrentDisplay() {
  State* s = TryState();
  return s ? s->display.get() : nullptr;
}

DWORD GetLastError() {
  State* s = TryState();
  return s ? s->lastError : 0;
}

void SetLastError(DWORD error) { Fail(error); }

DWORD GetCurrentThreadId() { return 1; }

BOOL InSendMessage() { return FALSE; }

}  // namespace plat

#include "platform/wm/surfaces.h"

namespace plat {

display::SurfaceId SurfaceOfWindow(HWND window) {
  wm::Window* w = wm::FromHandle(window);
  return w && w->surface ? w->surface->id : display::kNoSurface;
}

}  // namespace plat
