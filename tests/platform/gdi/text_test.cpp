// Text on device contexts, checked by geometry: measured rectangles and where the ink lands.
#include <gtest/gtest.h>

#include "platform/gdi/font_engine.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/text_paint.h"
#include "text_fixture.h"

namespace plat {
namespace {

using test::Canvas;
using test::Extent;
using test::Font;
using test::InkBox;
using test::kWhite;
using test::Metrics;
using test::UseFont;

RECT Moved(RECT r, int dx, int dy) { return Offset(r, dx, dy); }

// Ink of one DrawText on a fresh white canvas.
RECT DrawnInk(const LOGFONT& lf, const std::string& text, RECT r, UINT format, int width = 240, int height = 80) {
  Canvas c(width, height);
  c.Fill(kWhite);
  UseFont use(c.dc, lf);
  SetBkMode(c.dc, TRANSPARENT);
  DrawText(c.dc, text, &r, format);
  return InkBox(c.Pixels(), kWhite);
}

TEST(DrawTextCalcRect, MeasuresWithoutDrawing) {
  Canvas c(200, 100);
  c.Fill(kWhite);
  UseFont use(c.dc, Font("Tahoma", -13));
  const LONG h = Metrics(c.dc).tmHeight;
  struct Case {
    std::string text;
    UINT format;
    LONG width;  // of the rectangle given
    std::string widest;
    LONG lines;
  };
  const LONG wrapWidth = Extent(c.dc, "alpha beta").cx;
  const Case cases[] = {
      {"Hello", DT_SINGLELINE, 500, "Hello", 1},
      {"Hello", DT_LEFT, 2, "Hello", 1},  // no wrap: wider than the rectangle
      {"Hello", DT_SINGLELINE | DT_CENTER | DT_VCENTER, 500, "Hello", 1},
      {"one\ntwo three\r\nsix", 0, 500, "two three", 3},
      {"one\ntwo three", DT_SINGLELINE, 500, "one\ntwo three", 1},
      {"alpha beta gamma", DT_WORDBREAK, wrapWidth, "alpha beta", 2},
      {"輝度37％ Brightness 明るさ", DT_SINGLELINE, 500, "輝度37％ Brightness 明るさ", 1},
      {"", DT_SINGLELINE, 500, "", 1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.text);
    RECT r{10, 20, 10 + k.width, 30};
    const int answer = DrawText(c.dc, k.text, &r, k.format | DT_CALCRECT);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(RectWidth(r), Extent(c.dc, k.widest).cx);
    EXPECT_EQ(RectHeight(r), k.lines * h);
    EXPECT_EQ(answer, k.lines * h);
  }
  EXPECT_TRUE(IsEmpty(InkBox(c.Pixels(), kWhite)));
}

TEST(DrawTextAlignment, InkMovesByTheRectangleLessTheText) {
  const LOGFONT lf = Font("Tahoma", -16);
  const RECT r{20, 10, 220, 70};
  Canvas probe(4, 4);
  UseFont use(probe.dc, lf);
  const std::string text = "Brightness 明るさ";
  const LONG w = Extent(probe.dc, text).cx;
  const LONG h = Metrics(probe.dc).tmHeight;
  const RECT base = DrawnInk(lf, text, r, DT_SINGLELINE | DT_LEFT | DT_TOP);
  ASSERT_FALSE(IsEmpty(base));
  EXPECT_GE(base.left, r.left);
  EXPECT_LE(base.left, r.left + 2);
  EXPECT_GE(base.top, r.top);
  struct Case {
    UINT format;
    int dx, dy;
  };
  const Case cases[] = {
      {DT_CENTER, (r.left + r.right - w) / 2 - r.left, 0},
      {DT_RIGHT, RectWidth(r) - w, 0},
      {DT_VCENTER, 0, (r.top + r.bottom - h) / 2 - r.top},
      {DT_BOTTOM, 0, RectHeight(r) - h},
      {DT_CENTER | DT_VCENTER, (r.left + r.right - w) / 2 - r.left, (r.top + r.bottom - h) / 2 - r.top},
      {DT_RIGHT | DT_BOTTOM, RectWidth(r) - w, RectHeight(r) - h},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.format);
    EXPECT_EQ(DrawnInk(lf, text, r, DT_SINGLELINE | k.format), Moved(base, k.dx, k.dy));
  }
  // Vertical placement needs DT_SINGLELINE, as on the platform.
  EXPECT_EQ(DrawnInk(lf, text, r, DT_VCENTER | DT_BOTTOM), base);
}

TEST(DrawTextAlignment, AnswersTheHeightFromTheTopOfTheRectangle) {
  Canvas c(200, 100);
  UseFont use(c.dc, Font("Tahoma", -13));
  const LONG h = Metrics(c.dc).tmHeight;
  RECT r{0, 10, 200, 60};
  EXPECT_EQ(DrawText(c.dc, "One", &r, DT_SINGLELINE), h);
  EXPECT_EQ(DrawText(c.dc, "One", &r, DT_SINGLELINE | DT_VCENTER), (10 + 60 - h) / 2 - 10 + h);
  EXPECT_EQ(DrawText(c.dc, "One", &r, DT_SINGLELINE | DT_BOTTOM), 50);
  EXPECT_EQ(DrawText(c.dc, "One\nTwo", &r, 0), 2 * h);
  EXPECT_EQ(r, (RECT{0, 10, 200, 60}));  // only DT_CALCRECT writes it
  EXPECT_EQ(DrawText(nullptr, "One", &r, 0), 0);
  EXPECT_EQ(DrawText(c.dc, "One", -1, nullptr, 0), 0);
  EXPECT_EQ(DrawText(c.dc, nullptr, 3, &r, 0), 0);
}

TEST(DrawTextAlignment, CentresEachLineOfAWrappedText) {
  const LOGFONT lf = Font("Tahoma", -13);
  Canvas c(240, 100);
  c.Fill(kWhite);
  UseFont use(c.dc, lf);
  const LONG h = Metrics(c.dc).tmHeight;
  const RECT r{0, 0, 240, 100};
  RECT box = r;
  DrawText(c.dc, "wide first line\nnarrow", &box, DT_CENTER);
  const RECT first = InkBox(c.Pixels(), kWhite, {0, 0, 240, h});
  const RECT second = InkBox(c.Pixels(), kWhite, {0, h, 240, 2 * h});
  EXPECT_NEAR((first.left + first.right) / 2, 120, 2);
  EXPECT_NEAR((second.left + second.right) / 2, 120, 2);
  EXPECT_LT(RectWidth(second), RectWidth(first));
}

TEST(DrawTextWrap, JapaneseLinesStayInsideTheRectangle) {
  const LOGFONT lf = Font("MS UI Gothic", -16, FW_NORMAL, SHIFTJIS_CHARSET);
  const RECT r{10, 10, 130, 120};
  const std::string text = "画面の明るさを調整します。スライダーを動かすと、すぐに反映されます。";
  Canvas c(240, 140);
  c.Fill(kWhite);
  UseFont use(c.dc, lf);
  RECT measured = r;
  const int height = DrawText(c.dc, text, &measured, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_GT(height, 2 * Metrics(c.dc).tmHeight);
  EXPECT_LE(RectWidth(measured), RectWidth(r));
  RECT box = r;
  SetBkMode(c.dc, TRANSPARENT);
  EXPECT_EQ(DrawText(c.dc, text, &box, DT_WORDBREAK | DT_NOCLIP), height);
  const RECT ink = InkBox(c.Pixels(), kWhite);
  EXPECT_GE(ink.left, r.left);
  EXPECT_LE(ink.right, r.right);
  EXPECT_GT(RectHeight(ink), height - Metrics(c.dc).tmHeight);
}

TEST(DrawTextEllipsis, InkStaysInsideEvenWithoutClipping) {
  const LOGFONT lf = Font("Tahoma", -13);
  const std::string text = "A caption far too long for its little rectangle";
  const RECT r{10, 10, 110, 40};
  const RECT cut = DrawnInk(lf, text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  EXPECT_GE(cut.left, r.left);
  EXPECT_LE(cut.right, r.right);
  EXPECT_GT(DrawnInk(lf, text, r, DT_SINGLELINE | DT_NOCLIP).right, r.right);

  Canvas c(4, 4);
  UseFont use(c.dc, lf);
  RECT measured = r;
  DrawText(c.dc, text, &measured, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_LE(RectWidth(measured), RectWidth(r));
  EXPECT_GT(RectWidth(measured), RectWidth(r) / 2);
}

TEST(DrawTextClip, TheRectangleClipsUnlessNoClip) {
  const LOGFONT lf = Font("Tahoma", -16);
  const RECT r{20, 20, 60, 30};  // narrower and lower than the text
  const RECT clipped = DrawnInk(lf, "Brightness", r, DT_SINGLELINE);
  EXPECT_GE(clipped.left, r.left);
  EXPECT_GE(clipped.top, r.top);
  EXPECT_LE(clipped.right, r.right);
  EXPECT_LE(clipped.bottom, r.bottom);
  const RECT free = DrawnInk(lf, "Brightness", r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(free.right, r.right);
  EXPECT_GT(free.bottom, r.bottom);

  // The context's clip applies either way.
  Canvas c(240, 80);
  c.Fill(kWhite);
  UseFont use(c.dc, lf);
  IntersectClipRect(c.dc, 0, 0, 40, 80);
  RECT box = r;
  DrawText(c.dc, "Brightness", &box, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_LE(InkBox(c.Pixels(), kWhite).right, 40);

  // A clip of several rectangles: ink on both sides of a hole, none in it.
  Canvas d(240, 80);
  d.Fill(kWhite);
  UseFont f(d.dc, lf);
  ExcludeClipRect(d.dc, 40, 0, 60, 80);
  RECT wide{10, 10, 230, 60};
  DrawText(d.dc, "Brightness Brightness", &wide, DT_SINGLELINE);
  EXPECT_TRUE(IsEmpty(InkBox(d.Pixels(), kWhite, {40, 0, 60, 80})));
  EXPECT_FALSE(IsEmpty(InkBox(d.Pixels(), kWhite, {0, 0, 40, 80})));
  EXPECT_FALSE(IsEmpty(InkBox(d.Pixels(), kWhite, {60, 0, 240, 80})));
}

TEST(DrawTextBackground, OpaqueFillsTheLineBoxTransparentLeavesIt) {
  const COLORREF red = RGB(255, 0, 0);
  for (int mode : {OPAQUE, TRANSPARENT}) {
    SCOPED_TRACE(mode);
    Canvas c(200, 60);
    c.Fill(kWhite);
    UseFont use(c.dc, Font("Tahoma", -13));
    SetBkMode(c.dc, mode);
    SetBkColor(c.dc, red);
    RECT r{10, 10, 190, 50};
    DrawText(c.dc, "Hi there", &r, DT_LEFT);
    const LONG w = Extent(c.dc, "Hi there").cx;
    const LONG h = Metrics(c.dc).tmHeight;
    const Pixel box = mode == OPAQUE ? ColorToPixel(red, 0) : kWhite;
    EXPECT_EQ(c.At(10, 10), box);
    EXPECT_EQ(c.At(10 + w - 1, 10 + h - 1), box);
    EXPECT_EQ(c.At(10 + w, 10), kWhite);
    EXPECT_EQ(c.At(10, 10 + h), kWhite);
  }
}

TEST(DrawTextColour, CoverageBlendsTowardsTheTextColourWithAlphaZero) {
  Canvas c(120, 80);
  c.Fill(kWhite);
  UseFont use(c.dc, Font("Tahoma", -60, FW_BOLD));
  SetBkMode(c.dc, TRANSPARENT);
  const COLORREF colour = RGB(10, 120, 200);
  SetTextColor(c.dc, colour);
  RECT r{0, 0, 120, 80};
  DrawText(c.dc, "I", &r, DT_LEFT);
  const RECT ink = InkBox(c.Pixels(), kWhite);
  ASSERT_FALSE(IsEmpty(ink));
  // The middle of the stem is fully covered; every inked pixel lies between white and the colour.
  EXPECT_EQ(c.At((ink.left + ink.right) / 2, (ink.top + ink.bottom) / 2), ColorToPixel(colour, 0));
  for (int y = ink.top; y < ink.bottom; ++y) {
    for (int x = ink.left; x < ink.right; ++x) {
      const Pixel p = c.At(x, y);
      if (p == kWhite) continue;
      EXPECT_EQ(PixelA(p), 0u);
      EXPECT_GE(PixelR(p), 10u);
      EXPECT_GE(PixelG(p), 120u);
      EXPECT_GE(PixelB(p), 200u);
    }
  }
  EXPECT_EQ(c.At(119, 79), kWhite);  // untouched pixels keep their alpha
}

TEST(GlyphBlend, RoundsEveryChannelForEveryCoverage) {
  std::uint8_t coverage[256];
  Pixel row[256];
  for (std::uint32_t a = 0; a < 256; ++a) {
    std::fill(std::begin(coverage), std::end(coverage), static_cast<std::uint8_t>(a));
    for (std::uint32_t c = 0; c < 256; ++c) {
      const Pixel colour = MakePixel(static_cast<BYTE>(c), static_cast<BYTE>(255 - c), static_cast<BYTE>(c * 7), 0);
      for (std::uint32_t d = 0; d < 256; ++d)
        row[d] = MakePixel(static_cast<BYTE>(d), static_cast<BYTE>(d * 3), static_cast<BYTE>(255 - d), 0x80);
      gdi::BlendSpan(row, coverage, 256, colour);
      for (std::uint32_t d = 0; d < 256; ++d) {
        auto mix = [&](std::uint32_t cc, std::uint32_t dd) { return (cc * a + dd * (255 - a) + 127) / 255; };
        const Pixel expected =
            a == 0 ? MakePixel(static_cast<BYTE>(d), static_cast<BYTE>(d * 3), static_cast<BYTE>(255 - d), 0x80)
                   : MakePixel(static_cast<BYTE>(mix(c, d)), static_cast<BYTE>(mix((255 - c) & 255, (d * 3) & 255)),
                               static_cast<BYTE>(mix((c * 7) & 255, 255 - d)), 0);
        if (row[d] != expected) FAIL() << "a " << a << " c " << c << " d " << d;
      }
    }
  }
}

TEST(DrawTextColour, EveryPixelIsTheRoundedBlendOfItsCoverage) {
  Canvas c(60, 50);
  const Pixel background = MakePixel(30, 140, 220, 255);
  c.Fill(background);
  UseFont use(c.dc, Font("Tahoma", -24));
  SetBkMode(c.dc, TRANSPARENT);
  const COLORREF colour = RGB(250, 20, 90);
  SetTextColor(c.dc, colour);
  const POINT at{7, 5};
  TextOut(c.dc, at.x, at.y, "g", 1);

  const FontInstance& font = gdi::InstanceOf(*gdi::Get<gdi::FontObject>(use.font));
  const auto run = font.Shape("g", false);
  ASSERT_EQ(run->glyphs.size(), 1u);
  const gdi::GlyphImage& image = font.Glyph(run->glyphs[0]);
  const int left = at.x + run->glyphs[0].x + image.left;
  const int top = at.y + font.Metrics().tmAscent + run->glyphs[0].y + image.top;
  ASSERT_GT(image.width, 0);
  int partial = 0;
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 60; ++x) {
      const bool inside = x >= left && x < left + image.width && y >= top && y < top + image.height;
      const std::uint32_t a =
          inside ? image.coverage[static_cast<std::size_t>((y - top) * image.width + (x - left))] : 0;
      Pixel expected = background;
      if (a) {
        auto mix = [&](std::uint32_t c, std::uint32_t d) {
          return static_cast<BYTE>((c * a + d * (255 - a) + 127) / 255);
        };
        expected = MakePixel(mix(GetRValue(colour), PixelR(background)), mix(GetGValue(colour), PixelG(background)),
                             mix(GetBValue(colour), PixelB(background)), 0);
        partial += a < 255;
      }
      ASSERT_EQ(c.At(x, y), expected) << x << "," << y << " coverage " << a;
    }
  }
  EXPECT_GT(partial, 10);  // anti-aliased edges were checked, not only solid ink
}

TEST(DrawTextStyles, BoldAndItalicShowWhetherTheFaceHasThemOrNot) {
  // DejaVu has a bold face (and, where installed, an oblique one); IPA Gothic has neither.
  const RECT r{10, 10, 230, 70};
  for (const char* face : {"Tahoma", "MS Gothic"}) {
    for (const std::string text : {"HIH", "日本"}) {
      SCOPED_TRACE(std::string(face) + " " + text);
      LOGFONT lf = Font(face, -24);
      const RECT regular = DrawnInk(lf, text, r, DT_SINGLELINE);
      lf.lfWeight = FW_BOLD;
      EXPECT_GT(RectWidth(DrawnInk(lf, text, r, DT_SINGLELINE)), RectWidth(regular));
      lf.lfWeight = FW_NORMAL;
      lf.lfItalic = 1;
      const RECT italic = DrawnInk(lf, text, r, DT_SINGLELINE);
      EXPECT_GT(RectWidth(italic), RectWidth(regular) + 2);  // upright strokes lean
      EXPECT_EQ(italic.bottom, regular.bottom);  // about the baseline
    }
  }
}

TEST(DrawTextPrefix, UnderlinesTheMarkedCharacterOnly) {
  const LOGFONT lf = Font("Tahoma", -16);
  const RECT r{10, 10, 230, 60};
  const RECT plain = DrawnInk(lf, "File", r, DT_SINGLELINE);
  const RECT marked = DrawnInk(lf, "&File", r, DT_SINGLELINE);
  EXPECT_GT(marked.bottom, plain.bottom);  // "File" has no descender: the underline is below it
  EXPECT_EQ(DrawnInk(lf, "&File", r, DT_SINGLELINE | DT_HIDEPREFIX), plain);
  EXPECT_GT(DrawnInk(lf, "&File", r, DT_SINGLELINE | DT_NOPREFIX).right, plain.right);  // shows the "&"

  // Only the underline, under the "F".
  const RECT only = DrawnInk(lf, "&File", r, DT_SINGLELINE | DT_PREFIXONLY);
  ASSERT_FALSE(IsEmpty(only));
  EXPECT_GE(only.top, plain.bottom);
  EXPECT_LT(RectWidth(only), RectWidth(plain) / 2);
  EXPECT_NEAR(only.left, r.left, 2);
}

TEST(DrawTextDecorations, UnderlineAndStrikeOutSpanTheText) {
  LOGFONT lf = Font("Tahoma", -16);
  const RECT r{10, 10, 230, 60};
  EXPECT_TRUE(IsEmpty(DrawnInk(lf, "    ", r, DT_SINGLELINE)));
  Canvas probe(4, 4);
  UseFont use(probe.dc, lf);
  const LONG w = Extent(probe.dc, "    ").cx;
  const TEXTMETRIC tm = Metrics(probe.dc);
  lf.lfUnderline = 1;
  const RECT under = DrawnInk(lf, "    ", r, DT_SINGLELINE);
  EXPECT_EQ(under.left, r.left);
  EXPECT_EQ(under.right, r.left + w);
  EXPECT_GT(under.top, r.top + tm.tmAscent - 1);  // below the baseline
  EXPECT_LE(under.bottom, r.top + tm.tmHeight);
  lf.lfUnderline = 0;
  lf.lfStrikeOut = 1;
  const RECT strike = DrawnInk(lf, "    ", r, DT_SINGLELINE);
  EXPECT_EQ(RectWidth(strike), w);
  EXPECT_LT(strike.bottom, r.top + tm.tmAscent);  // above the baseline
  EXPECT_GT(strike.top, r.top + tm.tmInternalLeading);
}

TEST(DrawTextRtl, ReordersMixedTextAndLeavesLatinAlone) {
  const LOGFONT lf = Font("Tahoma", -16);
  const RECT r{10, 10, 230, 60};
  auto pixels = [&](const std::string& text, UINT format) {
    Canvas c(240, 70);
    c.Fill(kWhite);
    UseFont use(c.dc, lf);
    RECT box = r;
    DrawText(c.dc, text, &box, format | DT_SINGLELINE);
    std::vector<Pixel> out;
    for (int y = 0; y < 70; ++y) out.insert(out.end(), c.Pixels().Row(y), c.Pixels().Row(y) + 240);
    return out;
  };
  EXPECT_EQ(pixels("Hello world", 0), pixels("Hello world", DT_RTLREADING));
  const std::string mixed = "abc \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // abc, a Hebrew word
  EXPECT_NE(pixels(mixed, 0), pixels(mixed, DT_RTLREADING));
  // Right to left, the Latin word moves to the right end: compare where "abc" alone lands.
  const RECT abc = DrawnInk(lf, "abc", r, DT_SINGLELINE | DT_RIGHT);
  const RECT rtl = DrawnInk(lf, mixed, r, DT_SINGLELINE | DT_RIGHT | DT_RTLREADING);
  const RECT ltr = DrawnInk(lf, mixed, r, DT_SINGLELINE | DT_RIGHT);
  EXPECT_EQ(rtl.right, abc.right);
  EXPECT_NE(ltr.right, abc.right);
}

TEST(DrawTextEditControl, HidesAPartlyVisibleLastLine) {
  const LOGFONT lf = Font("Tahoma", -13);
  Canvas probe(4, 4);
  UseFont use(probe.dc, lf);
  const LONG h = Metrics(probe.dc).tmHeight;
  const RECT r{0, 0, 200, h + h / 2};
  const RECT plain = DrawnInk(lf, "one\ntwo", r, 0);
  const RECT edit = DrawnInk(lf, "one\ntwo", r, DT_EDITCONTROL);
  EXPECT_GT(plain.bottom, h);
  EXPECT_LE(edit.bottom, h);
}

TEST(TextOut, ReferencePointFollowsTheTextAlignment) {
  const LOGFONT lf = Font("Tahoma", -16);
  const POINT at{120, 40};
  Canvas probe(4, 4);
  UseFont use(probe.dc, lf);
  const std::string text = "HIH";  // no descenders, flat bottom on the baseline
  const LONG w = Extent(probe.dc, text).cx;
  const TEXTMETRIC tm = Metrics(probe.dc);
  auto ink = [&](UINT align) {
    Canvas c(240, 80);
    c.Fill(kWhite);
    UseFont f(c.dc, lf);
    SetBkMode(c.dc, TRANSPARENT);
    EXPECT_EQ(SetTextAlign(c.dc, align), 0u);
    EXPECT_EQ(GetTextAlign(c.dc), align);
    EXPECT_TRUE(TextOut(c.dc, at.x, at.y, text.data(), static_cast<int>(text.size())));
    return InkBox(c.Pixels(), kWhite);
  };
  const RECT base = ink(TA_LEFT | TA_TOP);
  EXPECT_NEAR(base.left, at.x, 2);
  EXPECT_EQ(base.bottom, at.y + tm.tmAscent);
  struct Case {
    UINT align;
    int dx, dy;
  };
  const Case cases[] = {
      {TA_RIGHT | TA_TOP, -w, 0},
      {TA_CENTER | TA_TOP, -w / 2, 0},
      {TA_LEFT | TA_BASELINE, 0, -tm.tmAscent},
      {TA_LEFT | TA_BOTTOM, 0, -tm.tmHeight},
      {TA_RIGHT | TA_BASELINE, -w, -tm.tmAscent},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.align);
    EXPECT_EQ(ink(k.align), Moved(base, k.dx, k.dy));
  }
}

TEST(TextOut, UpdateCurrentPositionAndViewportOrigin) {
  Canvas c(240, 80);
  c.Fill(kWhite);
  UseFont use(c.dc, Font("Tahoma", -16));
  SetBkMode(c.dc, TRANSPARENT);
  const LONG w = Extent(c.dc, "ab").cx;
  MoveToEx(c.dc, 10, 5, nullptr);
  SetTextAlign(c.dc, TA_UPDATECP);
  TextOut(c.dc, 200, 200, "ab", 2);  // the coordinates are ignored
  TextOut(c.dc, 200, 200, "ab", 2);
  POINT pos;
  MoveToEx(c.dc, 0, 0, &pos);
  EXPECT_EQ(pos, (POINT{10 + 2 * w, 5}));
  const RECT two = InkBox(c.Pixels(), kWhite);
  EXPECT_NEAR(two.left, 10, 2);
  EXPECT_NEAR(two.right, 10 + 2 * w, 2);

  Canvas d(240, 80);
  d.Fill(kWhite);
  UseFont f(d.dc, Font("Tahoma", -16));
  TextOut(d.dc, 10, 5, "ab", 2);
  const RECT plain = InkBox(d.Pixels(), kWhite);
  d.Fill(kWhite);
  SetViewportOrgEx(d.dc, 30, 20, nullptr);
  TextOut(d.dc, 10, 5, "ab", 2);
  EXPECT_EQ(InkBox(d.Pixels(), kWhite), Moved(plain, 30, 20));
}

TEST(ExtTextOut, OpaqueRectangleAndClipping) {
  Canvas c(240, 80);
  c.Fill(kWhite);
  UseFont use(c.dc, Font("Tahoma", -16));
  SetBkMode(c.dc, TRANSPARENT);
  SetBkColor(c.dc, RGB(0, 0, 255));
  const RECT box{5, 5, 50, 30};
  // The usual idiom: no text, just the opaque rectangle.
  EXPECT_TRUE(ExtTextOut(c.dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0));
  EXPECT_EQ(InkBox(c.Pixels(), kWhite), box);
  EXPECT_EQ(c.At(5, 5), ColorToPixel(RGB(0, 0, 255), 0));

  c.Fill(kWhite);
  const std::string text = "Brightness";
  ExtTextOut(c.dc, 10, 10, ETO_CLIPPED, &box, text.data(), static_cast<int>(text.size()));
  const RECT clipped = InkBox(c.Pixels(), kWhite);
  EXPECT_LE(clipped.right, box.right);
  c.Fill(kWhite);
  ExtTextOut(c.dc, 10, 10, 0, &box, text.data(), static_cast<int>(text.size()));
  EXPECT_GT(InkBox(c.Pixels(), kWhite).right, box.right);
  EXPECT_FALSE(ExtTextOut(nullptr, 0, 0, 0, nullptr, "a", 1));
}

}  // namespace
}  // namespace plat
