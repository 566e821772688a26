// Logical fonts made concrete: faces, sizes, metrics and glyph images.
#include <hb-ft.h>

#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>

#include "platform/gdi/font_face.h"
#include "platform/gdi/font_resolve.h"

namespace plat {
namespace gdi {

struct FtLibrary {
  FT_Library library = nullptr;
  FtLibrary() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  }
  ~FtLibrary() {
    if (library) FT_Done_FreeType(library);
  }
  FtLibrary(const FtLibrary&) = delete;
  FtLibrary& operator=(const FtLibrary&) = delete;
};

Face::~Face() {
  if (hb) hb_font_destroy(hb);  // drops its own reference to the face
  if (face) FT_Done_Face(face);
}

namespace {

// Light hinting keeps the shapes and snaps vertical metrics and advances to whole pixels, which
// is what the platform's grey-scale text looks like. Outlines only, so sizes look alike.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;

std::shared_ptr<FtLibrary> Library() {
  static const std::shared_ptr<FtLibrary> library = std::make_shared<FtLibrary>();
  return library;
}

std::string FaceKey(const std::string& file, int index, int size) {
  return file + '\0' + std::to_string(index) + '\0' + std::to_string(size);
}

// Design metrics of a face, in font units.
struct Units {
  int upem = 2048;
  int winAscent = 0;
  int winDescent = 0;
  int lineGap = 0;  // what the typographic line spacing adds beyond the win metrics
  int avgWidth = 0;
  int maxAdvance = 0;
  int underlinePosition = 0;  // centre of the stroke, above the baseline
  int underlineThickness = 0;
  int strikePosition = 0;  // bottom of the stroke, above the baseline
  int strikeSize = 0;
  bool fixedPitch = false;
};

Units UnitsOf(FT_Face face) {
  Units u;
  u.upem = face->units_per_EM ? face->units_per_EM : 2048;
  u.winAscent = face->ascender;
  u.winDescent = -face->descender;
  u.maxAdvance = face->max_advance_width;
  u.underlinePosition = face->underline_position;
  u.underlineThickness = face->underline_thickness;
  u.fixedPitch = FT_IS_FIXED_WIDTH(face);
  const int hheaSpan = face->ascender - face->descender;
  const int hheaLineGap = std::max(0, face->height - hheaSpan);
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
    if (os2->usWinAscent + os2->usWinDescent > 0) {
      u.winAscent = os2->usWinAscent;
      u.winDescent = os2->usWinDescent;
    }
    u.avgWidth = os2->xAvgCharWidth;
    u.strikePosition = os2->yStrikeoutPosition;
    u.strikeSize = os2->yStrikeoutSize;
  }
  // The platform's external leading: the typographic line gap less what the win metrics
  // already add over the typographic ascent and descent.
  u.lineGap = std::max(0, hheaLineGap - ((u.winAscent + u.winDescent) - hheaSpan));
  if (u.avgWidth <= 0) u.avgWidth = u.upem / 2;
  if (u.strikeSize <= 0) u.strikeSize = std::max(1, u.underlineThickness);
  if (u.strikePosition <= 0) u.strikePosition = u.winAscent / 3;
  return u;
}

// Read once per file, from a face opened just for that, because a cell height has to be turned
// into a size before the face at that size can be opened.
const Units* UnitsFor(const std::string& file, int index) {
  static std::unordered_map<std::string, Units> cache;
  const std::string key = FaceKey(file, index, 0);
  if (auto it = cache.find(key); it != cache.end()) return &it->second;
  auto lib = Library();
  FT_Face face = nullptr;
  if (!lib->library || FT_New_Face(lib->library, file.c_str(), index, &face) != 0) return nullptr;
  const Units u = UnitsOf(face);
  FT_Done_Face(face);
  return &cache.emplace(key, u).first->second;
}

int Scale(int units, int px, int upem) {
  const long long v = static_cast<long long>(units) * px;
  return static_cast<int>(v >= 0 ? (2 * v + upem) / (2 * upem) : -((-2 * v + upem) / (2 * upem)));
}

constexpr int kDefaultEm = 16;
constexpr int kMaxPixels = 1024;

}  // namespace

std::shared_ptr<Face> OpenFace(const std::string& file, int index, int pixelSize) {
  static std::unordered_map<std::string, std::shared_ptr<Face>> cache;
  const std::string key = FaceKey(file, index, pixelSize);
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  auto face = std::make_shared<Face>();
  face->library = Library();
  if (!face->library->library || FT_New_Face(face->library->library, file.c_str(), index, &face->face) != 0) {
    face->face = nullptr;
    return nullptr;
  }
  if (FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return nullptr;
  face->hb = hb_ft_font_create_referenced(face->face);
  hb_ft_font_set_load_flags(face->hb, kLoadFlags);

  if (cache.size() >= 64) std::erase_if(cache, [](const auto& e) { return e.second.use_count() == 1; });
  cache.emplace(key, face);
  return face;
}

}  // namespace gdi

FontInstance::FontInstance(Token) {}
FontInstance::~FontInstance() = default;

std::shared_ptr<const FontInstance> FontInstance::For(const LOGFONT& lf) {
  static std::unordered_map<std::string, std::shared_ptr<const FontInstance>> cache;
  std::string key = lf.lfFaceName;
  for (long v : {static_cast<long>(lf.lfHeight), static_cast<long>(lf.lfWeight), static_cast<long>(lf.lfItalic),
                 static_cast<long>(lf.lfUnderline), static_cast<long>(lf.lfStrikeOut), static_cast<long>(lf.lfCharSet),
                 static_cast<long>(lf.lfPitchAndFamily)})
    key += '\0' + std::to_string(v);
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  auto f = std::make_shared<FontInstance>(Token{});
  const int weight = lf.lfWeight > 0 ? std::min<int>(lf.lfWeight, 1000) : FW_NORMAL;
  f->bold_ = weight >= 600;
  f->italic_ = lf.lfItalic != 0;
  auto res = gdi::ResolveFont(lf.lfFaceName, weight, f->italic_, lf.lfCharSet);
  f->japanese_ = res->japanese || lf.lfCharSet == SHIFTJIS_CHARSET;
  f->fallback_ = res->fallback;
  f->file_ = res->primary.file;

  const gdi::Units* units = f->file_.empty() ? nullptr : gdi::UnitsFor(f->file_, res->primary.index);
  const int height = std::clamp<int>(lf.lfHeight, -gdi::kMaxPixels, gdi::kMaxPixels);
  TEXTMETRIC& tm = f->metrics_;
  if (units) {
    const gdi::Units& u = *units;
    const int span = u.winAscent + u.winDescent;
    if (height > 0) {
      f->em_ = std::max(1, gdi::Scale(height, u.upem, span));
      tm.tmAscent = gdi::Scale(u.winAscent, height, span);
      tm.tmDescent = height - tm.tmAscent;
    } else {
      f->em_ = height < 0 ? -height : gdi::kDefaultEm;
      tm.tmAscent = gdi::Scale(u.winAscent, f->em_, u.upem);
      tm.tmDescent = gdi::Scale(u.winDescent, f->em_, u.upem);
    }
    const int em = f->em_;
    tm.tmExternalLeading = gdi::Scale(u.lineGap, em, u.upem);
    tm.tmAveCharWidth = std::max(1, gdi::Scale(u.avgWidth, em, u.upem));
    tm.tmMaxCharWidth = std::max(1, gdi::Scale(u.maxAdvance, em, u.upem));
    f->underlineThickness_ = std::max(1, gdi::Scale(u.underlineThickness, em, u.upem));
    f->underlineOffset_ = std::clamp(gdi::Scale(-u.underlinePosition, em, u.upem) - f->underlineThickness_ / 2, 1,
                                     std::max(1, static_cast<int>(tm.tmDescent) - f->underlineThickness_));
    f->strikeThickness_ = std::max(1, gdi::Scale(u.strikeSize, em, u.upem));
    f->strikeOffset_ = -gdi::Scale(u.strikePosition, em, u.upem) - f->strikeThickness_;
    tm.tmPitchAndFamily = static_cast<BYTE>((u.fixedPitch ? 0 : 1) | 2 | 4);
  } else {
    // Nothing to draw with: sizes still answer sensibly.
    f->em_ = height < 0 ? -height : height > 0 ? height : gdi::kDefaultEm;
    tm.tmAscent = (f->em_ * 4 + 2) / 5;
    tm.tmDescent = f->em_ - tm.tmAscent;
    tm.tmAveCharWidth = std::max(1, f->em_ / 2);
    tm.tmMaxCharWidth = f->em_;
    tm.tmPitchAndFamily = 1 | 2 | 4;
  }
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, static_cast<int>(tm.tmHeight) - f->em_);
  tm.tmWeight = weight;
  tm.tmItalic = lf.lfItalic ? 1 : 0;
  tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
  tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  tm.tmPitchAndFamily = static_cast<BYTE>(tm.tmPitchAndFamily | (lf.lfPitchAndFamily & 0xF0));
  tm.tmCharSet = lf.lfCharSet != DEFAULT_CHARSET ? lf.lfCharSet : res->japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET;

  if (units)
    if (auto slot = f->MakeSlot(f->file_, res->primary.index)) f->slots_.push_back(std::move(slot));

  // Instances no logical font holds any more go when the table grows.
  if (cache.size() >= 64) std::erase_if(cache, [](const auto& e) { return e.second.use_count() == 1; });
  cache.emplace(std::move(key), f);
  return f;
}

// The face's own style decides what is made up: fontconfig's answer would not tell, since its
// configuration reports a face it would slant or embolden as already italic or bold.
std::unique_ptr<FontInstance::Slot> FontInstance::MakeSlot(const std::string& file, int index) const {
  auto face = gdi::OpenFace(file, index, em_);
  if (!face) return nullptr;
  bool bold = (face->face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face->face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF)
    bold = bold || os2->usWeightClass >= 600;
  const bool italic = (face->face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  auto slot = std::make_unique<Slot>();
  slot->face = std::move(face);
  slot->file = file;
  slot->index = index;
  slot->synthItalic = italic_ && !italic;
  slot->boldStrength = bold_ && !bold ? 64 * std::max(1, (em_ + 12) / 24) : 0;
  return slot;
}

std::uint8_t FontInstance::SlotFor(char32_t c) const {
  if (slots_.empty()) return 0;
  hb_codepoint_t g;
  if (hb_font_get_nominal_glyph(slots_[0]->face->hb, c, &g)) return 0;
  if (auto it = charSlots_.find(c); it != charSlots_.end()) return it->second;
  std::uint8_t slot = 0;
  const bool invisible = c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0x200B && c <= 0x200F) ||
                         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF;
  if (fallback_ && !invisible) {
    if (const gdi::FaceRef* ref = gdi::FallbackFace(*fallback_, c)) {
      auto same = std::find_if(slots_.begin(), slots_.end(),
                               [&](const auto& s) { return s->file == ref->file && s->index == ref->index; });
      if (same != slots_.end()) {
        slot = static_cast<std::uint8_t>(same - slots_.begin());
      } else if (slots_.size() < 255) {
        if (auto made = MakeSlot(ref->file, ref->index)) {
          slot = static_cast<std::uint8_t>(slots_.size());
          slots_.push_back(std::move(made));
        }
      }
    }
  }
  charSlots_.emplace(c, slot);
  return slot;
}

const gdi::GlyphImage& FontInstance::Glyph(const gdi::ShapedGlyph& g) const {
  if (g.image) return *g.image;
  const std::uint64_t key = (static_cast<std::uint64_t>(g.slot) << 32) | g.glyph;
  auto [it, fresh] = glyphs_.try_emplace(key);
  gdi::GlyphImage& image = it->second;
  g.image = &image;
  if (!fresh || g.slot >= slots_.size()) return image;

  ++rasterCount_;
  const Slot& slot = *slots_[g.slot];
  FT_Face face = slot.face->face;
  if (FT_Load_Glyph(face, g.glyph, gdi::kLoadFlags) != 0) return image;
  FT_GlyphSlot gs = face->glyph;
  if (gs->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (slot.synthItalic) {
      FT_Matrix shear{0x10000, 0x366A, 0, 0x10000};  // about 12 degrees
      FT_Outline_Transform(&gs->outline, &shear);
    }
    if (slot.boldStrength) FT_Outline_EmboldenXY(&gs->outline, slot.boldStrength, 0);
  }
  if (FT_Render_Glyph(gs, FT_RENDER_MODE_NORMAL) != 0 || gs->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return image;
  const FT_Bitmap& bm = gs->bitmap;
  image.left = gs->bitmap_left;
  image.top = -gs->bitmap_top;
  image.width = static_cast<int>(bm.width);
  image.height = static_cast<int>(bm.rows);
  image.coverage.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    if (bm.pitch < 0) src = bm.buffer + static_cast<std::ptrdiff_t>(image.height - 1 - y) * -bm.pitch;
    std::memcpy(image.coverage.data() + static_cast<std::size_t>(y) * image.width, src, image.width);
  }
  return image;
}

}  // namespace plat
