// The headless display on its own: composing, stacking among another program's windows, routing
// input, waiting.
#include <gtest/gtest.h>

#include <thread>

#include "platform/display/headless/headless_display.h"

namespace plat::display {
namespace {

constexpr Pixel kDesktop = 0xFF3A6EA5u;

Bitmap Filled(int w, int h, Pixel p) {
  Bitmap b(w, h);
  b.Fill(p);
  return b;
}

SurfaceId Shown(HeadlessDisplay& d, RECT r, Pixel p, Blend blend = {}) {
  const SurfaceId id = d.CreateSurface(r);
  const Bitmap picture = Filled(RectWidth(r), RectHeight(r), p);
  d.Present(id, picture, Region(picture.Bounds()));
  d.SetBlend(id, blend);
  d.Show(id, true);
  return id;
}

TEST(HeadlessDisplayTest, ComposesOpaqueShapedAndPremultipliedPictures) {
  HeadlessDisplay d;
  EXPECT_EQ(d.ScreenPixel(5, 5), kDesktop);
  EXPECT_EQ(d.ScreenPixel(5, 1079), 0xFFC0C0C0u);  // the task bar
  const SurfaceId opaque = Shown(d, MakeRect(0, 0, 100, 100), MakePixel(255, 0, 0, 0));  // alpha ignored
  EXPECT_EQ(d.ScreenPixel(50, 50), 0xFFFF0000u);
  const Region shape = Region::FromRects(std::vector<RECT>{{0, 0, 10, 10}});
  d.SetShape(opaque, &shape);
  EXPECT_EQ(d.ScreenPixel(5, 5), 0xFFFF0000u);
  EXPECT_EQ(d.ScreenPixel(50, 50), kDesktop);
  // Half-opaque white, premultiplied, over the desktop: 128 + desktop * 127 / 255.
  Shown(d, MakeRect(40, 40, 20, 20), MakePixel(128, 128, 128, 128), Blend{true, 255, {}});
  const Pixel p = d.ScreenPixel(50, 50);
  EXPECT_EQ(PixelR(p), 128u + (0x3Au * 127 + 127) / 255);
  EXPECT_EQ(PixelB(p), 128u + (0xA5u * 127 + 127) / 255);
  EXPECT_EQ(PixelA(p), 255u);
  // A colour key makes its colour transparent, a constant alpha fades the rest.
  const SurfaceId keyed = Shown(d, MakeRect(200, 200, 10, 10), MakePixel(0, 255, 0, 0), Blend{false, 255, RGB(0, 255, 0)});
  EXPECT_EQ(d.ScreenPixel(205, 205), kDesktop);
  EXPECT_TRUE(d.SurfacesAt({205, 205}).empty());
  d.SetBlend(keyed, Blend{false, 0, {}});
  EXPECT_EQ(d.ScreenPixel(205, 205), kDesktop);
}

TEST(HeadlessDisplayTest, RestackingMovesOurSurfacesOnlyAsFarAsTheOrderNeeds) {
  HeadlessDisplay d;
  const SurfaceId a = Shown(d, MakeRect(0, 0, 10, 10), 0);
  const SurfaceId b = Shown(d, MakeRect(0, 0, 10, 10), 0);
  d.AddForeignWindow(MakeRect(0, 0, 10, 10), 0);
  const SurfaceId order1[] = {a, b};
  d.Restack(order1);
  EXPECT_EQ(d.Stacking(), (std::vector<SurfaceId>{kForeign, a, b}));
  d.Activate(b);
  EXPECT_EQ(d.Stacking(), (std::vector<SurfaceId>{b, kForeign, a}));
  const SurfaceId order2[] = {b, a};
  d.Restack(order2);
  EXPECT_EQ(d.Stacking(), (std::vector<SurfaceId>{b, kForeign, a}));
  d.SetTopmost(a, true);
  EXPECT_EQ(d.Stacking(), (std::vector<SurfaceId>{a, b, kForeign}));
}

TEST(HeadlessDisplayTest, RoutesInputAsADisplayServerWould) {
  HeadlessDisplay d;
  const SurfaceId ours = Shown(d, MakeRect(0, 0, 100, 100), 0);
  const auto other = d.AddForeignWindow(MakeRect(200, 0, 100, 100), 0xFF00FF00u);
  d.Activate(ours);
  Event e;
  d.Click({50, 50});
  ASSERT_TRUE(d.NextEvent(e));
  EXPECT_EQ(e.type, Event::Type::PointerMove);
  EXPECT_EQ(e.surface, ours);
  ASSERT_TRUE(d.NextEvent(e));
  EXPECT_EQ(e.type, Event::Type::ButtonDown);
  ASSERT_TRUE(d.NextEvent(e));
  EXPECT_EQ(e.type, Event::Type::ButtonUp);
  d.KeyDown('A');
  ASSERT_TRUE(d.NextEvent(e));
  EXPECT_EQ(e.surface, ours);

  // While grabbed, the pointer's events go to the grabbing surface wherever it is.
  d.GrabPointer(ours);
  d.MovePointer({250, 50});
  ASSERT_TRUE(d.NextEvent(e));
  EXPECT_EQ(e.surface, ours);
  d.GrabPointer(kNoSurface);

  d.Click({250, 50});
  ASSERT_TRUE(d.NextEvent(e));
  EXPECT_EQ(e.surface, kNoSurface);  // over the other program
  ASSERT_TRUE(d.NextEvent(e));
  EXPECT_EQ(e.type, Event::Type::Deactivated);
  EXPECT_FALSE(d.NextEvent(e));  // its release and keys are the other program's
  d.KeyDown('B');
  EXPECT_FALSE(d.NextEvent(e));
  EXPECT_FALSE(d.OurProgramActive());
  d.RemoveForeignWindow(other);
}

TEST(HeadlessDisplayTest, VirtualWaitsMoveTimeAndRealWaitsWakeOnInput) {
  HeadlessDisplay virt;
  const std::uint64_t start = virt.GetClock().Now();
  virt.WaitForEvents(start + 400);
  EXPECT_EQ(virt.GetClock().Now(), start + 400);

  HeadlessDisplay::Options o;
  o.realClock = true;
  HeadlessDisplay real(o);
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    real.MovePointer({1, 1});
  });
  real.WaitForEvents(std::nullopt);  // returns once the input is there
  Event e;
  EXPECT_TRUE(real.NextEvent(e));
  user.join();
}

}  // namespace
}  // namespace plat::display
