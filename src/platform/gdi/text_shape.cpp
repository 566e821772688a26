// From a line of UTF-8 to positioned glyphs in visual order: bidi levels (fribidi), runs of one
// level, face and script, each shaped by HarfBuzz in the context of the whole line.
#include <fribidi.h>

#include <algorithm>
#include <vector>

#include "platform/base/utf.h"
#include "platform/gdi/font_face.h"

namespace plat {

namespace {

struct Run {
  std::size_t start = 0;
  std::size_t end = 0;
  std::uint8_t level = 0;
  std::uint8_t slot = 0;
  hb_script_t script = HB_SCRIPT_COMMON;
};

hb_buffer_t* SharedBuffer() {
  static const std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)> buffer(hb_buffer_create(),
                                                                                 &hb_buffer_destroy);
  return buffer.get();
}

bool Neutral(hb_script_t s) { return s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN; }

bool IsMark(hb_unicode_funcs_t* uf, char32_t c) {
  switch (hb_unicode_general_category(uf, c)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
      return true;
    default:
      return c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F);  // joiners and variation selectors stay with their base
  }
}

// Bidi levels for the line, with trailing white space at the paragraph level. Left-to-right text
// with nothing that could be right-to-left skips fribidi altogether.
std::vector<std::uint8_t> Levels(const std::u32string& cps, bool rtl) {
  const std::size_t n = cps.size();
  std::vector<std::uint8_t> levels(n, rtl ? 1 : 0);
  if (!rtl && std::all_of(cps.begin(), cps.end(), [](char32_t c) { return c < 0x590; })) return levels;
  std::vector<FriBidiCharType> types(n);
  std::vector<FriBidiBracketType> brackets(n);
  std::vector<FriBidiLevel> lv(n);
  const auto* text = reinterpret_cast<const FriBidiChar*>(cps.data());
  const auto len = static_cast<FriBidiStrIndex>(n);
  fribidi_get_bidi_types(text, len, types.data());
  fribidi_get_bracket_types(text, len, types.data(), brackets.data());
  FriBidiParType dir = rtl ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
  if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), len, &dir, lv.data())) return levels;
  if (!fribidi_reorder_line(0, types.data(), len, 0, dir, lv.data(), nullptr, nullptr)) return levels;
  for (std::size_t i = 0; i < n; ++i) levels[i] = static_cast<std::uint8_t>(lv[i]);
  return levels;
}

// Rule L2 over whole runs: from the highest level down to the lowest odd one, reverse every
// stretch of runs at that level or above.
void ReorderRuns(std::vector<Run>& runs) {
  std::uint8_t highest = 0;
  std::uint8_t lowestOdd = 255;
  for (const auto& r : runs) {
    highest = std::max(highest, r.level);
    if (r.level & 1) lowestOdd = std::min(lowestOdd, r.level);
  }
  for (int level = highest; level >= lowestOdd && level > 0; --level) {
    for (std::size_t i = 0; i < runs.size();) {
      if (runs[i].level < level) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < runs.size() && runs[j].level >= level) ++j;
      std::reverse(runs.begin() + static_cast<std::ptrdiff_t>(i), runs.begin() + static_cast<std::ptrdiff_t>(j));
      i = j;
    }
  }
}

constexpr int Round26(std::int64_t v) { return static_cast<int>((v + 32) >> 6); }

}  // namespace

std::shared_ptr<const gdi::ShapedRun> FontInstance::Shape(std::string_view text, bool rtl) const {
  if (!shapes_) shapes_ = std::make_unique<ShapeCache>();
  ShapeCache& cache = *shapes_;
  ++cache.clock;
  if (auto it = cache.map.find(ShapeCache::View{text, rtl}); it != cache.map.end()) {
    it->second.used = cache.clock;
    return it->second.run;
  }
  std::shared_ptr<const gdi::ShapedRun> run = ShapeUncached(text, rtl);
  if (cache.map.size() >= ShapeCache::kCapacity) {
    auto oldest = std::min_element(cache.map.begin(), cache.map.end(),
                                   [](const auto& a, const auto& b) { return a.second.used < b.second.used; });
    cache.map.erase(oldest);
  }
  cache.map.emplace(ShapeCache::Key{std::string(text), rtl}, ShapeCache::Entry{run, cache.clock});
  return run;
}

std::shared_ptr<gdi::ShapedRun> FontInstance::ShapeUncached(std::string_view text, bool rtl) const {
  ++shapeCount_;
  auto out = std::make_shared<gdi::ShapedRun>();
  if (slots_.empty() || text.empty()) return out;

  std::u32string cps;
  std::vector<std::uint32_t> offsets;
  cps.reserve(text.size());
  offsets.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    offsets.push_back(static_cast<std::uint32_t>(pos));
    char32_t c = NextCodePoint(text, pos);
    // Control characters take no room; HarfBuzz hides a zero-width space.
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) c = 0x200B;
    cps.push_back(c);
  }
  const std::size_t n = cps.size();

  hb_unicode_funcs_t* uf = hb_unicode_funcs_get_default();
  const std::vector<std::uint8_t> levels = Levels(cps, rtl);
  std::vector<std::uint8_t> slots(n);
  std::vector<hb_script_t> scripts(n);
  for (std::size_t i = 0; i < n; ++i) {
    slots[i] = i > 0 && IsMark(uf, cps[i]) ? slots[i - 1] : SlotFor(cps[i]);
    scripts[i] = hb_unicode_script(uf, cps[i]);
  }
  // Neutral characters join the script before them; leading ones the first real script.
  hb_script_t current = HB_SCRIPT_COMMON;
  for (std::size_t i = 0; i < n; ++i) {
    if (Neutral(scripts[i])) {
      scripts[i] = current;
    } else {
      if (Neutral(current))
        for (std::size_t k = 0; k < i; ++k) scripts[k] = scripts[i];
      current = scripts[i];
    }
  }

  std::vector<Run> runs;
  for (std::size_t i = 0; i < n; ++i) {
    if (runs.empty() || levels[i] != runs.back().level || slots[i] != runs.back().slot ||
        scripts[i] != runs.back().script)
      runs.push_back(Run{i, i, levels[i], slots[i], scripts[i]});
    runs.back().end = i + 1;
  }
  ReorderRuns(runs);

  static const hb_language_t japanese = hb_language_from_string("ja", -1);
  std::vector<std::int32_t> clusterAdvance(n, 0);
  std::vector<bool> clusterStart(n, false);
  hb_buffer_t* buf = SharedBuffer();
  std::int64_t pen = 0;
  for (const Run& r : runs) {
    const Slot& slot = *slots_[r.slot];
    hb_buffer_clear_contents(buf);
    hb_buffer_add_utf32(buf, reinterpret_cast<const std::uint32_t*>(cps.data()), static_cast<int>(n),
                        static_cast<unsigned>(r.start), static_cast<int>(r.end - r.start));
    hb_buffer_set_direction(buf, (r.level & 1) ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buf, r.script);
    if (japanese_ && (r.script == HB_SCRIPT_HAN || r.script == HB_SCRIPT_HIRAGANA || r.script == HB_SCRIPT_KATAKANA))
      hb_buffer_set_language(buf, japanese);
    hb_buffer_set_flags(buf, static_cast<hb_buffer_flags_t>(HB_BUFFER_FLAG_REMOVE_DEFAULT_IGNORABLES |
                                                            (r.start == 0 ? HB_BUFFER_FLAG_BOT : 0) |
                                                            (r.end == n ? HB_BUFFER_FLAG_EOT : 0)));
    hb_shape(slot.face->hb, buf, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
    for (unsigned k = 0; k < count; ++k) {
      // Whole-pixel advances, as the platform's text has: widths add up and glyphs sit alike.
      std::int32_t advance = (pos[k].x_advance + 32) & ~63;
      if (advance > 0) advance += slot.boldStrength;
      gdi::ShapedGlyph g;
      g.glyph = info[k].codepoint;
      g.cluster = offsets[info[k].cluster];
      g.slot = r.slot;
      g.x = Round26(pen + pos[k].x_offset);
      g.y = -Round26(pos[k].y_offset);
      g.advance = Round26(pen + advance) - Round26(pen);
      out->glyphs.push_back(g);
      clusterAdvance[info[k].cluster] += advance;
      clusterStart[info[k].cluster] = true;
      pen += advance;
    }
  }
  for (std::size_t i = 0; i < n; ++i)
    if (clusterStart[i]) out->clusters.push_back({offsets[i], clusterAdvance[i]});
  // Hidden characters belong to the cluster before them, or to the first one.
  if (out->clusters.empty()) out->clusters.push_back({0, 0});
  out->clusters.front().offset = 0;
  out->width = Round26(pen);
  return out;
}

}  // namespace plat
