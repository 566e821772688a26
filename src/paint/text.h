#pragma once
// Captions in a skin's colours: on a device context (with one-pixel outlines, dimmed when
// disabled), onto 32-bit pictures whose covered pixels become opaque, and with a blurred glow.
// Layout (alignment, wrapping, ellipsis, reading order) is the caller's DrawText format, passed
// through; the font is the canvas's. Nothing here reports: empty texts, empty rectangles and
// unknown sections draw plainly or not at all.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/gdi/text.h"
#include "skin/sStyleSimply.h"

namespace fw {
class TBitmap;
class TCanvas;
}  // namespace fw

namespace velmora {

class TacSkinIndex;
class TacPaintSkinState;

// Text in the colours of a section's state (0 normal, 1 hot) on the canvas's context: each
// outline colour that is not -1 one pixel off (left, top, right, bottom), then the font colour.
// Disabled text is drawn once, 40 % font colour over 60 % section colour. A missing skin means
// the default manager's; an unknown section draws in the canvas font's colour.
void WriteSectionText(fw::TCanvas& canvas, const std::string& text, bool enabled, const TacSkinIndex* skin,
                      int state, int sectionIndex, plat::UINT format, plat::RECT rect);

// A control's caption in its skin state's colours, clipped to rect, with the state's glow drawn
// first into the state's cached picture. Unskinned controls and custom fonts draw plainly, or
// engraved when disabled.
void WriteControlText(fw::TCanvas& canvas, const std::string& text, bool enabled, bool hot,
                      TacPaintSkinState& state, plat::UINT format, plat::RECT rect);

// Text of one colour onto a 32-bit bitmap in its canvas's font. Each channel of a covered pixel
// becomes ((d - c) * m + c * 256) >> 8 with m the text's coverage of that channel (0 fully
// covered), and its alpha 255; uncovered pixels stay as they were.
void WriteText32(fw::TBitmap& bitmap, std::string_view text, TColor color, plat::UINT format,
                 const plat::RECT& rect);

// WriteText32 in the colours of a section, outlines first when enabled.
void WriteSectionText32(fw::TBitmap& bitmap, const std::string& text, bool enabled, const TacSkinIndex* skin,
                        bool hot, int sectionIndex, plat::UINT format, const plat::RECT& rect);

// The blurred picture of a text that a glow is drawn from: 8-bit grey, white where there is no
// text. The caller keeps it between calls; it is made again only when what it shows changes.
struct TacGlowMask {
  std::unique_ptr<fw::TBitmap> Bmp;
  // What Bmp was made for.
  std::string Text;
  plat::LOGFONT Font;
  int Size = 0;
  int OutlineFlags = 0;
  plat::UINT Format = 0;

  TacGlowMask();
  ~TacGlowMask();
  TacGlowMask(TacGlowMask&&) noexcept;
  TacGlowMask& operator=(TacGlowMask&&) noexcept;
};

// Outline flags of a glow: the text is also drawn one pixel off to these sides.
inline constexpr int kGlowLeft = 1, kGlowTop = 2, kGlowRight = 4, kGlowBottom = 8;

// A glow of the colour around the text, whose rectangle is taken one pixel down and right; the
// glow reaches size + 4 pixels beyond it. Where the blurred text is darkest the glow colour is
// strongest and the pixel opaque.
void DrawTextGlow(fw::TBitmap& bitmap, const std::string& text, const plat::RECT& rect, TacGlowMask& mask,
                  TColor glowColor, int size, int outlineFlags, plat::UINT format);

// The normalised Gaussian weights from -r to r for a radius, the kernel cut where the two tails
// beyond it add up to 1/510 (half a grey level) or more, r at least 1.
std::vector<double> BlurKernel(double radius);
// Gaussian blur in place, rows then columns, ends repeating the edge pixel; only 8-bit grey
// bitmaps are blurred, and only for a positive radius.
void BlurGray8(fw::TBitmap& bitmap, double radius);

// The text cut to fit width (in the canvas's font), "..." appended when anything was cut; empty
// when not even "..." fits or width is 0 or less.
std::string FitWithEllipsis(fw::TCanvas& canvas, const std::string& text, int width);

}  // namespace velmora
