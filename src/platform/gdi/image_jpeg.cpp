// JPEG through libjpeg. Its errors leave by longjmp from our error manager, so the decoding runs
// in a noexcept function whose frame holds nothing with a destructor; the library's state and
// the bitmap live in the caller. A premature end of data is an error here, not grey rows.
#include <stdio.h>  // jpeglib.h wants FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>
// libjpeg's TRUE and FALSE macros would clash with the platform's constants.
#undef TRUE
#undef FALSE

#include <csetjmp>
#include <cstdio>
#include <string>

#include "platform/base/bytes.h"
#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"

namespace plat {

namespace {

// Enough for any picture Bitmap accepts, even progressive; beyond it libjpeg fails cleanly.
constexpr long kMaxMemory = 768l << 20;
// Every scan costs a pass over the coefficients; real files have about ten.
constexpr int kMaxScans = 256;

struct Session {
  jpeg_error_mgr errors;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  jpeg_progress_mgr progress;
  jpeg_decompress_struct cinfo;
  std::span<const std::uint8_t> bytes;
  std::unique_ptr<Bitmap>* out;
};

Session& SessionOf(j_common_ptr cinfo) { return *static_cast<Session*>(cinfo->client_data); }

[[noreturn]] void Abort(j_common_ptr cinfo, const char* message) {
  Session& s = SessionOf(cinfo);
  std::snprintf(s.message, sizeof s.message, "%s", message);
  std::longjmp(s.jump, 1);
}

[[noreturn]] void OnError(j_common_ptr cinfo) {
  Session& s = SessionOf(cinfo);
  (*cinfo->err->format_message)(cinfo, s.message);
  std::longjmp(s.jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnError(cinfo);
  // Other warnings (stray bytes between markers and the like) are common in real files; the
  // picture still decodes.
}

void OnOutput(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    Abort(cinfo, "too many scans");
}

bool Allocate(Session& s, JDIMENSION width, JDIMENSION height) noexcept {
  try {
    *s.out = std::make_unique<Bitmap>(static_cast<int>(width), static_cast<int>(height));
    return true;
  } catch (const std::exception& e) {
    std::snprintf(s.message, sizeof s.message, "%s", e.what());
    return false;
  }
}

// Adobe's writers store CMYK inverted (255 = no ink); others store ink.
void CmykToBgra(const JSAMPLE* cmyk, Pixel* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    out[x] = MakePixel(static_cast<BYTE>(c * k / 255), static_cast<BYTE>(m * k / 255),
                       static_cast<BYTE>(y * k / 255), 255);
  }
}

bool Decode(Session& s) noexcept {
  j_decompress_ptr cinfo = &s.cinfo;
  cinfo->err = jpeg_std_error(&s.errors);
  s.errors.error_exit = OnError;
  s.errors.emit_message = OnMessage;
  s.errors.output_message = OnOutput;
  cinfo->client_data = &s;
  if (setjmp(s.jump)) {
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxMemory;
  s.progress.progress_monitor = OnProgress;
  cinfo->progress = &s.progress;
  jpeg_mem_src(cinfo, s.bytes.data(), static_cast<unsigned long>(s.bytes.size()));
  if (jpeg_read_header(cinfo, 1) != JPEG_HEADER_OK) Abort(reinterpret_cast<j_common_ptr>(cinfo), "no image");

  const JDIMENSION width = cinfo->image_width, height = cinfo->image_height;
  if (!Bitmap::SizeAllowed(width, height)) {
    std::snprintf(s.message, sizeof s.message, "image size %u x %u is too large", static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  bool cmyk = false;
  switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      cinfo->out_color_space = JCS_EXT_BGRA;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo->out_color_space = JCS_CMYK;
      cmyk = true;
      break;
    default:
      std::snprintf(s.message, sizeof s.message, "unsupported colour space %d",
                    static_cast<int>(cinfo->jpeg_color_space));
      jpeg_destroy_decompress(cinfo);
      return false;
  }

  jpeg_start_decompress(cinfo);
  if (cinfo->output_width != width || cinfo->output_height != height || cinfo->output_components != 4)
    Abort(reinterpret_cast<j_common_ptr>(cinfo), "unexpected output layout");
  if (!Allocate(s, width, height)) {
    jpeg_destroy_decompress(cinfo);
    return false;
  }
  Bitmap& bitmap = **s.out;
  // CMYK goes through a row of the library's own pool, freed with the decompressor.
  JSAMPARRAY cmykRow = cmyk ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                          width * 4, 1)
                            : nullptr;
  while (cinfo->output_scanline < height) {
    const JDIMENSION y = cinfo->output_scanline;
    JSAMPROW row = cmyk ? cmykRow[0] : bitmap.Scanline(static_cast<int>(y));
    if (jpeg_read_scanlines(cinfo, &row, 1) != 1) Abort(reinterpret_cast<j_common_ptr>(cinfo), "no progress");
    if (cmyk) CmykToBgra(row, bitmap.Row(static_cast<int>(y)), width, cinfo->saw_Adobe_marker);
  }
  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
  return true;
}

}  // namespace

std::optional<ImageHeader> PeekJpegHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) return std::nullopt;
  // Walk the markers to the first start-of-frame (C0..CF but for the table markers C4, C8, CC).
  std::size_t i = 2;
  while (i + 4 <= bytes.size()) {
    if (bytes[i] != 0xFF) return std::nullopt;
    const std::uint8_t marker = bytes[i + 1];
    if (marker == 0xFF) {
      ++i;
      continue;
    }
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (i + 9 > bytes.size()) return std::nullopt;
      return ImageHeader{ReadBe16(&bytes[i + 7]), ReadBe16(&bytes[i + 5]), 24};
    }
    const std::size_t length = ReadBe16(&bytes[i + 2]);
    if (length < 2) return std::nullopt;
    i += 2 + length;
  }
  return std::nullopt;
}

std::unique_ptr<Bitmap> ReadJpeg(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) throw Error("JPEG: bad signature");
  std::unique_ptr<Bitmap> result;
  Session s{};
  s.bytes = bytes;
  s.out = &result;
  if (!Decode(s)) {
    result.reset();
    throw Error(std::string("JPEG: ") + s.message);
  }
  return result;
}

}  // namespace plat
