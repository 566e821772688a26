// The headless display's user: injected input, routed when the program takes it; windows of
// another program; the composed screen.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/base/error.h"
#include "platform/display/headless/headless_display.h"
#include "platform/display/headless/headless_surface.h"

namespace plat::display {

void HeadlessDisplay::Queue(const Raw& raw) {
  {
    std::lock_guard lock(mutex_);
    if (raw.type == Event::Type::PointerMove) pointer_ = raw.point;
    raw_.push_back(raw);
    raw_.back().point = pointer_;
  }
  wake_.notify_one();
}

void HeadlessDisplay::MovePointer(POINT screen) { Queue(Raw{Event::Type::PointerMove, screen}); }
void HeadlessDisplay::Press(Button button) { Queue(Raw{Event::Type::ButtonDown, {}, button}); }
void HeadlessDisplay::Release(Button button) { Queue(Raw{Event::Type::ButtonUp, {}, button}); }
void HeadlessDisplay::Click(POINT screen, Button button) {
  MovePointer(screen);
  Press(button);
  Release(button);
}
void HeadlessDisplay::Wheel(int delta) { Queue(Raw{Event::Type::Wheel, {}, Button::Left, delta}); }
void HeadlessDisplay::KeyDown(UINT vk, char32_t character) {
  Queue(Raw{Event::Type::KeyDown, {}, Button::Left, 0, vk, character});
}
void HeadlessDisplay::KeyUp(UINT vk) { Queue(Raw{Event::Type::KeyUp, {}, Button::Left, 0, vk}); }

HeadlessDisplay::ForeignId HeadlessDisplay::AddForeignWindow(const RECT& screen, Pixel color, const std::string& title) {
  const ForeignId id = nextForeign_++;
  foreign_[id] = std::make_unique<Foreign>(Foreign{screen, color | 0xFF000000u, title});
  stack_.insert(stack_.begin(), StackEntry{0, id});
  SortTopmost();
  screenStale_ = true;
  return id;
}

void HeadlessDisplay::RemoveForeignWindow(ForeignId id) {
  if (!foreign_.erase(id)) return;
  std::erase(stack_, StackEntry{0, id});
  if (foreground_.foreign == id) foreground_ = {};
  screenStale_ = true;
}

void HeadlessDisplay::ActivateForeign(ForeignId id) {
  Queue(Raw{Event::Type::Deactivated, {}, Button::Left, 0, 0, 0, id});
}

// Where a display server would send the input, and what our program hears of it.
bool HeadlessDisplay::Route(const Raw& raw, Event& out) {
  out = Event{};
  out.type = raw.type;
  out.screen = raw.point;
  out.button = raw.button;
  out.time = clock_->Now();
  const bool ours = foreground_.surface != kNoSurface && foreground_.foreign == 0;
  switch (raw.type) {
    case Event::Type::PointerMove:
      out.surface = grab_ ? grab_ : pressGrab_ ? pressGrab_ : TopAt(raw.point).surface;
      return true;
    case Event::Type::ButtonDown:
    case Event::Type::ButtonUp: {
      bool& held = buttons_[static_cast<int>(raw.button)];
      const bool anyBefore = buttons_[0] || buttons_[1] || buttons_[2];
      held = raw.type == Event::Type::ButtonDown;
      const SurfaceId pressed = pressGrab_;
      if (!(buttons_[0] || buttons_[1] || buttons_[2])) pressGrab_ = kNoSurface;
      if (grab_ || pressed) {
        out.surface = grab_ ? grab_ : pressed;
        return true;
      }
      const StackEntry hit = TopAt(raw.point);
      if (hit.surface && held && !anyBefore) pressGrab_ = hit.surface;
      if (hit.surface) {
        out.surface = hit.surface;
        return true;
      }
      if (raw.type == Event::Type::ButtonUp) return false;
      // Another program's window or the desktop takes the click, and the foreground with it.
      if (hit.foreign) Raise(hit);
      foreground_ = hit;
      out.type = Event::Type::Deactivated;
      return ours;
    }
    case Event::Type::Wheel:
    case Event::Type::KeyDown:
    case Event::Type::KeyUp:
      if (!ours) return false;
      out.surface = foreground_.surface;
      out.wheelDelta = raw.delta;
      out.vk = raw.vk;
      out.character = raw.character;
      return true;
    case Event::Type::Deactivated:
      if (!foreign_.count(raw.foreign)) return false;
      Raise({0, raw.foreign});
      foreground_ = {0, raw.foreign};
      return ours;
    case Event::Type::Activated:
    case Event::Type::CloseRequested:
    case Event::Type::CompositionChanged:
    case Event::Type::Expose:
      return false;
  }
  return false;
}

bool HeadlessDisplay::NextEvent(Event& event) {
  for (;;) {
    Raw raw;
    {
      std::lock_guard lock(mutex_);
      if (raw_.empty()) return false;
      raw = raw_.front();
      raw_.pop_front();
    }
    if (Route(raw, event)) return true;
  }
}

void HeadlessDisplay::WaitForEvents(std::optional<std::uint64_t> deadline) {
  {
    std::lock_guard lock(mutex_);
    if (!raw_.empty()) return;
  }
  if (clock_->IsVirtual()) {
    if (idle_ && idle_()) return;
    if (!deadline)
      throw Error("the message loop waits for input that cannot come: no input is queued and no timer is set");
    clock_->SleepUntil(*deadline);
    return;
  }
  std::unique_lock lock(mutex_);
  auto ready = [&] { return !raw_.empty(); };
  if (!deadline) {
    wake_.wait(lock, ready);
    return;
  }
  const std::uint64_t now = clock_->Now();
  if (*deadline > now) wake_.wait_for(lock, std::chrono::milliseconds(*deadline - now), ready);
}

// ---- the screen ----

const Bitmap& HeadlessDisplay::Screen() { return screenStale_ ? Compose() : screen_; }

const Bitmap& HeadlessDisplay::Compose() {
  const int taskTop = options_.height - options_.taskBarHeight;
  for (int y = 0; y < screen_.Height(); ++y)
    std::fill_n(screen_.Row(y), screen_.Width(), y < taskTop ? options_.desktop : options_.taskBar);
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
    if (it->foreign) {
      const Foreign& f = *foreign_.at(it->foreign);
      const RECT c = Intersection(f.rect, screen_.Bounds());
      for (int y = c.top; y < c.bottom; ++y) std::fill_n(screen_.Row(y) + c.left, RectWidth(c), f.color);
      continue;
    }
    const Surface& s = *Find(it->surface);
    if (!s.shown || s.picture->Empty()) continue;
    const POINT at{s.rect.left, s.rect.top};
    if (s.shape) {
      Region shape = *s.shape;
      shape.Offset(at.x, at.y);
      ComposeSurface(screen_, *s.picture, at, s.blend, shape.Rects());
    } else {
      ComposeSurface(screen_, *s.picture, at, s.blend, {s.rect});
    }
  }
  screenStale_ = false;
  return screen_;
}

void HeadlessDisplay::ReadScreen(const RECT& area, Bitmap& into) {
  const Bitmap& screen = Screen();
  for (int y = 0; y < into.Height(); ++y)
    for (int x = 0; x < into.Width(); ++x) {
      const POINT p{area.left + x, area.top + y};
      into.Row(y)[x] = Contains(screen.Bounds(), p) ? screen.Row(p.y)[p.x] : 0xFF000000u;
    }
}

}  // namespace plat::display
