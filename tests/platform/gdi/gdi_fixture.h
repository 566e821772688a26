#pragma once
// A memory device context over a fresh 32-bit bitmap, released at the end of the test.
#include "platform/gdi/gdi.h"

namespace plat::test {

class Canvas {
 public:
  Canvas(int width, int height) : dc(CreateCompatibleDC(nullptr)), bitmap(CreateBitmap32(width, height)) {
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Bitmap& Pixels() const { return *BitmapOf(bitmap); }
  Pixel At(int x, int y) const { return Pixels().Row(y)[x]; }
  void Fill(Pixel p) const { Pixels().Fill(p); }

  HDC dc;
  HBITMAP bitmap;

 private:
  HGDIOBJ old;
};

}  // namespace plat::test
