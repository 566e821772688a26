#pragma once
// Inside the device-context layer: the objects behind GDI handles and the device context itself.
// Handles are numbers that are never reused, looked up in one table, so a stale handle simply
// finds nothing. Everything runs on the user-interface thread.
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/region.h"
#include "platform/gdi/text.h"

namespace plat::gdi {

enum class Kind { Bitmap, Brush, Pen, Font, Region, Dc };

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  const Kind kind;
  bool stock = false;
};

struct BitmapObject : Object {
  static constexpr Kind kKind = Kind::Bitmap;
  explicit BitmapObject(std::unique_ptr<Bitmap> b) : Object(kKind), bitmap(std::move(b)) {}
  std::unique_ptr<Bitmap> bitmap;
  HDC selectedInto = nullptr;
};

struct BrushObject : Object {
  static constexpr Kind kKind = Kind::Brush;
  explicit BrushObject(LOGBRUSH lb) : Object(kKind), brush(lb) {}
  LOGBRUSH brush;
};

struct PenObject : Object {
  static constexpr Kind kKind = Kind::Pen;
  explicit PenObject(LOGPEN lp) : Object(kKind), pen(lp) {}
  LOGPEN pen;
};

struct FontObject : Object {
  static constexpr Kind kKind = Kind::Font;
  explicit FontObject(const LOGFONT& lf) : Object(kKind), font(lf) {}
  LOGFONT font;
  // The face and size this font resolved to, made on first use by the text code.
  std::shared_ptr<const FontInstance> instance;
};

struct RegionObject : Object {
  static constexpr Kind kKind = Kind::Region;
  explicit RegionObject(Region r) : Object(kKind), region(std::move(r)) {}
  Region region;
};

struct DcState {
  HBITMAP bitmap = nullptr;
  HBRUSH brush = nullptr;
  HPEN pen = nullptr;
  HFONT font = nullptr;
  COLORREF textColor = 0;
  COLORREF bkColor = 0x00FFFFFF;
  int bkMode = OPAQUE;
  int stretchMode = BLACKONWHITE;
  UINT textAlign = 0;
  POINT viewportOrg{};
  POINT brushOrg{};
  POINT currentPos{};
  std::optional<Region> clip;  // device units, relative to the context's origin
};

// A device context draws on a surface: the bitmap selected into a memory context, or the
// backing picture of a top-level window, where origin places the window and systemClip holds
// its visible region (both in surface coordinates).
struct DcObject : Object {
  static constexpr Kind kKind = Kind::Dc;
  DcObject() : Object(kKind) {}
  ~DcObject() override;

  DcState state;
  std::vector<DcState> saved;
  Bitmap* surface = nullptr;     // set by the window manager for window contexts
  bool memory = true;
  POINT origin{};
  std::optional<Region> systemClip;

  Bitmap* Surface() const;
  // The drawable area in surface coordinates: the surface's bounds, cut by the system clip and
  // the clip region. Cached until one of them changes.
  const Region& Clip();
  void ClipChanged() { clipStale = true; }
  POINT ToSurface(POINT logical) const {
    return {logical.x + state.viewportOrg.x + origin.x, logical.y + state.viewportOrg.y + origin.y};
  }
  RECT ToSurface(const RECT& r) const {
    return Offset(r, state.viewportOrg.x + origin.x, state.viewportOrg.y + origin.y);
  }

 private:
  Region clipCache;
  bool clipStale = true;
};

HGDIOBJ Register(std::unique_ptr<Object> object);
Object* Lookup(HGDIOBJ handle);
// Removes and destroys; answers false for an unknown handle.
bool Unregister(HGDIOBJ handle);

template <class T>
T* Get(HGDIOBJ handle) {
  Object* o = Lookup(handle);
  return o && o->kind == T::kKind ? static_cast<T*>(o) : nullptr;
}
inline DcObject* GetDc(HDC dc) { return Get<DcObject>(dc); }

// The colour of a solid brush, resolving system-colour brushes given as index + 1; nothing for
// null brushes and bad handles.
std::optional<COLORREF> BrushColor(HBRUSH brush);

// Fills a surface rectangle with a pixel value, cut by the context's clip.
void FillSurface(DcObject& dc, const RECT& surfaceRect, Pixel value);

}  // namespace plat::gdi
