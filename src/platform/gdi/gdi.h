#pragma once
// The device-context layer under the platform's names and values: GDI objects behind checked
// handles (a stale or wrong handle makes a call fail, never crash), memory device contexts over
// 32-bit bitmaps, regions, blits, brushes and pens. Text is in text.h, images in image_codecs.h.
//
// Pixels written by fills, lines and text carry alpha 0, as on the platform; copies carry the
// source's alpha. Whoever needs alpha for a layered window sets it afterwards.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/color.h"
#include "platform/base/geometry.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/text.h"

namespace plat {

using HGDIOBJ = void*;
using HBITMAP = struct HBITMAP__*;
using HBRUSH = struct HBRUSH__*;
using HPEN = struct HPEN__*;
using HFONT = struct HFONT__*;
using HRGN = struct HRGN__*;
using HDC = struct HDC__*;

// ---- objects -------------------------------------------------------------------------------
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;
HGDIOBJ GetStockObject(int which);

inline constexpr UINT OBJ_PEN = 1;
inline constexpr UINT OBJ_BRUSH = 2;
inline constexpr UINT OBJ_DC = 3;
inline constexpr UINT OBJ_FONT = 6;
inline constexpr UINT OBJ_BITMAP = 7;
inline constexpr UINT OBJ_REGION = 8;
inline constexpr UINT OBJ_MEMDC = 10;

// Deleting a stock object, or one selected into a device context, is refused (FALSE).
BOOL DeleteObject(HGDIOBJ obj);
DWORD GetObjectType(HGDIOBJ obj);
// Selecting a region sets a copy of it as the clip region and answers its complexity.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

// ---- bitmaps -------------------------------------------------------------------------------
struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 32;
  void* bmBits = nullptr;
};
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
int GetObject(HGDIOBJ obj, int size, void* out);

// ---- brushes and pens ----------------------------------------------------------------------
inline constexpr UINT BS_SOLID = 0;
inline constexpr UINT BS_NULL = 1;
inline constexpr UINT BS_HOLLOW = BS_NULL;
struct LOGBRUSH {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  std::uintptr_t lbHatch = 0;
};
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_NULL = 5;
struct LOGPEN {
  UINT lopnStyle = PS_SOLID;
  POINT lopnWidth{1, 0};
  COLORREF lopnColor = 0;
};
HPEN CreatePen(int style, int width, COLORREF color);

// ---- system colours (a fixed classic scheme) -----------------------------------------------
inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_DESKTOP = COLOR_BACKGROUND;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_ACTIVEBORDER = 10;
inline constexpr int COLOR_INACTIVEBORDER = 11;
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_3DFACE = COLOR_BTNFACE;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
inline constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;
inline constexpr int COLOR_HOTLIGHT = 26;
inline constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
inline constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
inline constexpr int COLOR_MENUHILIGHT = 29;
inline constexpr int COLOR_MENUBAR = 30;
DWORD GetSysColor(int index);
// Stock brushes of the system colours; never deleted.
HBRUSH GetSysColorBrush(int index);

// ---- device contexts -----------------------------------------------------------------------
// A memory context starts with a 1 x 1 stock bitmap selected, black text on an opaque white
// background, the white brush, the black pen and the default GUI font.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// Contexts are saved on a stack: SaveDC answers the new depth; RestoreDC takes a depth, or a
// negative count back from the top.
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr DWORD CLR_INVALID = 0xFFFFFFFF;
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;
inline constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetViewportOrgEx(HDC dc, POINT* origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous);

// ---- regions -------------------------------------------------------------------------------
inline constexpr int ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* r);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
// dst may be one of the sources; for RGN_COPY src2 is ignored.
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* r);
BOOL EqualRgn(HRGN a, HRGN b);
int GetRgnBox(HRGN rgn, RECT* box);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL PaintRgn(HDC dc, HRGN rgn);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height);

// Clip regions are in device units relative to the context's origin (the viewport origin does
// not move them). Selecting nullptr removes the clip.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
// These two take logical coordinates.
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
// Answers 1 and fills rgn when a clip region is set, 0 when none is, -1 on error.
int GetClipRgn(HDC dc, HRGN rgn);
// The visible part of the drawing surface in logical coordinates.
int GetClipBox(HDC dc, RECT* box);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* r);

// ---- drawing -------------------------------------------------------------------------------
// Ternary raster operations: the high word's low byte is the truth table over pattern, source
// and destination; every one of the 256 is carried out.
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD SRCPAINT = 0x00EE0086;
inline constexpr DWORD SRCAND = 0x008800C6;
inline constexpr DWORD SRCINVERT = 0x00660046;
inline constexpr DWORD SRCERASE = 0x00440328;
inline constexpr DWORD NOTSRCCOPY = 0x00330008;
inline constexpr DWORD NOTSRCERASE = 0x001100A6;
inline constexpr DWORD MERGECOPY = 0x00C000CA;
inline constexpr DWORD MERGEPAINT = 0x00BB0226;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD PATPAINT = 0x00FB0A09;
inline constexpr DWORD PATINVERT = 0x005A0049;
inline constexpr DWORD DSTINVERT = 0x00550009;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, DWORD rop);
// Nearest-pixel stretching (every stretch mode samples so); negative extents mirror.
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, int swidth,
                int sheight, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
// brush may also be a system colour index + 1, as the platform allows.
int FillRect(HDC dc, const RECT* r, HBRUSH brush);
int FrameRect(HDC dc, const RECT* r, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* r);
// A dotted rectangle drawn by inverting, so that drawing it twice removes it.
BOOL DrawFocusRect(HDC dc, const RECT* r);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
// A line in the selected pen from the current position up to, not including, (x, y).
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);

inline constexpr UINT BDR_RAISEDOUTER = 0x0001;
inline constexpr UINT BDR_SUNKENOUTER = 0x0002;
inline constexpr UINT BDR_RAISEDINNER = 0x0004;
inline constexpr UINT BDR_SUNKENINNER = 0x0008;
inline constexpr UINT BDR_OUTER = 0x0003;
inline constexpr UINT BDR_INNER = 0x000C;
inline constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr UINT BF_LEFT = 0x0001;
inline constexpr UINT BF_TOP = 0x0002;
inline constexpr UINT BF_RIGHT = 0x0004;
inline constexpr UINT BF_BOTTOM = 0x0008;
inline constexpr UINT BF_RECT = 0x000F;
inline constexpr UINT BF_MIDDLE = 0x0800;
inline constexpr UINT BF_SOFT = 0x1000;
inline constexpr UINT BF_ADJUST = 0x2000;
inline constexpr UINT BF_FLAT = 0x4000;
inline constexpr UINT BF_MONO = 0x8000;
// Classic bevels in the system colours; with BF_ADJUST the rectangle shrinks to the inside.
BOOL DrawEdge(HDC dc, RECT* r, UINT edge, UINT flags);

// ---- gradient fill ("GradientFill" of "msimg32.dll") ---------------------------------------
struct TRIVERTEX {
  LONG x = 0;
  LONG y = 0;
  COLOR16 Red = 0;
  COLOR16 Green = 0;
  COLOR16 Blue = 0;
  COLOR16 Alpha = 0;
};
struct GRADIENT_TRIANGLE {
  ULONG Vertex1 = 0;
  ULONG Vertex2 = 0;
  ULONG Vertex3 = 0;
};
struct GRADIENT_RECT {
  ULONG UpperLeft = 0;
  ULONG LowerRight = 0;
};
inline constexpr ULONG GRADIENT_FILL_RECT_H = 0;
inline constexpr ULONG GRADIENT_FILL_RECT_V = 1;
inline constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;
// Channels are 16-bit (the high byte is the pixel's); the alpha channel is written as well.
BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount,
                  ULONG mode);
using GradientFillProc = BOOL (*)(HDC, const TRIVERTEX*, ULONG, const void*, ULONG, ULONG);

// ---- our own additions -----------------------------------------------------------------------
// Not the platform's: what our framework and window manager need beyond its calls.

// A 32-bit top-down device-independent bitmap (zeroed), or nullptr when the size is refused.
HBITMAP CreateBitmap32(int width, int height);
// Takes ownership of a bitmap made elsewhere (an image reader's result, say).
HBITMAP CreateBitmapHandle(std::unique_ptr<Bitmap> bitmap);
// The pixels behind a bitmap handle, for direct row access; nullptr for a bad handle.
Bitmap* BitmapOf(HBITMAP bmp);
// The bitmap selected into a memory context, or the surface a window context paints on.
Bitmap* SurfaceOf(HDC dc);
// A region from any list of rectangles (their union).
HRGN CreateRegionFromRects(const std::vector<RECT>& rects);
// The region's rectangles in band order (empty for a bad handle).
std::vector<RECT> GetRegionRects(HRGN rgn);

}  // namespace plat
