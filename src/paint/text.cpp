#include "paint/text.h"

#include <algorithm>

#include "framework/bitmap.h"
#include "framework/controls.h"
#include "framework/colors.h"
#include "paint/color_ops.h"
#include "paint/section_lookup.h"
#include "paint/section_skin_state.h"
#include "paint/text_coverage.h"
#include "platform/gdi/gdi.h"

namespace velmora {
namespace {

// The four outline sides in drawing order, with their offsets.
struct TOutline {
  TColor TsFontColor::*Side;
  int Dx, Dy;
};
constexpr TOutline kOutlines[] = {
    {&TsFontColor::Left, -1, 0}, {&TsFontColor::Top, 0, -1}, {&TsFontColor::Right, 1, 0}, {&TsFontColor::Bottom, 0, 1}};

// Dimmed text: 40 % of the font colour over the background colour.
TColor DisabledColor(TColor font, TColor background) {
  return static_cast<TColor>(WeighColors(fw::ColorToRGB(font), fw::ColorToRGB(background), 0.4));
}

void DrawInColor(plat::HDC dc, std::string_view text, const plat::RECT& rect, int dx, int dy, TColor color,
                 plat::UINT format) {
  plat::SetTextColor(dc, fw::ColorToRGB(color));
  DrawTextMoved(dc, text, rect, dx, dy, format);
}

// Outlines that are not -1, then the text, each colour passed through tint.
template <typename Tint>
void DrawOutlined(plat::HDC dc, std::string_view text, const plat::RECT& rect, const TsFontColor& colors,
                  plat::UINT format, Tint tint) {
  for (const TOutline& o : kOutlines)
    if (colors.*o.Side != -1) DrawInColor(dc, text, rect, o.Dx, o.Dy, tint(colors.*o.Side), format);
  DrawInColor(dc, text, rect, 0, 0, tint(colors.Color), format);
}

// Restores the context whatever the drawing did to it.
class TSavedContext {
 public:
  explicit TSavedContext(plat::HDC dc) : dc_(dc), saved_(dc ? plat::SaveDC(dc) : 0) {}
  ~TSavedContext() {
    if (dc_) plat::RestoreDC(dc_, saved_);
  }
  TSavedContext(const TSavedContext&) = delete;
  TSavedContext& operator=(const TSavedContext&) = delete;

 private:
  plat::HDC dc_;
  int saved_;
};

// Where the last code point of a UTF-8 text starts.
std::size_t LastCharacterStart(const std::string& text) {
  std::size_t n = text.size();
  while (n > 0 && (static_cast<unsigned char>(text[n - 1]) & 0xC0) == 0x80 && text.size() - n < 3) --n;
  return n > 0 ? n - 1 : 0;
}

bool OwnerTakesParentFont(TacPaintSkinState& state, const TsGenState& props) {
  const fw::TControl* owner = state.OwnerControl();
  if (!owner || !owner->Parent() || props.Transparency <= 0) return false;
  return !state.OwnerWindowed() || state.COC == 32 || state.COC == 33 || state.COC == 74;
}

}  // namespace

void WriteSectionText(fw::TCanvas& canvas, const std::string& text, bool enabled, const TacSkinIndex* skin,
                      int state, int sectionIndex, plat::UINT format, plat::RECT rect) {
  if (text.empty()) return;
  skin = SkinOrDefault(skin);
  plat::HDC dc = canvas.Handle();
  if (!dc) return;
  {
    TSavedContext saved(dc);
    dc = TextContext(canvas);
    plat::SetBkMode(dc, plat::TRANSPARENT);
    if (!ValidSection(skin, sectionIndex)) {
      DrawTextMoved(dc, text, rect, 0, 0, format);
    } else {
      const TsGeneralData& section = skin->gd[static_cast<std::size_t>(sectionIndex)];
      const TsFontColor& colors = section.Props[static_cast<std::size_t>(std::clamp(state, 0, 1))].FontColor;
      if (enabled)
        DrawOutlined(dc, text, rect, colors, format, [](TColor c) { return c; });
      else
        DrawInColor(dc, text, rect, 0, 0, DisabledColor(section.Props[0].FontColor.Color, section.Color), format);
    }
  }
  // Text drawn here leaves the background alone, and so does the caller's next text.
  plat::SetBkMode(dc, plat::TRANSPARENT);
}

void WriteControlText(fw::TCanvas& canvas, const std::string& text, bool enabled, bool hot,
                      TacPaintSkinState& state, plat::UINT format, plat::RECT rect) {
  if (text.empty()) return;
  const TacSkinIndex* skin = state.PaintIndex();
  if (hot && skin && state.SkinIndex >= 0 && state.SkinIndex == skin->ConstData.IndexWebBtn) {
    fw::TFontStyles style = canvas.Font().Style();
    style.Include(fw::fsUnderline);
    canvas.Font().SetStyle(style);
  }
  if (!canvas.Handle()) return;
  TSavedContext saved(canvas.Handle());
  const plat::HDC dc = TextContext(canvas);
  plat::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  plat::SetBkMode(dc, plat::TRANSPARENT);
  if (!state.IsSkinned() || state.FCustomFont) {
    if (enabled) {
      DrawTextMoved(dc, text, rect, 0, 0, format);
    } else {
      DrawInColor(dc, text, rect, 1, 1, fw::clBtnHighlight, format);
      DrawInColor(dc, text, rect, 0, 0, fw::clBtnShadow, format);
    }
    return;
  }
  const int s = hot ? 1 : 0;
  int sectionIndex = state.SkinIndex;
  if (OwnerTakesParentFont(state, skin->gd[static_cast<std::size_t>(sectionIndex)].Props[static_cast<std::size_t>(s)]))
    sectionIndex = state.ParentFontSection();
  if (!ValidSection(skin, sectionIndex)) {
    DrawTextMoved(dc, text, rect, 0, 0, format);
    return;
  }
  const TsGeneralData& section = skin->gd[static_cast<std::size_t>(sectionIndex)];
  const TsGenState& props = section.Props[static_cast<std::size_t>(s)];
  if (state.FCacheBmp && props.GlowSize != 0) {
    TacGlowMask once;
    DrawTextGlow(*state.FCacheBmp, text, rect, once, state.Tinted(props.GlowColor), props.GlowSize,
                 kGlowLeft | kGlowTop | kGlowRight | kGlowBottom, format);
  }
  if (!enabled) {
    DrawInColor(dc, text, rect, 0, 0, state.Tinted(DisabledColor(section.FontColor.Color, skin->Palette[0])), format);
    return;
  }
  DrawOutlined(dc, text, rect, props.FontColor, format | plat::DT_NOCLIP,
               [&state](TColor c) { return state.Tinted(c); });
}

void WriteText32(fw::TBitmap& bitmap, std::string_view text, TColor color, plat::UINT format,
                 const plat::RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  plat::Bitmap* pixels = bitmap.Pixels();
  if (text.empty() || width <= 0 || height <= 0 || !pixels || pixels->Format() != plat::PixelFormat::Bgra32) return;
  // Nothing of the rectangle on the bitmap: nothing to draw, and no reason to lay the text out.
  const int x0 = std::max(0, -rect.left), x1 = std::min(width, pixels->Width() - rect.left);
  const int y0 = std::max(0, -rect.top), y1 = std::min(height, pixels->Height() - rect.top);
  if (x0 >= x1 || y0 >= y1) return;
  const TacTextCoverage& coverage = TextCoverage(bitmap.Canvas().Font(), text, format, width, height);
  const plat::Pixel c = plat::ColorToPixel(fw::ColorToRGB(color));
  const int cb = static_cast<int>(plat::PixelB(c)), cg = static_cast<int>(plat::PixelG(c)),
            cr = static_cast<int>(plat::PixelR(c));
  for (int y = y0; y < y1; ++y) {
    const auto [first, last] = coverage.Spans[static_cast<std::size_t>(y)];
    const int from = std::max(first, x0), to = std::min(last, x1);
    if (from >= to) continue;
    const plat::Pixel* m = coverage.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    plat::Pixel* d = pixels->Row(rect.top + y) + rect.left;
    for (int x = from; x < to; ++x) {
      if (m[x] == kUncovered) continue;
      // ((d - c) * m + c * 256) >> 8, per channel with that channel's coverage
      auto channel = [](int dst, int col, int cov) { return static_cast<plat::BYTE>(((dst - col) * cov + col * 256) >> 8); };
      const plat::Pixel p = d[x], cov = m[x];
      d[x] = plat::MakePixel(channel(static_cast<int>(plat::PixelR(p)), cr, static_cast<int>(plat::PixelR(cov))),
                             channel(static_cast<int>(plat::PixelG(p)), cg, static_cast<int>(plat::PixelG(cov))),
                             channel(static_cast<int>(plat::PixelB(p)), cb, static_cast<int>(plat::PixelB(cov))), 255);
    }
  }
}

void WriteSectionText32(fw::TBitmap& bitmap, const std::string& text, bool enabled, const TacSkinIndex* skin,
                        bool hot, int sectionIndex, plat::UINT format, const plat::RECT& rect) {
  if (text.empty() || plat::IsRectEmpty(&rect)) return;
  skin = SkinOrDefault(skin);
  if (!ValidSection(skin, sectionIndex)) {
    WriteText32(bitmap, text, bitmap.Canvas().Font().Color(), format, rect);
    return;
  }
  const TsGeneralData& section = skin->gd[static_cast<std::size_t>(sectionIndex)];
  const TsFontColor& colors = section.Props[hot && section.States > 0 ? 1 : 0].FontColor;
  if (enabled)
    for (const TOutline& o : kOutlines)
      if (colors.*o.Side != -1) {
        plat::RECT moved = rect;
        plat::OffsetRect(&moved, o.Dx, o.Dy);
        WriteText32(bitmap, text, colors.*o.Side, format, moved);
      }
  WriteText32(bitmap, text, colors.Color, format, rect);
}

std::string FitWithEllipsis(fw::TCanvas& canvas, const std::string& text, int width) {
  if (width <= 0) return {};
  std::string result = text;
  if (result.empty() || canvas.TextWidth(result) <= width) return result;
  do {
    result.resize(LastCharacterStart(result));
  } while (!result.empty() && canvas.TextWidth(result + "...") > width);
  return result.empty() ? result : result + "...";
}

}  // namespace velmora
