// The gallery of a skin: every section in every state, at two sizes, over a plain and over a
// striped parent, with a caption; then every glyph in every frame. Each cell is painted the way
// a control paints itself: into a picture of its own size, over its parent's picture.
#include "skin_gallery.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "paint/sections.h"
#include "paint/text.h"
#include "platform/gdi/image_codecs.h"
#include "skin/sSkinManager.h"

namespace velmora {
namespace {

using plat::RECT;

constexpr int kLabelWidth = 150;
constexpr int kMargin = 8;     // parent shown around each cell
constexpr int kGap = 6;
constexpr int kHeader = 16;
constexpr plat::UINT kCentred = plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE;
constexpr plat::UINT kLeft = plat::DT_LEFT | plat::DT_VCENTER | plat::DT_SINGLELINE;
constexpr TColor kInk = 0x303030;
constexpr TColor kPlainParent = 0xD8D8D8;
constexpr TColor kDarkParent = 0x3B332E;  // title-bar glyphs are drawn for a dark parent
constexpr int kGlyphLabelWidth = 230;
constexpr int kFrameLabel = 14;

struct TCellSize {
  int W, H;
};
constexpr TCellSize kSizes[] = {{72, 24}, {150, 56}};
const char* const kStateNames[] = {"normal", "hot", "pressed", "default"};

// Diagonal stripes: a background copied from the wrong place breaks them at the cell's edge.
void Stripes(fw::TBitmap& b, const RECT& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      b.Pixels()->Row(y)[x] = ((x + y) / 5) % 2 ? 0xFF4A78C8u : 0xFFF2C94Cu;
}

enum TParent { kPlain, kStriped, kDark };

void Parent(fw::TBitmap& b, const RECT& r, TParent parent) {
  if (parent == kStriped)
    Stripes(b, r);
  else
    FillPixels(b, r, parent == kDark ? kDarkParent : kPlainParent, 255);
}

void Label(fw::TBitmap& b, const std::string& text, const RECT& r, plat::UINT format = kLeft) {
  WriteText32(b, text, kInk, format, r);
}

void CopyRectFrom(fw::TBitmap& dst, fw::TBitmap& src, plat::POINT at) {
  plat::BitBlt(dst.Canvas().Handle(), at.x, at.y, src.Width(), src.Height(), src.Canvas().Handle(), 0, 0, plat::SRCCOPY);
}

int BlockWidth() {
  int w = 0;
  for (const TCellSize& s : kSizes) w += s.W + 2 * kMargin + kGap;
  return w;
}

// One section in one state over one parent, at every size, from (x, y).
void SectionCells(fw::TBitmap& gallery, const TacSkinIndex& skin, int index, int state, TParent parentKind, int x,
                  int y) {
  const TsGeneralData& section = skin.gd[static_cast<std::size_t>(index)];
  for (const TCellSize& size : kSizes) {
    const RECT parent{x, y, x + size.W + 2 * kMargin, y + size.H + 2 * kMargin};
    Parent(gallery, parent, parentKind);
    const plat::POINT origin{x + kMargin, y + kMargin};
    auto cell = MakeBitmap32(size.W, size.H);
    cell->Canvas().Font().SetName("Tahoma");
    cell->Canvas().Font().SetHeight(-11);
    const TCacheInfo behind{&gallery, 0, 0, kKeyColor, {}, true};
    PaintSection(index, section.ClassName, behind, -1, -1, &skin, cell.get(), origin, {0, 0, size.W, size.H}, state,
                 true);
    WriteSectionText32(*cell, "Caption", true, &skin, state > 0, index, kCentred, {0, 0, size.W, size.H});
    CopyRectFrom(gallery, *cell, origin);
    x += size.W + 2 * kMargin + kGap;
  }
}

// The glyph's frame over each kind of parent, from (x, y); answers the width used.
int GlyphFrame(fw::TBitmap& gallery, const TsMaskData& mask, int frame, int x, int y) {
  const int w = ImageWidthOf(mask), h = ImageHeightOf(mask);
  Label(gallery, std::to_string(frame), {x, y, x + kFrameLabel, y + h + 2 * kMargin});
  int at = x + kFrameLabel;
  for (TParent parent : {kPlain, kDark, kStriped}) {
    Parent(gallery, {at, y, at + w + 2 * kMargin, y + h + 2 * kMargin}, parent);
    DrawGlyphMask(gallery, {at + kMargin, y + kMargin}, frame, SelfCacheInfo(gallery, 0, 0), mask, 1);
    at += w + 2 * kMargin + 2;
  }
  return at - x + 2 * kGap;
}

int GlyphRowWidth(const TsMaskData& mask) {
  return std::max(mask.ImageCount, 1) * (kFrameLabel + 3 * (ImageWidthOf(mask) + 2 * kMargin + 2) + 2 * kGap);
}
}  // namespace

void RenderGallery(const TacSkinIndex& skin, const std::string& title, fw::TBitmap& gallery) {
  int maxStates = 1;
  for (const TsGeneralData& g : skin.gd) maxStates = std::max(maxStates, std::min(g.States, 4));
  const int sectionHeight = kHeader + 2 * (kSizes[1].H + 2 * kMargin + kGap) + kGap;
  std::vector<const TsMaskData*> glyphs;
  int glyphRowsHeight = 0, glyphWidth = kLabelWidth;
  for (const TsMaskData& m : skin.ma) {
    if (m.ImgType != itisaGlyph && m.ImgType != itisaPngGlyph) continue;
    glyphs.push_back(&m);
    glyphRowsHeight += std::max(ImageHeightOf(m) + 2 * kMargin, 18) + kGap;
    glyphWidth = std::max(glyphWidth, kGlyphLabelWidth + GlyphRowWidth(m));
  }
  const int width = std::max(kLabelWidth + maxStates * BlockWidth() + kGap, glyphWidth);
  const int height = 30 + static_cast<int>(skin.gd.size()) * sectionHeight + 30 + glyphRowsHeight + kGap;
  gallery.SetSize(width, height);
  FillPixels(gallery, {0, 0, width, height}, 0xFFFFFF, 255);
  gallery.Canvas().Font().SetName("DejaVu Sans");
  gallery.Canvas().Font().SetHeight(-12);

  Label(gallery, title + ": every section in every state (rows: plain parent, striped parent; sizes 72x24 and 150x56)",
        {kGap, 0, width, 26});
  int y = 30;
  for (std::size_t i = 0; i < skin.gd.size(); ++i) {
    const TsGeneralData& section = skin.gd[i];
    const int states = std::clamp(section.States, 1, 4);
    FillPixels(gallery, {0, y, width, y + 1}, 0xC0C0C0, 255);
    Label(gallery, section.ClassName, {kGap, y + kHeader, kLabelWidth, y + kHeader + 18});
    Label(gallery, std::to_string(section.States) + (section.States == 1 ? " state" : " states"),
          {kGap, y + kHeader + 18, kLabelWidth, y + kHeader + 36});
    for (int s = 0; s < states; ++s) {
      const int x = kLabelWidth + s * BlockWidth();
      Label(gallery, std::to_string(s) + " " + kStateNames[s], {x, y, x + BlockWidth(), y + kHeader});
      for (int row = 0; row < 2; ++row)
        SectionCells(gallery, skin, static_cast<int>(i), s, row == 0 ? kPlain : kStriped, x,
                     y + kHeader + row * (kSizes[1].H + 2 * kMargin + kGap));
    }
    y += sectionHeight;
  }
  FillPixels(gallery, {0, y, width, y + 1}, 0xC0C0C0, 255);
  Label(gallery, "Glyphs: every frame, numbered, over a light, a dark and a striped parent", {kGap, y, width, y + 26});
  y += 30;
  for (const TsMaskData* m : glyphs) {
    const int rowHeight = std::max(ImageHeightOf(*m) + 2 * kMargin, 18);
    Label(gallery, m->ClassName + "." + m->PropertyName, {kGap, y, kGlyphLabelWidth, y + rowHeight});
    int x = kGlyphLabelWidth;
    for (int f = 0; f < std::max(m->ImageCount, 1); ++f) x += GlyphFrame(gallery, *m, f, x, y);
    y += rowHeight + kGap;
  }
  // A picture to look at, not to lay over anything.
  SetRectAlpha(gallery, {0, 0, width, height}, 255, kNoKey);
}

int Gallery(const std::string& path, const std::string& out) {
  TacSkinIndex skin;
  if (std::filesystem::is_directory(path)) {
    if (!LoadSkinFolder(skin, path, {})) throw fw::Exception("No " + std::string(kSkinOptionsName) + " in " + path);
  } else {
    LoadPackedSkinFile(skin, path, {});
  }
  fw::TBitmap gallery;
  RenderGallery(skin, std::filesystem::path(path).filename().string(), gallery);
  plat::WriteFileBytes(out, plat::WritePng(*gallery.Pixels()));
  return 0;
}

}  // namespace velmora
