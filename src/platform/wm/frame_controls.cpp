// The frame controls the defaults draw with: caption buttons, push-button bevels, menu marks and
// the size grip, in the system colours. Glyphs are small pixel patterns, as the classic look has.
#include <algorithm>
#include <span>
#include <string_view>

#include "platform/wm/standard_controls.h"

namespace plat {

namespace {

using Pattern = std::span<const std::string_view>;

constexpr std::string_view kClose[] = {"xx....xx", ".xx..xx.", "..xxxx..", "...xx...", "..xxxx..", ".xx..xx.",
                                       "xx....xx"};
constexpr std::string_view kCloseSmall[] = {"xx..xx", ".xxxx.", "..xx..", ".xxxx.", "xx..xx"};
constexpr std::string_view kMinimize[] = {"........", "........", "........", "........", "........", "........",
                                          ".xxxxxx.", ".xxxxxx."};
constexpr std::string_view kMaximize[] = {"xxxxxxxxx", "xxxxxxxxx", "x.......x", "x.......x", "x.......x",
                                          "x.......x", "x.......x", "x.......x", "xxxxxxxxx"};
constexpr std::string_view kRestore[] = {"...xxxxxx", "...xxxxxx", "...x....x", "xxxxxx..x", "xxxxxx..x",
                                         "x....xxxx", "x....x...", "x....x...", "xxxxxx..."};
constexpr std::string_view kHelp[] = {"..xxxx..", ".xx..xx.", ".....xx.", "....xx..", "...xx...", "...xx...",
                                      "........", "...xx...", "...xx..."};
constexpr std::string_view kCheck[] = {"......x", ".....xx", "x...xxx", "xx.xxx.", "xxxxx..", ".xxx...", "..x...."};
constexpr std::string_view kArrow[] = {"x...", "xx..", "xxx.", "xxxx", "xxx.", "xx..", "x..."};

void Stamp(HDC dc, Pattern rows, int x, int y, COLORREF color) {
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      if (rows[r][c] == 'x') SetPixel(dc, x + static_cast<int>(c), y + static_cast<int>(r), color);
}

int PatternWidth(Pattern rows) {
  std::size_t w = 0;
  for (std::string_view r : rows) w = std::max(w, r.size());
  return static_cast<int>(w);
}

// Centred in r; a disabled glyph is engraved (a highlight under a shadow).
void DrawGlyph(HDC dc, const RECT& r, Pattern rows, bool disabled, COLORREF color, int shift) {
  const int x = r.left + (RectWidth(r) - PatternWidth(rows)) / 2 + shift;
  const int y = r.top + (RectHeight(r) - static_cast<int>(rows.size())) / 2 + shift;
  if (disabled) {
    Stamp(dc, rows, x + 1, y + 1, GetSysColor(COLOR_3DHILIGHT));
    Stamp(dc, rows, x, y, GetSysColor(COLOR_3DSHADOW));
  } else {
    Stamp(dc, rows, x, y, color);
  }
}

Pattern CaptionGlyph(UINT kind, const RECT& inner) {
  switch (kind) {
    case DFCS_CAPTIONMIN: return kMinimize;
    case DFCS_CAPTIONMAX: return kMaximize;
    case DFCS_CAPTIONRESTORE: return kRestore;
    case DFCS_CAPTIONHELP: return kHelp;
    default: return RectHeight(inner) < 9 ? Pattern(kCloseSmall) : Pattern(kClose);
  }
}

// A raised bevel filled with the face colour; pushed, it is sunken. Answers the inside.
RECT Bevel(HDC dc, const RECT& r, UINT state) {
  RECT inner = r;
  const UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
  DrawEdge(dc, &inner, edge, BF_RECT | BF_ADJUST | BF_MIDDLE | ((state & DFCS_FLAT) ? BF_FLAT : 0) |
                                 ((state & DFCS_MONO) ? BF_MONO : 0));
  return inner;
}

void SizeGrip(HDC dc, const RECT& r) {
  const int size = std::min(RectWidth(r), RectHeight(r));
  for (int base = 1; base + 2 < size; base += 4)
    for (int t = base; t < base + 3; ++t) {
      const COLORREF color = GetSysColor(t == base ? COLOR_3DHILIGHT : COLOR_3DSHADOW);
      for (int j = 0; j <= t; ++j) SetPixel(dc, r.right - 1 - j, r.bottom - 1 - (t - j), color);
    }
}

}  // namespace

BOOL DrawFrameControl(HDC dc, RECT* r, UINT type, UINT state) {
  if (!dc || !r) return FALSE;
  const UINT kind = state & 0xFF;
  switch (type) {
    case DFC_CAPTION: {
      const RECT inner = Bevel(dc, *r, state);
      DrawGlyph(dc, inner, CaptionGlyph(kind, inner), (state & DFCS_INACTIVE) != 0, GetSysColor(COLOR_BTNTEXT),
                (state & DFCS_PUSHED) ? 1 : 0);
      return TRUE;
    }
    case DFC_BUTTON: {
      const RECT inner = Bevel(dc, *r, state);
      if (state & DFCS_ADJUSTRECT) *r = inner;
      return TRUE;
    }
    case DFC_MENU:
      DrawGlyph(dc, *r, kind == DFCS_MENUCHECK ? Pattern(kCheck) : Pattern(kArrow), (state & DFCS_INACTIVE) != 0,
                GetTextColor(dc), 0);
      return TRUE;
    case DFC_SCROLL:
      if (kind != DFCS_SCROLLSIZEGRIP) return FALSE;
      SizeGrip(dc, *r);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace plat
