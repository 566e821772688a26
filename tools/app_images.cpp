// Draws the program's own pictures from code: the gear glyph of the brightness window (white,
// 24 x 24, alpha) and the about picture (a round black badge with a silver rim and a white sun,
// 128 x 128). Each pixel is the average of 8 x 8 samples, so edges come out anti-aliased.
//
//   app_images OUTPUT_DIR     writes gear.png and about.png
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <numbers>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/image_codecs.h"

namespace {

constexpr int kSamples = 8;
constexpr double kPi = std::numbers::pi;

struct Colour {
  double r, g, b, a;
};

// A shape and its colour at a point; the last layer that covers a sample paints it.
struct Layer {
  std::function<bool(double x, double y)> covers;
  std::function<Colour(double x, double y)> colour;
};

Colour Solid(double r, double g, double b) { return {r, g, b, 1}; }

plat::Bitmap Render(int size, const std::vector<Layer>& layers) {
  plat::Bitmap out(size, size);
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;  // premultiplied sums
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = px + (sx + 0.5) / kSamples, y = py + (sy + 0.5) / kSamples;
          for (auto it = layers.rbegin(); it != layers.rend(); ++it)
            if (it->covers(x, y)) {
              const Colour c = it->colour(x, y);
              r += c.r * c.a;
              g += c.g * c.a;
              b += c.b * c.a;
              a += c.a;
              break;
            }
        }
      const double n = kSamples * kSamples;
      auto byte = [](double v) { return static_cast<plat::BYTE>(std::clamp(std::lround(v * 255), 0L, 255L)); };
      // Stored straight, not premultiplied, as PNG keeps it.
      out.Row(py)[px] = a > 0 ? plat::MakePixel(byte(r / a), byte(g / a), byte(b / a), byte(a / n)) : 0;
    }
  return out;
}

double Radius(double x, double y, double c) { return std::hypot(x - c, y - c); }

// Distance from a point to the segment a-b.
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

plat::Bitmap Gear() {
  constexpr double c = 12, hole = 3.3, body = 7.8, tip = 11.2;
  constexpr int teeth = 8;
  auto covers = [](double x, double y) {
    const double r = Radius(x, y, c);
    if (r < hole || r > tip) return false;
    if (r <= body) return true;
    // Teeth narrow towards the tip, measured as arc length so that their sides run straight.
    const double period = 2 * kPi / teeth;
    double angle = std::atan2(y - c, x - c) + period / 2;
    angle -= period * std::floor(angle / period);
    const double offset = std::abs(angle - period / 2) * r;
    const double halfWidth = 2.0 - 0.12 * (r - body);
    return offset <= halfWidth;
  };
  return Render(24, {{covers, [](double, double) { return Solid(1, 1, 1); }}});
}

plat::Bitmap About() {
  constexpr double c = 64, outer = 62, rim = 55.5, edge = 53.5, sun = 17, rayFrom = 25, rayTo = 39, rayHalf = 3.2;
  constexpr int rays = 12;
  std::vector<Layer> layers;
  // The silver rim: light from the top left, with a thin darker ring on either side.
  layers.push_back({[](double x, double y) { return Radius(x, y, c) <= outer; },
                    [](double x, double y) {
                      const double r = Radius(x, y, c);
                      const double light = 0.5 - ((x - c) + (y - c)) / (4 * outer);  // 0 bottom right, 1 top left
                      double v = 0.55 + 0.4 * light;
                      v += 0.08 * std::cos((r - rim) / (outer - rim) * kPi);  // rounded, as if turned
                      if (r > outer - 0.9) v *= 0.7;
                      return Solid(v, v, v * 1.02);
                    }});
  layers.push_back({[](double x, double y) { return Radius(x, y, c) <= rim; },
                    [](double, double) { return Solid(0.18, 0.18, 0.19); }});
  // The black face, a touch lighter towards the middle.
  layers.push_back({[](double x, double y) { return Radius(x, y, c) <= edge; },
                    [](double x, double y) {
                      const double v = 0.09 * (1 - Radius(x, y, c) / edge);
                      return Solid(v, v, v);
                    }});
  layers.push_back({[](double x, double y) {
                      if (Radius(x, y, c) <= sun) return true;
                      for (int i = 0; i < rays; ++i) {
                        const double a = 2 * kPi * i / rays;
                        const double ux = std::cos(a), uy = std::sin(a);
                        if (SegmentDistance(x, y, c + ux * rayFrom, c + uy * rayFrom, c + ux * rayTo, c + uy * rayTo) <=
                            rayHalf)
                          return true;
                      }
                      return false;
                    },
                    [](double, double) { return Solid(1, 1, 1); }});
  return Render(128, layers);
}

void Save(const plat::Bitmap& bitmap, const std::filesystem::path& file) {
  plat::WriteFileBytes(file.string(), plat::WritePng(bitmap));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: app_images OUTPUT_DIR\n");
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    Save(Gear(), dir / "gear.png");
    Save(About(), dir / "about.png");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "app_images: %s\n", e.what());
    return 1;
  }
  return 0;
}
