#pragma once
// The display on an X server: one undecorated X window per surface, pictures sent with MIT-SHM
// (XPutImage where the server cannot share memory), shapes with XShape, 32-bit ARGB windows for
// layered surfaces while a compositing manager runs, activation following the X focus, RandR
// for the monitors, and the real clock, waiting on the connection and the next deadline at once.
//
// No X header is included here: Xlib's macros (None, True, Status...) stay inside the .cpp
// files of this folder. X resources appear as plain numbers.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/display.h"

struct _XDisplay;

namespace plat::display {

struct X11Options {
  std::string name;          // the X display; empty for $DISPLAY
  bool sharedMemory = true;  // false sends every picture with XPutImage
};

// Empty when the display can be opened; otherwise a sentence for the user saying why not.
std::string ProbeX11Display(const std::string& name = {});

// nullptr when no display can be opened, with the reason in *error (when given).
std::unique_ptr<Display> OpenX11Display(std::string* error, const X11Options& options = {});

class X11Display final : public Display {
 public:
  using XId = unsigned long;  // windows, atoms, cursors, colormaps alike

  static std::unique_ptr<X11Display> Open(const X11Options& options, std::string* error);
  ~X11Display() override;
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  // ---- Display ----
  Clock& GetClock() override { return clock_; }
  std::vector<Monitor> Monitors() const override;
  bool LayeredSupported() const override { return layered_; }
  int DotsPerInch() const override { return dpi_; }
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
  void SetCursor(Cursor cursor) override;
  POINT PointerPosition() const override;
  void WarpPointer(POINT screen) override;
  void GrabPointer(SurfaceId surface) override;
  std::vector<SurfaceId> SurfacesAt(POINT screen) const override;
  void ReadScreen(const RECT& area, Bitmap& into) override;
  bool NextEvent(Event& event) override;
  void WaitForEvents(std::optional<std::uint64_t> deadline) override;

  // ---- for tools and tests ----
  XId WindowOf(SurfaceId surface) const;  // 0 for none
  bool IsMapped(SurfaceId surface) const;
  SurfaceId Focused() const { return focused_; }  // the surface with the X focus
  bool UsesSharedMemory() const { return shmAvailable_; }
  bool Compositing() const { return compositing_; }
  bool WindowManagerRunning() const { return wmCheck_ != 0; }
  // Returns once the server has carried out everything asked so far, and every picture sent
  // is on the screen; events that came meanwhile stay queued.
  void Sync();
  // The EDID of an output by its name, empty when it has none.
  std::vector<std::uint8_t> Edid(const std::string& output) const;

  struct Surface;
  struct ShmBuffer;
  using RowConverter = void (*)(const Pixel* src, Pixel* dst, int n, const Blend& blend);
  struct StackEntry;
  enum AtomName : int;

 private:
  explicit X11Display(_XDisplay* dpy);
  void Initialise(const X11Options& options);

  // x11_display.cpp: the server's facts
  void ReadMonitors();
  void ReadWorkArea();
  void FindWindowManager();
  void FollowCompositor();
  void ReadDpi();
  XId AtomOf(AtomName name) const;

  // x11_window.cpp: X windows behind surfaces; x11_stack.cpp: their stacking
  Surface* Find(SurfaceId id) const;
  SurfaceId FromWindow(XId window) const;  // ours, or a frame around ours
  void MakeWindow(Surface& s, bool argb);
  void SetWindowProperties(Surface& s);
  void ApplyRole(Surface& s);
  void ApplyShapes(Surface& s);
  // Puts s directly above or below other.
  void StackAdjacent(Surface& s, const Surface& other, bool above);
  XId TopWindowOf(const Surface& s) const;  // the frame when there is one
  void SendWmState(Surface& s, XId state, bool on);
  void AskForPicture(SurfaceId id, const Surface& s);
  void KeepOverlaysAttached();
  void ReapplyOrder();  // after something else raised one of ours
  void EnsureStack() const;
  int StackIndex(XId window) const;  // -1 when not a child of root
  void Restacked(XId window, XId above) const;

  // x11_present.cpp: pictures
  void PutArea(Surface& s, const Bitmap& picture, const Region& area, RowConverter convert);
  void Flush(Surface& s);  // an ARGB window's changed area, converted
  void FlushAll();
  ShmBuffer* FreeBuffer(std::size_t bytes);
  void WaitForBuffer();
  void ReleaseBuffers();

  // x11_events.cpp: input and the other events
  void Translate(void* xevent);
  void OnFocus(void* xevent);
  bool OnRootChange(void* xevent);  // false for events that were not about root's children
  void OnOurStructure(void* xevent);
  XId TopLevelAncestor(XId window) const;
  void OnKey(void* xevent);
  void OnClientMessage(void* xevent);
  void SyncModifiers(unsigned int state);
  void FocusSurface(Surface& s);
  bool TakesPointer(const Surface& s, POINT p) const;
  void Push(Event e);

  _XDisplay* dpy_;
  RealClock clock_;
  int screen_ = 0;
  XId root_ = 0;
  int rootDepth_ = 24;
  void* visual_ = nullptr;      // the default one
  void* argbVisual_ = nullptr;  // 32-bit TrueColor with alpha, nullptr when the server has none
  std::vector<XId> atoms_;
  bool shmAvailable_ = false;
  int shmCompletion_ = -1;  // event type
  int fixesEvent_ = -1;     // event base
  int randrEvent_ = -1;     // event base
  bool layered_ = false;
  bool compositing_ = false;
  XId wmCheck_ = 0;  // the window manager's _NET_SUPPORTING_WM_CHECK window
  int dpi_ = 96;

  std::map<SurfaceId, std::unique_ptr<Surface>> surfaces_;
  std::map<XId, SurfaceId> byWindow_;  // our windows and the frames around them
  SurfaceId nextSurface_ = 1;
  std::vector<SurfaceId> order_;  // the last Restack, top first
  std::vector<std::unique_ptr<ShmBuffer>> buffers_;

  std::vector<Monitor> monitors_;
  RECT workArea_{};
  bool haveWorkArea_ = false;

  mutable std::vector<StackEntry> stack_;  // root's children, bottom first
  mutable bool stackKnown_ = false;

  std::deque<Event> pending_;
  SurfaceId focused_ = kNoSurface;  // the surface with the X focus
  SurfaceId grab_ = kNoSurface;
  SurfaceId pointerIn_ = kNoSurface;  // between EnterNotify and LeaveNotify
  mutable POINT pointer_{};
  Cursor cursor_ = Cursor::Arrow;
  std::map<Cursor, XId> cursors_;
  unsigned int modifiers_ = 0;  // Shift, Control, Alt as last reported down
  std::vector<bool> keysDown_ = std::vector<bool>(256);
  unsigned long lastTime_ = 0;  // server time of the last user event
};

}  // namespace plat::display
