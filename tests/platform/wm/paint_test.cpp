// Update regions and painting: RedrawWindow's flags, erasing, redraw switched off, clipping,
// printing, and what reaches the screen.
#include "wm_fixture.h"

namespace plat::test {
namespace {

using PaintTest = WmTest;

constexpr Pixel kWhite = 0xFFFFFFFFu;

// A framed top-level window with one child, everything painted and validated.
struct Scene {
  HWND top;
  HWND child;
};

Scene MakeScene(DWORD topStyle) {
  HWND top = CreateWindowEx(0, "Rec", "", WS_POPUP | WS_BORDER | WS_VISIBLE | topStyle, 100, 100, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
  HWND child = CreateWindowEx(0, "Rec", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top, nullptr, nullptr, nullptr);
  UpdateWindow(top);
  return {top, child};
}

struct RedrawCase {
  const char* name;
  DWORD topStyle;
  std::vector<UINT> calls;  // RedrawWindow flags, one call each
  int nowPaint, nowErase, nowNcPaint;       // during the calls
  int laterPaint, laterErase, laterNcPaint;  // when the queue runs
  int childPaint;
};
// Test names stay readable and the same from run to run.
void PrintTo(const RedrawCase& c, std::ostream* os) { *os << c.name; }

class RedrawTest : public WmTest, public ::testing::WithParamInterface<RedrawCase> {};

TEST_P(RedrawTest, FlagsDecideWhatIsPaintedAndWhen) {
  const RedrawCase& c = GetParam();
  Scene s = MakeScene(c.topStyle);
  Pump();
  log.clear();
  for (UINT flags : c.calls) RedrawWindow(s.top, nullptr, nullptr, flags);
  EXPECT_EQ(Count(WM_PAINT, s.top), c.nowPaint);
  EXPECT_EQ(Count(WM_ERASEBKGND, s.top), c.nowErase);
  EXPECT_EQ(Count(WM_NCPAINT, s.top), c.nowNcPaint);
  log.clear();
  Pump();
  EXPECT_EQ(Count(WM_PAINT, s.top), c.laterPaint);
  EXPECT_EQ(Count(WM_ERASEBKGND, s.top), c.laterErase);
  EXPECT_EQ(Count(WM_NCPAINT, s.top), c.laterNcPaint);
  EXPECT_EQ(Count(WM_PAINT, s.child), c.childPaint);
  RECT r;
  EXPECT_FALSE(GetUpdateRect(s.top, &r, FALSE));
}

INSTANTIATE_TEST_SUITE_P(
    Flags, RedrawTest,
    ::testing::Values(
        RedrawCase{"invalidate", 0, {RDW_INVALIDATE}, 0, 0, 0, 1, 0, 0, 1},
        RedrawCase{"erase", 0, {RDW_INVALIDATE | RDW_ERASE}, 0, 0, 0, 1, 1, 0, 1},
        RedrawCase{"frame", 0, {RDW_INVALIDATE | RDW_FRAME}, 0, 0, 0, 1, 0, 1, 1},
        RedrawCase{"internal", 0, {RDW_INTERNALPAINT}, 0, 0, 0, 1, 0, 0, 1},
        RedrawCase{"internal alone", 0, {RDW_INTERNALPAINT | RDW_NOCHILDREN}, 0, 0, 0, 1, 0, 0, 0},
        RedrawCase{"update now", 0, {RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW}, 1, 1, 0, 0, 0, 0, 0},
        RedrawCase{"erase now", 0, {RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW}, 0, 1, 1, 1, 0, 0, 1},
        // validating takes the children along too, as invalidating did
        RedrawCase{"validated", 0, {RDW_INVALIDATE | RDW_ERASE, RDW_VALIDATE}, 0, 0, 0, 0, 0, 0, 0},
        RedrawCase{"no erase", 0, {RDW_INVALIDATE | RDW_ERASE, RDW_NOERASE}, 0, 0, 0, 1, 0, 0, 1},
        RedrawCase{"no internal", 0, {RDW_INTERNALPAINT, RDW_NOINTERNALPAINT}, 0, 0, 0, 0, 0, 0, 0},
        RedrawCase{"no frame", 0, {RDW_INVALIDATE | RDW_FRAME, RDW_VALIDATE | RDW_NOFRAME}, 0, 0, 0, 0, 0, 0, 0},
        RedrawCase{"no children", 0, {RDW_INVALIDATE | RDW_NOCHILDREN}, 0, 0, 0, 1, 0, 0, 0},
        RedrawCase{"clip children", WS_CLIPCHILDREN, {RDW_INVALIDATE}, 0, 0, 0, 1, 0, 0, 0},
        RedrawCase{"all children", WS_CLIPCHILDREN, {RDW_INVALIDATE | RDW_ALLCHILDREN}, 0, 0, 0, 1, 0, 0, 1}),
    [](const auto& info) {
      std::string n = info.param.name;
      std::replace(n.begin(), n.end(), ' ', '_');
      return n;
    });

TEST_F(PaintTest, BeginPaintErasesWithTheClassBrushAndReportsWhatIsLeft) {
  Scene s = MakeScene(0);
  Pump();
  log.clear();
  RECT part = MakeRect(20, 30, 40, 10);
  InvalidateRect(s.top, &part, TRUE);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(s.top, &ps);
  ASSERT_TRUE(dc);
  EXPECT_EQ(ps.rcPaint, part);
  EXPECT_FALSE(ps.fErase);  // the class brush did it
  EXPECT_EQ(Count(WM_ERASEBKGND, s.top), 1);
  EXPECT_TRUE(EndPaint(s.top, &ps));
  // Without a brush the window must erase itself.
  SetClassLongPtr(s.top, GCLP_HBRBACKGROUND, 0);
  InvalidateRect(s.top, nullptr, TRUE);
  BeginPaint(s.top, &ps);
  EXPECT_TRUE(ps.fErase);
  EndPaint(s.top, &ps);
}

TEST_F(PaintTest, ErasingWithASystemColourBrushReachesTheScreen) {
  SetClassLongPtr(Popup(MakeRect(0, 0, 1, 1), 0), GCLP_HBRBACKGROUND,
                  static_cast<LONG_PTR>(COLOR_HIGHLIGHT + 1));
  HWND w = Popup(MakeRect(200, 200, 100, 100));
  Pump();
  EXPECT_EQ(screen->ScreenPixel(250, 250), ColorToPixel(GetSysColor(COLOR_HIGHLIGHT)));
  (void)w;
}

TEST_F(PaintTest, RedrawOffSuppressesPaintingUntilSwitchedBackOnAndRedrawn) {
  HWND w = Popup(MakeRect(200, 200, 100, 100));
  Pump();
  ASSERT_EQ(screen->ScreenPixel(250, 250), kWhite);
  SendMessage(w, WM_SETREDRAW, FALSE, 0);
  log.clear();
  InvalidateRect(w, nullptr, TRUE);
  HDC dc = GetDC(w);
  RECT all{0, 0, 100, 100};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, red);
  ReleaseDC(w, dc);
  Pump();
  EXPECT_EQ(Count(WM_PAINT, w), 0);
  EXPECT_EQ(screen->ScreenPixel(250, 250), kWhite);
  EXPECT_TRUE(screen->IsShown(1));  // still on the screen, as it was

  SendMessage(w, WM_SETREDRAW, TRUE, 0);
  Pump();
  EXPECT_EQ(Count(WM_PAINT, w), 0);  // nothing was recorded meanwhile
  EXPECT_TRUE(IsWindowVisible(w));
  dc = GetDC(w);
  FillRect(dc, &all, red);
  ReleaseDC(w, dc);
  EXPECT_EQ(screen->ScreenPixel(250, 250), ColorToPixel(RGB(255, 0, 0)));
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(Count(WM_PAINT, w), 1);
  EXPECT_EQ(screen->ScreenPixel(250, 250), kWhite);
  DeleteObject(red);
}

TEST_F(PaintTest, ContextsClipToTheVisiblePartOfTheWindow) {
  HWND top = Popup(MakeRect(100, 100, 200, 200), WS_VISIBLE | WS_CLIPCHILDREN);
  HWND a = Child(top, MakeRect(10, 10, 60, 60), WS_VISIBLE | WS_CLIPSIBLINGS, 1);
  HWND b = Child(top, MakeRect(40, 40, 60, 60), WS_VISIBLE | WS_CLIPSIBLINGS, 2);
  Pump();
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT all{-50, -50, 500, 500};
  HDC dc = GetDC(top);
  FillRect(dc, &all, red);  // not over the children
  ReleaseDC(top, dc);
  dc = GetDC(b);  // b is below a: a's part is cut out of it
  FillRect(dc, &all, blue);
  ReleaseDC(b, dc);
  EXPECT_EQ(screen->ScreenPixel(105, 105), ColorToPixel(RGB(255, 0, 0)));
  EXPECT_EQ(screen->ScreenPixel(120, 120), kWhite);  // a
  EXPECT_EQ(screen->ScreenPixel(160, 160), kWhite);  // b under a
  EXPECT_EQ(screen->ScreenPixel(180, 180), ColorToPixel(RGB(0, 0, 255)));
  EXPECT_EQ(screen->ScreenPixel(250, 250), ColorToPixel(RGB(255, 0, 0)));
  RECT box;
  dc = GetDC(a);
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 60, 60}));
  ReleaseDC(a, dc);
  DeleteObject(red);
  DeleteObject(blue);
}

TEST_F(PaintTest, MovingAChildRepaintsWhatItUncovered) {
  Scene s = MakeScene(WS_CLIPCHILDREN);
  Pump();
  log.clear();
  SetWindowPos(s.child, nullptr, 100, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT r;
  ASSERT_TRUE(GetUpdateRect(s.top, &r, FALSE));
  EXPECT_EQ(r, (RECT{10, 10, 60, 60}));
  Pump();
  EXPECT_EQ(Count(WM_PAINT, s.top), 1);
  EXPECT_EQ(Count(WM_PAINT, s.child), 1);
  EXPECT_EQ(Sequence({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}, s.child),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));
}

TEST_F(PaintTest, PrintDrawsTheWindowAndItsChildrenIntoAnyContext) {
  HWND top = Popup(MakeRect(100, 100, 100, 100));
  HWND child = Child(top, MakeRect(50, 50, 20, 20));
  handler = [=](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PRINTCLIENT) return std::nullopt;
    RECT r{0, 0, 10, 10};
    HBRUSH b = CreateSolidBrush(h == child ? RGB(0, 255, 0) : RGB(255, 0, 0));
    FillRect(reinterpret_cast<HDC>(wp), &r, b);
    DeleteObject(b);
    return 0;
  };
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap32(100, 100);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessage(top, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
  const Bitmap& px = *BitmapOf(bmp);
  EXPECT_EQ(px.Row(5)[5] & 0xFFFFFF, ColorToPixel(RGB(255, 0, 0)) & 0xFFFFFF);
  EXPECT_EQ(px.Row(55)[55] & 0xFFFFFF, ColorToPixel(RGB(0, 255, 0)) & 0xFFFFFF);
  EXPECT_EQ(px.Row(30)[30] & 0xFFFFFF, 0xFFFFFFu);  // the erased background
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
}

TEST_F(PaintTest, LayeredWindowsComposeOverWhatIsBelow) {
  HWND below = Popup(MakeRect(100, 100, 200, 200));
  Pump();
  // Half-opaque black, premultiplied, from an UpdateLayeredWindow picture.
  HWND layered = CreateWindowEx(WS_EX_LAYERED, "Rec", "", WS_POPUP | WS_VISIBLE, 150, 150, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
  EXPECT_EQ(screen->ScreenPixel(200, 200), kWhite);  // not shown before it has a picture
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap32(100, 100);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitmapOf(bmp)->Fill(MakePixel(0, 0, 0, 128));
  POINT from{0, 0};
  SIZE size{100, 100};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(layered, nullptr, nullptr, &size, mem, &from, 0, &blend, ULW_ALPHA));
  EXPECT_EQ(screen->ScreenPixel(200, 200), MakePixel(127, 127, 127, 255));
  blend.SourceConstantAlpha = 0;
  UpdateLayeredWindow(layered, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA);
  EXPECT_EQ(screen->ScreenPixel(200, 200), kWhite);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);

  // A painted layered window with a constant alpha.
  HWND faded = CreateWindowEx(WS_EX_LAYERED, "Rec", "", WS_POPUP | WS_VISIBLE, 500, 100, 100, 100, nullptr, nullptr,
                              nullptr, nullptr);
  SetClassLongPtr(faded, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(COLOR_WINDOWTEXT + 1));
  ASSERT_TRUE(SetLayeredWindowAttributes(faded, 0, 64, LWA_ALPHA));
  Pump();
  const Pixel desk = MakePixel(0x3A, 0x6E, 0xA5, 255);
  auto mix = [](Pixel d, int c) { return static_cast<int>((c * 64 + static_cast<int>(d) * 191 + 127) / 255); };
  const Pixel got = screen->ScreenPixel(550, 150);
  EXPECT_NEAR(static_cast<int>(PixelR(got)), mix(PixelR(desk), 0), 1);
  EXPECT_NEAR(static_cast<int>(PixelB(got)), mix(PixelB(desk), 0), 1);
  COLORREF key;
  BYTE alpha;
  DWORD flags;
  ASSERT_TRUE(GetLayeredWindowAttributes(faded, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 64);
  EXPECT_EQ(flags, LWA_ALPHA);
  EXPECT_FALSE(GetLayeredWindowAttributes(layered, &key, &alpha, &flags));
  (void)below;
}

TEST_F(PaintTest, LayeredFunctionsAreOfferedByNameOnlyWhenTheDisplayCanShowThem) {
  HMODULE user = GetModuleHandle("user32.dll");
  EXPECT_EQ(GetProcAddress(user, "UpdateLayeredWindow"), reinterpret_cast<FARPROC>(&UpdateLayeredWindow));
  EXPECT_NE(GetProcAddress(user, "SetLayeredWindowAttributes"), nullptr);
  display::HeadlessDisplay::Options o;
  o.layered = false;
  InitPlatform(std::make_unique<display::HeadlessDisplay>(o));
  EXPECT_EQ(GetProcAddress(user, "UpdateLayeredWindow"), nullptr);
  EXPECT_EQ(GetProcAddress(user, "SetLayeredWindowAttributes"), nullptr);
}

}  // namespace
}  // namespace plat::test
