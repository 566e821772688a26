// BMP files: the file header, then one of the info headers (12, 40, 52, 56, 108 or 124 bytes),
// an optional palette and rows padded to four bytes, bottom-up unless the height is negative.
// Every number comes from outside, so each is checked before it is used as a size or an offset.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/base/bytes.h"
#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"

namespace plat {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

[[noreturn]] void Fail(const std::string& what) { throw Error("BMP: " + what); }

std::int32_t ReadLe32Signed(const std::uint8_t* p) { return static_cast<std::int32_t>(ReadLe32(p)); }

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

// One colour channel of a bit-field pixel, scaled to eight bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  static Channel From(std::uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask) {
      c.shift = std::countr_zero(mask);
      c.bits = std::popcount(mask);
    }
    return c;
  }
  bool Contiguous() const { return mask == 0 || (mask >> shift) == (bits == 32 ? ~0u : (1u << bits) - 1); }

  std::uint8_t Get(std::uint32_t pixel) const {
    if (!bits) return 0;
    const std::uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    return static_cast<std::uint8_t>(v * 255 / ((1u << bits) - 1));
  }
};

struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive here
  bool topDown = false;
  int bits = 0;
  bool bitfields = false;  // pixels go through masks rather than a palette or plain bytes
  Channel red, green, blue, alpha;
  std::size_t paletteOffset = 0;
  std::size_t paletteEntry = 4;
  std::int64_t paletteCount = 0;
  std::size_t dataOffset = 0;
  std::int64_t stride = 0;
};

// The file header and the fields of the info header that every header size has.
struct Headers {
  std::uint32_t dataOffset = 0;
  std::uint32_t headerSize = 0;
  bool core = false;  // the old 12-byte header with 16-bit sizes and 3-byte palette entries
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative for top-down rows
  std::uint32_t planes = 0;
  int bits = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
};

Headers ReadHeaders(std::span<const std::uint8_t> in) {
  const std::uint8_t* p = in.data();
  const std::size_t size = in.size();
  if (size < 2 || p[0] != 'B' || p[1] != 'M') Fail("bad signature");
  if (size < kFileHeaderSize + 4) Fail("truncated header");
  Headers f;
  f.dataOffset = ReadLe32(p + 10);
  f.headerSize = ReadLe32(p + kFileHeaderSize);
  f.core = f.headerSize == 12;
  const std::uint32_t headerSize = f.headerSize;
  if (!f.core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
    Fail("unsupported header size " + std::to_string(headerSize));
  if (size < kFileHeaderSize + headerSize) Fail("truncated header");

  const std::uint8_t* h = p + kFileHeaderSize;
  if (f.core) {
    f.width = ReadLe16(h + 4);
    f.height = ReadLe16(h + 6);
    f.planes = ReadLe16(h + 8);
    f.bits = ReadLe16(h + 10);
  } else {
    f.width = ReadLe32Signed(h + 4);
    f.height = ReadLe32Signed(h + 8);
    f.planes = ReadLe16(h + 12);
    f.bits = ReadLe16(h + 14);
    f.compression = ReadLe32(h + 16);
    f.colorsUsed = ReadLe32(h + 32);
  }
  return f;
}

Layout ParseHeaders(std::span<const std::uint8_t> in) {
  const std::size_t size = in.size();
  const std::uint8_t* p = in.data();
  const Headers f = ReadHeaders(in);
  const std::uint32_t dataOffset = f.dataOffset, headerSize = f.headerSize, planes = f.planes;
  const std::uint32_t compression = f.compression, colorsUsed = f.colorsUsed;
  const bool core = f.core;
  Layout l;
  l.width = f.width;
  l.height = f.height;
  l.bits = f.bits;
  if (core) l.paletteEntry = 3;
  if (planes != 1) Fail("bad plane count " + std::to_string(planes));
  if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32)
    Fail("unsupported bit depth " + std::to_string(l.bits));
  if (compression != kBiRgb && compression != kBiBitfields && compression != kBiAlphaBitfields)
    Fail("unsupported compression " + std::to_string(compression));
  if (compression != kBiRgb && l.bits != 16 && l.bits != 32)
    Fail("bit fields with " + std::to_string(l.bits) + " bits per pixel");

  if (l.height < 0) {
    l.topDown = true;
    l.height = -l.height;  // 64-bit, so even the most negative value turns positive
  }
  if (l.width <= 0 || l.height == 0)
    Fail("bad image size " + std::to_string(l.width) + " x " + std::to_string(l.height));
  if (!Bitmap::SizeAllowed(l.width, l.height))
    Fail("image size " + std::to_string(l.width) + " x " + std::to_string(l.height) + " is too large");

  // The masks start where a 40-byte header ends: inside the longer headers, after a 40-byte one.
  // Those the header has no room for follow it.
  std::size_t headerEnd = kFileHeaderSize + headerSize;
  const bool hasAlphaMask = compression == kBiAlphaBitfields || headerSize >= 56;
  if (compression != kBiRgb && !core) {
    const std::size_t masks = hasAlphaMask ? 4 : 3;
    const std::size_t inHeader = std::min<std::size_t>(4, (headerSize - 40) / 4);
    if (masks > inHeader) headerEnd += 4 * (masks - inHeader);
  }
  if (size < headerEnd) Fail("truncated header");

  if (compression != kBiRgb) {
    const std::uint8_t* m = p + kFileHeaderSize + 40;
    l.bitfields = true;
    l.red = Channel::From(ReadLe32(m));
    l.green = Channel::From(ReadLe32(m + 4));
    l.blue = Channel::From(ReadLe32(m + 8));
    l.alpha = Channel::From(hasAlphaMask ? ReadLe32(m + 12) : 0);
    const std::uint32_t all = l.red.mask | l.green.mask | l.blue.mask | l.alpha.mask;
    const bool overlap = (l.red.mask & l.green.mask) || (l.red.mask & l.blue.mask) || (l.green.mask & l.blue.mask) ||
                         (l.alpha.mask & (l.red.mask | l.green.mask | l.blue.mask));
    const bool fits = l.bits == 32 || (all >> 16) == 0;
    if (overlap || !fits || !l.red.Contiguous() || !l.green.Contiguous() || !l.blue.Contiguous() ||
        !l.alpha.Contiguous())
      Fail("bad bit field masks");
    // A 32-bit file without an alpha mask still carries its alpha in the byte the colours leave free.
    if (l.bits == 32 && !l.alpha.mask && !(all & 0xFF000000u)) l.alpha = Channel::From(0xFF000000u);
  } else if (l.bits == 16) {
    l.bitfields = true;
    l.red = Channel::From(0x7C00);
    l.green = Channel::From(0x03E0);
    l.blue = Channel::From(0x001F);
  }

  if (dataOffset < headerEnd || dataOffset > size) Fail("bad pixel data offset " + std::to_string(dataOffset));
  l.dataOffset = dataOffset;

  if (l.bits <= 8) {
    const std::int64_t most = std::int64_t{1} << l.bits;
    if (colorsUsed > most)
      Fail("palette of " + std::to_string(colorsUsed) + " colours for " + std::to_string(l.bits) + " bits per pixel");
    l.paletteOffset = headerEnd;
    const std::int64_t room = static_cast<std::int64_t>((dataOffset - headerEnd) / l.paletteEntry);
    if (colorsUsed) {
      if (colorsUsed > room) Fail("palette runs into the pixel data");
      l.paletteCount = colorsUsed;
    } else {
      // Writers that leave the count out sometimes store a shorter palette; take what is there.
      l.paletteCount = std::min(most, room);
    }
    if (!l.paletteCount) Fail("missing palette");
  }

  l.stride = (l.width * l.bits + 31) / 32 * 4;
  // The last row may go without its padding.
  const std::int64_t rowBytes = (l.width * l.bits + 7) / 8;
  const std::int64_t needed = l.stride * (l.height - 1) + rowBytes;
  if (needed > static_cast<std::int64_t>(size - dataOffset)) Fail("truncated pixel data");
  return l;
}

}  // namespace

std::optional<ImageHeader> PeekBmpHeader(std::span<const std::uint8_t> bytes) {
  try {
    const Headers f = ReadHeaders(bytes);
    return ImageHeader{f.width, f.height < 0 ? -f.height : f.height, f.bits};
  } catch (const Error&) {
    return std::nullopt;
  }
}

std::unique_ptr<Bitmap> ReadBmp(std::span<const std::uint8_t> bytes) {
  const Layout l = ParseHeaders(bytes);
  const int width = static_cast<int>(l.width);
  const int height = static_cast<int>(l.height);

  std::array<Pixel, 256> palette;
  palette.fill(MakePixel(0, 0, 0, 255));  // indices past a short palette read as black
  for (std::int64_t i = 0; i < l.paletteCount; ++i) {
    const std::uint8_t* e = bytes.data() + l.paletteOffset + i * l.paletteEntry;
    palette[static_cast<std::size_t>(i)] = MakePixel(e[2], e[1], e[0], 255);
  }

  auto bitmap = std::make_unique<Bitmap>(width, height);
  std::uint32_t alphaSeen = 0;
  for (int r = 0; r < height; ++r) {
    const std::uint8_t* src = bytes.data() + l.dataOffset + r * l.stride;
    Pixel* dst = bitmap->Row(l.topDown ? r : height - 1 - r);
    if (l.bitfields) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v = l.bits == 16 ? ReadLe16(src + x * 2) : ReadLe32(src + x * 4);
        const std::uint8_t a = l.alpha.Get(v);
        alphaSeen |= a;
        dst[x] = MakePixel(l.red.Get(v), l.green.Get(v), l.blue.Get(v), l.alpha.mask ? a : 255);
      }
    } else if (l.bits == 32) {
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* s = src + x * 4;
        alphaSeen |= s[3];
        dst[x] = MakePixel(s[2], s[1], s[0], s[3]);
      }
    } else if (l.bits == 24) {
      for (int x = 0; x < width; ++x) dst[x] = MakePixel(src[x * 3 + 2], src[x * 3 + 1], src[x * 3], 255);
    } else {
      const int perByte = 8 / l.bits;
      const unsigned mask = (1u << l.bits) - 1;
      for (int x = 0; x < width; ++x) {
        const int shift = 8 - l.bits * (x % perByte + 1);
        dst[x] = palette[(src[x / perByte] >> shift) & mask];
      }
    }
  }

  // Many writers leave the fourth byte zero; a picture that is wholly transparent is meant opaque.
  const bool hasAlpha = l.bitfields ? l.alpha.mask != 0 : l.bits == 32;
  if (hasAlpha && alphaSeen == 0) {
    for (int y = 0; y < height; ++y) {
      Pixel* row = bitmap->Row(y);
      for (int x = 0; x < width; ++x) row[x] |= 0xFF000000u;
    }
  }
  return bitmap;
}

std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap) {
  if (bitmap.Empty()) throw Error("BMP: cannot write an empty bitmap");
  const std::size_t w = static_cast<std::size_t>(bitmap.Width());
  const std::size_t h = static_cast<std::size_t>(bitmap.Height());
  const std::size_t dataOffset = kFileHeaderSize + 40;
  const std::size_t imageSize = w * h * 4;
  std::vector<std::uint8_t> out(dataOffset + imageSize);
  std::uint8_t* p = out.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<std::uint32_t>(out.size()));
  Put32(p + 10, static_cast<std::uint32_t>(dataOffset));
  std::uint8_t* info = p + kFileHeaderSize;
  Put32(info, 40);
  Put32(info + 4, static_cast<std::uint32_t>(w));
  Put32(info + 8, static_cast<std::uint32_t>(-static_cast<std::int32_t>(h)));  // top-down
  Put16(info + 12, 1);
  Put16(info + 14, 32);
  Put32(info + 16, kBiRgb);
  Put32(info + 20, static_cast<std::uint32_t>(imageSize));
  Put32(info + 24, 2835);  // 72 dots per inch
  Put32(info + 28, 2835);

  std::uint8_t* dst = p + dataOffset;
  for (int y = 0; y < bitmap.Height(); ++y, dst += w * 4) {
    if (bitmap.Format() == PixelFormat::Bgra32) {
      std::memcpy(dst, bitmap.Scanline(y), w * 4);
    } else {
      for (int x = 0; x < bitmap.Width(); ++x) Put32(dst + x * 4, bitmap.PixelAt(x, y));
    }
  }
  return out;
}

}  // namespace plat
