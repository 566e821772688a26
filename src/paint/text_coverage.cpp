#include "paint/text_coverage.h"

#include <algorithm>
#include <list>
#include <string>

#include "framework/bitmap.h"
#include "framework/colors.h"
#include "platform/gdi/gdi.h"

namespace velmora {
namespace {

// Enough for every caption state of a few windows; a picture larger than kMaxKeptPixels is drawn
// for the call only.
constexpr std::size_t kMaxKept = 32;
constexpr int kMaxKeptPixels = 512 * 512;

struct TKept {
  plat::LOGFONT Font;
  std::string Text;
  plat::UINT Format = 0;
  TacTextCoverage Coverage;
};

std::list<TKept>& Kept() {
  static std::list<TKept> kept;
  return kept;
}

void Render(TacTextCoverage& out, const fw::TFont& font, std::string_view text, plat::UINT format, int width,
            int height) {
  fw::TBitmap picture(width, height);
  DrawBlackOnWhite(picture, font, text, {0, 0, width, height}, format);
  out.Width = width;
  out.Height = height;
  out.Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  out.Spans.assign(static_cast<std::size_t>(height), {0, 0});
  const plat::Bitmap* pixels = picture.Pixels();
  for (int y = 0; y < height; ++y) {
    const plat::Pixel* row = pixels->Row(y);
    plat::Pixel* dst = out.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    int first = width, last = -1;
    for (int x = 0; x < width; ++x) {
      dst[x] = row[x] & 0x00FFFFFF;
      if (dst[x] != kUncovered) {
        first = std::min(first, x);
        last = x;
      }
    }
    if (last >= 0) out.Spans[static_cast<std::size_t>(y)] = {first, last + 1};
  }
}

}  // namespace

bool SameFont(const plat::LOGFONT& a, const plat::LOGFONT& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
         a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
         a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
         a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily && a.lfFaceName == b.lfFaceName;
}

const TacTextCoverage& TextCoverage(const fw::TFont& font, std::string_view text, plat::UINT format, int width,
                                    int height) {
  const plat::LOGFONT logFont = font.LogFont();
  std::list<TKept>& kept = Kept();
  for (auto it = kept.begin(); it != kept.end(); ++it) {
    if (it->Coverage.Width != width || it->Coverage.Height != height || it->Format != format || it->Text != text ||
        !SameFont(it->Font, logFont))
      continue;
    if (it != kept.begin()) kept.splice(kept.begin(), kept, it);
    return kept.front().Coverage;
  }
  if (static_cast<long long>(width) * height > kMaxKeptPixels) {
    static TacTextCoverage once;
    Render(once, font, text, format, width, height);
    return once;
  }
  if (kept.size() >= kMaxKept) kept.pop_back();
  kept.push_front(TKept{logFont, std::string(text), format, {}});
  Render(kept.front().Coverage, font, text, format, width, height);
  return kept.front().Coverage;
}

void ClearTextCoverage() { Kept().clear(); }

plat::HDC TextContext(fw::TCanvas& canvas) {
  const plat::HDC dc = canvas.Handle();
  if (!dc) return nullptr;
  plat::SelectObject(dc, canvas.Font().Handle());
  plat::SetTextColor(dc, fw::ColorToRGB(canvas.Font().Color()));
  return dc;
}

void DrawTextMoved(plat::HDC dc, std::string_view text, plat::RECT rect, int dx, int dy, plat::UINT format) {
  plat::OffsetRect(&rect, dx, dy);
  plat::DrawText(dc, text.data(), static_cast<int>(text.size()), &rect, format);
}

void DrawBlackOnWhite(fw::TBitmap& picture, const fw::TFont& font, std::string_view text, const plat::RECT& rect,
                      plat::UINT format, const std::vector<plat::POINT>& extraOffsets) {
  fw::TCanvas& canvas = picture.Canvas();
  canvas.Brush().SetColor(fw::clWhite);
  canvas.Brush().SetStyle(fw::bsSolid);
  canvas.FillRect({0, 0, picture.Width(), picture.Height()});
  canvas.Font().Assign(&font);
  canvas.Font().SetColor(fw::clBlack);
  const plat::HDC dc = TextContext(canvas);
  if (!dc) return;
  plat::SetBkMode(dc, plat::TRANSPARENT);
  for (const plat::POINT& offset : extraOffsets) DrawTextMoved(dc, text, rect, offset.x, offset.y, format);
  DrawTextMoved(dc, text, rect, 0, 0, format);
}

}  // namespace velmora
