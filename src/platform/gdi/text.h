#pragma once
// Logical fonts and text drawing. Faces are found through fontconfig (with aliases for the face
// names the program uses), shaped with HarfBuzz and rendered grey-scale with FreeType. Strings
// are UTF-8; counts are in bytes, -1 meaning up to the terminating zero.
#include <string>

#include "platform/base/geometry.h"

namespace plat {

using HDC = struct HDC__*;
using HFONT = struct HFONT__*;

inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;
inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE SHIFTJIS_CHARSET = 128;

// lfWidth, lfEscapement and lfOrientation are kept but not applied: text runs level, at the
// face's own width. A weight of 600 or more is bold; a face without a bold or italic style is
// emboldened or slanted.
struct LOGFONT {
  // Negative: the character height in pixels; positive: the cell height (ascent + descent);
  // 0: a character height of 16 pixels.
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = DEFAULT_CHARSET;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  std::string lfFaceName;
};

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};

// The resolved face and size of a logical font; defined by the text code.
class FontInstance;

HFONT CreateFontIndirect(const LOGFONT* lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, const char* faceName);
// The file of the face a logical font resolves to (for diagnostics and tests).
std::string ResolvedFontFile(HFONT font);

inline constexpr UINT DT_TOP = 0x00000000;
inline constexpr UINT DT_LEFT = 0x00000000;
inline constexpr UINT DT_CENTER = 0x00000001;
inline constexpr UINT DT_RIGHT = 0x00000002;
inline constexpr UINT DT_VCENTER = 0x00000004;
inline constexpr UINT DT_BOTTOM = 0x00000008;
inline constexpr UINT DT_WORDBREAK = 0x00000010;
inline constexpr UINT DT_SINGLELINE = 0x00000020;
inline constexpr UINT DT_EXPANDTABS = 0x00000040;
inline constexpr UINT DT_TABSTOP = 0x00000080;
inline constexpr UINT DT_NOCLIP = 0x00000100;
inline constexpr UINT DT_EXTERNALLEADING = 0x00000200;
inline constexpr UINT DT_CALCRECT = 0x00000400;
inline constexpr UINT DT_NOPREFIX = 0x00000800;
inline constexpr UINT DT_INTERNAL = 0x00001000;
inline constexpr UINT DT_EDITCONTROL = 0x00002000;
inline constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
inline constexpr UINT DT_END_ELLIPSIS = 0x00008000;
inline constexpr UINT DT_MODIFYSTRING = 0x00010000;
inline constexpr UINT DT_RTLREADING = 0x00020000;
inline constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
inline constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
inline constexpr UINT DT_HIDEPREFIX = 0x00100000;
inline constexpr UINT DT_PREFIXONLY = 0x00200000;

inline constexpr UINT TA_NOUPDATECP = 0;
inline constexpr UINT TA_UPDATECP = 1;  // draw at, and move, the current position
inline constexpr UINT TA_LEFT = 0;
inline constexpr UINT TA_RIGHT = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr UINT TA_TOP = 0;
inline constexpr UINT TA_BOTTOM = 8;
inline constexpr UINT TA_BASELINE = 24;
inline constexpr UINT TA_RTLREADING = 256;

inline constexpr UINT ETO_OPAQUE = 0x0002;
inline constexpr UINT ETO_CLIPPED = 0x0004;

// Answers the height of the text drawn, counted from the rectangle's top (so DT_VCENTER and
// DT_BOTTOM add their offset); with DT_CALCRECT it measures only and sets the rectangle's right
// and bottom. 0 on failure. Word and path ellipses cut the end like DT_END_ELLIPSIS, and
// DT_MODIFYSTRING leaves the string alone. The pieces between expanded tabs go left to right,
// even with DT_RTLREADING.
int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format);
int DrawText(HDC dc, const std::string& text, RECT* rect, UINT format);
BOOL TextOut(HDC dc, int x, int y, const char* text, int count);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, int count);
BOOL GetTextExtentPoint32(HDC dc, const char* text, int count, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

}  // namespace plat
