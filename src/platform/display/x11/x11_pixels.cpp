// Pixel work of the X11 display that needs no server: what an ARGB window holds for a layered
// picture, which pixels take the pointer, and masks as rectangles for XShape.
#include <algorithm>

#include "platform/base/pixel_math.h"
#include "platform/base/pixel_rows.h"
#include "platform/display/x11/x11_internal.h"

namespace plat::display {

namespace {

bool Keyed(Pixel p, const Blend& blend) {
  return blend.colorKey && (p & 0x00FFFFFFu) == ColorToPixel(*blend.colorKey, 0);
}

}  // namespace

// The same cases as the headless screen's composition, stopping short of the "over": the
// compositing manager does that part.
void ToArgbRow(const Pixel* src, Pixel* dst, int n, const Blend& blend) {
  const std::uint32_t alpha = blend.constantAlpha;
  const Pixel setBits = blend.perPixel ? 0 : 0xFF000000u;
  if (!blend.colorKey) {
    if (alpha != 255)
      ScaleRow(dst, src, n, alpha, setBits);
    else if (blend.perPixel)
      std::copy_n(src, n, dst);
    else
      CopyRowOpaque(dst, src, n);
    return;
  }
  for (int i = 0; i < n; ++i) dst[i] = Keyed(src[i], blend) ? 0 : ScalePixel(src[i] | setBits, alpha);
}

bool PixelShownFlat(Pixel p, const Blend& blend) {
  if (blend.constantAlpha == 0 || Keyed(p, blend)) return false;
  return !blend.perPixel || PixelA(ScalePixel(p, blend.constantAlpha)) >= 128;
}

void FlattenRow(const Pixel* src, Pixel* dst, int n, const Blend& blend) {
  for (int i = 0; i < n; ++i) {
    const Pixel p = src[i];
    if (!PixelShownFlat(p, blend))
      dst[i] = 0xFF000000u;
    else
      dst[i] = (blend.perPixel ? Unpremultiply(p) : p) | 0xFF000000u;
  }
}

bool PixelTakesPointer(Pixel p, const Blend& blend) {
  if (blend.constantAlpha == 0 || Keyed(p, blend)) return false;
  return !blend.perPixel || PixelA(p) != 0;
}

std::vector<RECT> MaskRects(const std::vector<std::uint8_t>& mask, int width, int height) {
  std::vector<RECT> out;
  std::vector<RECT> row, previous;
  std::size_t previousStart = 0;  // where previous's rectangles begin in out
  for (int y = 0; y < height; ++y) {
    row.clear();
    const std::uint8_t* m = mask.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width;) {
      if (!m[x]) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < width && m[x]) ++x;
      row.push_back({start, y, x, y + 1});
    }
    const bool same = !row.empty() && row.size() == previous.size() &&
                      std::equal(row.begin(), row.end(), previous.begin(),
                                 [](const RECT& a, const RECT& b) { return a.left == b.left && a.right == b.right; });
    if (same) {
      for (std::size_t i = 0; i < row.size(); ++i) out[previousStart + i].bottom = y + 1;
      continue;
    }
    previousStart = out.size();
    out.insert(out.end(), row.begin(), row.end());
    previous = row;
  }
  return out;
}

}  // namespace plat::display
