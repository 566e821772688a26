// Draws a sample of the graphics layer, shapes, gradients, bevels and text in Japanese and
// Latin faces, into a PNG: a quick way to look at what the layer renders.
#include <cstdio>
#include <exception>

#include "platform/gdi/gdi.h"
#include "platform/gdi/image_codecs.h"
#include "platform/gdi/text.h"

using namespace plat;

namespace {

HFONT Font(const char* face, int height, int weight = FW_NORMAL, BYTE charset = DEFAULT_CHARSET) {
  LOGFONT lf;
  lf.lfHeight = -height;
  lf.lfWeight = weight;
  lf.lfCharSet = charset;
  lf.lfFaceName = face;
  return CreateFontIndirect(&lf);
}

void Caption(HDC dc, HFONT font, const char* text, RECT r, UINT format, COLORREF color) {
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, color);
  DrawText(dc, text, -1, &r, format);
  SelectObject(dc, old);
}

void Draw(HDC dc) {
  const RECT all{0, 0, 480, 300};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));

  // A caption bar shaded by triangles, as a skin's four-corner gradient paints it.
  const TRIVERTEX v[5] = {{0, 0, 0x2000, 0x2400, 0x2C00, 0xFF00}, {240, 16, 0x4800, 0x5000, 0x6000, 0xFF00},
                          {480, 0, 0x1800, 0x1C00, 0x2400, 0xFF00}, {480, 32, 0x1000, 0x1200, 0x1800, 0xFF00},
                          {0, 32, 0x3000, 0x3400, 0x3C00, 0xFF00}};
  const GRADIENT_TRIANGLE t[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  GradientFill(dc, v, 5, t, 4, GRADIENT_FILL_TRIANGLE);
  HFONT title = Font("Tahoma", 13, FW_BOLD);
  SetBkMode(dc, TRANSPARENT);
  Caption(dc, title, "輝度37％ — Velmora", {10, 0, 470, 32}, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS,
          RGB(240, 240, 240));

  // Five raised buttons with Japanese and Latin captions.
  HFONT gothic = Font("ＭＳ ゴシック", 24, FW_NORMAL, SHIFTJIS_CHARSET);
  const char* labels[5] = {"0%", "25%", "50%", "75%", "100%"};
  for (int i = 0; i < 5; ++i) {
    RECT b{16 + i * 92, 48, 16 + i * 92 + 84, 103};
    DrawEdge(dc, &b, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    Caption(dc, gothic, labels[i], b, DT_SINGLELINE | DT_CENTER | DT_VCENTER, RGB(0, 0, 0));
  }
  RECT focus{22, 54, 94, 97};
  DrawFocusRect(dc, &focus);

  // A sunken panel with wrapped text.
  RECT panel{16, 120, 464, 230};
  DrawEdge(dc, &panel, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &panel, GetSysColorBrush(COLOR_WINDOW));
  InflateRect(&panel, -8, -6);
  HFONT body = Font("ＭＳ ゴシック", 16, FW_NORMAL, SHIFTJIS_CHARSET);
  Caption(dc, body,
          "明るさ調整: 画面の明るさを五段階から選びます。Pick one of five levels; the window closes "
          "by itself when it loses the focus. &Options",
          panel, DT_WORDBREAK, RGB(0, 0, 0));

  // Lines and a pen-drawn rectangle.
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(10, 36, 106));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  for (int i = 0; i <= 10; ++i) {
    MoveToEx(dc, 16, 240 + i * 5, nullptr);
    LineTo(dc, 16 + i * 20, 290);
  }
  HBRUSH highlight = CreateSolidBrush(RGB(166, 202, 240));
  HGDIOBJ oldBrush = SelectObject(dc, highlight);
  Rectangle(dc, 240, 240, 464, 290);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  Caption(dc, body, "Tahoma → DejaVu Sans, ＭＳ ゴシック → IPAGothic", {240, 240, 464, 290},
          DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS, RGB(0, 0, 64));

  for (HGDIOBJ o : {static_cast<HGDIOBJ>(title), static_cast<HGDIOBJ>(gothic), static_cast<HGDIOBJ>(body),
                    static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(highlight)})
    DeleteObject(o);
}

}  // namespace

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : "gdi-demo.png";
  try {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap32(480, 300);
    HGDIOBJ old = SelectObject(dc, bmp);
    Draw(dc);
    Bitmap& pixels = *BitmapOf(bmp);
    for (int y = 0; y < pixels.Height(); ++y)  // drawn pixels carry alpha 0: make the picture opaque
      for (int x = 0; x < pixels.Width(); ++x) pixels.Row(y)[x] |= 0xFF000000u;
    WriteFileBytes(out, WritePng(pixels));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gdi_demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
