// A border mask drawn as a nine-piece frame: four corners copied as they are, four edges and the
// centre tiled or stretched over what lies between them.
#include <algorithm>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "paint/masks_kernels.h"

namespace velmora {

using namespace mask_kernels;

namespace {

// Coordinates beyond this are refused before any arithmetic on them can overflow.
constexpr int kFarCoordinate = 1 << 28;

bool RectUsable(const plat::RECT& r) {
  auto near = [](int v) { return v > -kFarCoordinate && v < kFarCoordinate; };
  return near(r.left) && near(r.top) && near(r.right) && near(r.bottom);
}

// Draws the pieces of one frame of a border mask into a 32-bit destination.
class BorderPainter {
 public:
  BorderPainter(fw::TBitmap& dst, plat::Bitmap& d, fw::TBitmap& src, const plat::Bitmap& s, const TsMaskData& mask,
                const TCacheInfo& cache)
      : dst_(dst), d_(d), src_(src), s_(s), backdrop_(BackdropOf(cache)), dstIsBackdrop_(cache.Bmp == &dst),
        masked_(mask.MaskType != 0), stretch_((mask.DrawMode & kBorderStretch) != 0), maskOffset_(ImageHeightOf(mask)) {}

  // A corner at (dx, dy): through the mask image, or with magenta transparent.
  void Corner(int dx, int dy, int sx, int sy, int w, int h, bool cornerMode) {
    if (w <= 0 || h <= 0) return;
    Piece p{dx, dy, sx, sy, w, h};
    if (!ClipPiece(p, d_.Width(), d_.Height(), s_.Width(), s_.Height())) return;
    if (masked_) MaskedCopyRows(d_, s_, p, p.sy + maskOffset_, cornerMode, backdrop_);
    else KeyedCopyRows(d_, s_, p, kKeyColor, cornerMode, backdrop_, dstIsBackdrop_);
  }

  // An edge or the centre: the source piece (sx, sy, sw, sh) over the destination area to.
  void Fill(const plat::RECT& to, int sx, int sy, int sw, int sh, bool isCentre) {
    if (plat::IsEmpty(to) || sw <= 0 || sh <= 0) return;
    if (stretch_) {
      const int w = plat::RectWidth(to), h = plat::RectHeight(to);
      if (masked_) StretchMasked(to.left, to.top, w, h, isCentre, maskOffset_, src_, dst_, sx, sy, sw, sh);
      else StretchPieceOpaque(dst_, to, src_, plat::MakeRect(sx, sy, sw, sh));
      return;
    }
    if (!masked_) {
      const plat::RECT visible = plat::Intersection(to, d_.Bounds());
      if (!plat::IsEmpty(visible)) TileRows(d_, to, visible, s_, sx, sy, sw, sh);
      return;
    }
    ForEachTile(to.top, to.bottom, sh, 0, d_.Height(), [&](int y, int h) {
      ForEachTile(to.left, to.right, sw, 0, d_.Width(), [&](int x, int w) {
        Piece p{x, y, sx, sy, w, h};
        if (ClipPiece(p, d_.Width(), d_.Height(), s_.Width(), s_.Height()))
          MaskedCopyRows(d_, s_, p, p.sy + maskOffset_, false, backdrop_);
      });
    });
  }

 private:
  fw::TBitmap& dst_;
  plat::Bitmap& d_;
  fw::TBitmap& src_;
  const plat::Bitmap& s_;
  const Backdrop backdrop_;
  const bool dstIsBackdrop_;
  const bool masked_;
  const bool stretch_;
  const int maskOffset_;
};

}  // namespace

void DrawBorderMask(fw::TBitmap& dst, const plat::RECT& rect, int state, bool cornerMode, const TsMaskData& mask,
                    const TCacheInfo& cache) {
  if (state < 0 || (state == 0 && (mask.DrawMode & kBorderSkipNormal))) return;
  if (!mask.Manager || mask.ImageCount < 1 || !RectUsable(rect)) return;
  const int width = plat::RectWidth(rect), height = plat::RectHeight(rect);
  if (width < 2 || height < 2) return;
  plat::Bitmap* d = Pixels32(&dst);
  fw::TBitmap* source = SourceOf(mask);
  const plat::Bitmap* s = Pixels32(source);
  if (!d || !s || !StripInside(mask, *s)) return;
  if (plat::IsEmpty(plat::Intersection(rect, d->Bounds()))) return;

  int l = std::max(0, mask.WL), t = std::max(0, mask.WT), r = std::max(0, mask.WR), b = std::max(0, mask.WB);
  ShrinkEdgePair(l, r, width);
  ShrinkEdgePair(t, b, height);
  const int frame = std::min(state, mask.ImageCount - 1);
  const int fw = ImageWidthOf(mask), fh = ImageHeightOf(mask);
  const int sx = mask.R.left + frame * fw, sy = mask.R.top;
  const int mw = fw - l - r, mh = fh - t - b;
  if (fw <= 0 || fh <= 0 || mw < 0 || mh < 0) return;

  BorderPainter painter(dst, *d, *source, *s, mask, cache);
  const bool corners = cornerMode && mask.CornerType > 0;
  const plat::RECT& D = rect;
  const int right = sx + l + mw, bottom = sy + fh - b;
  painter.Corner(D.left, D.top, sx, sy, l, t, corners);
  painter.Fill({D.left, D.top + t, D.left + l, D.bottom - b}, sx, sy + t, l, mh, false);
  painter.Fill({D.left + l, D.top, D.right - r, D.top + t}, sx + l, sy, mw, t, false);
  painter.Corner(D.left, D.bottom - b, sx, bottom, l, b, corners);
  painter.Fill({D.left + l, D.bottom - b, D.right - r, D.bottom}, sx + l, bottom, mw, b, false);
  painter.Corner(D.right - r, D.bottom - b, right, bottom, r, b, corners);
  painter.Corner(D.right - r, D.top, right, sy, r, t, corners);
  painter.Fill({D.right - r, D.top + t, D.right, D.bottom - b}, right, sy + t, r, mh, false);
  if (mask.DrawMode & kBorderFillCentre)
    painter.Fill({D.left + l, D.top + t, D.right - r, D.bottom - b}, sx + l, sy + t, mw, mh, true);
}

}  // namespace velmora
