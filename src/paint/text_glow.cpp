// The glow around skinned text: the text drawn black on white, blurred, and laid over the
// picture in the glow colour.
#include <algorithm>
#include <cmath>

#include "framework/bitmap.h"
#include "framework/colors.h"
#include "paint/text.h"
#include "paint/text_coverage.h"

namespace velmora {
namespace {

constexpr int kMaxBlurRadius = 100;
// Half a grey level: a tail lighter than this cannot change any result.
constexpr double kBlurTail = 1.0 / 510;

bool MaskShows(const TacGlowMask& mask, const std::string& text, const plat::LOGFONT& font, int size,
               int outlineFlags, plat::UINT format, int width, int height) {
  return mask.Bmp && mask.Bmp->Width() == width && mask.Bmp->Height() == height &&
         mask.Bmp->PixelFormat() == fw::pf8bit && mask.Text == text && mask.Size == size &&
         mask.OutlineFlags == outlineFlags && mask.Format == format && SameFont(mask.Font, font);
}

void MakeGlowMask(TacGlowMask& mask, const fw::TFont& font, const std::string& text, int size, int outlineFlags,
                  plat::UINT format, int width, int height, const plat::RECT& textRect) {
  std::vector<plat::POINT> offsets;
  if (outlineFlags & kGlowLeft) offsets.push_back({-1, 0});
  if (outlineFlags & kGlowTop) offsets.push_back({0, -1});
  if (outlineFlags & kGlowRight) offsets.push_back({1, 0});
  if (outlineFlags & kGlowBottom) offsets.push_back({0, 1});
  fw::TBitmap picture(width, height);
  DrawBlackOnWhite(picture, font, text, textRect, format, offsets);
  auto grey = std::make_unique<fw::TBitmap>();
  grey->SetPixelFormat(fw::pf8bit);
  grey->SetSize(width, height);
  const plat::Bitmap* src = picture.Pixels();
  plat::Bitmap* dst = grey->Pixels();
  for (int y = 0; y < height; ++y) {
    const plat::Pixel* s = src->Row(y);
    std::uint8_t* d = dst->Scanline(y);
    for (int x = 0; x < width; ++x) d[x] = static_cast<std::uint8_t>(plat::PixelG(s[x]));
  }
  BlurGray8(*grey, size);
  mask.Bmp = std::move(grey);
  mask.Text = text;
  mask.Font = font.LogFont();
  mask.Size = size;
  mask.OutlineFlags = outlineFlags;
  mask.Format = format;
}

}  // namespace

TacGlowMask::TacGlowMask() = default;
TacGlowMask::~TacGlowMask() = default;
TacGlowMask::TacGlowMask(TacGlowMask&&) noexcept = default;
TacGlowMask& TacGlowMask::operator=(TacGlowMask&&) noexcept = default;

void DrawTextGlow(fw::TBitmap& bitmap, const std::string& text, const plat::RECT& rect, TacGlowMask& mask,
                  TColor glowColor, int size, int outlineFlags, plat::UINT format) {
  plat::Bitmap* target = bitmap.Pixels();
  if (text.empty() || size <= 0 || !target || target->Format() != plat::PixelFormat::Bgra32) return;
  plat::RECT moved = rect;
  plat::OffsetRect(&moved, 1, 1);
  const int margin = size + 4;
  const int width = moved.right - moved.left + 2 * margin, height = moved.bottom - moved.top + 2 * margin;
  if (width <= 2 * margin || height <= 2 * margin || !plat::Bitmap::SizeAllowed(width, height)) return;
  const fw::TFont& font = bitmap.Canvas().Font();
  if (!MaskShows(mask, text, font.LogFont(), size, outlineFlags, format, width, height))
    MakeGlowMask(mask, font, text, size, outlineFlags, format, width, height,
                 {margin, margin, width - margin, height - margin});
  const plat::Pixel g = plat::ColorToPixel(fw::ColorToRGB(glowColor));
  const int gb = static_cast<int>(plat::PixelB(g)), gg = static_cast<int>(plat::PixelG(g)),
            gr = static_cast<int>(plat::PixelR(g));
  const plat::Bitmap* grey = mask.Bmp->Pixels();
  const int left = moved.left - margin, top = moved.top - margin;
  const int x0 = std::max(0, -left), x1 = std::min(width, target->Width() - left);
  const int y0 = std::max(0, -top), y1 = std::min(height, target->Height() - top);
  for (int y = y0; y < y1; ++y) {
    const std::uint8_t* m = grey->Scanline(y);
    plat::Pixel* d = target->Row(top + y) + left;
    for (int x = x0; x < x1; ++x) {
      const int v = m[x];
      if (v == 255) continue;
      // g + m * (d - g) / 255 per channel; alpha a + (255 - m) * (255 - a) / 255
      auto channel = [v](int dst, int glow) { return static_cast<plat::BYTE>(glow + v * (dst - glow) / 255); };
      const plat::Pixel p = d[x];
      const int a = static_cast<int>(plat::PixelA(p));
      d[x] = plat::MakePixel(channel(static_cast<int>(plat::PixelR(p)), gr), channel(static_cast<int>(plat::PixelG(p)), gg),
                             channel(static_cast<int>(plat::PixelB(p)), gb),
                             static_cast<plat::BYTE>(a + (255 - v) * (255 - a) / 255));
    }
  }
}

std::vector<double> BlurKernel(double radius) {
  if (!(radius > 0)) return {1.0};
  std::vector<double> w(2 * kMaxBlurRadius + 1);
  double sum = 0;
  for (int i = -kMaxBlurRadius; i <= kMaxBlurRadius; ++i) {
    const double t = i / radius;
    w[static_cast<std::size_t>(i + kMaxBlurRadius)] = std::exp(-t * t / 2);
    sum += w[static_cast<std::size_t>(i + kMaxBlurRadius)];
  }
  for (double& v : w) v /= sum;
  // Shrink while what lies beyond the kernel is lighter than half a grey level.
  int r = kMaxBlurRadius;
  double tails = 0;
  while (tails < kBlurTail && r > 1) {
    tails += 2 * w[static_cast<std::size_t>(r + kMaxBlurRadius)];
    --r;
  }
  std::vector<double> kernel(w.begin() + (kMaxBlurRadius - r), w.begin() + (kMaxBlurRadius + r + 1));
  sum = 0;
  for (double v : kernel) sum += v;
  for (double& v : kernel) v /= sum;
  return kernel;
}

void BlurGray8(fw::TBitmap& bitmap, double radius) {
  plat::Bitmap* pixels = bitmap.Pixels();
  if (bitmap.PixelFormat() != fw::pf8bit || !pixels || pixels->Format() != plat::PixelFormat::Gray8 ||
      !(radius > 0))
    return;
  const std::vector<double> kernel = BlurKernel(radius);
  const int r = static_cast<int>(kernel.size() / 2);
  const int width = pixels->Width(), height = pixels->Height();
  // One line at a time through a copy, each position reading its neighbours up to r away, the
  // ends repeated beyond the line.
  std::vector<std::uint8_t> line(static_cast<std::size_t>(std::max(width, height)));
  auto convolve = [&](int length, auto at) {
    for (int i = 0; i < length; ++i) line[static_cast<std::size_t>(i)] = at(i);
    for (int i = 0; i < length; ++i) {
      double sum = 0;
      for (int k = -r; k <= r; ++k) sum += kernel[static_cast<std::size_t>(k + r)] * line[static_cast<std::size_t>(std::clamp(i + k, 0, length - 1))];
      // The weights add up to 1 only within rounding: a flat 255 must stay 255, not drop to 254.
      at(i) = static_cast<std::uint8_t>(std::clamp(sum + 1e-9, 0.0, 255.0));
    }
  };
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = pixels->Scanline(y);
    convolve(width, [row](int x) -> std::uint8_t& { return row[x]; });
  }
  for (int x = 0; x < width; ++x)
    convolve(height, [pixels, x](int y) -> std::uint8_t& { return pixels->Scanline(y)[x]; });
}

}  // namespace velmora
