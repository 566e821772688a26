#pragma once
// Small bitmaps for the painting tests: filled, random, and read back pixel by pixel.
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"

namespace velmora::testing {

inline std::unique_ptr<fw::TBitmap> Filled(int width, int height, plat::Pixel p) {
  auto b = MakeBitmap32(width, height);
  if (b->Pixels()) b->Pixels()->Fill(p);
  return b;
}

inline std::unique_ptr<fw::TBitmap> Random(int width, int height, std::mt19937& random) {
  auto b = MakeBitmap32(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b->Pixels()->Row(y)[x] = static_cast<plat::Pixel>(random());
  return b;
}

inline plat::Pixel At(const fw::TBitmap& b, int x, int y) { return b.Pixels()->Row(y)[x]; }

inline std::vector<plat::Pixel> AllPixels(const fw::TBitmap& b) {
  std::vector<plat::Pixel> v;
  for (int y = 0; y < b.Height(); ++y) v.insert(v.end(), b.Pixels()->Row(y), b.Pixels()->Row(y) + b.Width());
  return v;
}

}  // namespace velmora::testing
