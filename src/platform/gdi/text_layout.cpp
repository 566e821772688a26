#include "platform/gdi/text_layout.h"

#include <algorithm>
#include <limits>
#include <string>

#include "platform/base/utf.h"

namespace plat::gdi {

namespace {

constexpr std::u32string_view kNoLineStart =
    U"、。，．・：；？！）」』】〕〉》〙〗｝］％’”ー々ゝゞヽヾぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ゛゜〜～"
    U")]},.:;!?%";
constexpr std::u32string_view kNoLineEnd = U"（「『【〔〈《〘〖｛［‘“([{";

// Characters set solid in East Asian text, between which lines may break.
bool Wide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

bool Space(char32_t c) { return c == ' ' || c == '\t'; }

char32_t FirstCodePoint(std::string_view s) {
  std::size_t pos = 0;
  return s.empty() ? 0 : NextCodePoint(s, pos);
}
char32_t LastCodePoint(std::string_view s) {
  if (s.empty()) return 0;
  std::size_t pos = s.size() - 1;
  while (pos > 0 && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80) --pos;
  return NextCodePoint(s, pos);
}

// One cluster of a paragraph, or one tab when tabs are expanded.
struct Item {
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  std::int32_t advance = 0;  // 26.6
  bool tab = false;
  bool space = false;
  char32_t first = 0;
  char32_t last = 0;
};

class Layouter {
 public:
  Layouter(const FontInstance& font, int width, UINT flags, int tabChars) : font_(font), width_(width), flags_(flags) {
    const int tabPx = std::max(1, (tabChars > 0 ? tabChars : 8) * static_cast<int>(font.Metrics().tmAveCharWidth));
    tab26_ = static_cast<std::int64_t>(tabPx) * 64;
    rtl_ = (flags & DT_RTLREADING) != 0;
    out_.lineHeight = static_cast<int>(font.Metrics().tmHeight) +
                      ((flags & DT_EXTERNALLEADING) ? static_cast<int>(font.Metrics().tmExternalLeading) : 0);
  }

  TextLayout Run(std::string_view text) {
    std::string stripped;
    if (!(flags_ & DT_NOPREFIX) && text.find('&') != std::string_view::npos) {
      stripped.reserve(text.size());
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
          stripped += text[i];
        } else if (i + 1 < text.size()) {
          ++i;
          if (text[i] != '&') prefixes_.push_back(static_cast<std::uint32_t>(stripped.size()));
          stripped += text[i];
        }
      }
      text = stripped;
    }
    text_ = text;

    if (flags_ & DT_SINGLELINE) {
      Paragraph(0, text.size());
    } else {
      std::size_t start = 0;
      while (true) {
        const std::size_t nl = text.find_first_of("\r\n", start);
        if (nl == std::string_view::npos) {
          if (start < text.size() || out_.lines.empty()) Paragraph(start, text.size());
          break;
        }
        Paragraph(start, nl);
        start = nl + (text[nl] == '\r' && nl + 1 < text.size() && text[nl + 1] == '\n' ? 2 : 1);
      }
    }
    for (const auto& l : out_.lines) out_.width = std::max(out_.width, l.width);
    return std::move(out_);
  }

 private:
  bool Wrap() const { return (flags_ & DT_WORDBREAK) && !(flags_ & DT_SINGLELINE); }
  bool Ellipsis() const { return (flags_ & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) != 0; }
  bool ExpandTabs() const { return (flags_ & DT_EXPANDTABS) != 0; }
  std::int64_t NextTab26(std::int64_t x) const { return (x / tab26_ + 1) * tab26_; }
  int NextTabPx(int x) const {
    const int tab = static_cast<int>(tab26_ / 64);
    return (x / tab + 1) * tab;
  }

  void Paragraph(std::size_t start, std::size_t end) {
    const std::string_view para = text_.substr(start, end - start);
    const bool tabs = ExpandTabs() && para.find('\t') != std::string_view::npos;
    if (!Wrap() && !tabs) {
      auto run = font_.Shape(para, rtl_);
      if (!Ellipsis() || run->width <= width_) {
        LaidLine line;
        line.start = static_cast<std::uint32_t>(start);
        line.end = static_cast<std::uint32_t>(end);
        line.width = run->width;
        Underlines(line, run, start, end, 0);
        line.pieces.push_back({std::move(run), 0});
        out_.lines.push_back(std::move(line));
        return;
      }
    }
    std::vector<Item> items = Items(start, end);
    if (!Wrap()) {
      Line(items, 0, items.size(), start);
      return;
    }
    std::size_t s = 0;
    const std::int64_t limit = static_cast<std::int64_t>(width_) * 64;
    do {
      std::int64_t x = 0;
      std::size_t brk = 0;  // start of the next line at the last break opportunity
      std::size_t next = items.size();
      for (std::size_t i = s; i < items.size(); ++i) {
        if (i > s && CanBreakBefore(items, i)) brk = i;
        const std::int64_t after = items[i].tab ? NextTab26(x) : x + items[i].advance;
        if (!items[i].space && after > limit) {
          if (brk > s) {
            next = brk;
          } else if (flags_ & DT_EDITCONTROL) {
            next = i > s ? i : i + 1;
          } else {
            next = i + 1;
            while (next < items.size() && !CanBreakBefore(items, next)) ++next;
          }
          break;
        }
        x = after;
      }
      std::size_t end = next;
      while (end > s && items[end - 1].space && next < items.size()) --end;
      Line(items, s, end, start);
      s = next;
    } while (s < items.size());
  }

  bool CanBreakBefore(const std::vector<Item>& items, std::size_t i) const {
    const Item& prev = items[i - 1];
    const Item& cur = items[i];
    if (cur.space) return false;
    if (prev.space) return true;
    return CanBreakBetween(prev.last, cur.first, flags_);
  }

  std::vector<Item> Items(std::size_t start, std::size_t end) const {
    std::vector<Item> items;
    std::size_t p = start;
    while (true) {
      std::size_t q = ExpandTabs() ? text_.find('\t', p) : std::string_view::npos;
      if (q == std::string_view::npos || q > end) q = end;
      if (q > p) {
        const std::string_view piece = text_.substr(p, q - p);
        auto run = font_.Shape(piece, rtl_);
        for (std::size_t k = 0; k < run->clusters.size(); ++k) {
          Item it;
          it.start = static_cast<std::uint32_t>(p + run->clusters[k].offset);
          it.end = static_cast<std::uint32_t>(k + 1 < run->clusters.size() ? p + run->clusters[k + 1].offset : q);
          it.advance = run->clusters[k].advance;
          const std::string_view s = text_.substr(it.start, it.end - it.start);
          it.first = FirstCodePoint(s);
          it.last = LastCodePoint(s);
          it.space = Space(it.first) && it.end - it.start == 1;
          items.push_back(it);
        }
      }
      if (q >= end) break;
      Item tab;
      tab.start = static_cast<std::uint32_t>(q);
      tab.end = tab.start + 1;
      tab.tab = tab.space = true;
      tab.first = tab.last = '\t';
      items.push_back(tab);
      p = q + 1;
    }
    return items;
  }

  void Line(const std::vector<Item>& items, std::size_t a, std::size_t b, std::size_t paraStart) {
    bool ellipsis = false;
    if (Ellipsis()) {
      std::int64_t x = 0;
      for (std::size_t i = a; i < b; ++i) x = items[i].tab ? NextTab26(x) : x + items[i].advance;
      if (x > static_cast<std::int64_t>(width_) * 64) {
        // The most characters that leave room for the dots.
        const std::int64_t room = static_cast<std::int64_t>(width_ - font_.Shape("...", rtl_)->width) * 64;
        std::size_t k = a;
        x = 0;
        while (k < b) {
          const std::int64_t after = items[k].tab ? NextTab26(x) : x + items[k].advance;
          if (after > room) break;
          x = after;
          ++k;
        }
        while (k > a && items[k - 1].space) --k;
        b = k;
        ellipsis = true;
      }
    }

    LaidLine line;
    line.start = static_cast<std::uint32_t>(a < items.size() ? items[a].start : paraStart);
    line.end = b > a ? items[b - 1].end : line.start;
    int x = 0;
    std::size_t i = a;
    while (i < b || ellipsis) {
      if (i < b && items[i].tab) {
        x = NextTabPx(x);
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < b && !items[j].tab) ++j;
      const std::size_t start = i < b ? items[i].start : line.end;
      const std::size_t end = i < b ? items[j - 1].end : start;
      const bool last = j == b && ellipsis;
      std::shared_ptr<const ShapedRun> run;
      if (last) {
        std::string s(text_.substr(start, end - start));
        s += "...";
        run = font_.Shape(s, rtl_);
        ellipsis = false;
      } else {
        run = font_.Shape(text_.substr(start, end - start), rtl_);
      }
      Underlines(line, run, start, end, x);
      line.pieces.push_back({run, x});
      x += run->width;
      i = j;
    }
    line.width = x;
    out_.lines.push_back(std::move(line));
  }

  // Prefix underlines under characters of a piece that starts at text offset start.
  void Underlines(LaidLine& line, const std::shared_ptr<const ShapedRun>& run, std::size_t start, std::size_t end,
                  int x) const {
    for (std::uint32_t p : prefixes_) {
      if (p < start || p >= end) continue;
      const auto local = static_cast<std::uint32_t>(p - start);
      std::uint32_t cluster = 0;
      for (const auto& c : run->clusters)
        if (c.offset <= local) cluster = c.offset;
      int from = std::numeric_limits<int>::max();
      int to = std::numeric_limits<int>::min();
      for (const auto& g : run->glyphs) {
        if (g.cluster != cluster) continue;
        from = std::min(from, g.x);
        to = std::max(to, g.x + g.advance);
      }
      if (from < to) line.underlines.emplace_back(x + from, x + to);
    }
  }

  const FontInstance& font_;
  const int width_;
  const UINT flags_;
  std::int64_t tab26_ = 64;
  bool rtl_ = false;
  std::string_view text_;
  std::vector<std::uint32_t> prefixes_;
  TextLayout out_;
};

}  // namespace

bool CanBreakBetween(char32_t prev, char32_t next, UINT flags) {
  if (Space(next)) return false;
  if (Space(prev)) return true;
  if (flags & DT_NOFULLWIDTHCHARBREAK) return false;
  if (!Wide(prev) && !Wide(next)) return false;
  return kNoLineStart.find(next) == std::u32string_view::npos && kNoLineEnd.find(prev) == std::u32string_view::npos;
}

TextLayout LayoutText(const FontInstance& font, std::string_view text, int width, UINT flags, int tabChars) {
  return Layouter(font, width, flags, tabChars).Run(text);
}

}  // namespace plat::gdi
