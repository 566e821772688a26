// Draws a sheet of text samples into a PNG, to look at what the text code produces.
//   text_sample OUT.png [SCALE]   (SCALE enlarges pixels, to look closely)
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

using namespace plat;

namespace {

bool SavePng(const Bitmap& bitmap, const char* path, int scale) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width() * scale),
               static_cast<png_uint_32>(bitmap.Height() * scale), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(bitmap.Width() * scale) * 3);
  for (int y = 0; y < bitmap.Height() * scale; ++y) {
    const Pixel* src = bitmap.Row(y / scale);
    for (int x = 0; x < bitmap.Width() * scale; ++x) {
      row[x * 3] = static_cast<png_byte>(PixelR(src[x / scale]));
      row[x * 3 + 1] = static_cast<png_byte>(PixelG(src[x / scale]));
      row[x * 3 + 2] = static_cast<png_byte>(PixelB(src[x / scale]));
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

struct Sample {
  const char* face;
  int height;
  int weight;
  bool italic;
  bool underline;
  UINT format;
  int rectHeight;
  const char* text;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: text_sample OUT.png [SCALE]\n");
    return 2;
  }
  const int scale = argc == 3 ? std::max(1, std::min(8, std::atoi(argv[2]))) : 1;
  const int width = 420;
  const Sample samples[] = {
      {"Tahoma", -16, FW_NORMAL, false, false, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 28,
       "輝度37％ Brightness 明るさ"},
      {"MS Shell Dlg 2", -11, FW_NORMAL, false, false, DT_LEFT | DT_SINGLELINE, 18, "Tahoma 8pt: the quick brown fox"},
      {"Tahoma", -13, FW_BOLD, false, false, DT_LEFT | DT_SINGLELINE, 20, "Bold Latin, 太字の日本語"},
      {"Tahoma", -13, FW_NORMAL, true, false, DT_LEFT | DT_SINGLELINE, 20, "Italic Latin, 斜体の日本語"},
      {"ＭＳ Ｐゴシック", -14, FW_NORMAL, false, false, DT_LEFT | DT_WORDBREAK, 60,
       "画面の明るさを調整します。スライダーを動かすと、すぐに反映されます（約37％）。"},
      {"Segoe UI", -13, FW_NORMAL, false, true, DT_RIGHT | DT_SINGLELINE, 20, "Underlined, right aligned"},
      {"Tahoma", -13, FW_NORMAL, false, false, DT_LEFT | DT_SINGLELINE, 20, "&Options and &&more (prefix)"},
      {"Tahoma", -13, FW_NORMAL, false, false, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS, 20,
       "A long caption that does not fit in the rectangle at all, so it ends in dots"},
      {"Tahoma", -16, FW_NORMAL, false, false, DT_RIGHT | DT_SINGLELINE | DT_RTLREADING, 24, "שלום עולם (Hello) 123!"},
      {"Tahoma", -16, FW_NORMAL, false, false, DT_LEFT | DT_SINGLELINE | DT_RTLREADING, 24, "مرحبا بالعالم"},
      {"Tahoma", -13, FW_NORMAL, false, false, DT_LEFT | DT_EXPANDTABS, 20, "Name:\tValue\tMore"},
  };
  int total = 8;
  for (const auto& s : samples) total += s.rectHeight + 4;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap32(width, total);
  HGDIOBJ oldBitmap = SelectObject(dc, bmp);
  RECT all{0, 0, width, total};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH frame = CreateSolidBrush(RGB(200, 210, 230));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(20, 20, 60));
  int y = 4;
  for (const auto& s : samples) {
    HFONT font = CreateFont(s.height, 0, 0, 0, s.weight, s.italic, s.underline, 0, DEFAULT_CHARSET, 0, 0, 0, 0, s.face);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT r{8, y, width - 8, y + s.rectHeight};
    FrameRect(dc, &r, frame);
    DrawText(dc, s.text, -1, &r, s.format);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    y += s.rectHeight + 4;
  }
  DeleteObject(frame);
  const bool ok = SavePng(*BitmapOf(bmp), argv[1], scale);
  SelectObject(dc, oldBitmap);
  DeleteObject(bmp);
  DeleteDC(dc);
  return ok ? 0 : 1;
}
