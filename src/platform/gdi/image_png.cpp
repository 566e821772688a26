// PNG through libpng. libpng reports errors by longjmp, so each libpng session runs in a noexcept
// function whose frame, like every callback that can raise an error, holds nothing with a
// destructor; C++ objects (the bitmap, the output vector) live in the caller and are reached
// through the session's state. Errors come back as a flag plus libpng's message.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/base/bytes.h"
#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"

namespace plat {

namespace {

constexpr std::size_t kSignatureSize = 8;

struct Session {
  char message[256] = {};
};

void SetMessage(Session& s, const char* text) { std::snprintf(s.message, sizeof s.message, "%s", text); }

void OnError(png_structp png, png_const_charp message) {
  SetMessage(*static_cast<Session*>(png_get_error_ptr(png)), message ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct ReadSession : Session {
  std::span<const std::uint8_t> bytes;
  std::size_t pos = 0;
  std::unique_ptr<Bitmap>* out = nullptr;
};

void OnRead(png_structp png, png_bytep data, size_t length) {
  auto& s = *static_cast<ReadSession*>(png_get_io_ptr(png));
  if (length > s.bytes.size() - s.pos) png_error(png, "truncated data");
  std::memcpy(data, s.bytes.data() + s.pos, length);
  s.pos += length;
}

bool Allocate(ReadSession& s, png_uint_32 width, png_uint_32 height) noexcept {
  try {
    *s.out = std::make_unique<Bitmap>(static_cast<int>(width), static_cast<int>(height));
    return true;
  } catch (const std::exception& e) {
    SetMessage(s, e.what());
    return false;
  }
}

bool Decode(ReadSession& s) noexcept {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    SetMessage(s, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }

  png_set_read_fn(png, &s, OnRead);
  png_set_sig_bytes(png, static_cast<int>(kSignatureSize));
  // Ancillary chunks we never look at need not be kept; a hostile one cannot ask for much memory.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_chunk_malloc_max(png, 8u << 20);
  png_read_info(png, info);

  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!Bitmap::SizeAllowed(width, height)) {
    std::snprintf(s.message, sizeof s.message, "image size %u x %u is too large", static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }

  // Deflate cannot expand data more than about 1032 times, so the bytes left must be able to hold
  // the image: a tiny file claiming a huge picture fails before the picture is allocated.
  const std::uint64_t rowBytes =
      1 + (static_cast<std::uint64_t>(width) * png_get_channels(png, info) * png_get_bit_depth(png, info) + 7) / 8;
  const std::uint64_t left = s.bytes.size() - s.pos;
  if (rowBytes * height > left * 1032 + 4096) {
    std::snprintf(s.message, sizeof s.message, "truncated data for an image of %u x %u", static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }

  // Everything becomes 8-bit B,G,R,A.
  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // only where no alpha came from the file
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) png_error(png, "unexpected row layout");

  if (!Allocate(s, width, height)) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  Bitmap& bitmap = **s.out;
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, bitmap.Scanline(static_cast<int>(y)), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

struct WriteSession : Session {
  std::vector<std::uint8_t>* out = nullptr;
};

bool Append(WriteSession& s, const png_byte* data, size_t length) noexcept {
  try {
    s.out->insert(s.out->end(), data, data + length);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void OnWrite(png_structp png, png_bytep data, size_t length) {
  if (!Append(*static_cast<WriteSession*>(png_get_io_ptr(png)), data, length)) png_error(png, "out of memory");
}

void OnFlush(png_structp) {}

bool Encode(WriteSession& s, const Bitmap& bitmap) noexcept {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    SetMessage(s, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &s, OnWrite, OnFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()), static_cast<png_uint_32>(bitmap.Height()), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  png_set_bgr(png);
  for (int y = 0; y < bitmap.Height(); ++y) png_write_row(png, bitmap.Scanline(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::optional<ImageHeader> PeekPngHeader(std::span<const std::uint8_t> bytes) {
  // The signature, then the header chunk: its length, its type, the width and the height.
  if (bytes.size() < kSignatureSize + 16 || png_sig_cmp(bytes.data(), 0, kSignatureSize) != 0) return std::nullopt;
  const std::uint8_t* chunk = bytes.data() + kSignatureSize;
  if (std::memcmp(chunk + 4, "IHDR", 4) != 0) return std::nullopt;
  return ImageHeader{ReadBe32(chunk + 8), ReadBe32(chunk + 12), 32};
}

std::unique_ptr<Bitmap> ReadPng(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kSignatureSize || png_sig_cmp(bytes.data(), 0, kSignatureSize) != 0)
    throw Error("PNG: bad signature");
  std::unique_ptr<Bitmap> result;
  ReadSession s;
  s.bytes = bytes;
  s.pos = kSignatureSize;
  s.out = &result;
  if (!Decode(s)) throw Error(std::string("PNG: ") + s.message);
  return result;
}

std::vector<std::uint8_t> WritePng(const Bitmap& bitmap) {
  if (bitmap.Empty()) throw Error("PNG: cannot write an empty bitmap");
  // libpng takes B,G,R,A rows as they are; other formats go through a 32-bit copy.
  std::unique_ptr<Bitmap> converted;
  const Bitmap* source = &bitmap;
  if (bitmap.Format() != PixelFormat::Bgra32) {
    converted = std::make_unique<Bitmap>(bitmap.Width(), bitmap.Height());
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) converted->Row(y)[x] = bitmap.PixelAt(x, y);
    source = converted.get();
  }
  std::vector<std::uint8_t> out;
  WriteSession s;
  s.out = &out;
  if (!Encode(s, *source)) throw Error(std::string("PNG: ") + s.message);
  return out;
}

}  // namespace plat
