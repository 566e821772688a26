#pragma once
// A display server in memory: a virtual screen that composes our surfaces and the windows of
// "another program" over a plain desktop, routes injected input as a server would, and runs on a
// virtual clock by default (time moves only when the program sleeps or waits for a timer).
//
// Input may be injected from any thread; it is routed when the program takes it, on its own
// thread, so the routing sees the stacking and shapes of that moment.
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "platform/display/display.h"

namespace plat::display {

class HeadlessDisplay final : public Display {
 public:
  struct Options {
    int width = 1920;
    int height = 1080;
    int taskBarHeight = 40;
    bool layered = true;
    bool realClock = false;
    int dotsPerInch = 96;
    Pixel desktop = MakePixel(0x3A, 0x6E, 0xA5, 255);
    Pixel taskBar = MakePixel(0xC0, 0xC0, 0xC0, 255);
  };
  HeadlessDisplay();
  explicit HeadlessDisplay(const Options& options);
  ~HeadlessDisplay() override;

  // ---- Display ----
  Clock& GetClock() override { return *clock_; }
  std::vector<Monitor> Monitors() const override;
  bool LayeredSupported() const override { return options_.layered; }
  int DotsPerInch() const override { return options_.dotsPerInch; }
  SurfaceId CreateSurface(const RECT& screen) override;
  void DestroySurface(SurfaceId surface) override;
  void SetRect(SurfaceId surface, const RECT& screen) override;
  void Show(SurfaceId surface, bool shown) override;
  void Restack(std::span<const SurfaceId> topToBottom) override;
  void SetTopmost(SurfaceId surface, bool topmost) override;
  void SetRole(SurfaceId surface, SurfaceRole role) override;
  void SetTitle(SurfaceId surface, const std::string& title) override;
  void SetShape(SurfaceId surface, const Region* shape) override;
  void SetInputTransparent(SurfaceId surface, bool transparent) override;
  void SetBlend(SurfaceId surface, const Blend& blend) override;
  void Present(SurfaceId surface, const Bitmap& picture, const Region& area) override;
  void Activate(SurfaceId surface) override;
  void SetCursor(Cursor cursor) override { cursor_ = cursor; }
  POINT PointerPosition() const override;
  void WarpPointer(POINT screen) override;
  void GrabPointer(SurfaceId surface) override { grab_ = surface; }
  std::vector<SurfaceId> SurfacesAt(POINT screen) const override;
  void ReadScreen(const RECT& area, Bitmap& into) override;
  bool NextEvent(Event& event) override;
  void WaitForEvents(std::optional<std::uint64_t> deadline) override;

  // ---- the user's side ----
  void MovePointer(POINT screen);
  void Press(Button button = Button::Left);
  void Release(Button button = Button::Left);
  void Click(POINT screen, Button button = Button::Left);
  void Wheel(int delta);
  void KeyDown(UINT vk, char32_t character = 0);
  void KeyUp(UINT vk);
  // Another program's window: a plain rectangle of one colour, placed on top.
  using ForeignId = std::uint64_t;
  ForeignId AddForeignWindow(const RECT& screen, Pixel color, const std::string& title = {});
  void RemoveForeignWindow(ForeignId id);
  // As if the user switched to that program by keyboard.
  void ActivateForeign(ForeignId id);
  // When the program would wait with nothing to wait for, this is asked to make something
  // happen (inject input, say); false means nothing will, and waiting then fails.
  void SetIdleHandler(std::function<bool()> handler) { idle_ = std::move(handler); }

  // ---- what a test looks at ----
  // The composed screen (composed again only after something changed).
  const Bitmap& Screen();
  // Composes the whole screen now, whether or not anything changed.
  const Bitmap& Compose();
  Pixel ScreenPixel(int x, int y) { return Screen().Row(y)[x]; }
  // The screen, or an area of it, as a PNG file.
  void SaveScreenPng(const std::string& path, const RECT* area = nullptr);
  Cursor CurrentCursor() const { return cursor_; }
  bool OurProgramActive() const { return foreground_.foreign == 0 && foreground_.surface != 0; }
  SurfaceId FocusedSurface() const { return foreground_.foreign ? kNoSurface : foreground_.surface; }
  SurfaceId Grab() const { return grab_; }
  bool IsShown(SurfaceId surface) const;
  std::string Title(SurfaceId surface) const;
  SurfaceRole Role(SurfaceId surface) const;
  // Our surfaces and foreign windows (kForeign) from top to bottom.
  std::vector<SurfaceId> Stacking() const;
  std::size_t SurfaceCount() const { return surfaces_.size(); }

 private:
  struct Surface;
  struct Foreign;
  struct StackEntry {
    SurfaceId surface = kNoSurface;  // ours, or
    ForeignId foreign = 0;           // another program's
    friend bool operator==(const StackEntry&, const StackEntry&) = default;
  };
  struct Raw {
    Event::Type type;
    POINT point{};
    Button button = Button::Left;
    int delta = 0;
    UINT vk = 0;
    char32_t character = 0;
    ForeignId foreign = 0;  // for a keyboard switch to another program
  };

  void Queue(const Raw& raw);
  bool Route(const Raw& raw, Event& out);
  StackEntry TopAt(POINT screen) const;
  bool TakesPointer(const Surface& s, POINT screen) const;
  void Raise(const StackEntry& entry);
  void SortTopmost();
  Surface* Find(SurfaceId id);
  const Surface* Find(SurfaceId id) const;
  void Compose(const RECT& area, Bitmap& into, POINT origin);

  Options options_;
  std::unique_ptr<Clock> clock_;
  std::map<SurfaceId, std::unique_ptr<Surface>> surfaces_;
  std::map<ForeignId, std::unique_ptr<Foreign>> foreign_;
  std::vector<StackEntry> stack_;  // top first
  SurfaceId nextSurface_ = 1;
  ForeignId nextForeign_ = 1;
  StackEntry foreground_;
  SurfaceId grab_ = kNoSurface;
  SurfaceId pressGrab_ = kNoSurface;  // while a button pressed on it is held, as a server grabs
  Cursor cursor_ = Cursor::Arrow;
  std::function<bool()> idle_;
  Bitmap screen_;
  bool screenStale_ = true;

  mutable std::mutex mutex_;  // guards the raw queue and the pointer
  std::condition_variable wake_;
  std::deque<Raw> raw_;
  POINT pointer_{};
  bool buttons_[3] = {};  // held, as routed
};

}  // namespace plat::display
