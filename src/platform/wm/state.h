#pragma once
// Inside the window manager: the window records, the queue and the rest of its state, and the
// operations its files share. Window records stay in memory until no message call is running
// (the "graveyard"), so a record pointer held across a send is never dangling; its handle stops
// working the moment the window is destroyed.
#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/region.h"
#include "platform/wm/wm.h"

namespace plat::wm {

struct Class {
  std::string name;
  ATOM atom = 0;
  WNDCLASS wc;  // lpszClassName points at name
  std::vector<BYTE> extra;
};

// The backing picture of a top-level window and what the display shows of it.
struct Surface {
  display::SurfaceId id = display::kNoSurface;
  std::unique_ptr<Bitmap> picture = std::make_unique<Bitmap>(0, 0);
  bool shown = false;
  // A layered window shows nothing until it has been given a picture or attributes.
  bool layeredReady = false;
  bool updateLayered = false;  // the picture came from UpdateLayeredWindow: no painting
  display::Blend blend;
  COLORREF lwaKey = 0;
  BYTE lwaAlpha = 255;
  DWORD lwaFlags = 0;
};

// What a system control class keeps for one window. Each class derives its own record and finds
// it through ControlStateOf, which answers nullptr for another class's record (a procedure
// swapped onto a window of another class) rather than casting it blindly.
struct ControlState {
  virtual ~ControlState() = default;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<Class> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  Window* parent = nullptr;  // the desktop for top-level windows; nullptr for the desktop itself
  Window* owner = nullptr;
  std::vector<Window*> children;  // top of the z-order first
  RECT rect{};                    // window rectangle in the parent's client coordinates
  RECT client{};                  // client rectangle relative to the window's top-left corner
  RECT normalRect{};              // where a minimised or maximised window returns to
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::string text;
  std::vector<std::pair<std::string, HANDLE>> props;
  std::vector<BYTE> extra;

  Region update;  // window coordinates
  bool erase = false;
  bool ncPaint = false;
  bool internalPaint = false;
  bool needsPaint = false;  // counted in State::paintCount
  std::optional<Region> shape;  // window coordinates
  std::unique_ptr<Surface> surface;  // top-level windows only
  bool redrawOff = false;            // WM_SETREDRAW took WS_VISIBLE away
  bool ncActive = false;             // the frame is drawn active
  int ncPressed = HTNOWHERE;         // the caption button drawn pushed
  bool restoreMaximized = false;     // minimised from the maximised state
  HMENU sysMenu = nullptr;
  std::shared_ptr<ControlState> control;  // what a system control class keeps for the window
  Window* lastActivePopup = nullptr;

  bool destroying = false;
  bool dead = false;
  std::uint32_t slot = 0;
};

struct Timer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  std::uint64_t due = 0;
  TIMERPROC proc = nullptr;
};

struct Hook {
  HHOOK handle = nullptr;
  HOOKPROC proc = nullptr;
  bool removed = false;
};

struct WindowDc {
  HWND window = nullptr;
  bool whole = false;   // window rather than client
  DWORD flags = 0;
  std::optional<Region> extra;  // DCX_INTERSECTRGN / DCX_EXCLUDERGN and paint clips, surface coordinates
  bool excludeExtra = false;
  bool screen = false;  // a context over a snapshot of the screen
};

struct MouseState {
  HWND over = nullptr;  // the window under the pointer at the last pointer event
  int overHit = HTNOWHERE;
  POINT last{};
  // for double clicks
  HWND clickWindow = nullptr;
  UINT clickMessage = 0;
  std::uint64_t clickTime = 0;
  POINT clickPoint{};
  bool clickWasDouble = false;
  // TrackMouseEvent
  HWND track = nullptr;
  DWORD trackFlags = 0;
  DWORD hoverTime = 400;
  POINT hoverOrigin{};
  std::uint64_t hoverDue = 0;
};

struct MenuItem {
  UINT flags = 0;
  UINT_PTR id = 0;
  HMENU sub = nullptr;
  std::string text;
};

struct Menu {
  HMENU handle = nullptr;
  bool popup = true;
  std::vector<MenuItem> items;
  int defaultItem = -1;
  HWND systemOf = nullptr;  // the window whose system menu this is
};

struct State {
  std::unique_ptr<display::Display> display;
  struct Slot {
    std::uint32_t generation = 0;
    std::unique_ptr<Window> window;
  };
  std::vector<Slot> slots;
  std::vector<std::uint32_t> freeSlots;
  std::vector<std::unique_ptr<Window>> graveyard;
  int depth = 0;  // window-procedure calls running
  Window* desktop = nullptr;
  std::map<display::SurfaceId, Window*> bySurface;

  std::vector<std::shared_ptr<Class>> classes;
  ATOM nextAtom = 0xC000;

  std::deque<MSG> posted;
  bool quit = false;
  int quitCode = 0;
  std::deque<display::Event> raw;  // input not yet turned into messages
  std::deque<MSG> input;
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 1;
  std::vector<Hook> hooks;
  int hookDepth = 0;
  std::uintptr_t nextHook = 1;
  int paintCount = 0;
  MSG current{};  // the last message taken from the queue

  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  bool appActive = false;
  MouseState mouse;
  std::array<BYTE, 256> keys{};       // as of the last message taken
  std::array<BYTE, 256> asyncKeys{};  // as they are now
  std::array<char32_t, 256> keyChars{};
  HCURSOR cursor = nullptr;
  std::map<HDC, WindowDc> dcs;
  std::unique_ptr<Bitmap> screenCopy = std::make_unique<Bitmap>(0, 0);
  DWORD lastError = 0;

  std::map<std::uintptr_t, std::unique_ptr<Menu>> menus;
  std::uintptr_t nextMenu = 1;
  HWND menuWindow = nullptr;  // the popup of the menu being tracked
  bool endMenu = false;
};

// ---- platform.cpp ----
State* TryState();
State& S();  // throws when the platform is not initialised
Window* FromHandle(HWND h);  // nullptr for stale or foreign handles
// A window handle handed to a platform call: its record, or nullptr with the last error set to
// "invalid window handle" for a stale or foreign one, or for the desktop where that is refused.
enum class Accept { AnyWindow, NotDesktop };
Window* CheckedWindow(HWND h, Accept accept = Accept::AnyWindow);

// The control record of class T of a window, made on first use; nullptr for no window or when
// the window keeps another class's record.
template <class T>
T* ControlStateOf(Window* w) {
  if (!w) return nullptr;
  if (!w->control) w->control = std::make_shared<T>();
  return dynamic_cast<T*>(w->control.get());
}
HWND Allocate(std::unique_ptr<Window> w);
void Bury(Window* w);  // frees the handle; the record lives until no call runs
void Fail(DWORD error);
LRESULT Call(Window* w, WNDPROC proc, UINT msg, WPARAM wp, LPARAM lp);
inline LRESULT Send(Window* w, UINT msg, WPARAM wp, LPARAM lp) { return Call(w, w->proc, msg, wp, lp); }
display::Display& Dsp();
std::uint64_t Now();

// ---- classes.cpp ----
bool SameName(const std::string& a, const char* b);
std::shared_ptr<Class> FindClass(const char* name);

// ---- tree helpers (window_pos.cpp) ----
inline bool IsTopLevel(const Window* w) { return w->parent && !w->parent->parent; }
Window* TopLevelOf(Window* w);
POINT WindowOrigin(const Window* w);  // screen
POINT ClientOrigin(const Window* w);  // screen
RECT WindowScreenRect(const Window* w);
RECT ClientScreenRect(const Window* w);
POINT OriginInSurface(const Window* w, bool client);
bool VisibleChain(const Window* w);
bool EnabledWindow(const Window* w);
// Puts w (already in its parent's list or not) at its place; the topmost band stays first.
void PlaceInZOrder(Window* w, HWND insertAfter);
void Restack();  // hands our z-order to the display
void SyncSurface(Window* top);  // rectangle, visibility and picture size to the display
void ShowSurface(Window* top, bool shown);
void SyncRole(Window* top);  // what the surface is to the desktop's window manager

// ---- paint.cpp ----
void Invalidate(Window* w, const Region* area, bool windowCoords, UINT flags);
void SetNeedsPaint(Window* w);
Window* FindPaintWindow(HWND filter);
void UpdateNow(Window* w, UINT flags);

// ---- window_dc.cpp ----
Region VisibleRegion(Window* w, bool whole, bool clipChildren, bool clipSiblings);
HDC MakeWindowDc(Window* w, bool whole, DWORD flags, std::optional<Region> extra, bool exclude);
void FreeWindowDc(HDC dc, bool present);
void RefreshDcs(Window* top);
void Present(Window* top, const Region& area);
void DropDcsOf(Window* w);

// ---- activation.cpp ----
bool Activate(Window* w, WORD how, bool mouse);
void DeactivateApp();
void ActivateOther(Window* leaving);
bool CanActivate(const Window* w);
void FocusWindow(Window* w);

// ---- input_mouse.cpp / input_keys.cpp ----
// Turns the oldest display event into messages; false when there is none.
bool CookNextInput();
void ForgetInInput(Window* w);
std::optional<std::uint64_t> HoverDeadline();
void CheckHover();
void NoteKeyTaken(const MSG& m);
void CookKeyEvent(const display::Event& e);
WPARAM MouseKeyFlags();

// ---- message_queue.cpp / timers.cpp ----
void KillTimersOf(HWND w);
void DropPostedFor(HWND w);
bool MatchesFilter(HWND window, UINT message, HWND filter, UINT min, UINT max);
// The timer due first among those the filter lets through (nullptr for none due now).
Timer* DueTimer(HWND filter, UINT min, UINT max);
std::optional<std::uint64_t> NextTimerDeadline(HWND filter, UINT min, UINT max);
bool IsTimerProc(HWND window, UINT_PTR id, TIMERPROC proc);
void PostInput(const MSG& m);

// ---- hooks.cpp ----
LRESULT CallCbt(int code, WPARAM wp, LPARAM lp);
bool HasCbtHooks();

// ---- menus.cpp / sysmenu.cpp ----
Menu* FromMenu(HMENU h);
void DestroyMenusOf(Window* w);
// Opens the system menu at a screen point and carries out the command chosen.
void ShowSystemMenu(Window* w, POINT screen);

// ---- system_classes.cpp ----
void RegisterSystemClasses();
// The client painting the standard controls share: WM_PAINT through BeginPaint and EndPaint,
// WM_PRINTCLIENT into the given context, and no erasing of their own (their painting covers the
// client). Answers the result for those three messages, nothing for any other.
std::optional<LRESULT> AnswerPaint(HWND h, UINT msg, WPARAM wp, void (*paint)(HWND, HDC));

// ---- layered.cpp ----
void LayeredStyleChanged(Window* w, DWORD oldExStyle);
void RegisterLayeredFunctions(bool available);

}  // namespace plat::wm
