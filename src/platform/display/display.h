#pragma once
// What the window manager needs of a display server: surfaces for top-level windows, their
// pictures, shapes and stacking, the cursor, the screen's geometry, a clock and a source of
// input events. The window tree, messages, painting and activation live above this line; a
// display knows nothing of them. Implementations: headless/ (in memory) and x11/.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/color.h"
#include "platform/base/geometry.h"
#include "platform/base/keys.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/region.h"

namespace plat::display {

// 0 is no surface; kForeign stands for a window of another program in hit lists.
using SurfaceId = std::uint64_t;
inline constexpr SurfaceId kNoSurface = 0;
inline constexpr SurfaceId kForeign = ~SurfaceId{0};

struct Monitor {
  RECT bounds{};
  RECT work{};
  bool primary = false;
  std::string name;                // the display server's name of the output ("HDMI-1")
  std::vector<std::uint8_t> edid;  // empty when the display cannot say
};

// What a surface is to the desktop's own window manager, where there is one. Frames are never
// added either way: the program draws its own.
enum class SurfaceRole {
  Window,   // a window of its own, placed where we say, focused when it is activated
  Overlay,  // menus, shadows, non-activating tool windows: never managed, never focused
};

enum class Cursor { Hidden, Arrow, IBeam, Wait, Cross, UpArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand, AppStarting, Help };

// How a surface's picture reaches the screen. Opaque pictures ignore their alpha channel;
// per-pixel pictures are premultiplied B,G,R,A. The constant alpha and the colour key apply to
// either; a pixel that is transparent by alpha 0 or by the key does not take the pointer.
struct Blend {
  bool perPixel = false;
  BYTE constantAlpha = 255;
  std::optional<COLORREF> colorKey;
  friend bool operator==(const Blend&, const Blend&) = default;
};

enum class Button { Left, Right, Middle };

struct Event {
  enum class Type {
    PointerMove,     // the pointer moved; surface is the one under it (or grabbing it), 0 for none of ours
    ButtonDown,
    ButtonUp,
    Wheel,           // wheelDelta in the platform's units (120 a notch)
    KeyDown,         // to our focused surface; character is what the key types, 0 for none
    KeyUp,
    Deactivated,     // another program (or the desktop) took the foreground
    Activated,       // the desktop gave the foreground to this surface (a click, a task switch)
    CloseRequested,  // the desktop asks for the surface's window to close
    CompositionChanged,  // a compositing manager came or went (LayeredSupported stays as it was)
    Expose,          // area (surface coordinates) must be presented again
  };
  Type type = Type::PointerMove;
  SurfaceId surface = kNoSurface;
  POINT screen{};
  Button button = Button::Left;
  int wheelDelta = 0;
  UINT vk = 0;
  UINT scanCode = 0;
  char32_t character = 0;
  bool repeat = false;
  RECT area{};
  std::uint64_t time = 0;
};

class Display {
 public:
  virtual ~Display() = default;

  virtual Clock& GetClock() = 0;
  virtual std::vector<Monitor> Monitors() const = 0;
  // Whether per-pixel alpha (and constant alpha) windows can be shown at all. Fixed for the
  // display's life: the program binds its layered functions once, at start.
  virtual bool LayeredSupported() const = 0;
  // What the desktop's settings ask for; the program renders at 96 whatever this says.
  virtual int DotsPerInch() const { return 96; }

  // A new surface is hidden, at the bottom of our stacking, with an empty opaque picture.
  virtual SurfaceId CreateSurface(const RECT& screen) = 0;
  virtual void DestroySurface(SurfaceId surface) = 0;
  virtual void SetRect(SurfaceId surface, const RECT& screen) = 0;
  virtual void Show(SurfaceId surface, bool shown) = 0;
  // Our surfaces from top to bottom; windows of other programs keep their places where the
  // order allows.
  virtual void Restack(std::span<const SurfaceId> topToBottom) = 0;
  virtual void SetTopmost(SurfaceId surface, bool topmost) = 0;
  virtual void SetRole(SurfaceId surface, SurfaceRole role) = 0;
  virtual void SetTitle(SurfaceId surface, const std::string& title) = 0;
  // In surface coordinates; nullptr for the whole rectangle.
  virtual void SetShape(SurfaceId surface, const Region* shape) = 0;
  virtual void SetInputTransparent(SurfaceId surface, bool transparent) = 0;
  virtual void SetBlend(SurfaceId surface, const Blend& blend) = 0;
  // Shows the given area of the surface's picture (which has the surface's size).
  virtual void Present(SurfaceId surface, const Bitmap& picture, const Region& area) = 0;
  // Our program takes the foreground with this surface: keys go to it, and it is raised.
  virtual void Activate(SurfaceId surface) = 0;

  virtual void SetCursor(Cursor cursor) = 0;
  virtual POINT PointerPosition() const = 0;
  virtual void WarpPointer(POINT screen) = 0;
  // While grabbed, every pointer event goes to that surface (kNoSurface releases).
  virtual void GrabPointer(SurfaceId surface) = 0;
  // Which surfaces take the pointer at a screen point, top to bottom; the list ends at a
  // window of another program (kForeign) or at the desktop.
  virtual std::vector<SurfaceId> SurfacesAt(POINT screen) const = 0;
  // What the screen shows in an area (opaque pixels).
  virtual void ReadScreen(const RECT& area, Bitmap& into) = 0;

  virtual bool NextEvent(Event& event) = 0;
  // Until an event is there or the clock reaches the deadline (nothing: no deadline).
  virtual void WaitForEvents(std::optional<std::uint64_t> deadline) = 0;
};

}  // namespace plat::display
