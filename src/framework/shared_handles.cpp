#include "framework/shared_handles.h"

#include <algorithm>
#include <vector>

namespace fw {

namespace {

bool Same(const plat::LOGFONT& a, const plat::LOGFONT& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
         a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
         a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
         a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily && a.lfFaceName == b.lfFaceName;
}
bool Same(const plat::LOGBRUSH& a, const plat::LOGBRUSH& b) {
  return a.lbStyle == b.lbStyle && a.lbColor == b.lbColor && a.lbHatch == b.lbHatch;
}
bool Same(const plat::LOGPEN& a, const plat::LOGPEN& b) {
  return a.lopnStyle == b.lopnStyle && a.lopnWidth == b.lopnWidth && a.lopnColor == b.lopnColor;
}

plat::HGDIOBJ Make(const plat::LOGFONT& f) { return plat::CreateFontIndirect(&f); }
plat::HGDIOBJ Make(const plat::LOGBRUSH& b) { return plat::CreateBrushIndirect(&b); }
plat::HGDIOBJ Make(const plat::LOGPEN& p) {
  return plat::CreatePen(static_cast<int>(p.lopnStyle), p.lopnWidth.x, p.lopnColor);
}

template <class Key>
class Table {
 public:
  plat::HGDIOBJ Acquire(const Key& key) {
    Sweep();
    for (Entry& e : entries_)
      if (Same(e.key, key)) {
        ++e.uses;
        return e.handle;
      }
    plat::HGDIOBJ handle = Make(key);
    if (handle) entries_.push_back({key, handle, 1});
    return handle;
  }

  void Release(plat::HGDIOBJ handle) {
    if (!handle) return;
    for (Entry& e : entries_)
      if (e.handle == handle && e.uses > 0) --e.uses;
    Sweep();
  }

  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    Key key;
    plat::HGDIOBJ handle;
    int uses;
  };
  // Deletion fails while a context still has the handle selected; such handles wait here.
  void Sweep() {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [](const Entry& e) { return e.uses == 0 && plat::DeleteObject(e.handle); }),
                   entries_.end());
  }
  std::vector<Entry> entries_;
};

Table<plat::LOGFONT>& Fonts() {
  static Table<plat::LOGFONT> table;
  return table;
}
Table<plat::LOGBRUSH>& Brushes() {
  static Table<plat::LOGBRUSH> table;
  return table;
}
Table<plat::LOGPEN>& Pens() {
  static Table<plat::LOGPEN> table;
  return table;
}

}  // namespace

plat::HFONT AcquireFont(const plat::LOGFONT& font) { return static_cast<plat::HFONT>(Fonts().Acquire(font)); }
void ReleaseFont(plat::HFONT font) { Fonts().Release(font); }
plat::HBRUSH AcquireBrush(const plat::LOGBRUSH& brush) { return static_cast<plat::HBRUSH>(Brushes().Acquire(brush)); }
void ReleaseBrush(plat::HBRUSH brush) { Brushes().Release(brush); }
plat::HPEN AcquirePen(const plat::LOGPEN& pen) { return static_cast<plat::HPEN>(Pens().Acquire(pen)); }
void ReleasePen(plat::HPEN pen) { Pens().Release(pen); }

int SharedGraphicsHandleCount() { return Fonts().Count() + Brushes().Count() + Pens().Count(); }

}  // namespace fw
