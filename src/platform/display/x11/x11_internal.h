#pragma once
// Inside the X11 display: what it keeps of each surface, of its shared-memory buffers and of
// the server's stacking, and the pure helpers its files share. Still free of X headers: the
// .cpp files include Xlib themselves.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/x11/x11_display.h"

namespace plat::display {

enum X11Display::AtomName : int {
  kWmProtocols,
  kWmDeleteWindow,
  kWmState,
  kNetWmPing,
  kNetWmName,
  kUtf8String,
  kNetWmPid,
  kMotifWmHints,
  kNetWmWindowType,
  kNetWmWindowTypeNormal,
  kNetWmWindowTypePopupMenu,
  kNetWmState,
  kNetWmStateAbove,
  kNetWmStateSkipTaskbar,
  kNetActiveWindow,
  kNetRestackWindow,
  kNetSupportingWmCheck,
  kNetWorkarea,
  kNetCurrentDesktop,
  kNetWmWindowOpacity,
  kEdid,
  kCompositorSelection,  // _NET_WM_CM_S<screen>
  kAtomCount
};

struct X11Display::Surface {
  XId window = 0;
  XId colormap = 0;  // ARGB windows have their own
  XId frame = 0;     // the X window manager's frame around it, once reparented
  bool argb = false;
  RECT rect{};
  bool shown = false;
  bool mapped = false;  // MapNotify seen
  bool topmost = false;
  bool inputTransparent = false;
  bool focusOnMap = false;  // asked to take the focus before the server had mapped it
  SurfaceRole role = SurfaceRole::Window;
  std::string title;
  std::optional<Region> shape;
  Blend blend;
  XId gc = 0;
  // ARGB windows keep the picture they were given, so that a new blend can be applied to it,
  // and send it (converted) when the display next flushes.
  std::unique_ptr<Bitmap> picture;
  Region dirty;
  bool inputStale = false;  // the input shape must follow the picture's alpha again
};

struct X11Display::ShmBuffer {
  int id = -1;
  std::uint8_t* memory = nullptr;
  std::size_t bytes = 0;
  XId segment = 0;
  bool busy = false;  // until the server's completion event says it has read it
};

struct X11Display::StackEntry {
  XId window = 0;
  RECT rect{};
  bool viewable = false;
  bool inputOnly = false;
};

// ---- x11_keys.cpp ----
// The virtual key of an X key symbol, 0 for keys the platform has no code for.
UINT VirtualKeyOf(unsigned long keysym);
// The character of a key symbol (Latin-1 and Unicode symbols, the control keys), 0 for none.
char32_t CharacterOfKeysym(unsigned long keysym);

// ---- x11_pixels.cpp ----
// What an ARGB window holds for a picture shown with a blend, as a compositing manager expects
// it: premultiplied, with the constant alpha and the colour key applied.
void ToArgbRow(const Pixel* src, Pixel* dst, int n, const Blend& blend);
// The same with no compositing manager to blend it: colours undone from premultiplication, and
// only what is at least half opaque kept (the shape cuts the rest away).
void FlattenRow(const Pixel* src, Pixel* dst, int n, const Blend& blend);
bool PixelShownFlat(Pixel p, const Blend& blend);
// Whether a pixel of a picture shown with a blend takes the pointer.
bool PixelTakesPointer(Pixel p, const Blend& blend);
// The rectangles (y-x banded) of a mask's set pixels, rows of equal runs merged.
std::vector<RECT> MaskRects(const std::vector<std::uint8_t>& mask, int width, int height);

}  // namespace plat::display
