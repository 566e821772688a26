// The shape of a border: a border mask drawn pixel by pixel with its magenta corner pixels cut
// out of a window region, and the magenta runs of a mask's corners as rectangles.
#include <algorithm>
#include <vector>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "paint/masks_kernels.h"
#include "platform/base/pixel_math.h"

namespace velmora {

using namespace mask_kernels;

namespace {

// Appends every run of key pixels among row[0..count) as a rectangle one pixel high at
// (x + run start, y).
void AppendKeyRuns(std::vector<plat::RECT>& rects, const plat::Pixel* row, int count, int x, int y) {
  for (int i = 0; i < count;) {
    if (row[i] != kKeyColor) {
      ++i;
      continue;
    }
    const int start = i;
    while (i < count && row[i] == kKeyColor) ++i;
    rects.push_back({x + start, y, x + i, y + 1});
  }
}

// Source position for offset i of a destination span dlen long over a source span slen long:
// repeated tiles, or the nearest pixel under a stretch.
int SourceOffset(int i, int dlen, int slen, bool stretch) {
  if (!stretch) return i % slen;
  return static_cast<int>((std::int64_t{i} * 2 + 1) * slen / (std::int64_t{dlen} * 2));
}

struct RegionPiece {
  plat::RECT to;
  int sx, sy, sw, sh;
  bool corner;
};

// Draws one piece pixel by pixel, cut to the bitmap; corners leave their key pixels and report
// them in cut. A piece whose source (or mask) reaches outside the source bitmap is left out.
void DrawRegionPiece(plat::Bitmap& d, const plat::Bitmap& s, const RegionPiece& p, bool stretch, int maskOffset,
                     std::vector<plat::RECT>& cut) {
  if (plat::IsEmpty(p.to) || p.sw <= 0 || p.sh <= 0) return;
  if (p.sx < 0 || p.sy < 0 || p.sx + p.sw > s.Width() || p.sy + p.sh + maskOffset > s.Height()) return;
  const plat::RECT area = plat::Intersection(p.to, d.Bounds());
  if (plat::IsEmpty(area)) return;
  const int dw = plat::RectWidth(p.to), dh = plat::RectHeight(p.to);
  const int count = plat::RectWidth(area), skip = area.left - p.to.left;
  std::vector<plat::Pixel> image(static_cast<std::size_t>(count)), mask(static_cast<std::size_t>(count));
  for (int y = area.top; y < area.bottom; ++y) {
    const int srow = p.sy + SourceOffset(y - p.to.top, dh, p.sh, stretch);
    for (int i = 0; i < count; ++i) {
      const int scol = p.sx + SourceOffset(skip + i, dw, p.sw, stretch);
      image[static_cast<std::size_t>(i)] = s.Row(srow)[scol];
      if (maskOffset > 0) mask[static_cast<std::size_t>(i)] = s.Row(srow + maskOffset)[scol];
    }
    if (p.corner) AppendKeyRuns(cut, image.data(), count, area.left, y);
    plat::Pixel* out = d.Row(y) + area.left;
    for (int i = 0; i < count; ++i) {
      const plat::Pixel px = image[static_cast<std::size_t>(i)];
      if (p.corner && px == kKeyColor) continue;
      out[i] = maskOffset > 0
                   ? plat::BlendThroughMask(out[i], px, mask[static_cast<std::size_t>(i)]) | (out[i] & 0xFF000000u)
                   : px;
    }
  }
}

void CutFromRegion(plat::HRGN rgn, const std::vector<plat::RECT>& cut) {
  if (!rgn || cut.empty()) return;
  const plat::HRGN holes = plat::CreateRegionFromRects(cut);
  plat::CombineRgn(rgn, rgn, holes, plat::RGN_DIFF);
  plat::DeleteObject(holes);
}

}  // namespace

void DrawBorderMaskRgn(fw::TBitmap& bmp, plat::HRGN rgn, bool withCentre, int state, const TsMaskData& mask) {
  plat::Bitmap* d = Pixels32(&bmp);
  if (!d || d->Width() < 2 || d->Height() < 2 || !mask.Manager || state < 0 || mask.MaskType < 0) return;
  const plat::Bitmap* s = Pixels32(SourceOf(mask));
  if (!s) return;
  // A mask without frames is one frame over the whole of its own bitmap.
  plat::RECT strip = mask.R;
  int count = mask.ImageCount;
  if (count < 1) {
    if (!mask.Bmp) return;
    strip = s->Bounds();
    count = 1;
  }
  if (strip.left < 0 || strip.top < 0 || strip.right > s->Width() || strip.bottom > s->Height()) return;

  const int width = d->Width(), height = d->Height();
  int l = std::max(0, mask.WL), t = std::max(0, mask.WT), r = std::max(0, mask.WR), b = std::max(0, mask.WB);
  ShrinkEdgePair(l, r, width);
  ShrinkEdgePair(t, b, height);
  const int frame = std::min(state, count - 1);
  const int fw = plat::RectWidth(strip) / count;
  const int fh = plat::RectHeight(strip) / (mask.MaskType + 1);
  if (fw <= 0 || fh <= 0) return;
  const int mw = std::max(0, fw - l - r), mh = std::max(0, fh - t - b);
  const int sx = strip.left + frame * fw, sy = strip.top;
  const int right = sx + l + mw, bottom = sy + fh - b;
  const int maskOffset = mask.MaskType > 0 ? fh : 0;
  const bool stretch = (mask.DrawMode & kBorderStretch) != 0;

  std::vector<RegionPiece> pieces = {
      {{0, 0, l, t}, sx, sy, l, t, true},
      {{0, height - b, l, height}, sx, bottom, l, b, true},
  };
  if (mh > 0) pieces.push_back({{0, t, l, height - b}, sx, sy + t, l, mh, false});
  if (mw > 0) {
    pieces.push_back({{l, 0, width - r, t}, sx + l, sy, mw, t, false});
    pieces.push_back({{l, height - b, width - r, height}, sx + l, bottom, mw, b, false});
  }
  if (mh > 0) pieces.push_back({{width - r, t, width, height - b}, right, sy + t, r, mh, false});
  pieces.push_back({{width - r, height - b, width, height}, right, bottom, r, b, true});
  pieces.push_back({{width - r, 0, width, t}, right, sy, r, t, true});
  if (withCentre && (mask.DrawMode & kBorderFillCentre) && mw > 0 && mh > 0)
    pieces.push_back({{l, t, width - r, height - b}, sx + l, sy + t, mw, mh, false});

  std::vector<plat::RECT> cut;
  for (const RegionPiece& piece : pieces) DrawRegionPiece(*d, *s, piece, stretch, maskOffset, cut);
  CutFromRegion(rgn, cut);
}

void CornerRects(std::vector<plat::RECT>& rects, int targetWidth, const TsMaskData& mask, bool bottom, int yOffset) {
  if (!mask.Manager) return;
  const plat::Bitmap* s = Pixels32(SourceOf(mask));
  const int fw = ImageWidthOf(mask), fh = ImageHeightOf(mask);
  if (!s || fw <= 0) return;
  const int rows = bottom ? mask.WB : mask.WT;
  const int firstRow = bottom ? mask.R.top + fh - mask.WB : mask.R.top;
  if (rows <= 0 || firstRow < 0 || firstRow + rows > s->Height()) return;
  const int leftCount = std::clamp(mask.WL, 0, fw), rightCount = std::clamp(mask.WR, 0, fw);
  if (mask.R.left < 0 || mask.R.left + fw > s->Width()) return;
  for (int row = 0; row < rows; ++row) {
    const plat::Pixel* line = s->Row(firstRow + row) + mask.R.left;
    AppendKeyRuns(rects, line, leftCount, 0, yOffset + row);
    AppendKeyRuns(rects, line + fw - rightCount, rightCount, fw - rightCount + targetWidth - fw, yOffset + row);
  }
}

}  // namespace velmora
