// Draws the program's skin images from code: the master bitmap and the big button image into
// the skin folder, the two shadow templates into another. Usage: skin_art SKINDIR SHADOWDIR
// Every piece sits where resources/skin/Options.dat says; the coordinates below are the layout.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/image_codecs.h"

namespace {

using plat::Bitmap;
using plat::Pixel;

struct Rgb {
  int r, g, b;
};
constexpr Rgb kMagenta{255, 0, 255};

Rgb Mix(Rgb a, Rgb b, double t) {
  auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w * h), kMagenta) {}
  void Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<std::size_t>(y * w_ + x)] = c;
  }
  Rgb Get(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }
  void Fill(int x0, int y0, int w, int h, Rgb c) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) Set(x, y, c);
  }
  int Width() const { return w_; }
  int Height() const { return h_; }

  // 24-bit, bottom-up: a picture without alpha, so magenta is what stays transparent.
  std::vector<std::uint8_t> Bmp24() const {
    const int stride = (w_ * 3 + 3) & ~3;
    const std::uint32_t image = static_cast<std::uint32_t>(stride * h_), file = 54 + image;
    std::vector<std::uint8_t> out(file, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
      for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    out[0] = 'B', out[1] = 'M';
    put32(2, file);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(w_));
    put32(22, static_cast<std::uint32_t>(h_));
    out[26] = 1, out[28] = 24;
    put32(34, image);
    for (int y = 0; y < h_; ++y) {
      std::uint8_t* row = &out[54 + static_cast<std::size_t>((h_ - 1 - y) * stride)];
      for (int x = 0; x < w_; ++x) {
        const Rgb c = Get(x, y);
        row[x * 3] = static_cast<std::uint8_t>(c.b), row[x * 3 + 1] = static_cast<std::uint8_t>(c.g),
                row[x * 3 + 2] = static_cast<std::uint8_t>(c.r);
      }
    }
    return out;
  }

 private:
  int w_, h_;
  std::vector<Rgb> px_;
};

// Coverage of pixel (x, y) by a rounded rectangle of size w x h with radius r, per corner
// (top-left, top-right, bottom-right, bottom-left), 4 x 4 samples.
double Coverage(int x, int y, int w, int h, const int r[4]) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx) {
      const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
      bool in = px >= 0 && py >= 0 && px <= w && py <= h;
      const double cx[4] = {static_cast<double>(r[0]), w - static_cast<double>(r[1]), w - static_cast<double>(r[2]),
                            static_cast<double>(r[3])};
      const double cy[4] = {static_cast<double>(r[0]), static_cast<double>(r[1]), h - static_cast<double>(r[2]),
                            h - static_cast<double>(r[3])};
      for (int k = 0; k < 4 && in; ++k) {
        if (r[k] == 0) continue;
        const bool left = k == 0 || k == 3, top = k == 0 || k == 1;
        if ((left ? px < cx[k] : px > cx[k]) && (top ? py < cy[k] : py > cy[k]))
          in = std::hypot(px - cx[k], py - cy[k]) <= r[k];
      }
      inside += in;
    }
  return inside / 16.0;
}

struct Face {
  Rgb top, bottom, border, highlight;
  int borderWidth;
};

// A rounded frame with a vertical gradient face. Without a mask the anti-aliased edge is mixed
// toward the given outside colour and fully uncovered pixels stay magenta; with a mask, the mask
// rows below take the coverage (0 opaque, 255 transparent).
void DrawRounded(Canvas& c, int x0, int y0, int w, int h, const int radius[4], const Face& f, Rgb outside,
                 int maskY = -1) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double outer = Coverage(x, y, w, h, radius);
      const int inner_r[4] = {std::max(radius[0] - f.borderWidth, 0), std::max(radius[1] - f.borderWidth, 0),
                              std::max(radius[2] - f.borderWidth, 0), std::max(radius[3] - f.borderWidth, 0)};
      const double inner = Coverage(x - f.borderWidth, y - f.borderWidth, w - 2 * f.borderWidth, h - 2 * f.borderWidth, inner_r);
      Rgb face = Mix(f.top, f.bottom, h > 1 ? static_cast<double>(y) / (h - 1) : 0);
      if (y == f.borderWidth) face = Mix(face, f.highlight, 0.6);
      Rgb colour = Mix(f.border, face, inner);
      if (maskY >= 0) {
        const int m = static_cast<int>(std::lround(255 * (1 - outer)));
        c.Set(x0 + x, maskY + y, {m, m, m});
        c.Set(x0 + x, y0 + y, outer <= 0 ? kMagenta : colour);
      } else {
        c.Set(x0 + x, y0 + y, outer <= 0 ? kMagenta : (outer >= 1 ? colour : Mix(outside, colour, outer)));
      }
    }
}

// Glyph strokes on a 16 (or 12) pixel cell; colour on magenta.
void Line(Canvas& c, double x0, double y0, double x1, double y1, double width, Rgb colour, Rgb back, int cx, int cy,
          int cell) {
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell; ++x) {
      int hit = 0;
      for (int s = 0; s < 16; ++s) {
        const double px = x + (s % 4 + 0.5) / 4, py = y + (s / 4 + 0.5) / 4;
        const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0;
        hit += std::hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width / 2;
      }
      if (hit == 0) continue;
      const Rgb under = c.Get(cx + x, cy + y);
      const Rgb base = under.r == 255 && under.g == 0 && under.b == 255 ? back : under;
      c.Set(cx + x, cy + y, Mix(base, colour, hit / 16.0));
    }
}

constexpr Rgb kTitle{46, 51, 59};
enum class Glyph { Close, Max, Norm, Min, Help };

void DrawGlyph(Canvas& c, int x, int y, int cell, Glyph g, int state) {
  const bool close = g == Glyph::Close;
  const Rgb hot = close ? Rgb{196, 64, 64} : Rgb{78, 86, 100}, pressed = close ? Rgb{150, 44, 44} : Rgb{30, 34, 40};
  if (state > 0) {
    const int r[4] = {3, 3, 3, 3};
    const Rgb bg = state == 1 ? hot : pressed;
    DrawRounded(c, x, y, cell, cell, r, {bg, bg, bg, bg, 0}, kTitle);
  }
  const Rgb ink = state == 0 ? Rgb{200, 205, 213} : (state == 1 ? Rgb{255, 255, 255} : Rgb{178, 184, 192});
  const double s = cell / 16.0, w = 1.4 * s;
  auto L = [&](double a, double b, double d, double e) { Line(c, a * s, b * s, d * s, e * s, w, ink, kTitle, x, y, cell); };
  switch (g) {
    case Glyph::Close: L(4.5, 4.5, 11.5, 11.5), L(11.5, 4.5, 4.5, 11.5); break;
    case Glyph::Max: L(4.5, 4.5, 11.5, 4.5), L(4.5, 5.5, 11.5, 5.5), L(4.5, 4.5, 4.5, 11.5), L(11.5, 4.5, 11.5, 11.5), L(4.5, 11.5, 11.5, 11.5); break;
    case Glyph::Norm:
      L(6.5, 3.5, 12.5, 3.5), L(12.5, 3.5, 12.5, 9.5), L(3.5, 6.5, 9.5, 6.5), L(3.5, 6.5, 3.5, 12.5), L(9.5, 6.5, 9.5, 12.5),
          L(3.5, 12.5, 9.5, 12.5);
      break;
    case Glyph::Min: L(4.5, 11, 11.5, 11); break;
    case Glyph::Help: L(5.5, 5.5, 8, 3.8), L(8, 3.8, 10.5, 5.5), L(10.5, 5.5, 8, 8.5), L(8, 8.5, 8, 9.5), L(8, 12, 8, 12.4); break;
  }
}

void DrawCheck(Canvas& c, int x, int y, int state, int kind, bool radio) {
  const Rgb border = state == 1 ? Rgb{74, 127, 192} : (state == 2 ? Rgb{52, 98, 158} : Rgb{128, 136, 148});
  const Rgb top = state == 2 ? Rgb{220, 226, 234} : Rgb{255, 255, 255}, bottom = state == 2 ? Rgb{204, 211, 220} : Rgb{236, 239, 243};
  const int r = radio ? 6 : 2;
  const int radius[4] = {r, r, r, r};
  DrawRounded(c, x, y, 13, 13, radius, {top, bottom, border, top, 1}, {236, 238, 241});
  const Rgb ink = kind == 2 ? Rgb{150, 156, 166} : Rgb{46, 88, 150};
  if (kind == 1) return;
  if (radio) {
    const int dot[4] = {3, 3, 3, 3};
    DrawRounded(c, x + 3, y + 3, 7, 7, dot, {ink, ink, ink, ink, 0}, top);
  } else if (kind == 0) {
    Line(c, 3, 6.5, 5.5, 9.5, 1.8, ink, top, x, y, 13), Line(c, 5.5, 9.5, 10, 3.5, 1.8, ink, top, x, y, 13);
  } else {
    c.Fill(x + 3, y + 3, 7, 7, ink);
  }
}

Canvas Master() {
  Canvas c(256, 128);
  // FORM borders, inactive then active: rounded top corners so the shadow shows through.
  for (int s = 0; s < 2; ++s) {
    const Rgb frame = s == 1 ? Rgb{46, 51, 59} : Rgb{66, 71, 79};
    const int r[4] = {5, 5, 0, 0};
    DrawRounded(c, s * 16, 0, 16, 16, r, {frame, frame, {24, 27, 32}, frame, 1}, frame);
  }
  // FORMTITLE, inactive then active.
  for (int s = 0; s < 2; ++s) {
    const Face f = s == 1 ? Face{{64, 71, 82}, {40, 44, 51}, {24, 27, 32}, {96, 104, 118}, 1}
                          : Face{{82, 87, 95}, {62, 66, 73}, {40, 43, 48}, {104, 110, 120}, 1};
    const int r[4] = {6, 6, 0, 0};
    DrawRounded(c, s * 32, 16, 32, 30, r, f, f.top);
  }
  // BUTTON: normal, hot, pressed, default.
  const Face buttons[4] = {{{250, 251, 252}, {222, 226, 231}, {138, 146, 157}, {255, 255, 255}, 1},
                           {{255, 255, 255}, {234, 240, 247}, {98, 138, 186}, {255, 255, 255}, 1},
                           {{204, 209, 216}, {220, 224, 229}, {93, 102, 112}, {196, 201, 208}, 1},
                           {{250, 251, 252}, {222, 226, 231}, {64, 118, 190}, {255, 255, 255}, 2}};
  for (int s = 0; s < 4; ++s) {
    const int r[4] = {4, 4, 4, 4};
    DrawRounded(c, s * 24, 48, 24, 24, r, buttons[s], {236, 238, 241});
  }
  // PANEL and PANEL_LOW through masks: image rows, then mask rows. The faces are the sections'
  // colours, which fill the middle, so the stretched edges meet it without a seam.
  {
    const int r[4] = {3, 3, 3, 3};
    DrawRounded(c, 96, 48, 12, 12, r, {{244, 245, 247}, {244, 245, 247}, {196, 201, 208}, {255, 255, 255}, 1}, kMagenta, 60);
    DrawRounded(c, 108, 48, 12, 12, r, {{232, 234, 239}, {232, 234, 239}, {170, 177, 187}, {214, 218, 224}, 1}, kMagenta, 60);
  }
  // STATUSBAR: a separating line on top.
  c.Fill(120, 48, 12, 12, {226, 229, 233});
  c.Fill(120, 48, 12, 1, {184, 190, 198});
  c.Fill(120, 49, 12, 1, {250, 251, 252});
  // EDIT: normal, hot, focused.
  for (int s = 0; s < 3; ++s) {
    const Rgb border = s == 0 ? Rgb{169, 175, 184} : (s == 1 ? Rgb{91, 139, 201} : Rgb{63, 116, 184});
    const int r[4] = {2, 2, 2, 2};
    DrawRounded(c, 132 + s * 12, 48, 12, 12, r, {{255, 255, 255}, {255, 255, 255}, border, {255, 255, 255}, 1}, {236, 238, 241});
  }
  // FORM texture: a quiet light grain, tiled.
  std::uint32_t seed = 0x9E3779B9u;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int d = static_cast<int>(seed >> 29) - 3;
      c.Set(168 + x, 48 + y, {236 + d, 238 + d, 241 + d});
    }
  // TITLEBUTTON backgrounds for user buttons: none, hot, pressed.
  for (int s = 1; s < 3; ++s) {
    const int r[4] = {3, 3, 3, 3};
    const Rgb bg = s == 1 ? Rgb{78, 86, 100} : Rgb{30, 34, 40};
    DrawRounded(c, 200 + s * 16, 48, 16, 16, r, {bg, bg, bg, bg, 0}, kTitle);
  }
  // Title-button glyphs, big and small, three states each.
  const Glyph order[5] = {Glyph::Close, Glyph::Max, Glyph::Norm, Glyph::Min, Glyph::Help};
  for (int g = 0; g < 5; ++g)
    for (int s = 0; s < 3; ++s) {
      DrawGlyph(c, g * 48 + s * 16, 80, 16, order[g], s);
      DrawGlyph(c, g * 36 + s * 12, 96, 12, order[g], s);
    }
  // Check boxes and radio buttons: checked, unchecked, grayed; three states each.
  for (int k = 0; k < 3; ++k)
    for (int s = 0; s < 3; ++s) {
      DrawCheck(c, k * 39 + s * 13, 112, s, k, false);
      DrawCheck(c, 117 + k * 39 + s * 13, 112, s, k, true);
    }
  // GRIPIMAGE: six dots in a triangle.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j <= i; ++j) {
      const int x = 234 + 9 - 4 * j, y = 112 + 1 + 4 * i;
      c.Fill(x + 1, y + 1, 2, 2, {255, 255, 255});
      c.Fill(x, y, 2, 2, {150, 156, 166});
    }
  return c;
}

// BUTTON_HUGE: three 48 x 48 faces with their masks below.
Canvas ButtonHuge() {
  Canvas c(144, 96);
  const Face faces[3] = {{{252, 253, 254}, {214, 219, 226}, {128, 137, 150}, {255, 255, 255}, 1},
                         {{255, 255, 255}, {226, 235, 246}, {88, 132, 188}, {255, 255, 255}, 1},
                         {{198, 204, 212}, {218, 223, 229}, {84, 94, 106}, {190, 196, 204}, 1}};
  for (int s = 0; s < 3; ++s) {
    const int r[4] = {12, 12, 12, 12};
    DrawRounded(c, s * 48, 0, 48, 48, r, faces[s], kMagenta, 48);
  }
  return c;
}

// 33 x 33, black, alpha only: a ramp from the edge inwards, flat in the middle, the corners
// falling off in both directions (the product of the two ramps).
std::vector<std::uint8_t> Shadow(const int ramp[10], const int middle[13]) {
  int profile[33];
  for (int i = 0; i < 10; ++i) profile[i] = profile[32 - i] = ramp[i];
  for (int i = 0; i < 13; ++i) profile[10 + i] = middle[i];
  Bitmap b(33, 33);
  const int peak = profile[16];
  for (int y = 0; y < 33; ++y)
    for (int x = 0; x < 33; ++x) {
      const int a = static_cast<int>(std::lround(static_cast<double>(profile[x]) * profile[y] / peak));
      b.Row(y)[x] = plat::MakePixel(0, 0, 0, static_cast<plat::BYTE>(a));
    }
  return plat::WritePng(b);
}

void Save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  plat::WriteFileBytes(path, bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skin_art SKINDIR SHADOWDIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/", shadows = std::string(argv[2]) + "/";
  try {
    Save(dir + "Master.bmp", Master().Bmp24());
    Save(dir + "ButtonHuge.bmp", ButtonHuge().Bmp24());
    const int activeRamp[10] = {3, 9, 15, 24, 35, 48, 63, 80, 100, 119};
    const int activeMiddle[13] = {128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128};
    const int inactiveRamp[10] = {0, 1, 3, 6, 10, 16, 24, 33, 43, 55};
    const int inactiveMiddle[13] = {76, 76, 77, 77, 77, 77, 77, 77, 77, 77, 77, 76, 76};
    Save(shadows + "ACSHDA.png", Shadow(activeRamp, activeMiddle));
    Save(shadows + "ACSHDI.png", Shadow(inactiveRamp, inactiveMiddle));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin_art: %s\n", e.what());
    return 1;
  }
  return 0;
}
