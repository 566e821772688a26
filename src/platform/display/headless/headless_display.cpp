#include "platform/display/headless/headless_display.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/base/error.h"
#include "platform/display/headless/headless_surface.h"

namespace plat::display {

HeadlessDisplay::HeadlessDisplay() : HeadlessDisplay(Options{}) {}

HeadlessDisplay::HeadlessDisplay(const Options& options)
    : options_(options),
      clock_(options.realClock ? std::unique_ptr<Clock>(std::make_unique<RealClock>())
                               : std::unique_ptr<Clock>(std::make_unique<VirtualClock>())),
      screen_(options.width, options.height) {
  pointer_ = {options.width / 2, options.height / 2};
}

HeadlessDisplay::~HeadlessDisplay() = default;

std::vector<Monitor> HeadlessDisplay::Monitors() const {
  const RECT bounds{0, 0, options_.width, options_.height};
  RECT work = bounds;
  work.bottom -= options_.taskBarHeight;
  return {Monitor{bounds, work, true, "\\\\.\\DISPLAY1", {}}};
}

HeadlessDisplay::Surface* HeadlessDisplay::Find(SurfaceId id) {
  auto it = surfaces_.find(id);
  return it == surfaces_.end() ? nullptr : it->second.get();
}
const HeadlessDisplay::Surface* HeadlessDisplay::Find(SurfaceId id) const {
  auto it = surfaces_.find(id);
  return it == surfaces_.end() ? nullptr : it->second.get();
}

SurfaceId HeadlessDisplay::CreateSurface(const RECT& screen) {
  const SurfaceId id = nextSurface_++;
  auto s = std::make_unique<Surface>();
  s->rect = screen;
  surfaces_[id] = std::move(s);
  stack_.push_back({id, 0});
  return id;
}

void HeadlessDisplay::DestroySurface(SurfaceId id) {
  if (!surfaces_.erase(id)) return;
  std::erase(stack_, StackEntry{id, 0});
  if (foreground_.surface == id) foreground_ = {};
  if (grab_ == id) grab_ = kNoSurface;
  if (pressGrab_ == id) pressGrab_ = kNoSurface;
  screenStale_ = true;
}

void HeadlessDisplay::SetRect(SurfaceId id, const RECT& screen) {
  Surface* s = Find(id);
  if (!s) return;
  if (RectWidth(s->rect) != RectWidth(screen) || RectHeight(s->rect) != RectHeight(screen)) {
    // A new size keeps what fits of the old picture until the next present.
    auto resized = std::make_unique<Bitmap>(std::clamp(RectWidth(screen), 0, Bitmap::kMaxSide),
                                            std::clamp(RectHeight(screen), 0, Bitmap::kMaxSide));
    const int w = std::min(resized->Width(), s->picture->Width());
    for (int y = 0; y < std::min(resized->Height(), s->picture->Height()); ++y)
      std::memcpy(resized->Row(y), s->picture->Row(y), static_cast<std::size_t>(w) * sizeof(Pixel));
    s->picture = std::move(resized);
  }
  s->rect = screen;
  screenStale_ = true;
}

void HeadlessDisplay::Show(SurfaceId id, bool shown) {
  if (Surface* s = Find(id); s && s->shown != shown) {
    s->shown = shown;
    screenStale_ = true;
  }
}

void HeadlessDisplay::Restack(std::span<const SurfaceId> order) {
  // Bottom up, each surface goes just above the one after it when it is not already above it,
  // so windows of other programs move only as far as the order needs.
  auto position = [&](SurfaceId id) { return std::find(stack_.begin(), stack_.end(), StackEntry{id, 0}); };
  for (std::size_t i = order.size(); i-- > 1;) {
    auto upper = position(order[i - 1]);
    auto lower = position(order[i]);
    if (upper == stack_.end() || lower == stack_.end() || upper < lower) continue;
    const StackEntry moved = *upper;
    stack_.erase(upper);
    stack_.insert(position(order[i]), moved);
  }
  SortTopmost();
  screenStale_ = true;
}

void HeadlessDisplay::SortTopmost() {
  std::stable_partition(stack_.begin(), stack_.end(), [&](const StackEntry& e) {
    const Surface* s = e.surface ? Find(e.surface) : nullptr;
    return s && s->topmost;
  });
}

void HeadlessDisplay::SetTopmost(SurfaceId id, bool topmost) {
  if (Surface* s = Find(id)) {
    s->topmost = topmost;
    SortTopmost();
    screenStale_ = true;
  }
}

void HeadlessDisplay::SetRole(SurfaceId id, SurfaceRole role) {
  if (Surface* s = Find(id)) s->role = role;
}

void HeadlessDisplay::SetTitle(SurfaceId id, const std::string& title) {
  if (Surface* s = Find(id)) s->title = title;
}

void HeadlessDisplay::SetShape(SurfaceId id, const Region* shape) {
  if (Surface* s = Find(id)) {
    s->shape = shape ? std::optional<Region>(*shape) : std::nullopt;
    screenStale_ = true;
  }
}

void HeadlessDisplay::SetInputTransparent(SurfaceId id, bool transparent) {
  if (Surface* s = Find(id)) s->inputTransparent = transparent;
}

void HeadlessDisplay::SetBlend(SurfaceId id, const Blend& blend) {
  if (Surface* s = Find(id); s && !(s->blend == blend)) {
    s->blend = blend;
    screenStale_ = true;
  }
}

void HeadlessDisplay::Present(SurfaceId id, const Bitmap& picture, const Region& area) {
  Surface* s = Find(id);
  if (!s) return;
  if (s->picture->Width() != picture.Width() || s->picture->Height() != picture.Height())
    s->picture = std::make_unique<Bitmap>(picture.Width(), picture.Height());
  for (const RECT& r : area.Rects()) {
    const RECT c = Intersection(r, picture.Bounds());
    for (int y = c.top; y < c.bottom; ++y)
      std::memcpy(s->picture->Row(y) + c.left, picture.Row(y) + c.left,
                  static_cast<std::size_t>(RectWidth(c)) * sizeof(Pixel));
  }
  if (s->shown) screenStale_ = true;
}

void HeadlessDisplay::Raise(const StackEntry& entry) {
  auto it = std::find(stack_.begin(), stack_.end(), entry);
  if (it == stack_.end()) return;
  stack_.erase(it);
  stack_.insert(stack_.begin(), entry);
  SortTopmost();
  screenStale_ = true;
}

void HeadlessDisplay::Activate(SurfaceId id) {
  if (!Find(id)) return;
  foreground_ = {id, 0};
  Raise({id, 0});
}

POINT HeadlessDisplay::PointerPosition() const {
  std::lock_guard lock(mutex_);
  return pointer_;
}

void HeadlessDisplay::WarpPointer(POINT screen) {
  Queue(Raw{Event::Type::PointerMove, screen});
}

bool HeadlessDisplay::TakesPointer(const Surface& s, POINT p) const {
  if (!s.shown || s.inputTransparent || !Contains(s.rect, p)) return false;
  const POINT local{p.x - s.rect.left, p.y - s.rect.top};
  if (s.shape && !s.shape->Contains(local)) return false;
  if (s.blend.constantAlpha == 0) return false;
  if (!Contains(s.picture->Bounds(), local)) return !s.blend.perPixel;
  const Pixel px = s.picture->Row(local.y)[local.x];
  if (s.blend.colorKey && (px & 0x00FFFFFFu) == ColorToPixel(*s.blend.colorKey, 0)) return false;
  return !s.blend.perPixel || PixelA(px) != 0;
}

HeadlessDisplay::StackEntry HeadlessDisplay::TopAt(POINT p) const {
  for (const StackEntry& e : stack_) {
    if (e.foreign) {
      if (Contains(foreign_.at(e.foreign)->rect, p)) return e;
    } else if (TakesPointer(*Find(e.surface), p)) {
      return e;
    }
  }
  return {};
}

std::vector<SurfaceId> HeadlessDisplay::SurfacesAt(POINT p) const {
  std::vector<SurfaceId> hits;
  for (const StackEntry& e : stack_) {
    if (e.foreign) {
      if (Contains(foreign_.at(e.foreign)->rect, p)) {
        hits.push_back(kForeign);
        break;
      }
    } else if (TakesPointer(*Find(e.surface), p)) {
      hits.push_back(e.surface);
    }
  }
  return hits;
}

bool HeadlessDisplay::IsShown(SurfaceId id) const {
  const Surface* s = Find(id);
  return s && s->shown;
}

std::string HeadlessDisplay::Title(SurfaceId id) const {
  const Surface* s = Find(id);
  return s ? s->title : std::string();
}

SurfaceRole HeadlessDisplay::Role(SurfaceId id) const {
  const Surface* s = Find(id);
  return s ? s->role : SurfaceRole::Window;
}

std::vector<SurfaceId> HeadlessDisplay::Stacking() const {
  std::vector<SurfaceId> order;
  for (const StackEntry& e : stack_) order.push_back(e.foreign ? kForeign : e.surface);
  return order;
}

}  // namespace plat::display
