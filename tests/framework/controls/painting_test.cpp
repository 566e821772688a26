// Painting a control tree into any context, double buffering, and the owner-drawn items that a
// parent hands back to its child control: status-bar panels and item measuring.
#include <optional>

#include "controls_fixture.h"
#include "framework/bitmap.h"
#include "framework/ext_controls.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "platform/wm/standard_controls.h"

namespace fw::test {
namespace {

// A memory picture filled with one colour.
class TMemoryDc {
 public:
  TMemoryDc(int width, int height, TColor fill) : bitmap_(width, height) {
    bitmap_.Canvas().Brush().SetColor(fill);
    bitmap_.Canvas().FillRect({0, 0, width, height});
  }
  plat::HDC Dc() { return bitmap_.Canvas().Handle(); }
  plat::COLORREF At(int x, int y) { return bitmap_.Canvas().Pixels(x, y); }

 private:
  TBitmap bitmap_;
};

TLabel* ColouredLabel(TComponent* owner, TWinControl* parent, plat::RECT r, TColor color) {
  auto* label = New<TLabel>(owner);
  label->SetAutoSize(false);
  label->SetBoundsRect(r);
  label->SetColor(color);
  label->SetParent(parent);
  return label;
}

class PaintTo : public ControlsTest, public ::testing::WithParamInterface<TFormBorderStyle> {};

TEST_P(PaintTo, AFormWithItsFrameAndItsWindowedAndGraphicChildrenLandsAtTheOffsetAndNowhereElse) {
  TForm* form = NewForm<TForm>(app.get());  // never shown: painting does not need the screen
  form->SetBorderStyle(GetParam());
  form->SetBounds(500, 500, 120, 80);
  form->SetColor(clWhite);
  auto* panel = New<TPanel>(form);
  panel->SetBevelOuter(bvNone);
  panel->SetBounds(10, 10, 60, 40);
  panel->SetColor(clRed);
  panel->SetParent(form);
  ColouredLabel(form, panel, {5, 5, 25, 15}, clBlue);
  ColouredLabel(form, form, {80, 10, 100, 30}, clLime);
  plat::RECT window;
  plat::GetWindowRect(form->Handle(), &window);
  const plat::POINT client = form->ClientToScreen({0, 0});
  const int cx = 20 + client.x - window.left;  // the client's place in the target
  const int cy = 30 + client.y - window.top;

  TMemoryDc target(200, 150, clBlack);
  form->PaintTo(target.Dc(), 20, 30);
  struct Probe {
    int x, y;
    TColor expected;
    const char* what;
  } probes[] = {
      {cx, cy, clWhite, "the form's own background"},
      {cx + 12, cy + 12, clRed, "the panel"},
      {cx + 10 + 6, cy + 10 + 6, clBlue, "the label on the panel"},
      {cx + 85, cy + 15, clLime, "the label on the form"},
      {cx + form->ClientWidth() - 1, cy + form->ClientHeight() - 1, clWhite, "the client's last pixel"},
      {19, 29, clBlack, "before the offset"},
      {20 + 120, 30 + 10, clBlack, "right of the form"},
      {20 + 10, 30 + 80, clBlack, "below the form"},
  };
  for (const Probe& p : probes) EXPECT_EQ(target.At(p.x, p.y), ColorToRGB(p.expected)) << p.what;
  if (GetParam() != bsNone) {
    EXPECT_GT(cy, 30);
    EXPECT_NE(target.At(20, 30), ColorToRGB(clBlack)) << "the frame is painted too";
    EXPECT_NE(target.At(20, 30), ColorToRGB(clWhite));
  }
  EXPECT_FALSE(plat::IsWindowVisible(form->Handle()));
}

INSTANTIATE_TEST_SUITE_P(Frames, PaintTo, ::testing::Values(bsNone, bsSingle));

struct BufferCase {
  const char* name;
  bool doubleBuffered;
  TColor seenMidPaint;      // on the window while the form paints
  TColor erasedFromOutside;  // what an outside WM_ERASEBKGND leaves in its context
};
void PrintTo(const BufferCase& c, std::ostream* os) { *os << c.name; }

class DoubleBuffering : public ControlsTest, public ::testing::WithParamInterface<BufferCase> {};

TEST_P(DoubleBuffering, TheWindowOnlyEverShowsTheFinishedPicture) {
  TForm* form = ShownForm(100, 100, 200, 100);
  form->SetColor(clBlue);
  form->SetDoubleBuffered(GetParam().doubleBuffered);
  std::optional<plat::COLORREF> midPaint;
  form->OnPaint = [&](TObject*) {
    plat::HDC window = plat::GetDC(form->Handle());
    midPaint = plat::GetPixel(window, 50, 50);
    plat::ReleaseDC(form->Handle(), window);
    form->Canvas().Brush().SetColor(clLime);
    form->Canvas().FillRect({0, 0, 200, 100});
  };
  form->Repaint();
  Pump();
  midPaint.reset();
  form->Invalidate();
  form->Update();
  ASSERT_TRUE(midPaint);
  EXPECT_EQ(*midPaint, ColorToRGB(GetParam().seenMidPaint));
  EXPECT_EQ(screen->ScreenPixel(150, 150), plat::MakePixel(0, 255, 0, 255)) << "the same picture at the end";

  TMemoryDc outside(10, 10, clBlack);
  EXPECT_EQ(plat::SendMessage(form->Handle(), plat::WM_ERASEBKGND, reinterpret_cast<plat::WPARAM>(outside.Dc()), 0), 1);
  EXPECT_EQ(outside.At(5, 5), ColorToRGB(GetParam().erasedFromOutside));
}

INSTANTIATE_TEST_SUITE_P(Modes, DoubleBuffering,
                         ::testing::Values(BufferCase{"Direct", false, clBlue, clBlue},
                                           BufferCase{"Buffered", true, clLime, clBlack}));

using OwnerDrawnPanels = ControlsTest;

TEST_F(OwnerDrawnPanels, OnDrawPanelGetsThePanelsInnerRectangleAndDrawsOnTheScreen) {
  TForm* form = ShownForm(100, 100, 300, 200);
  auto* bar = New<TStatusBar>(form);
  bar->SetParent(form);
  bar->Panels()->Add()->SetWidth(80);
  TStatusPanel* drawn = bar->Panels()->Add();
  drawn->SetWidth(100);
  drawn->SetStyle(psOwnerDraw);
  bar->Panels()->Add();
  int calls = 0;
  plat::RECT seen{};
  bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const plat::RECT& r) {
    ++calls;
    EXPECT_EQ(sender, bar);
    EXPECT_EQ(panel, drawn);
    seen = r;
    sender->Canvas().Brush().SetColor(clFuchsia);
    sender->Canvas().FillRect(r);
  };
  bar->Repaint();
  Pump();
  ASSERT_GE(calls, 1);
  plat::RECT part{};
  ASSERT_TRUE(plat::SendMessage(bar->Handle(), plat::SB_GETRECT, 1, reinterpret_cast<plat::LPARAM>(&part)));
  EXPECT_EQ(seen.left, part.left + 1);
  EXPECT_EQ(seen.top, part.top + 1);
  EXPECT_EQ(seen.right, part.right - 1);
  EXPECT_EQ(seen.bottom, part.bottom - 1);
  const plat::POINT inside = bar->ClientToScreen({(seen.left + seen.right) / 2, (seen.top + seen.bottom) / 2});
  EXPECT_EQ(screen->ScreenPixel(inside.x, inside.y), plat::MakePixel(255, 0, 255, 255));
  const plat::POINT textPanel = bar->ClientToScreen({40, (seen.top + seen.bottom) / 2});
  EXPECT_NE(screen->ScreenPixel(textPanel.x, textPanel.y), plat::MakePixel(255, 0, 255, 255))
      << "only the owner-drawn panel is handed out";
}

using MeasureItem = ControlsTest;

TEST_F(MeasureItem, TheParentHandsTheMeasureRequestToTheChildItNames) {
  TForm* form = ShownForm();
  auto* first = New<TButton>(form);
  first->SetParent(form);
  auto* second = New<TButton>(form);
  second->SetBounds(0, 40, 90, 33);
  second->SetParent(form);
  TControl* measured = nullptr;
  for (TButton* b : {first, second}) {
    TWndMethod old = b->WindowProc;
    b->WindowProc = [b, old, &measured](TMessage& m) {
      if (m.Msg == CN_MEASUREITEM) {
        measured = b;
        auto* item = reinterpret_cast<plat::MEASUREITEMSTRUCT*>(m.LParam);
        item->itemWidth = static_cast<plat::UINT>(b->Width());
        item->itemHeight = static_cast<plat::UINT>(b->Height());
        m.Result = 1;
        return;
      }
      old(m);
    };
  }
  ASSERT_NE(plat::GetDlgCtrlID(first->Handle()), plat::GetDlgCtrlID(second->Handle()));
  plat::MEASUREITEMSTRUCT item;
  item.CtlType = plat::ODT_BUTTON;
  item.CtlID = static_cast<plat::UINT>(plat::GetDlgCtrlID(second->Handle()));
  EXPECT_EQ(plat::SendMessage(form->Handle(), plat::WM_MEASUREITEM, item.CtlID, reinterpret_cast<plat::LPARAM>(&item)), 1);
  EXPECT_EQ(measured, second);
  EXPECT_EQ(item.itemWidth, 90u);
  EXPECT_EQ(item.itemHeight, 33u);

  measured = nullptr;
  item.CtlType = plat::ODT_MENU;
  plat::SendMessage(form->Handle(), plat::WM_MEASUREITEM, item.CtlID, reinterpret_cast<plat::LPARAM>(&item));
  EXPECT_EQ(measured, nullptr) << "menu items are not a child's";
}

}  // namespace
}  // namespace fw::test
