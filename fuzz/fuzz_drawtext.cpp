// DrawText and ExtTextOut over any bytes: the first four are the format, the next two the
// rectangle's width, the next one picks the font; the rest is the (often malformed) UTF-8 text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gdi/gdi.h"

using namespace plat;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 7) return 0;
  const UINT format = (data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<UINT>(data[3]) << 24)) & 0x3FFFFFu;
  const int width = static_cast<std::int16_t>(data[4] | (data[5] << 8));
  static const char* const faces[] = {"Tahoma", "MS Gothic", "MS UI Gothic", "Segoe UI"};
  const std::uint8_t pick = data[6];
  const std::string text(reinterpret_cast<const char*>(data + 7), size - 7);

  static HDC dc = [] {
    HDC d = CreateCompatibleDC(nullptr);
    SelectObject(d, CreateBitmap32(96, 64));
    return d;
  }();
  HFONT font = CreateFont(-(8 + (pick >> 4)), 0, 0, 0, (pick & 1) ? FW_BOLD : FW_NORMAL, pick & 2, pick & 4, pick & 8,
                          DEFAULT_CHARSET, 0, 0, 0, 0, faces[(pick >> 2) & 3]);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, (pick & 0x40) ? OPAQUE : TRANSPARENT);
  RECT r{-8, 4, -8 + width, 60};
  RECT measured = r;
  DrawText(dc, text, &measured, format | DT_CALCRECT);
  DrawText(dc, text, &r, format & ~DT_CALCRECT);
  SetTextAlign(dc, format & 0x11F);
  ExtTextOut(dc, width / 4, 20, ETO_CLIPPED | ETO_OPAQUE, &r, text.data(), static_cast<int>(text.size()));
  SelectObject(dc, old);
  DeleteObject(font);
  return 0;
}
