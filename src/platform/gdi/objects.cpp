// The handle table, stock objects, selection and the state of device contexts.
#include "platform/gdi/objects.h"

#include <array>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace plat {
namespace gdi {

namespace {

struct HandleTable {
  std::unordered_map<std::uintptr_t, std::unique_ptr<Object>> objects;
  std::uintptr_t next = 0x1000;  // far above the system-colour brush values 1..31
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

HGDIOBJ Register(std::unique_ptr<Object> object) {
  HandleTable& t = Table();
  const std::uintptr_t key = t.next;
  t.next += 0x10;
  t.objects.emplace(key, std::move(object));
  return reinterpret_cast<HGDIOBJ>(key);
}

Object* Lookup(HGDIOBJ handle) {
  HandleTable& t = Table();
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == t.objects.end() ? nullptr : it->second.get();
}

bool Unregister(HGDIOBJ handle) {
  return Table().objects.erase(reinterpret_cast<std::uintptr_t>(handle)) > 0;
}

DcObject::~DcObject() = default;

Bitmap* DcObject::Surface() const {
  if (!memory) return surface;
  auto* b = Get<BitmapObject>(state.bitmap);
  return b ? b->bitmap.get() : nullptr;
}

const Region& DcObject::Clip() {
  if (clipStale) {
    Bitmap* s = Surface();
    clipCache = Region(s ? s->Bounds() : RECT{});
    if (systemClip) clipCache = clipCache.Intersect(*systemClip);
    if (state.clip) {
      Region user = *state.clip;
      user.Offset(origin.x, origin.y);
      clipCache = clipCache.Intersect(user);
    }
    clipStale = false;
  }
  return clipCache;
}

std::optional<COLORREF> BrushColor(HBRUSH brush) {
  const auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (value >= 1 && value <= 31) return GetSysColor(static_cast<int>(value - 1));
  auto* b = Get<BrushObject>(brush);
  if (!b || b->brush.lbStyle == BS_NULL) return std::nullopt;
  return b->brush.lbColor & 0x00FFFFFF;
}

void FillSurface(DcObject& dc, const RECT& surfaceRect, Pixel value) {
  Bitmap* s = dc.Surface();
  if (!s || s->Format() != PixelFormat::Bgra32 || IsEmpty(surfaceRect)) return;
  for (const RECT& c : dc.Clip().Rects()) {
    const RECT r = Intersection(c, surfaceRect);
    if (IsEmpty(r)) continue;
    const int width = RectWidth(r);
    for (int y = r.top; y < r.bottom; ++y) {
      Pixel* row = s->Row(y) + r.left;
      for (int x = 0; x < width; ++x) row[x] = value;
    }
  }
}

namespace {

HGDIOBJ MakeStock(std::unique_ptr<Object> o) {
  o->stock = true;
  return Register(std::move(o));
}

HGDIOBJ StockBitmap() {
  static HGDIOBJ one = MakeStock(std::make_unique<BitmapObject>(std::make_unique<Bitmap>(1, 1)));
  return one;
}

// Brushes, pens and fonts a context falls back to when its selection has gone stale.
template <class T>
HGDIOBJ Selected(HGDIOBJ current, int stock) {
  return Get<T>(current) ? current : GetStockObject(stock);
}

int RegionComplexity(const Region& r) {
  if (r.Empty()) return NULLREGION;
  return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Reselect(DcObject& dc, HDC handle, HBITMAP from, HBITMAP to) {
  if (from == to) return;
  if (auto* b = Get<BitmapObject>(from); b && b->selectedInto == handle) b->selectedInto = nullptr;
  if (auto* b = Get<BitmapObject>(to)) b->selectedInto = handle;
  dc.ClipChanged();
}

// Everything inside the coordinate space; the start of a clip made by cutting.
const RECT kEverything{-(1 << 27), -(1 << 27), 1 << 27, 1 << 27};

}  // namespace
}  // namespace gdi

using namespace gdi;

HGDIOBJ GetStockObject(int which) {
  static std::array<HGDIOBJ, 20> stock = [] {
    std::array<HGDIOBJ, 20> s{};
    auto brush = [](COLORREF c, UINT style = BS_SOLID) {
      return MakeStock(std::make_unique<BrushObject>(LOGBRUSH{style, c, 0}));
    };
    auto pen = [](int style, COLORREF c) {
      return MakeStock(std::make_unique<PenObject>(LOGPEN{static_cast<UINT>(style), {1, 0}, c}));
    };
    s[WHITE_BRUSH] = brush(RGB(255, 255, 255));
    s[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
    s[GRAY_BRUSH] = brush(RGB(128, 128, 128));
    s[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
    s[BLACK_BRUSH] = brush(RGB(0, 0, 0));
    s[NULL_BRUSH] = brush(0, BS_NULL);
    s[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
    s[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
    s[NULL_PEN] = pen(PS_NULL, 0);
    LOGFONT gui;
    gui.lfHeight = -11;
    gui.lfFaceName = "Tahoma";
    s[DEFAULT_GUI_FONT] = MakeStock(std::make_unique<FontObject>(gui));
    LOGFONT system;
    system.lfHeight = -13;
    system.lfWeight = FW_BOLD;
    system.lfFaceName = "Tahoma";
    s[SYSTEM_FONT] = MakeStock(std::make_unique<FontObject>(system));
    return s;
  }();
  return which >= 0 && which < static_cast<int>(stock.size()) ? stock[static_cast<std::size_t>(which)] : nullptr;
}

DWORD GetSysColor(int index) {
  static constexpr COLORREF kClassic[31] = {
      RGB(200, 200, 200),  // scroll bar
      RGB(58, 110, 165),   // desktop
      RGB(10, 36, 106),    // active caption
      RGB(128, 128, 128),  // inactive caption
      RGB(212, 208, 200),  // menu
      RGB(255, 255, 255),  // window
      RGB(0, 0, 0),        // window frame
      RGB(0, 0, 0),        // menu text
      RGB(0, 0, 0),        // window text
      RGB(255, 255, 255),  // caption text
      RGB(212, 208, 200),  // active border
      RGB(212, 208, 200),  // inactive border
      RGB(128, 128, 128),  // application workspace
      RGB(10, 36, 106),    // highlight
      RGB(255, 255, 255),  // highlight text
      RGB(212, 208, 200),  // button face
      RGB(128, 128, 128),  // button shadow
      RGB(128, 128, 128),  // grey text
      RGB(0, 0, 0),        // button text
      RGB(212, 208, 200),  // inactive caption text
      RGB(255, 255, 255),  // button highlight
      RGB(64, 64, 64),     // 3-D dark shadow
      RGB(212, 208, 200),  // 3-D light
      RGB(0, 0, 0),        // tooltip text
      RGB(255, 255, 225),  // tooltip background
      RGB(181, 181, 181),  // (unused slot)
      RGB(0, 0, 128),      // hot-tracked item
      RGB(166, 202, 240),  // active caption gradient end
      RGB(192, 192, 192),  // inactive caption gradient end
      RGB(10, 36, 106),    // menu highlight
      RGB(212, 208, 200),  // menu bar
  };
  return index >= 0 && index < 31 ? kClassic[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
  static std::array<HGDIOBJ, 31> brushes{};
  if (index < 0 || index >= 31) return nullptr;
  HGDIOBJ& b = brushes[static_cast<std::size_t>(index)];
  if (!b) b = MakeStock(std::make_unique<BrushObject>(LOGBRUSH{BS_SOLID, GetSysColor(index), 0}));
  return static_cast<HBRUSH>(b);
}

// ---- objects --------------------------------------------------------------------------------

BOOL DeleteObject(HGDIOBJ obj) {
  Object* o = Lookup(obj);
  if (!o || o->stock || o->kind == Kind::Dc) return FALSE;
  // Pixels under a context stay alive while it draws on them; other objects may go, since a
  // context finds a stale selection and falls back to the stock one.
  if (o->kind == Kind::Bitmap && static_cast<BitmapObject*>(o)->selectedInto &&
      GetDc(static_cast<BitmapObject*>(o)->selectedInto))
    return FALSE;
  return Unregister(obj) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ obj) {
  Object* o = Lookup(obj);
  if (!o) return 0;
  switch (o->kind) {
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Pen: return OBJ_PEN;
    case Kind::Font: return OBJ_FONT;
    case Kind::Region: return OBJ_REGION;
    case Kind::Dc: return static_cast<DcObject*>(o)->memory ? OBJ_MEMDC : OBJ_DC;
  }
  return 0;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ obj) {
  DcObject* dc = GetDc(handle);
  Object* o = Lookup(obj);
  if (!dc || !o) return nullptr;
  DcState& s = dc->state;
  switch (o->kind) {
    case Kind::Bitmap: {
      auto* b = static_cast<BitmapObject*>(o);
      if (!dc->memory) return nullptr;
      if (b->selectedInto && b->selectedInto != handle && GetDc(b->selectedInto)) return nullptr;
      HBITMAP previous = s.bitmap;
      s.bitmap = static_cast<HBITMAP>(obj);
      Reselect(*dc, handle, previous, s.bitmap);
      return previous;
    }
    case Kind::Brush:
      return std::exchange(s.brush, static_cast<HBRUSH>(obj));
    case Kind::Pen:
      return std::exchange(s.pen, static_cast<HPEN>(obj));
    case Kind::Font:
      return std::exchange(s.font, static_cast<HFONT>(obj));
    case Kind::Region: {
      s.clip = static_cast<RegionObject*>(o)->region;
      dc->ClipChanged();
      return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(RegionComplexity(*s.clip)));
    }
    case Kind::Dc:
      break;
  }
  return nullptr;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
  DcObject* dc = GetDc(handle);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_BITMAP: return dc->state.bitmap;
    case OBJ_BRUSH: return Selected<BrushObject>(dc->state.brush, WHITE_BRUSH);
    case OBJ_PEN: return Selected<PenObject>(dc->state.pen, BLACK_PEN);
    case OBJ_FONT: return Selected<FontObject>(dc->state.font, DEFAULT_GUI_FONT);
    default: return nullptr;
  }
}

int GetObject(HGDIOBJ obj, int size, void* out) {
  Object* o = Lookup(obj);
  if (!o) return 0;
  auto copy = [&](const auto& value) {
    using T = std::decay_t<decltype(value)>;
    if (!out) return static_cast<int>(sizeof(T));
    if (size < static_cast<int>(sizeof(T))) return 0;
    *static_cast<T*>(out) = value;
    return static_cast<int>(sizeof(T));
  };
  switch (o->kind) {
    case Kind::Bitmap: {
      Bitmap& b = *static_cast<BitmapObject*>(o)->bitmap;
      BITMAP info;
      info.bmWidth = b.Width();
      info.bmHeight = b.Height();
      info.bmWidthBytes = static_cast<LONG>(b.Stride());
      info.bmBitsPixel = static_cast<WORD>(b.BitsPerPixel());
      info.bmBits = b.Bits();
      return copy(info);
    }
    case Kind::Brush: return copy(static_cast<BrushObject*>(o)->brush);
    case Kind::Pen: return copy(static_cast<PenObject*>(o)->pen);
    case Kind::Font: return copy(static_cast<FontObject*>(o)->font);
    default: return 0;
  }
}

// ---- bitmaps, brushes, pens -------------------------------------------------------------------

HBITMAP CreateBitmapHandle(std::unique_ptr<Bitmap> bitmap) {
  if (!bitmap) return nullptr;
  return static_cast<HBITMAP>(Register(std::make_unique<BitmapObject>(std::move(bitmap))));
}

HBITMAP CreateBitmap32(int width, int height) {
  if (!Bitmap::SizeAllowed(width, height)) return nullptr;
  return CreateBitmapHandle(std::make_unique<Bitmap>(width, height));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) { return CreateBitmap32(width, height); }

Bitmap* BitmapOf(HBITMAP bmp) {
  auto* b = Get<BitmapObject>(bmp);
  return b ? b->bitmap.get() : nullptr;
}

Bitmap* SurfaceOf(HDC handle) {
  DcObject* dc = GetDc(handle);
  return dc ? dc->Surface() : nullptr;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb || (lb->lbStyle != BS_SOLID && lb->lbStyle != BS_NULL)) return nullptr;
  LOGBRUSH b = *lb;
  b.lbColor &= 0x00FFFFFF;
  return static_cast<HBRUSH>(Register(std::make_unique<BrushObject>(b)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  const LOGBRUSH lb{BS_SOLID, color, 0};
  return CreateBrushIndirect(&lb);
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_NULL) return nullptr;
  LOGPEN p{static_cast<UINT>(style), {width < 1 ? 1 : width, 0}, color & 0x00FFFFFF};
  return static_cast<HPEN>(Register(std::make_unique<PenObject>(p)));
}

// ---- device contexts --------------------------------------------------------------------------

HDC CreateCompatibleDC(HDC) {
  auto dc = std::make_unique<DcObject>();
  dc->state.bitmap = static_cast<HBITMAP>(StockBitmap());
  dc->state.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  dc->state.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  dc->state.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return static_cast<HDC>(Register(std::move(dc)));
}

BOOL DeleteDC(HDC handle) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  if (auto* b = Get<BitmapObject>(dc->state.bitmap); b && b->selectedInto == handle) b->selectedInto = nullptr;
  return Unregister(handle) ? TRUE : FALSE;
}

int SaveDC(HDC handle) {
  DcObject* dc = GetDc(handle);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int saved) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  const int depth = static_cast<int>(dc->saved.size());
  const int target = saved < 0 ? depth + saved + 1 : saved;
  if (target < 1 || target > depth) return FALSE;
  const HBITMAP before = dc->state.bitmap;
  dc->state = dc->saved[static_cast<std::size_t>(target - 1)];
  dc->saved.resize(static_cast<std::size_t>(target - 1));
  if (!Get<BitmapObject>(dc->state.bitmap)) dc->state.bitmap = static_cast<HBITMAP>(StockBitmap());
  Reselect(*dc, handle, before, dc->state.bitmap);
  dc->ClipChanged();
  return TRUE;
}

namespace {
template <class T>
T Swap(HDC handle, T DcState::*field, T value, T failure) {
  DcObject* dc = GetDc(handle);
  return dc ? std::exchange(dc->state.*field, value) : failure;
}
template <class T>
T Read(HDC handle, T DcState::*field, T failure) {
  DcObject* dc = GetDc(handle);
  return dc ? dc->state.*field : failure;
}
}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) { return Swap(dc, &DcState::textColor, color & 0x00FFFFFF, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return Read(dc, &DcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF color) { return Swap(dc, &DcState::bkColor, color & 0x00FFFFFF, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return Read(dc, &DcState::bkColor, CLR_INVALID); }
int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Swap(dc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC dc) { return Read(dc, &DcState::bkMode, 0); }
int SetStretchBltMode(HDC dc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return Swap(dc, &DcState::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC dc) { return Read(dc, &DcState::stretchMode, 0); }
UINT SetTextAlign(HDC dc, UINT align) { return Swap(dc, &DcState::textAlign, align, 0xFFFFFFFFu); }
UINT GetTextAlign(HDC dc) { return Read(dc, &DcState::textAlign, 0xFFFFFFFFu); }

BOOL SetViewportOrgEx(HDC handle, int x, int y, POINT* previous) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.viewportOrg;
  dc->state.viewportOrg = {x, y};
  return TRUE;
}

BOOL GetViewportOrgEx(HDC handle, POINT* origin) {
  DcObject* dc = GetDc(handle);
  if (!dc || !origin) return FALSE;
  *origin = dc->state.viewportOrg;
  return TRUE;
}

BOOL OffsetViewportOrgEx(HDC handle, int dx, int dy, POINT* previous) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.viewportOrg;
  dc->state.viewportOrg.x += dx;
  dc->state.viewportOrg.y += dy;
  return TRUE;
}

BOOL SetBrushOrgEx(HDC handle, int x, int y, POINT* previous) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.brushOrg;
  dc->state.brushOrg = {x, y};
  return TRUE;
}

// ---- clipping ---------------------------------------------------------------------------------

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC handle, HRGN rgn, int mode) {
  DcObject* dc = GetDc(handle);
  if (!dc) return ERROR;
  auto* r = Get<RegionObject>(rgn);
  if (!r && !(rgn == nullptr && mode == RGN_COPY)) return ERROR;
  std::optional<Region>& clip = dc->state.clip;
  const Region current = clip ? *clip : Region(kEverything);
  switch (mode) {
    case RGN_COPY: clip = r ? std::optional<Region>(r->region) : std::nullopt; break;
    case RGN_AND: clip = current.Intersect(r->region); break;
    case RGN_OR: clip = current.Union(r->region); break;
    case RGN_XOR: clip = current.Xor(r->region); break;
    case RGN_DIFF: clip = current.Subtract(r->region); break;
    default: return ERROR;
  }
  dc->ClipChanged();
  return RegionComplexity(dc->Clip());
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
  DcObject* dc = GetDc(handle);
  if (!dc) return ERROR;
  const RECT device = Offset(RECT{left, top, right, bottom}, dc->state.viewportOrg.x, dc->state.viewportOrg.y);
  dc->state.clip = (dc->state.clip ? *dc->state.clip : Region(kEverything)).Intersect(Region(device));
  dc->ClipChanged();
  return RegionComplexity(dc->Clip());
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
  DcObject* dc = GetDc(handle);
  if (!dc) return ERROR;
  const RECT device = Offset(RECT{left, top, right, bottom}, dc->state.viewportOrg.x, dc->state.viewportOrg.y);
  dc->state.clip = (dc->state.clip ? *dc->state.clip : Region(kEverything)).Subtract(Region(device));
  dc->ClipChanged();
  return RegionComplexity(dc->Clip());
}

int GetClipRgn(HDC handle, HRGN rgn) {
  DcObject* dc = GetDc(handle);
  auto* r = Get<RegionObject>(rgn);
  if (!dc || !r) return -1;
  if (!dc->state.clip) return 0;
  r->region = *dc->state.clip;
  return 1;
}

int GetClipBox(HDC handle, RECT* box) {
  DcObject* dc = GetDc(handle);
  if (!dc || !box) return ERROR;
  const Region& clip = dc->Clip();
  const POINT shift = dc->ToSurface(POINT{0, 0});
  *box = clip.Empty() ? RECT{} : Offset(clip.Box(), -shift.x, -shift.y);
  return RegionComplexity(clip);
}

BOOL PtVisible(HDC handle, int x, int y) {
  DcObject* dc = GetDc(handle);
  return dc && dc->Clip().Contains(dc->ToSurface(POINT{x, y}));
}

BOOL RectVisible(HDC handle, const RECT* r) {
  DcObject* dc = GetDc(handle);
  return dc && r && dc->Clip().Intersects(dc->ToSurface(*r));
}

}  // namespace plat
