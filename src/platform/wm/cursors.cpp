// The system's cursor shapes; the display shows the one set last.
#include "platform/wm/state.h"

namespace plat {

namespace wm {
namespace {

struct CursorShape {
  WORD id;
  display::Cursor shape;
};

constexpr CursorShape kCursors[] = {
    {32512, display::Cursor::Arrow},   {32513, display::Cursor::IBeam},    {32514, display::Cursor::Wait},
    {32515, display::Cursor::Cross},   {32516, display::Cursor::UpArrow},  {32642, display::Cursor::SizeNWSE},
    {32643, display::Cursor::SizeNESW}, {32644, display::Cursor::SizeWE},  {32645, display::Cursor::SizeNS},
    {32646, display::Cursor::SizeAll}, {32648, display::Cursor::No},       {32649, display::Cursor::Hand},
    {32650, display::Cursor::AppStarting}, {32651, display::Cursor::Help},
};

const CursorShape* Find(HCURSOR c) {
  for (const CursorShape& s : kCursors)
    if (reinterpret_cast<HCURSOR>(const_cast<CursorShape*>(&s)) == c) return &s;
  return nullptr;
}

}  // namespace
}  // namespace wm

using namespace wm;

HCURSOR LoadCursor(HINSTANCE instance, const char* name) {
  if (instance || !IS_INTRESOURCE(name)) return nullptr;
  for (const CursorShape& s : kCursors)
    if (s.id == reinterpret_cast<std::uintptr_t>(name)) return reinterpret_cast<HCURSOR>(const_cast<CursorShape*>(&s));
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  State& s = S();
  const HCURSOR old = s.cursor;
  const CursorShape* shape = Find(cursor);
  if (cursor && !shape) return old;
  s.cursor = cursor;
  s.display->SetCursor(shape ? shape->shape : display::Cursor::Hidden);
  return old;
}

HCURSOR GetCursor() { return S().cursor; }

}  // namespace plat
