#pragma once
// Image files in and out. Readers take untrusted bytes: anything malformed, truncated or larger
// than Bitmap's limits fails with an Error naming the problem, before any large allocation.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"

namespace plat {

// Every reader answers a 32-bit bitmap: B,G,R plus the file's alpha, not premultiplied
// (255 where the file has none).
std::unique_ptr<Bitmap> ReadBmp(std::span<const std::uint8_t> bytes);
std::unique_ptr<Bitmap> ReadPng(std::span<const std::uint8_t> bytes);
std::unique_ptr<Bitmap> ReadJpeg(std::span<const std::uint8_t> bytes);
// By signature: BMP, PNG or JPEG.
std::unique_ptr<Bitmap> ReadImage(std::span<const std::uint8_t> bytes);

// A picture's size and depth read from its header alone, without decoding; nothing when the
// header cannot tell (the reader then has the last word). Sizes are as the file states them,
// even beyond what a Bitmap allows, so that a caller can name them.
struct ImageHeader {
  std::int64_t width = 0;
  std::int64_t height = 0;
  int bitsPerPixel = 0;
};
std::optional<ImageHeader> PeekBmpHeader(std::span<const std::uint8_t> bytes);
std::optional<ImageHeader> PeekPngHeader(std::span<const std::uint8_t> bytes);
std::optional<ImageHeader> PeekJpegHeader(std::span<const std::uint8_t> bytes);
// By signature, as ReadImage chooses.
std::optional<ImageHeader> PeekImageHeader(std::span<const std::uint8_t> bytes);

// 32-bit BMP (top-down rows, alpha kept) and PNG with alpha, from a 32-bit bitmap.
std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap);
std::vector<std::uint8_t> WritePng(const Bitmap& bitmap);

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace plat
