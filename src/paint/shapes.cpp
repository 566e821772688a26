#include "paint/shapes.h"

namespace velmora {

void DrawArrow(fw::TCanvas& canvas, fw::TColor color, const plat::RECT& rect, int kind) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (kind == 8) {  // down: rows of 8, 6, 4 and 2 pixels
    const int x0 = rect.left + (width - 6) / 2 - 1, y0 = rect.top + (height - 3) / 2 - 1;
    for (int k = 0; k <= 3; ++k)
      for (int i = k; i <= 3; ++i) {
        canvas.SetPixel(x0 + i, y0 + k, color);
        canvas.SetPixel(x0 + 7 - i, y0 + k, color);
      }
  } else if (kind == 4) {  // right: columns of 7, 5, 3 and 1 pixels
    const int x0 = rect.left + (width - 3) / 2, y0 = rect.top + (height - 6) / 2;
    for (int k = 0; k <= 3; ++k)
      for (int y = y0 + k; y <= y0 + 6 - k; ++y) canvas.SetPixel(x0 + k, y, color);
  }
}

void BevelRings(plat::HDC dc, const plat::RECT& rect, fw::TColor first, int& rings, fw::TColor second) {
  if (!dc) return;
  plat::RECT r{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
  const plat::COLORREF light = fw::ColorToRGB(first);
  const plat::COLORREF shade = static_cast<plat::COLORREF>(second);
  const int saved = plat::SaveDC(dc);
  plat::HPEN lightPen = plat::CreatePen(plat::PS_SOLID, 1, light);
  plat::HPEN shadePen = plat::CreatePen(plat::PS_SOLID, 1, shade);
  for (; rings > 0; --rings) {
    // Lines stop short of their end point, so each corner belongs to one colour.
    plat::SelectObject(dc, lightPen);
    plat::MoveToEx(dc, r.left, r.bottom, nullptr);
    plat::LineTo(dc, r.left, r.top);
    plat::LineTo(dc, r.right, r.top);
    plat::SelectObject(dc, shadePen);
    plat::LineTo(dc, r.right, r.bottom);
    plat::LineTo(dc, r.left - 1, r.bottom);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  plat::RestoreDC(dc, saved);
  plat::DeleteObject(lightPen);
  plat::DeleteObject(shadePen);
}

}  // namespace velmora
