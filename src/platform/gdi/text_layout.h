#pragma once
// Inside the text code: DrawText's lines. Prefix characters, line breaks, tab stops, word wrap
// and end ellipses turn a string into lines of shaped pieces; where the lines go in a rectangle
// is left to the caller.
#include <memory>
#include <string_view>
#include <vector>

#include "platform/gdi/font_engine.h"

namespace plat::gdi {

struct LaidPiece {
  std::shared_ptr<const ShapedRun> run;
  int x = 0;  // from the line's left edge
};

struct LaidLine {
  std::uint32_t start = 0;  // the characters shown, as a byte range of the text without prefixes
  std::uint32_t end = 0;
  std::vector<LaidPiece> pieces;
  int width = 0;
  std::vector<std::pair<int, int>> underlines;  // prefix underlines, x from and to
};

struct TextLayout {
  std::vector<LaidLine> lines;
  int width = 0;  // of the widest line
  int lineHeight = 0;
  int Height() const { return static_cast<int>(lines.size()) * lineHeight; }
};

// Word wrap works in units of lines no wider than width. A word longer than a line overflows
// it, as on the platform, unless DT_EDITCONTROL asks to break it between characters. Inside
// Chinese and Japanese text a line may break between any two characters, except before closing
// marks ("、。）％" and the like) and after opening ones. Flags in the DT_TABSTOP byte must be
// masked out by the caller, which passes the tab size (in average character widths) apart.
TextLayout LayoutText(const FontInstance& font, std::string_view text, int width, UINT flags, int tabChars = 8);

// Where a line break may fall between two characters (prev ends one cluster, next starts the
// following one).
bool CanBreakBetween(char32_t prev, char32_t next, UINT flags);

}  // namespace plat::gdi
