#pragma once
// Device-independent bitmaps: rows addressed from the top, reached directly through Scanline(y).
// 32-bit pixels are B,G,R,A and rows are packed; 24-bit and 8-bit grey rows are padded to four
// bytes as the platform's bitmaps are.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/base/assert.h"
#include "platform/base/color.h"
#include "platform/base/geometry.h"

namespace plat {

enum class PixelFormat { Gray8 = 8, Bgr24 = 24, Bgra32 = 32 };

class Bitmap {
 public:
  // Limits for any picture the program makes or reads; larger requests fail with an Error
  // before anything is allocated.
  static constexpr int kMaxSide = 16384;
  static constexpr std::int64_t kMaxPixels = 64ll * 1024 * 1024;

  // A zero-filled bitmap; an empty one (0 x n) is allowed and has no rows to reach.
  Bitmap(int width, int height, PixelFormat format = PixelFormat::Bgra32);
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap&) = delete;

  static bool SizeAllowed(std::int64_t width, std::int64_t height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  int BitsPerPixel() const { return static_cast<int>(format_); }
  std::size_t Stride() const { return stride_; }
  RECT Bounds() const { return {0, 0, width_, height_}; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  std::uint8_t* Scanline(int y) {
    VELMORA_ASSERT(y >= 0 && y < height_);
    return data_.get() + static_cast<std::size_t>(y) * stride_;
  }
  const std::uint8_t* Scanline(int y) const {
    VELMORA_ASSERT(y >= 0 && y < height_);
    return data_.get() + static_cast<std::size_t>(y) * stride_;
  }
  // 32-bit rows as pixels.
  Pixel* Row(int y) { return reinterpret_cast<Pixel*>(Scanline(y)); }
  const Pixel* Row(int y) const { return reinterpret_cast<const Pixel*>(Scanline(y)); }
  std::uint8_t* Bits() { return data_.get(); }
  const std::uint8_t* Bits() const { return data_.get(); }

  // One pixel as B,G,R,A whatever the format (grey gives B=G=R, 24-bit gives A=255).
  Pixel PixelAt(int x, int y) const;
  void SetPixelAt(int x, int y, Pixel p);
  void Fill(Pixel p);

 private:
  int width_;
  int height_;
  PixelFormat format_;
  std::size_t stride_;
  std::unique_ptr<std::uint8_t[]> data_;
};

}  // namespace plat
