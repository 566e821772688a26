#pragma once
// Texts drawn black on white by the platform's text layer, as the coverage that skinned text is
// blended through. Captions are drawn again and again with the same font, text and size, so the
// coverage is kept: an entry is reused only when the font's description, the text, the format
// and the rectangle's size all equal what it was drawn from, which is everything the drawing
// depends on.
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/color.h"
#include "platform/base/geometry.h"
#include "platform/gdi/text.h"

namespace fw {
class TBitmap;
class TCanvas;
class TFont;
}  // namespace fw

namespace velmora {

// Uncovered pixels of a coverage picture; compared on the low 24 bits.
inline constexpr plat::Pixel kUncovered = 0x00FFFFFF;

struct TacTextCoverage {
  int Width = 0;
  int Height = 0;
  std::vector<plat::Pixel> Pixels;          // Width x Height, row by row
  std::vector<std::pair<int, int>> Spans;   // per row: first covered column and one past the last
};

// The coverage of text laid out by format in a rectangle of width x height at (0, 0). The
// reference stays valid until the next call.
const TacTextCoverage& TextCoverage(const fw::TFont& font, std::string_view text, plat::UINT format, int width,
                                    int height);
// Forgets every kept coverage (fonts installed or removed at run time).
void ClearTextCoverage();

bool SameFont(const plat::LOGFONT& a, const plat::LOGFONT& b);

// The canvas's context with its font selected and the font's colour as text colour; null when
// the canvas has no context.
plat::HDC TextContext(fw::TCanvas& canvas);
// DrawText of text in rect moved by (dx, dy); the rectangle itself is left alone.
void DrawTextMoved(plat::HDC dc, std::string_view text, plat::RECT rect, int dx, int dy, plat::UINT format);

// A white 32-bit picture of width x height with the text drawn black in the font, at each of
// the offsets given and then in place.
void DrawBlackOnWhite(fw::TBitmap& picture, const fw::TFont& font, std::string_view text, const plat::RECT& rect,
                      plat::UINT format, const std::vector<plat::POINT>& extraOffsets = {});

}  // namespace velmora
