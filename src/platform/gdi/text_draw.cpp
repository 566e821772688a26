// Text on device contexts: metrics, extents, TextOut/ExtTextOut and DrawText.
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/gdi/objects.h"
#include "platform/gdi/text_layout.h"
#include "platform/gdi/text_paint.h"

namespace plat {

using namespace gdi;

namespace {

std::optional<std::string_view> TextView(const char* text, int count) {
  if (count == 0) return std::string_view();
  if (!text || count < -1) return std::nullopt;
  return count == -1 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(count));
}

// Underline and strike-out of the font, and prefix underlines, in the text colour.
void Decorate(TextPainter& painter, const FontInstance& font, int left, int right, int baseline, COLORREF color) {
  if (left >= right) return;
  if (font.Underline()) {
    const int top = baseline + font.UnderlineOffset();
    painter.Fill({left, top, right, top + font.UnderlineThickness()}, color);
  }
  if (font.StrikeOut()) {
    const int top = baseline + font.StrikeOffset();
    painter.Fill({left, top, right, top + font.StrikeThickness()}, color);
  }
}

}  // namespace

BOOL GetTextMetrics(HDC handle, TEXTMETRIC* metrics) {
  DcObject* dc = GetDc(handle);
  if (!dc || !metrics) return FALSE;
  *metrics = SelectedFont(*dc).Metrics();
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC handle, const char* text, int count, SIZE* size) {
  DcObject* dc = GetDc(handle);
  const auto view = TextView(text, count);
  if (!dc || !size || !view) return FALSE;
  const FontInstance& font = SelectedFont(*dc);
  size->cx = view->empty() ? 0 : font.Shape(*view, false)->width;
  size->cy = font.Metrics().tmHeight;
  return TRUE;
}

BOOL TextOut(HDC dc, int x, int y, const char* text, int count) {
  return ExtTextOut(dc, x, y, 0, nullptr, text, count);
}

BOOL ExtTextOut(HDC handle, int x, int y, UINT options, const RECT* rect, const char* text, int count) {
  DcObject* dc = GetDc(handle);
  const auto view = TextView(text, count);
  if (!dc || !view) return FALSE;
  const FontInstance& font = SelectedFont(*dc);
  const TEXTMETRIC& tm = font.Metrics();
  const UINT align = dc->state.textAlign;
  const std::shared_ptr<const ShapedRun> run = font.Shape(*view, (align & TA_RTLREADING) != 0);

  POINT ref{x, y};
  if (align & TA_UPDATECP) ref = dc->state.currentPos;
  int left = ref.x;
  switch (align & TA_CENTER) {
    case TA_CENTER: left = ref.x - run->width / 2; break;
    case TA_RIGHT: left = ref.x - run->width; break;
    default: break;
  }
  int top = ref.y;
  switch (align & TA_BASELINE) {
    case TA_BASELINE: top = ref.y - tm.tmAscent; break;
    case TA_BOTTOM: top = ref.y - tm.tmHeight; break;
    default: break;
  }
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) == TA_LEFT) dc->state.currentPos.x += run->width;
    if ((align & TA_CENTER) == TA_RIGHT) dc->state.currentPos.x -= run->width;
  }

  Bitmap* surface = dc->Surface();
  if (!surface) return TRUE;
  std::optional<RECT> limit;
  if (rect && (options & ETO_CLIPPED)) limit = dc->ToSurface(*rect);
  TextPainter painter(*surface, dc->Clip().Rects(), limit ? &*limit : nullptr);
  if (painter.Empty()) return TRUE;

  const POINT at = dc->ToSurface(POINT{left, top});
  if (rect && (options & ETO_OPAQUE)) painter.Fill(dc->ToSurface(*rect), dc->state.bkColor);
  if (dc->state.bkMode == OPAQUE && run->width > 0)
    painter.Fill({at.x, at.y, at.x + run->width, at.y + tm.tmHeight}, dc->state.bkColor);
  const int baseline = at.y + tm.tmAscent;
  painter.Draw(font, *run, at.x, baseline, dc->state.textColor);
  Decorate(painter, font, at.x, at.x + run->width, baseline, dc->state.textColor);
  return TRUE;
}

int DrawText(HDC dc, const std::string& text, RECT* rect, UINT format) {
  return DrawText(dc, text.data(), static_cast<int>(text.size()), rect, format);
}

int DrawText(HDC handle, const char* text, int count, RECT* rect, UINT format) {
  DcObject* dc = GetDc(handle);
  const auto view = TextView(text, count);
  if (!dc || !rect || !view) return 0;
  UINT flags = format;
  int tabChars = 8;
  if (format & DT_TABSTOP) {
    // The second byte holds the tab size then, not flags.
    tabChars = static_cast<int>((format >> 8) & 0xFF);
    flags &= ~0xFF00u;
  }
  const FontInstance& font = SelectedFont(*dc);
  const TextLayout layout = LayoutText(font, *view, RectWidth(*rect), flags, tabChars);
  const int height = layout.Height();
  if (flags & DT_CALCRECT) {
    rect->right = rect->left + layout.width;
    rect->bottom = rect->top + height;
    return height;
  }

  int top = rect->top;
  if (flags & DT_SINGLELINE) {
    if (flags & DT_VCENTER) {
      top = (rect->top + rect->bottom - height) / 2;
    } else if (flags & DT_BOTTOM) {
      top = rect->bottom - height;
    }
  }
  const int result = top - rect->top + height;

  Bitmap* surface = dc->Surface();
  if (!surface) return result;
  const RECT limit = dc->ToSurface(*rect);
  TextPainter painter(*surface, dc->Clip().Rects(), (flags & DT_NOCLIP) ? nullptr : &limit);
  if (painter.Empty()) return result;

  const POINT origin = dc->ToSurface(POINT{0, 0});
  const COLORREF color = dc->state.textColor;
  const bool opaque = dc->state.bkMode == OPAQUE;
  const bool textToo = !(flags & DT_PREFIXONLY);
  const bool prefixes = !(flags & DT_HIDEPREFIX);
  const int ascent = font.Metrics().tmAscent;
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    const LaidLine& line = layout.lines[i];
    const int lineTop = top + static_cast<int>(i) * layout.lineHeight;
    // An edit control shows no partly visible last line.
    if ((flags & DT_EDITCONTROL) && i > 0 && lineTop + layout.lineHeight > rect->bottom) break;
    int left = rect->left;
    if (flags & DT_CENTER) {
      left = (rect->left + rect->right - line.width) / 2;
    } else if (flags & DT_RIGHT) {
      left = rect->right - line.width;
    }
    const int x = left + origin.x;
    const int y = lineTop + origin.y;
    const int baseline = y + ascent;
    if (textToo) {
      if (opaque && line.width > 0) painter.Fill({x, y, x + line.width, y + layout.lineHeight}, dc->state.bkColor);
      for (const LaidPiece& piece : line.pieces) painter.Draw(font, *piece.run, x + piece.x, baseline, color);
      Decorate(painter, font, x, x + line.width, baseline, color);
    }
    if (prefixes) {
      const int underline = baseline + font.UnderlineOffset();
      for (const auto& [from, to] : line.underlines)
        painter.Fill({x + from, underline, x + to, underline + font.UnderlineThickness()}, color);
    }
  }
  return result;
}

}  // namespace plat
