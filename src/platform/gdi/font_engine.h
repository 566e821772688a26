#pragma once
// Inside the text code: logical fonts made concrete. A FontInstance is a primary face at a pixel
// size, the faces that stand in for characters it lacks, the metrics the platform reports, and
// the caches that let a caption drawn again skip fontconfig, shaping and rasterising.
// Everything runs on the user-interface thread.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/gdi/text.h"

namespace plat {
namespace gdi {

struct Face;
struct FallbackList;
struct FontObject;
struct DcObject;

// A grey-scale glyph image; left/top place its top-left corner relative to the pen on the
// baseline (y down, so top is usually negative).
struct GlyphImage {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width bytes a row
};

struct ShapedGlyph {
  std::uint32_t glyph = 0;
  std::uint32_t cluster = 0;                  // byte offset of the cluster's first character in the run's text
  std::int32_t x = 0;                         // pen position in pixels from the run's left edge
  std::int32_t y = 0;                         // baseline shift in pixels, y down
  std::int32_t advance = 0;                   // pixels up to the next glyph's pen position
  std::uint8_t slot = 0;                      // which face of the instance
  mutable const GlyphImage* image = nullptr;  // filled on first draw
};

// The advance of one cluster, in logical order; 26.6 fixed point.
struct ClusterAdvance {
  std::uint32_t offset = 0;
  std::int32_t advance = 0;
};

// A line of text shaped and put into visual order, left to right.
struct ShapedRun {
  std::vector<ShapedGlyph> glyphs;
  std::vector<ClusterAdvance> clusters;
  int width = 0;
};

// How a logical font maps onto fontconfig: the family asked for after the alias table.
std::string AliasedFamily(std::string_view faceName);

}  // namespace gdi

class FontInstance {
  struct Token {
    explicit Token() = default;
  };

 public:
  // Shared between logical fonts that ask for the same thing.
  static std::shared_ptr<const FontInstance> For(const LOGFONT& lf);
  explicit FontInstance(Token);
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;
  ~FontInstance();

  const TEXTMETRIC& Metrics() const { return metrics_; }
  const std::string& File() const { return file_; }
  int EmHeight() const { return em_; }
  bool Underline() const { return metrics_.tmUnderlined != 0; }
  bool StrikeOut() const { return metrics_.tmStruckOut != 0; }
  // Decoration lines: top offset from the baseline (y down) and thickness, in pixels.
  int UnderlineOffset() const { return underlineOffset_; }
  int UnderlineThickness() const { return underlineThickness_; }
  int StrikeOffset() const { return strikeOffset_; }
  int StrikeThickness() const { return strikeThickness_; }

  // Shapes one line (no line breaks are interpreted; control characters take no room), with a
  // right-to-left base direction when rtl is set. Cached by text.
  std::shared_ptr<const gdi::ShapedRun> Shape(std::string_view text, bool rtl) const;
  const gdi::GlyphImage& Glyph(const gdi::ShapedGlyph& g) const;

  // How many shaping and rasterising passes ran (for tests of the caches).
  std::uint64_t ShapeCount() const { return shapeCount_; }
  std::uint64_t RasterCount() const { return rasterCount_; }

  // Defined with the FreeType and HarfBuzz parts (font_face.h).
  struct Slot;
  struct ShapeCache;

 private:
  std::shared_ptr<gdi::ShapedRun> ShapeUncached(std::string_view text, bool rtl) const;
  std::uint8_t SlotFor(char32_t c) const;
  std::unique_ptr<Slot> MakeSlot(const std::string& file, int index) const;

  TEXTMETRIC metrics_{};
  std::string file_;
  int em_ = 16;
  int underlineOffset_ = 1;
  int underlineThickness_ = 1;
  int strikeOffset_ = -4;
  int strikeThickness_ = 1;
  bool bold_ = false;
  bool italic_ = false;
  bool japanese_ = false;
  std::shared_ptr<gdi::FallbackList> fallback_;
  mutable std::vector<std::unique_ptr<Slot>> slots_;
  mutable std::unordered_map<char32_t, std::uint8_t> charSlots_;
  mutable std::unordered_map<std::uint64_t, gdi::GlyphImage> glyphs_;
  mutable std::unique_ptr<ShapeCache> shapes_;
  mutable std::uint64_t shapeCount_ = 0;
  mutable std::uint64_t rasterCount_ = 0;
};

namespace gdi {
// The instance behind a logical font, made on first use and kept on the font object.
const FontInstance& InstanceOf(FontObject& font);
// The font selected into a context, or the default GUI font when that has gone.
const FontInstance& SelectedFont(DcObject& dc);
}  // namespace gdi

}  // namespace plat
