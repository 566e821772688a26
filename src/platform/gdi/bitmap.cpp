#include "platform/gdi/bitmap.h"

#include <cstring>
#include <string>

#include "platform/base/error.h"

namespace plat {

namespace {
std::size_t StrideFor(int width, PixelFormat format) {
  const std::size_t bytes = static_cast<std::size_t>(width) * (static_cast<std::size_t>(format) / 8);
  return format == PixelFormat::Bgra32 ? bytes : (bytes + 3) & ~std::size_t{3};
}
}  // namespace

bool Bitmap::SizeAllowed(std::int64_t width, std::int64_t height) {
  return width >= 0 && height >= 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : width_(width), height_(height), format_(format), stride_(0) {
  if (!SizeAllowed(width, height))
    throw Error("bitmap size " + std::to_string(width) + " x " + std::to_string(height) + " is out of range");
  stride_ = StrideFor(width, format);
  const std::size_t bytes = stride_ * static_cast<std::size_t>(height);
  if (bytes) data_.reset(new std::uint8_t[bytes]());
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_), height_(other.height_), format_(other.format_), stride_(other.stride_) {
  const std::size_t bytes = stride_ * static_cast<std::size_t>(height_);
  if (bytes) {
    data_.reset(new std::uint8_t[bytes]);
    std::memcpy(data_.get(), other.data_.get(), bytes);
  }
}

Pixel Bitmap::PixelAt(int x, int y) const {
  const std::uint8_t* row = Scanline(y);
  switch (format_) {
    case PixelFormat::Bgra32:
      return Row(y)[x];
    case PixelFormat::Bgr24:
      return MakePixel(row[x * 3 + 2], row[x * 3 + 1], row[x * 3], 255);
    case PixelFormat::Gray8:
      return MakePixel(row[x], row[x], row[x], 255);
  }
  return 0;
}

void Bitmap::SetPixelAt(int x, int y, Pixel p) {
  std::uint8_t* row = Scanline(y);
  switch (format_) {
    case PixelFormat::Bgra32:
      Row(y)[x] = p;
      break;
    case PixelFormat::Bgr24:
      row[x * 3] = static_cast<std::uint8_t>(PixelB(p));
      row[x * 3 + 1] = static_cast<std::uint8_t>(PixelG(p));
      row[x * 3 + 2] = static_cast<std::uint8_t>(PixelR(p));
      break;
    case PixelFormat::Gray8:
      row[x] = static_cast<std::uint8_t>((PixelR(p) * 77 + PixelG(p) * 150 + PixelB(p) * 29) >> 8);
      break;
  }
}

void Bitmap::Fill(Pixel p) {
  for (int y = 0; y < height_; ++y) {
    if (format_ == PixelFormat::Bgra32) {
      Pixel* row = Row(y);
      for (int x = 0; x < width_; ++x) row[x] = p;
    } else {
      for (int x = 0; x < width_; ++x) SetPixelAt(x, y, p);
    }
  }
}

}  // namespace plat
