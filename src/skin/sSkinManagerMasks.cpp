// The image pieces of a skin: the master bitmap, the masks cut from it or carried as images of
// their own, and the JPEG patterns.
#include <algorithm>

#include "framework/sysutils.h"
#include "skin/sSkinManager.h"

namespace velmora {

namespace {

constexpr const char* kGlobalInfo = "GLOBALINFO";
constexpr plat::Pixel kMagentaPixel = 0x00FF00FF;

bool IsMagenta(plat::Pixel p) { return (p & 0x00FFFFFF) == kMagentaPixel; }

// A picture without alpha of its own: opaque everywhere but on the transparent colour.
void OpaqueButMagenta(plat::Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y) {
    plat::Pixel* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) row[x] = IsMagenta(row[x]) ? kMagentaPixel : (row[x] | 0xFF000000u);
  }
}

// PNG pieces: transparent white becomes 0; newer skins keep their colours premultiplied.
void PreparePng(plat::Bitmap& b, double version) {
  const bool premultiply = version > 7.45;
  for (int y = 0; y < b.Height(); ++y) {
    plat::Pixel* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      const plat::Pixel p = row[x];
      if (p == 0x00FFFFFFu) {
        row[x] = 0;
      } else if (premultiply) {
        const plat::Pixel a = plat::PixelA(p);
        row[x] = (a << 24) | (plat::PixelR(p) * a >> 8) << 16 | (plat::PixelG(p) * a >> 8) << 8 | (plat::PixelB(p) * a >> 8);
      }
    }
  }
}

std::unique_ptr<fw::TBitmap> ToBitmap(const plat::Bitmap& pixels) {
  auto bitmap = std::make_unique<fw::TBitmap>();
  bitmap->AssignPixels(pixels);
  bitmap->SetTransparentColor(static_cast<fw::TColor>(kTransparentColor));
  return bitmap;
}

bool IsPngName(std::string_view upper) { return upper.find(".PNG") != std::string_view::npos; }

std::string Where(const std::string& section, const std::string& key) { return "[" + section + "] " + key; }

}  // namespace

void TacSkinIndex::LoadMasks(const TacIniFile& ini, const TacSkinSource& source) {
  ma.clear();
  MasterBitmap.reset();
  const std::string master = ini.ReadString(kGlobalInfo, "MASTERBITMAP", "");
  if (!master.empty()) {
    if (auto bytes = source.Read(master)) {
      int bits = 32;
      auto pixels = DecodeSkinImage(*bytes, master, &bits);
      if (bits < 32) OpaqueButMagenta(*pixels);
      MasterBitmap = ToBitmap(*pixels);
    }
  }
  LoadMasksOf(ini, source);
}

void TacSkinIndex::LoadMasksOf(const TacIniFile& ini, const TacSkinSource& source) {
  for (const TacIniFile::Section& s : ini.Sections()) {
    for (const TacIniFile::Key& k : s.Keys) {
      const std::string& v = k.Value;
      if (v.empty() || (s.Name == kGlobalInfo && k.Name == "MASTERBITMAP")) continue;
      if (v.front() == '!') {
        AddImageMask(s.Name, k.Name, v, source);
        continue;
      }
      TsMaskData m;
      if (ParseBitmapMask(v, m, Where(s.Name, k.Name))) {
        m.ClassName = s.Name;
        m.PropertyName = k.Name;
        m.Manager = this;
        if (MasterBitmap && (m.R.right > MasterBitmap->Width() || m.R.bottom > MasterBitmap->Height()))
          throw ESkinDescriptionError(Where(s.Name, k.Name) + ": mask " + fw::DoubleQuoted(v) + " lies outside the " +
                                      fw::IntToStr(MasterBitmap->Width()) + " x " + fw::IntToStr(MasterBitmap->Height()) +
                                      " master bitmap");
        if (m.ImgType == itisaBorder) {
          if (m.MaskType > 0 && SkinData.Version < 7.4) {
            const bool oneByOne = m.FrameWidth() - m.WL - m.WR == 1 && m.FrameHeight() - m.WT - m.WB == 1;
            m.DrawMode = oneByOne ? (m.DrawMode | 1) : (m.DrawMode & ~1);
          }
          if (m.WL + m.WT + m.WR + m.WB == 0) {
            if (m.BorderWidth != 0) m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
            else ComputeBorderWidths(m);
          }
          ComputeCornerType(m);
        }
        ma.push_back(std::move(m));
        continue;
      }
      if (v.find('#') != std::string::npos) continue;  // the older encoding, not supported
      const std::string upper = fw::UpperCase(v);
      if (upper.find(".BMP") != std::string::npos) AddPlainBitmapMask(s.Name, k.Name, upper, source);
    }
  }
}

void TacSkinIndex::AddImageMask(const std::string& section, const std::string& key, const std::string& value,
                                const TacSkinSource& source) {
  const TacExternalMask e = ParseExternalMask(value, Where(section, key));
  const bool png = IsPngName(e.Name);
  if (!png && e.Name.find(".BMP") == std::string::npos) return;
  auto bytes = source.Read(e.Name);
  if (!bytes) return;
  int bits = 32;
  auto pixels = DecodeSkinImage(*bytes, e.Name, &bits);
  if (pixels->Width() <= 0) return;
  if (png) PreparePng(*pixels, SkinData.Version);
  else if (bits < 32) OpaqueButMagenta(*pixels);
  TsMaskData m;
  m.ClassName = section;
  m.PropertyName = key;
  m.Manager = this;
  m.R = {0, 0, pixels->Width(), pixels->Height()};
  m.ImageCount = e.ImageCount;
  m.MaskType = e.MaskType;
  m.ImgType = e.ImageType <= 3 ? static_cast<TacImgType>(e.ImageType) : itisaPngGlyph;
  m.DrawMode = e.DrawMode;
  if (e.HasWidths) {
    m.WL = e.WL, m.WT = e.WT, m.WR = e.WR, m.WB = e.WB;
  } else {
    ComputeBorderWidths(m);
  }
  m.Bmp = ToBitmap(*pixels);
  if (m.ImgType == itisaBorder) ComputeCornerType(m);
  ma.push_back(std::move(m));
}

void TacSkinIndex::AddPlainBitmapMask(const std::string& section, const std::string& key, const std::string& upper,
                                      const TacSkinSource& source) {
  auto bytes = source.Read(upper);
  if (!bytes) return;
  int bits = 32;
  auto pixels = DecodeSkinImage(*bytes, upper, &bits);
  if (pixels->Width() <= 0) return;
  if (bits < 32) OpaqueButMagenta(*pixels);
  TsMaskData m;
  m.ClassName = fw::UpperCase(section);
  m.PropertyName = fw::UpperCase(key);
  m.Manager = this;
  m.R = {0, 0, pixels->Width(), pixels->Height()};
  m.ImageCount = 3;
  m.MaskType = 1;
  ComputeBorderWidths(m);
  m.Bmp = ToBitmap(*pixels);
  ComputeCornerType(m);
  ma.push_back(std::move(m));
}

void TacSkinIndex::ComputeCornerType(TsMaskData& m) const {
  if (m.ClassName == "BUTTON_HUGE" && m.PropertyName == "BORDERSMASK") {
    m.CornerType = 2;
    return;
  }
  m.CornerType = 0;
  if (m.R.bottom - m.R.top <= 0) return;
  const fw::TBitmap* source = m.Bmp ? m.Bmp.get() : MasterBitmap.get();
  const plat::Bitmap* pixels = source ? source->Pixels() : nullptr;
  if (!pixels || pixels->Format() != plat::PixelFormat::Bgra32) return;
  const int fw = m.FrameWidth(), fh = m.FrameHeight(), sx = m.R.left, sy = m.R.top;
  const plat::RECT corners[4] = {{sx, sy, sx + m.WL, sy + m.WT},
                                 {sx + fw - m.WR, sy, sx + fw, sy + m.WT},
                                 {sx, sy + fh - m.WB, sx + m.WL, sy + fh},
                                 {sx + fw - m.WR, sy + fh - m.WB, sx + fw, sy + fh}};
  // The last column and row of the picture are never looked at.
  const int maxX = pixels->Width() - 1, maxY = pixels->Height() - 1;
  for (const plat::RECT& c : corners) {
    for (int y = std::max(c.top, 0); y < std::min(c.bottom, maxY); ++y) {
      const plat::Pixel* row = pixels->Row(y);
      for (int x = std::max(c.left, 0); x < std::min(c.right, maxX); ++x)
        if (IsMagenta(row[x])) {
          m.CornerType = 1;
          return;
        }
    }
  }
}

void TacSkinIndex::LoadPatterns(const TacIniFile& ini, const TacSkinSource& source) {
  pa.clear();
  for (const TacIniFile::Section& s : ini.Sections()) {
    for (const TacIniFile::Key& k : s.Keys) {
      const std::string upper = fw::UpperCase(k.Value);
      if (upper.find(".JPG") == std::string::npos && upper.find(".JPEG") == std::string::npos) continue;
      auto bytes = source.Read(upper);
      if (!bytes) continue;
      CheckSkinImageSize(*bytes, upper);
      auto image = std::make_unique<fw::TJPEGImage>();
      try {
        fw::TBytesStream stream(*bytes);
        image->LoadFromStream(stream);
      } catch (const std::exception& e) {
        throw ESkinDescriptionError("Skin image " + upper + " cannot be read: " + e.what());
      }
      if (image->Width() <= 0) continue;
      pa.push_back({std::move(image), s.Name, k.Name});
    }
  }
}

}  // namespace velmora
