// Logical fonts: which face they resolve to, their metrics, fallback for missing characters,
// bidi ordering and the caches.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/gdi/font_engine.h"
#include "platform/gdi/objects.h"
#include "text_fixture.h"

namespace plat {
namespace {

using test::Font;

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

struct ResolveCase {
  const char* face;
  LONG weight;
  BYTE charSet;
  const char* file;
};

TEST(FontResolution, AliasesAndCharacterSets) {
  const ResolveCase cases[] = {
      {"ＭＳ ゴシック", FW_NORMAL, DEFAULT_CHARSET, "ipag.ttf"},
      {"MS Gothic", FW_NORMAL, SHIFTJIS_CHARSET, "ipag.ttf"},
      {"ＭＳ Ｐゴシック", FW_NORMAL, SHIFTJIS_CHARSET, "ipagp.ttf"},
      {"MS PGothic", FW_NORMAL, DEFAULT_CHARSET, "ipagp.ttf"},
      {"MS UI Gothic", FW_NORMAL, DEFAULT_CHARSET, "ipagp.ttf"},
      {"Tahoma", FW_NORMAL, DEFAULT_CHARSET, "DejaVuSans.ttf"},
      {"tahoma", FW_NORMAL, ANSI_CHARSET, "DejaVuSans.ttf"},
      {"MS Sans Serif", FW_NORMAL, DEFAULT_CHARSET, "DejaVuSans.ttf"},
      {"MS Shell Dlg", FW_NORMAL, DEFAULT_CHARSET, "DejaVuSans.ttf"},
      {"MS Shell Dlg 2", FW_NORMAL, DEFAULT_CHARSET, "DejaVuSans.ttf"},
      {"Segoe UI", FW_NORMAL, DEFAULT_CHARSET, "DejaVuSans.ttf"},
      {"", FW_NORMAL, DEFAULT_CHARSET, "DejaVuSans.ttf"},
      {"Tahoma", FW_BOLD, DEFAULT_CHARSET, "DejaVuSans-Bold.ttf"},
      {"Segoe UI", 600, DEFAULT_CHARSET, "DejaVuSans-Bold.ttf"},
      // A Japanese character set outranks a Latin face name.
      {"Tahoma", FW_NORMAL, SHIFTJIS_CHARSET, "ipag"},
      {"", FW_NORMAL, SHIFTJIS_CHARSET, "ipag"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " weight " + std::to_string(c.weight) + " charset " + std::to_string(c.charSet));
    const LOGFONT lf = Font(c.face, -12, c.weight, c.charSet);
    HFONT font = CreateFontIndirect(&lf);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(FileName(ResolvedFontFile(font)).rfind(c.file, 0), 0u) << ResolvedFontFile(font);
    DeleteObject(font);
  }
  EXPECT_EQ(ResolvedFontFile(nullptr), "");
}

TEST(FontResolution, CreateFontFillsTheLogicalFont) {
  HFONT font = CreateFont(-14, 0, 0, 0, FW_BOLD, TRUE, TRUE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0, "MS Gothic");
  LOGFONT lf;
  ASSERT_EQ(GetObject(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -14);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(lf.lfFaceName, "MS Gothic");
  EXPECT_EQ(GetObjectType(font), OBJ_FONT);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

struct MetricsCase {
  const char* face;
  LONG height;
  LONG weight;
  BYTE charSet;
  BYTE expectedCharSet;
};

TEST(FontMetrics, HeightsAndWidthsAreConsistent) {
  const MetricsCase cases[] = {
      {"Tahoma", -11, FW_NORMAL, DEFAULT_CHARSET, ANSI_CHARSET},
      {"Tahoma", -16, FW_BOLD, DEFAULT_CHARSET, ANSI_CHARSET},
      {"Tahoma", 20, FW_NORMAL, ANSI_CHARSET, ANSI_CHARSET},
      {"MS Gothic", -12, FW_NORMAL, SHIFTJIS_CHARSET, SHIFTJIS_CHARSET},
      {"MS UI Gothic", 15, FW_BOLD, DEFAULT_CHARSET, SHIFTJIS_CHARSET},
      {"Segoe UI", 0, FW_DONTCARE, DEFAULT_CHARSET, ANSI_CHARSET},
  };
  test::Canvas c(4, 4);
  for (const auto& m : cases) {
    SCOPED_TRACE(std::string(m.face) + " " + std::to_string(m.height));
    test::UseFont use(c.dc, Font(m.face, m.height, m.weight, m.charSet));
    const TEXTMETRIC tm = test::Metrics(c.dc);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GT(tm.tmAscent, tm.tmDescent);
    EXPECT_GT(tm.tmDescent, 0);
    const LONG em = m.height < 0 ? -m.height : m.height > 0 ? 0 : 16;
    if (m.height > 0) {
      EXPECT_EQ(tm.tmHeight, m.height);
    } else {
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, em);
    }
    EXPECT_GE(tm.tmInternalLeading, 0);
    EXPECT_GE(tm.tmExternalLeading, 0);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_LT(tm.tmAveCharWidth, tm.tmHeight);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_EQ(tm.tmWeight, m.weight ? m.weight : FW_NORMAL);
    EXPECT_EQ(tm.tmCharSet, m.expectedCharSet);
    EXPECT_EQ(tm.tmItalic, 0);
  }
}

TEST(FontMetrics, StyleFlagsAndTheDefaultFont) {
  test::Canvas c(4, 4);
  LOGFONT lf = Font("Tahoma", -13);
  lf.lfItalic = 1;
  lf.lfUnderline = 1;
  lf.lfStrikeOut = 1;
  {
    test::UseFont use(c.dc, lf);
    const TEXTMETRIC tm = test::Metrics(c.dc);
    EXPECT_EQ(tm.tmItalic, 1);
    EXPECT_EQ(tm.tmUnderlined, 1);
    EXPECT_EQ(tm.tmStruckOut, 1);
  }
  // A fresh context has the default GUI font; a deleted selection falls back to it.
  const TEXTMETRIC gui = test::Metrics(c.dc);
  EXPECT_GT(gui.tmHeight, 8);
  HFONT gone = CreateFontIndirect(&lf);
  HGDIOBJ old = SelectObject(c.dc, gone);
  SelectObject(c.dc, old);
  DeleteObject(gone);
  SelectObject(c.dc, gone);  // refused: the handle is stale
  EXPECT_EQ(test::Metrics(c.dc).tmHeight, gui.tmHeight);
  TEXTMETRIC tm;
  EXPECT_FALSE(GetTextMetrics(nullptr, &tm));
  EXPECT_FALSE(GetTextMetrics(c.dc, nullptr));
}

TEST(TextExtent, AddsUpAdvancesAndAnswersTheCellHeight) {
  test::Canvas c(4, 4);
  test::UseFont use(c.dc, Font("Tahoma", -16));
  const TEXTMETRIC tm = test::Metrics(c.dc);
  EXPECT_EQ(test::Extent(c.dc, ""), (SIZE{0, tm.tmHeight}));
  const SIZE one = test::Extent(c.dc, "0");
  EXPECT_GT(one.cx, 0);
  EXPECT_EQ(one.cy, tm.tmHeight);
  EXPECT_EQ(test::Extent(c.dc, "0000").cx, 4 * one.cx);  // digits share one advance
  EXPECT_GT(test::Extent(c.dc, "Brightness 明るさ").cx, test::Extent(c.dc, "Brightness").cx + 2 * 16);
  SIZE s;
  EXPECT_TRUE(GetTextExtentPoint32(c.dc, "0000", 2, &s));
  EXPECT_EQ(s.cx, 2 * one.cx);
  EXPECT_FALSE(GetTextExtentPoint32(c.dc, nullptr, 3, &s));
  EXPECT_FALSE(GetTextExtentPoint32(nullptr, "a", 1, &s));
}

TEST(FontFallback, JapaneseRendersInAnyFace) {
  const std::string text = "輝度37％";
  for (const char* face : {"Tahoma", "Segoe UI", "MS Gothic", "No Such Face At All", ""}) {
    for (LONG weight : {FW_NORMAL, FW_BOLD}) {
      SCOPED_TRACE(std::string(face) + " " + std::to_string(weight));
      auto font = FontInstance::For(Font(face, -16, weight));
      auto run = font->Shape(text, false);
      ASSERT_EQ(run->glyphs.size(), 5u);
      for (const auto& g : run->glyphs) EXPECT_NE(g.glyph, 0u) << "cluster " << g.cluster;  // no missing-glyph box
      EXPECT_GE(run->width, 3 * 16);
    }
  }
  // In a Latin face the ideographs come from another face, the digits from its own.
  auto tahoma = FontInstance::For(Font("Tahoma", -16));
  auto run = tahoma->Shape(text, false);
  EXPECT_NE(run->glyphs[0].slot, 0);
  EXPECT_EQ(run->glyphs[2].slot, 0);
}

// Left edges of the glyphs for each byte offset, in the order given.
std::vector<int> XsOf(const gdi::ShapedRun& run, std::initializer_list<std::uint32_t> clusters) {
  std::vector<int> xs;
  for (auto c : clusters) {
    auto it = std::find_if(run.glyphs.begin(), run.glyphs.end(), [&](const auto& g) { return g.cluster == c; });
    xs.push_back(it == run.glyphs.end() ? -1 : it->x);
  }
  return xs;
}

TEST(TextShaping, BidiOrdering) {
  auto font = FontInstance::For(Font("Tahoma", -16));
  // "abc אבג": Latin first; Hebrew letters are two bytes each, from offset 4.
  const std::string mixed = "abc \xD7\x90\xD7\x91\xD7\x92";
  auto ltr = font->Shape(mixed, false);
  auto rtl = font->Shape(mixed, true);
  const auto l = XsOf(*ltr, {0, 1, 2, 4, 6, 8});
  const auto r = XsOf(*rtl, {0, 1, 2, 4, 6, 8});
  // Left to right: a b c, then the Hebrew word read from its right end.
  EXPECT_LT(l[0], l[1]);
  EXPECT_LT(l[2], l[5]);
  EXPECT_GT(l[3], l[4]);
  EXPECT_GT(l[4], l[5]);
  // Right to left: the Hebrew word comes first, at the right of the Latin one, which keeps its
  // own order.
  EXPECT_LT(r[0], r[1]);
  EXPECT_GT(r[3], r[4]);
  EXPECT_LT(r[3], r[0]);
  EXPECT_EQ(ltr->width, rtl->width);

  // Left-to-right text stays as it is, except neutral characters at its ends.
  auto plain = font->Shape("Hello", false);
  auto plainRtl = font->Shape("Hello", true);
  EXPECT_EQ(XsOf(*plain, {0, 1, 2, 3, 4}), XsOf(*plainRtl, {0, 1, 2, 3, 4}));
  auto bang = font->Shape("Hello!", true);
  EXPECT_EQ(XsOf(*bang, {5})[0], 0);  // the "!" goes to the left end
  EXPECT_GT(XsOf(*bang, {0})[0], 0);
}

TEST(TextShaping, ArabicJoinsAndRunsRightToLeft) {
  auto font = FontInstance::For(Font("Tahoma", -16));
  const std::string word = "\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85";  // salam: four letters, two bytes each
  auto run = font->Shape(word, true);
  ASSERT_FALSE(run->glyphs.empty());
  // The first letter is rightmost; joined forms differ from the letters' isolated ones.
  const auto xs = XsOf(*run, {0, 6});
  EXPECT_GT(xs[0], xs[1]);
  auto alone = font->Shape("\xD8\xB3", true);
  auto first = std::find_if(run->glyphs.begin(), run->glyphs.end(), [](const auto& g) { return g.cluster == 0; });
  EXPECT_NE(first->glyph, alone->glyphs[0].glyph);
}

TEST(TextCaches, SecondShapeAndDrawDoNoWork) {
  test::Canvas a(200, 40);
  test::Canvas b(200, 40);
  const LOGFONT lf = Font("Tahoma", -16);
  test::UseFont fa(a.dc, lf);
  test::UseFont fb(b.dc, lf);
  const FontInstance& font = gdi::InstanceOf(*gdi::Get<gdi::FontObject>(fa.font));
  EXPECT_EQ(&font, &gdi::InstanceOf(*gdi::Get<gdi::FontObject>(fb.font)));  // shared by equal fonts

  const std::string caption = "輝度37％ Cache 明るさ";
  RECT r{0, 0, 200, 40};
  a.Fill(test::kWhite);
  b.Fill(test::kWhite);
  DrawText(a.dc, caption, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  const auto shapes = font.ShapeCount();
  const auto rasters = font.RasterCount();
  DrawText(b.dc, caption, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  EXPECT_EQ(font.ShapeCount(), shapes);
  EXPECT_EQ(font.RasterCount(), rasters);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
  EXPECT_FALSE(IsEmpty(test::InkBox(a.Pixels(), test::kWhite)));
}

}  // namespace
}  // namespace plat
