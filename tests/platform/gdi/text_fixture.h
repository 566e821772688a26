#pragma once
// Helpers for text tests: logical fonts selected for a scope, and where ink landed.
#include <algorithm>
#include <string>

#include "gdi_fixture.h"
#include "platform/gdi/gdi.h"

namespace plat::test {

inline LOGFONT Font(const std::string& face, int height, int weight = FW_NORMAL, BYTE charSet = DEFAULT_CHARSET) {
  LOGFONT lf;
  lf.lfFaceName = face;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = charSet;
  return lf;
}

// A logical font selected into a context until the end of the scope.
class UseFont {
 public:
  UseFont(HDC dc, const LOGFONT& lf) : dc_(dc), font(CreateFontIndirect(&lf)) { old_ = SelectObject(dc, font); }
  ~UseFont() {
    SelectObject(dc_, old_);
    DeleteObject(font);
  }
  UseFont(const UseFont&) = delete;
  UseFont& operator=(const UseFont&) = delete;

 private:
  HDC dc_;

 public:
  HFONT font;

 private:
  HGDIOBJ old_;
};

// The smallest rectangle holding every pixel (colour and alpha) unlike background inside
// within; empty when there is none.
inline RECT InkBox(const Bitmap& b, Pixel background, RECT within) {
  within = Intersection(within, b.Bounds());
  RECT box{within.right, within.bottom, within.left, within.top};
  for (int y = within.top; y < within.bottom; ++y) {
    const Pixel* row = b.Row(y);
    for (int x = within.left; x < within.right; ++x) {
      if (row[x] == background) continue;
      box.left = std::min<LONG>(box.left, x);
      box.right = std::max<LONG>(box.right, x + 1);
      box.top = std::min<LONG>(box.top, y);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  }
  return IsEmpty(box) ? RECT{} : box;
}
inline RECT InkBox(const Bitmap& b, Pixel background) { return InkBox(b, background, b.Bounds()); }

inline constexpr Pixel kWhite = 0xFFFFFFFFu;  // opaque white, so that text's alpha 0 shows too

inline SIZE Extent(HDC dc, const std::string& text) {
  SIZE s;
  GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &s);
  return s;
}

inline TEXTMETRIC Metrics(HDC dc) {
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  return tm;
}

}  // namespace plat::test
