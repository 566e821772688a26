#include "platform/gdi/image_codecs.h"

#include <png.h>
#include <stdio.h>
#include <zlib.h>

#include <jpeglib.h>
#undef TRUE
#undef FALSE

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "platform/base/error.h"

// Readers must refuse a malformed file before making its bitmap, the one big array they allocate.
// Array allocations of the whole test program are watched to see that they do.
namespace {
std::atomic<std::size_t> gLargestArray{0};
void NoteArray(std::size_t n) {
  std::size_t seen = gLargestArray.load();
  while (n > seen && !gLargestArray.compare_exchange_weak(seen, n)) {
  }
}
}  // namespace

void* operator new[](std::size_t n) {
  NoteArray(n);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  NoteArray(n);
  return std::malloc(n ? n : 1);
}
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace plat {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Hex(Pixel p) {
  char s[16];
  std::snprintf(s, sizeof s, "%08X", static_cast<unsigned>(p));
  return s;
}

// Little-endian fields for hand-made files.
struct Le {
  Bytes b;
  Le& U8(unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  Le& U16(unsigned v) { return U8(v & 0xFF).U8(v >> 8); }
  Le& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
};

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(Bytes& b, std::size_t at, unsigned v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// ---------------------------------------------------------------------------------------------
// BMP

struct BmpFile {
  std::uint32_t headerSize = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // as stored: negative for top-down rows
  unsigned bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::vector<std::uint32_t> palette{};  // 0xRRGGBB
  std::vector<std::uint32_t> masks{};    // after a 40-byte header, inside longer ones
  std::vector<Bytes> rows{};           // in file order, unpadded
};

Bytes Build(const BmpFile& f) {
  Le o;
  o.U8('B').U8('M').U32(0).U32(0).U32(0);
  if (f.headerSize == 12) {
    o.U32(12).U16(static_cast<unsigned>(f.width)).U16(static_cast<unsigned>(f.height)).U16(1).U16(f.bits);
  } else {
    o.U32(f.headerSize).U32(static_cast<std::uint32_t>(f.width)).U32(static_cast<std::uint32_t>(f.height));
    o.U16(1).U16(f.bits).U32(f.compression).U32(0).U32(2835).U32(2835).U32(f.colorsUsed).U32(0);
    if (f.headerSize == 40) {
      for (std::uint32_t m : f.masks) o.U32(m);
    } else {
      for (std::size_t i = 0; i < 4; ++i) o.U32(i < f.masks.size() ? f.masks[i] : 0);
      o.b.resize(14 + f.headerSize);
    }
  }
  for (std::uint32_t c : f.palette) {
    o.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8(c >> 16);
    if (f.headerSize != 12) o.U8(0);
  }
  Put32(o.b, 10, static_cast<std::uint32_t>(o.b.size()));
  for (const Bytes& row : f.rows) {
    o.b.insert(o.b.end(), row.begin(), row.end());
    o.b.resize(o.b.size() + (4 - row.size() % 4) % 4);
  }
  Put32(o.b, 2, static_cast<std::uint32_t>(o.b.size()));
  return o.b;
}

Bitmap Sample(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.Row(y)[x] = MakePixel(static_cast<BYTE>(x * 37 + y), static_cast<BYTE>(y * 53), static_cast<BYTE>(x ^ y * 7),
                              static_cast<BYTE>((x * 71 + y * 13) & 0xFF));
  b.Row(0)[0] = MakePixel(1, 2, 3, 0);  // fully transparent with colour: must survive
  return b;
}

void ExpectSame(const Bitmap& a, const Bitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      ASSERT_EQ(Hex(a.PixelAt(x, y)), Hex(b.PixelAt(x, y))) << "at " << x << "," << y;
}

TEST(Bmp, WritesTopDown32BitAndReadsBackExactly) {
  const Bitmap original = Sample(7, 5);
  const Bytes file = WriteBmp(original);
  ASSERT_EQ(file.size(), 54u + 7 * 5 * 4);
  std::int32_t height;
  std::memcpy(&height, &file[22], 4);
  EXPECT_EQ(height, -5);
  EXPECT_EQ(file[28], 32);
  // Top-down: the first stored pixel is the top-left one.
  EXPECT_EQ(file[54 + 2], PixelR(original.Row(0)[0]));
  ExpectSame(*ReadBmp(file), original);
}

struct Probe {
  int x, y;
  Pixel expected;
};

struct HandCase {
  const char* name;
  BmpFile file;  // rows top first, height positive
  std::vector<Probe> probes;
};

constexpr Pixel Opaque(std::uint32_t rgb) { return 0xFF000000u | rgb; }

TEST(Bmp, ReadsEveryDepthBottomUpAndTopDown) {
  const std::uint32_t kDark = 0x102030, kLight = 0xF0E0D0, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
  const HandCase cases[] = {
      {"1-bit across a byte",
       {.width = 10, .height = 2, .bits = 1, .palette = {kDark, kLight}, .rows = {{0xB0, 0x40}, {0x00, 0xC0}}},
       {{0, 0, Opaque(kLight)}, {1, 0, Opaque(kDark)}, {3, 0, Opaque(kLight)}, {8, 0, Opaque(kDark)},
        {9, 0, Opaque(kLight)}, {7, 1, Opaque(kDark)}, {8, 1, Opaque(kLight)}, {9, 1, Opaque(kLight)}}},
      {"4-bit, short counted palette",
       {.width = 3, .height = 2, .bits = 4, .colorsUsed = 3, .palette = {kRed, kGreen, kBlue},
        .rows = {{0x01, 0x20}, {0x22, 0x10}}},
       {{0, 0, Opaque(kRed)}, {1, 0, Opaque(kGreen)}, {2, 0, Opaque(kBlue)}, {0, 1, Opaque(kBlue)},
        {2, 1, Opaque(kGreen)}}},
      {"8-bit, uncounted short palette, index past it",
       {.width = 3, .height = 2, .bits = 8, .palette = {kRed, kGreen, kBlue}, .rows = {{2, 0, 1}, {1, 200, 2}}},
       {{0, 0, Opaque(kBlue)}, {1, 0, Opaque(kRed)}, {2, 0, Opaque(kGreen)}, {0, 1, Opaque(kGreen)},
        {1, 1, Opaque(0)}}},
      {"24-bit with row padding",
       {.width = 3, .height = 2, .bits = 24,
        .rows = {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18}}},
       {{0, 0, Opaque(0x030201)}, {2, 0, Opaque(0x090807)}, {1, 1, Opaque(0x0F0E0D)}}},
      {"24-bit behind a V4 header",
       {.headerSize = 108, .width = 1, .height = 2, .bits = 24, .rows = {{1, 2, 3}, {4, 5, 6}}},
       {{0, 0, Opaque(0x030201)}, {0, 1, Opaque(0x060504)}}},
      {"32-bit keeps alpha as stored",
       {.width = 2, .height = 2, .bits = 32, .rows = {{1, 2, 3, 0, 4, 5, 6, 128}, {7, 8, 9, 255, 10, 11, 12, 1}}},
       {{0, 0, 0x00030201}, {1, 0, 0x80060504}, {0, 1, 0xFF090807}, {1, 1, 0x010C0B0A}}},
      {"32-bit with every alpha zero is opaque",
       {.width = 2, .height = 1, .bits = 32, .rows = {{1, 2, 3, 0, 4, 5, 6, 0}}},
       {{0, 0, Opaque(0x030201)}, {1, 0, Opaque(0x060504)}}},
      {"32-bit bit fields, standard masks, free byte is alpha",
       {.width = 2, .height = 1, .bits = 32, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF},
        .rows = {{1, 2, 3, 64, 4, 5, 6, 0}}},
       {{0, 0, 0x40030201}, {1, 0, 0x00060504}}},
      {"32-bit bit fields in a V5 header, R,G,B,A byte order",
       {.headerSize = 124, .width = 1, .height = 2, .bits = 32, .compression = 3,
        .masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, .rows = {{0x11, 0x22, 0x33, 0x44}, {0x55, 0x66, 0x77, 0x88}}},
       {{0, 0, 0x44112233}, {0, 1, 0x88556677}}},
      {"16-bit 5-5-5",
       {.width = 4, .height = 1, .bits = 16, .rows = {{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F}}},
       {{0, 0, Opaque(kRed)}, {1, 0, Opaque(kGreen)}, {2, 0, Opaque(kBlue)}, {3, 0, Opaque(0xFFFFFF)}}},
      {"16-bit 5-6-5 bit fields",
       {.width = 3, .height = 1, .bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F},
        .rows = {{0x00, 0xF8, 0xE0, 0x07, 0x00, 0x00}}},
       {{0, 0, Opaque(kRed)}, {1, 0, Opaque(kGreen)}, {2, 0, Opaque(0)}}},
      {"8-bit behind a core header, three-byte palette",
       {.headerSize = 12, .width = 2, .height = 2, .bits = 8, .palette = {kRed, kGreen}, .rows = {{0, 1}, {1, 1}}},
       {{0, 0, Opaque(kRed)}, {1, 0, Opaque(kGreen)}, {0, 1, Opaque(kGreen)}}},
  };
  for (const HandCase& c : cases) {
    for (bool topDown : {false, true}) {
      if (topDown && c.file.headerSize == 12) continue;  // its sizes are unsigned
      SCOPED_TRACE(std::string(c.name) + (topDown ? ", top-down" : ", bottom-up"));
      BmpFile f = c.file;
      if (topDown)
        f.height = -f.height;
      else
        std::reverse(f.rows.begin(), f.rows.end());
      const auto bitmap = ReadBmp(Build(f));
      ASSERT_EQ(bitmap->Width(), c.file.width);
      ASSERT_EQ(bitmap->Height(), c.file.height);
      for (const Probe& p : c.probes) EXPECT_EQ(Hex(bitmap->PixelAt(p.x, p.y)), Hex(p.expected)) << p.x << "," << p.y;
    }
  }
}

struct BadCase {
  const char* name;
  Bytes bytes;
  const char* message;  // found within the error text
};

void ExpectRefused(const std::function<std::unique_ptr<Bitmap>(std::span<const std::uint8_t>)>& read,
                   const BadCase& c) {
  SCOPED_TRACE(c.name);
  gLargestArray = 0;
  try {
    read(c.bytes);
    ADD_FAILURE() << "accepted";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
  }
  EXPECT_LT(gLargestArray.load(), 1u << 20) << "allocated before refusing";
}

Bytes With(Bytes b, const std::function<void(Bytes&)>& change) {
  change(b);
  return b;
}

TEST(Bmp, RefusesMalformedFiles) {
  const Bytes rgb = Build({.width = 3, .height = 2, .bits = 24, .rows = {Bytes(9, 1), Bytes(9, 2)}});
  const Bytes indexed =
      Build({.width = 3, .height = 2, .bits = 8, .colorsUsed = 3, .palette = {1, 2, 3},
             .rows = {{0, 1, 2}, {2, 1, 0}}});
  const Bytes fields = Build({.width = 2, .height = 1, .bits = 16, .compression = 3,
                              .masks = {0xF800, 0x07E0, 0x001F}, .rows = {{0, 0, 0, 0}}});
  const Bytes fields52 = Build({.headerSize = 52, .width = 2, .height = 1, .bits = 16, .compression = 6,
                                .masks = {0xF800, 0x07E0, 0x001F, 0}, .rows = {{0, 0, 0, 0}}});
  auto size = [](std::int32_t w, std::int32_t h) {
    return [=](Bytes& b) {
      Put32(b, 18, static_cast<std::uint32_t>(w));
      Put32(b, 22, static_cast<std::uint32_t>(h));
    };
  };
  auto field32 = [](std::size_t at, std::uint32_t v) { return [=](Bytes& b) { Put32(b, at, v); }; };
  auto cut = [](std::size_t n) { return [=](Bytes& b) { b.resize(n); }; };

  const BadCase cases[] = {
      {"empty", {}, "BMP: bad signature"},
      {"wrong signature", With(rgb, [](Bytes& b) { b[1] = 'A'; }), "BMP: bad signature"},
      {"cut inside the file header", With(rgb, cut(10)), "BMP: truncated header"},
      {"cut inside the info header", With(rgb, cut(30)), "BMP: truncated header"},
      {"OS/2 2.x header", With(rgb, field32(14, 64)), "BMP: unsupported header size 64"},
      {"huge header size", With(rgb, field32(14, 0xFFFFFFFF)), "BMP: unsupported header size 4294967295"},
      {"zero width", With(rgb, size(0, 2)), "BMP: bad image size 0 x 2"},
      {"negative width", With(rgb, size(-3, 2)), "BMP: bad image size -3 x 2"},
      {"zero height", With(rgb, size(3, 0)), "BMP: bad image size 3 x 0"},
      {"100000 x 100000", With(rgb, size(100000, 100000)), "BMP: image size 100000 x 100000 is too large"},
      {"20000 x 20000 top-down", With(rgb, size(20000, -20000)), "BMP: image size 20000 x 20000 is too large"},
      {"too many pixels", With(rgb, size(16384, 4097)), "too large"},
      {"most negative height", With(rgb, size(3, INT32_MIN)), "BMP: image size 3 x 2147483648 is too large"},
      {"8000 x 8000 in a tiny file", With(rgb, size(8000, 8000)), "BMP: truncated pixel data"},
      {"pixel data cut short", With(rgb, cut(rgb.size() - 4)), "BMP: truncated pixel data"},
      {"two planes", With(rgb, [](Bytes& b) { Put16(b, 26, 2); }), "BMP: bad plane count 2"},
      {"7 bits per pixel", With(rgb, [](Bytes& b) { Put16(b, 28, 7); }), "BMP: unsupported bit depth 7"},
      {"run-length 8", With(rgb, field32(30, 1)), "BMP: unsupported compression 1"},
      {"run-length 4", With(rgb, field32(30, 2)), "BMP: unsupported compression 2"},
      {"embedded JPEG", With(rgb, field32(30, 4)), "BMP: unsupported compression 4"},
      {"bit fields on 24 bits", With(rgb, field32(30, 3)), "BMP: bit fields with 24 bits per pixel"},
      {"data offset past the end", With(rgb, field32(10, 0xFFFFFFFF)), "BMP: bad pixel data offset 4294967295"},
      {"data offset inside the header", With(rgb, field32(10, 20)), "BMP: bad pixel data offset 20"},
      {"palette count past 2^bits", With(indexed, field32(46, 300)), "BMP: palette of 300 colours for 8 bits"},
      {"palette count past the data offset", With(indexed, field32(46, 256)), "BMP: palette runs into the pixel data"},
      {"no room for a palette", With(indexed, [](Bytes& b) { Put32(b, 46, 0); Put32(b, 10, 54); }),
       "BMP: missing palette"},
      {"overlapping masks", With(fields, field32(58, 0x0FE0)), "BMP: bad bit field masks"},
      {"broken mask", With(fields, field32(54, 0xF0F0)), "BMP: bad bit field masks"},
      {"mask wider than the pixel", With(fields, field32(54, 0x1F0000)), "BMP: bad bit field masks"},
      {"masks cut off", With(fields, cut(60)), "BMP: truncated header"},
      {"alpha mask past a 52-byte header, cut off", With(fields52, cut(66)), "BMP: truncated header"},
      {"alpha mask past a 52-byte header, overlapping the pixels", fields52, "BMP: bad pixel data offset 66"},
  };
  for (const BadCase& c : cases) ExpectRefused(ReadBmp, c);
}

TEST(Bmp, RefusesToWriteAnEmptyBitmap) { EXPECT_THROW(WriteBmp(Bitmap(0, 3)), Error); }

// ---------------------------------------------------------------------------------------------
// PNG

TEST(Png, WritesAndReadsBackExactlyIncludingAlpha) {
  const Bitmap original = Sample(13, 6);
  const Bytes file = WritePng(original);
  ExpectSame(*ReadPng(file), original);
}

TEST(Png, WritesOtherFormatsThroughTheirPixels) {
  Bitmap grey(3, 2, PixelFormat::Gray8);
  grey.SetPixelAt(1, 1, MakePixel(200, 200, 200, 255));
  const auto back = ReadPng(WritePng(grey));
  EXPECT_EQ(Hex(back->PixelAt(1, 1)), Hex(grey.PixelAt(1, 1)));
  EXPECT_EQ(Hex(back->PixelAt(0, 0)), Hex(Opaque(0)));
}

struct PngImage {
  png_uint_32 width = 1, height = 1;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette{};
  Bytes transparency{};        // palette alpha
  png_color_16 transparent{};  // the one transparent colour of grey or RGB images
  bool hasTransparent = false;
  std::vector<Bytes> rows{};  // as the file stores them, big-endian samples
};

[[noreturn]] void TestPngError(png_structp, png_const_charp message) {
  std::fprintf(stderr, "test PNG writer: %s\n", message);
  std::abort();
}

void AppendTo(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// Any kind of PNG, through libpng's writer, for the reader to expand.
Bytes EncodeTestPng(const PngImage& im) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, TestPngError, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendTo, nullptr);
  png_set_IHDR(png, info, im.width, im.height, im.bitDepth, im.colorType,
               im.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!im.palette.empty()) png_set_PLTE(png, info, im.palette.data(), static_cast<int>(im.palette.size()));
  if (!im.transparency.empty() || im.hasTransparent)
    png_set_tRNS(png, info, im.transparency.empty() ? nullptr : im.transparency.data(),
                 static_cast<int>(im.transparency.size()), im.hasTransparent ? &im.transparent : nullptr);
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass)
    for (const Bytes& row : im.rows) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(Png, ExpandsEveryColourTypeToBgra) {
  PngImage interlaced{.width = 9, .height = 9, .colorType = PNG_COLOR_TYPE_RGB_ALPHA, .interlaced = true};
  for (int y = 0; y < 9; ++y) {
    Bytes row;
    for (int x = 0; x < 9; ++x)
      row.insert(row.end(), {std::uint8_t(x * 20), std::uint8_t(y * 20), 7, std::uint8_t(x + y)});
    interlaced.rows.push_back(row);
  }
  PngImage rgbKey{.width = 2, .colorType = PNG_COLOR_TYPE_RGB, .rows = {{1, 2, 3, 4, 5, 6}}};
  rgbKey.transparent.red = 4;
  rgbKey.transparent.green = 5;
  rgbKey.transparent.blue = 6;
  rgbKey.hasTransparent = true;

  const struct {
    const char* name;
    PngImage image;
    std::vector<Probe> probes;
  } cases[] = {
      {"2-bit palette with tRNS",
       {.width = 4, .colorType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 2,
        .palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}, .transparency = {255, 128, 0},
        .rows = {{0x1B}}},
       {{0, 0, 0xFFFF0000}, {1, 0, 0x8000FF00}, {2, 0, 0x000000FF}, {3, 0, 0xFFFFFFFF}}},
      {"1-bit grey", {.width = 8, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1, .rows = {{0x81}}},
       {{0, 0, 0xFFFFFFFF}, {1, 0, 0xFF000000}, {7, 0, 0xFFFFFFFF}}},
      {"16-bit grey",
       {.width = 2, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 16, .rows = {{0xFF, 0xFF, 0x80, 0x00}}},
       {{0, 0, 0xFFFFFFFF}, {1, 0, 0xFF808080}}},
      {"grey with alpha", {.colorType = PNG_COLOR_TYPE_GRAY_ALPHA, .rows = {{100, 50}}}, {{0, 0, 0x32646464}}},
      {"16-bit RGB", {.colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 16, .rows = {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF}}},
       {{0, 0, 0xFF12ABFF}}},
      {"RGB with a transparent colour", rgbKey, {{0, 0, 0xFF010203}, {1, 0, 0x00040506}}},
      {"interlaced RGBA", interlaced, {{0, 0, 0x00000007}, {4, 7, 0x0B508C07}, {8, 8, 0x10A0A007}, {3, 1, 0x043C1407}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bitmap = ReadPng(EncodeTestPng(c.image));
    ASSERT_EQ(bitmap->Width(), static_cast<int>(c.image.width));
    ASSERT_EQ(bitmap->Height(), static_cast<int>(c.image.height));
    for (const Probe& p : c.probes) EXPECT_EQ(Hex(bitmap->PixelAt(p.x, p.y)), Hex(p.expected)) << p.x << "," << p.y;
  }
}

// IHDR with new sizes and a CRC that matches them, so that the size check itself is reached.
Bytes WithPngSize(Bytes b, std::uint32_t w, std::uint32_t h) {
  auto be32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
  };
  be32(16, w);
  be32(20, h);
  be32(29, static_cast<std::uint32_t>(crc32(0, b.data() + 12, 17)));
  return b;
}

TEST(Png, RefusesMalformedFiles) {
  const Bytes good = WritePng(Sample(40, 30));
  auto cut = [&](std::size_t n) { return Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)); };
  const BadCase cases[] = {
      {"empty", {}, "PNG: bad signature"},
      {"wrong signature", With(good, [](Bytes& b) { b[3] = 'X'; }), "PNG: bad signature"},
      {"signature only", cut(8), "PNG: truncated data"},
      {"cut inside IHDR", cut(20), "PNG: truncated data"},
      {"cut after IHDR", cut(33), "PNG: truncated data"},
      {"cut inside the pixel data", cut(good.size() / 2), "PNG: truncated data"},
      {"no IEND", cut(good.size() - 12), "PNG: truncated data"},
      {"cut inside IEND", cut(good.size() - 1), "PNG: truncated data"},
      {"IHDR CRC wrong", With(good, [](Bytes& b) { b[29] ^= 1; }), "CRC"},
      {"100000 x 100000", WithPngSize(good, 100000, 100000), "PNG: image size 100000 x 100000 is too large"},
      {"20000 x 20000", WithPngSize(good, 20000, 20000), "PNG: image size 20000 x 20000 is too large"},
      {"too many pixels", WithPngSize(good, 16384, 4097), "too large"},
      {"8000 x 8000 in a tiny file", WithPngSize(good, 8000, 8000), "PNG: truncated data for an image of 8000 x 8000"},
      {"past libpng's own limit", WithPngSize(good, 0x7FFFFFFF, 1), "PNG: "},
      {"zero width", WithPngSize(good, 0, 30), "PNG: "},
      {"corrupt compressed data", With(good, [](Bytes& b) { b[41] ^= 0xFF; b[42] ^= 0xFF; }), "PNG: "},
  };
  for (const BadCase& c : cases) ExpectRefused(ReadPng, c);
}

// ---------------------------------------------------------------------------------------------
// JPEG

struct JpegImage {
  int width = 16, height = 16;
  J_COLOR_SPACE space = JCS_RGB;
  int components = 3;
  bool progressive = false;
  std::function<Bytes(int x, int y)> sample{};
};

// libjpeg's compressor with its stock error handling: this is test-only code.
Bytes EncodeTestJpeg(const JpegImage& im) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* data = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &data, &size);
  c.image_width = static_cast<JDIMENSION>(im.width);
  c.image_height = static_cast<JDIMENSION>(im.height);
  c.input_components = im.components;
  c.in_color_space = im.space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, 1);
  if (im.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, 1);
  Bytes row;
  while (c.next_scanline < c.image_height) {
    row.clear();
    for (int x = 0; x < im.width; ++x) {
      const Bytes s = im.sample(x, static_cast<int>(c.next_scanline));
      row.insert(row.end(), s.begin(), s.end());
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(data, data + size);
  std::free(data);
  return out;
}

Bytes Gradient(int x, int y) { return {std::uint8_t(x * 16), std::uint8_t(y * 16), 128}; }

TEST(Jpeg, DecodesWithinTolerance) {
  const struct {
    const char* name;
    JpegImage image;
    std::function<Pixel(int x, int y)> expected;
  } cases[] = {
      {"baseline colour", {.sample = Gradient},
       [](int x, int y) { return MakePixel(BYTE(x * 16), BYTE(y * 16), 128, 255); }},
      {"progressive colour", {.progressive = true, .sample = Gradient},
       [](int x, int y) { return MakePixel(BYTE(x * 16), BYTE(y * 16), 128, 255); }},
      {"greyscale",
       {.space = JCS_GRAYSCALE, .components = 1, .sample = [](int x, int) { return Bytes{std::uint8_t(x * 16)}; }},
       [](int x, int) { return MakePixel(BYTE(x * 16), BYTE(x * 16), BYTE(x * 16), 255); }},
      // Adobe CMYK is stored inverted: 255 means no ink.
      {"Adobe CMYK",
       {.space = JCS_CMYK, .components = 4,
        .sample = [](int x, int y) { return Bytes{std::uint8_t(x * 16), std::uint8_t(y * 16), 200, 255}; }},
       [](int x, int y) { return MakePixel(BYTE(x * 16), BYTE(y * 16), 200, 255); }},
      {"Adobe CMYK, half black",
       {.space = JCS_CMYK, .components = 4, .sample = [](int, int) { return Bytes{255, 255, 255, 128}; }},
       [](int, int) { return MakePixel(128, 128, 128, 255); }},
  };
  constexpr int kTolerance = 16;  // chroma is subsampled; a swapped or lost channel is off by far more
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bitmap = ReadJpeg(EncodeTestJpeg(c.image));
    ASSERT_EQ(bitmap->Width(), c.image.width);
    ASSERT_EQ(bitmap->Height(), c.image.height);
    int worst = 0;
    for (int y = 0; y < bitmap->Height(); ++y)
      for (int x = 0; x < bitmap->Width(); ++x) {
        const Pixel got = bitmap->PixelAt(x, y), want = c.expected(x, y);
        ASSERT_EQ(PixelA(got), 255u);
        for (int shift : {0, 8, 16})
          worst = std::max(worst, std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)));
      }
    EXPECT_LE(worst, kTolerance);
  }
}

// The frame header's height and width, wherever the encoder put it.
Bytes WithJpegSize(Bytes b, unsigned w, unsigned h) {
  for (std::size_t i = 2; i + 9 < b.size(); ++i) {
    if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) {
      b[i + 5] = std::uint8_t(h >> 8);
      b[i + 6] = std::uint8_t(h);
      b[i + 7] = std::uint8_t(w >> 8);
      b[i + 8] = std::uint8_t(w);
      return b;
    }
  }
  ADD_FAILURE() << "no frame header";
  return b;
}

TEST(Jpeg, RefusesMalformedFiles) {
  const Bytes good = EncodeTestJpeg({.width = 64, .height = 48, .sample = Gradient});
  const Bytes progressive = EncodeTestJpeg({.width = 64, .height = 48, .progressive = true, .sample = Gradient});
  auto cut = [](const Bytes& b, std::size_t n) { return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n)); };
  const BadCase cases[] = {
      {"empty", {}, "JPEG: bad signature"},
      {"start of image only", cut(good, 2), "JPEG: bad signature"},
      {"wrong signature", With(good, [](Bytes& b) { b[1] = 0xD9; }), "JPEG: bad signature"},
      {"cut in the first marker", cut(good, 3), "JPEG: Premature end of JPEG file"},
      {"cut in the tables", cut(good, 100), "JPEG: Premature end of JPEG file"},
      {"cut in the pixel data", cut(good, good.size() / 2 + 200), "JPEG: Premature end of JPEG file"},
      {"progressive cut in the scans", cut(progressive, progressive.size() * 2 / 3),
       "JPEG: Premature end of JPEG file"},
      {"no end marker", cut(good, good.size() - 2), "JPEG: Premature end of JPEG file"},
      {"65500 x 65500", WithJpegSize(good, 65500, 65500), "JPEG: image size 65500 x 65500 is too large"},
      {"20000 x 20000", WithJpegSize(good, 20000, 20000), "JPEG: image size 20000 x 20000 is too large"},
      {"too many pixels", WithJpegSize(good, 16384, 4097), "too large"},
      {"zero height", WithJpegSize(good, 64, 0), "JPEG: "},
  };
  for (const BadCase& c : cases) ExpectRefused(ReadJpeg, c);
}

// ---------------------------------------------------------------------------------------------
// By signature, and files

TEST(ReadImage, ChoosesTheReaderBySignature) {
  const Bitmap sample = Sample(5, 4);
  const Bytes bmp = WriteBmp(sample);
  const Bytes png = WritePng(sample);
  const Bytes jpeg = EncodeTestJpeg({.width = 6, .height = 3, .sample = Gradient});
  EXPECT_EQ(ReadImage(bmp)->Width(), 5);
  EXPECT_EQ(ReadImage(png)->Width(), 5);
  EXPECT_EQ(ReadImage(jpeg)->Width(), 6);
  for (const Bytes& other : {Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}, Bytes{}, Bytes{0xFF, 0xD8}}) {
    try {
      ReadImage(other);
      ADD_FAILURE() << "accepted";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "image: unknown file format (not BMP, PNG or JPEG)");
    }
  }
}

TEST(PeekImageHeader, TellsTheSizeWithoutDecodingEvenBeyondTheLimits) {
  const Bitmap sample = Sample(5, 4);
  Bytes bmp = WriteBmp(sample);
  Bytes png = WritePng(sample);
  const Bytes jpeg = EncodeTestJpeg({.width = 6, .height = 3, .sample = Gradient});
  struct Case {
    const char* name;
    const Bytes& bytes;
    std::int64_t width, height;
  };
  for (const Case& c : {Case{"bmp", bmp, 5, 4}, Case{"png", png, 5, 4}, Case{"jpeg", jpeg, 6, 3}}) {
    const auto header = PeekImageHeader(c.bytes);
    ASSERT_TRUE(header) << c.name;
    EXPECT_EQ(header->width, c.width) << c.name;
    EXPECT_EQ(header->height, c.height) << c.name;
  }
  // A width no bitmap may have is still told, so that a caller can name it.
  bmp[18] = 0x00, bmp[19] = 0x00, bmp[20] = 0x00, bmp[21] = 0x40;  // 1 << 30
  png[16] = 0x40, png[17] = 0x00, png[18] = 0x00, png[19] = 0x00;
  EXPECT_EQ(PeekImageHeader(bmp)->width, std::int64_t{1} << 30);
  EXPECT_EQ(PeekImageHeader(png)->width, std::int64_t{1} << 30);
  for (const Bytes& other : {Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}, Bytes{}, Bytes(png.begin(), png.begin() + 20),
                             Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01}})
    EXPECT_FALSE(PeekImageHeader(other));
}

class ImageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("velmora-images-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST_F(ImageFiles, WritesAndReadsBack) {
  const Bytes png = WritePng(Sample(3, 3));
  WriteFileBytes(Path("a.png"), png);
  EXPECT_EQ(ReadFileBytes(Path("a.png")), png);
  WriteFileBytes(Path("a.png"), Bytes{1, 2});  // replaces, not appends
  EXPECT_EQ(ReadFileBytes(Path("a.png")), (Bytes{1, 2}));
}

TEST_F(ImageFiles, RefusalsNameThePath) {
  const std::string missing = Path("missing.png");
  EXPECT_NE(MessageOf([&] { ReadFileBytes(missing); }).find("cannot open " + missing), std::string::npos);
  EXPECT_NE(MessageOf([&] { ReadFileBytes(dir_.string()); }).find("not a regular file"), std::string::npos);
  // A FIFO with no writer must be refused, not waited on.
  const std::string fifo = Path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(MessageOf([&] { ReadFileBytes(fifo); }), "cannot read " + fifo + ": not a regular file");
  EXPECT_NE(MessageOf([&] { WriteFileBytes(Path("no/such/dir.png"), Bytes{1}); }).find("no/such/dir.png"),
            std::string::npos);

  // Sparse, so it costs no disk; refused from its size alone.
  const std::string big = Path("big.bmp");
  WriteFileBytes(big, Bytes{'B', 'M'});
  ASSERT_EQ(::truncate(big.c_str(), (256ll << 20) + 1), 0);
  gLargestArray = 0;
  EXPECT_EQ(MessageOf([&] { ReadFileBytes(big); }), "cannot read " + big + ": larger than 256 MiB");
  EXPECT_LT(gLargestArray.load(), 1u << 20);
}

}  // namespace
}  // namespace plat
