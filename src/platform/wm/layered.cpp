// Layered windows: a premultiplied picture given whole (UpdateLayeredWindow), or normal
// painting shown with a constant alpha or colour key (SetLayeredWindowAttributes). Until one of
// them is called a layered window shows nothing.
#include <algorithm>

#include "platform/gdi/window_dc_binding.h"
#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

Window* LayeredTop(HWND window) {
  Window* w = CheckedWindow(window);
  if (!w) return nullptr;
  if (!IsTopLevel(w) || !(w->exStyle & WS_EX_LAYERED)) {
    Fail(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!Dsp().LayeredSupported()) {
    Fail(ERROR_CALL_NOT_IMPLEMENTED);
    return nullptr;
  }
  return w;
}

// Copies the source into the picture; per-pixel pictures get their colour clamped to their
// alpha, so that composing can rely on the premultiplied form.
void CopyPicture(Bitmap& into, HDC src, POINT from, bool perPixel) {
  Bitmap* source = SurfaceOf(src);
  const POINT o = gdi::SurfacePointOf(src, from);
  for (int y = 0; y < into.Height(); ++y) {
    Pixel* out = into.Row(y);
    const int sy = o.y + y;
    for (int x = 0; x < into.Width(); ++x) {
      const int sx = o.x + x;
      Pixel p = source && sx >= 0 && sy >= 0 && sx < source->Width() && sy < source->Height() ? source->Row(sy)[sx] : 0;
      if (perPixel) {
        const Pixel a = PixelA(p);
        p = MakePixel(static_cast<BYTE>(std::min(PixelR(p), a)), static_cast<BYTE>(std::min(PixelG(p), a)),
                      static_cast<BYTE>(std::min(PixelB(p), a)), static_cast<BYTE>(a));
      }
      out[x] = p;
    }
  }
}

void BecomeReady(Window* w) {
  Surface& sf = *w->surface;
  const bool was = sf.layeredReady;
  sf.layeredReady = true;
  Dsp().SetBlend(sf.id, sf.blend);
  if (!was) ShowSurface(w, sf.shown);
}

}  // namespace

void LayeredStyleChanged(Window* w, DWORD oldExStyle) {
  if (!IsTopLevel(w) || !w->surface) return;
  Surface& sf = *w->surface;
  const DWORD changed = oldExStyle ^ w->exStyle;
  if (changed & WS_EX_TRANSPARENT) Dsp().SetInputTransparent(sf.id, (w->exStyle & WS_EX_TRANSPARENT) != 0);
  if (!(changed & WS_EX_LAYERED)) return;
  const bool wasPicture = sf.updateLayered;
  sf.layeredReady = false;
  sf.updateLayered = false;
  sf.blend = display::Blend{};
  sf.lwaFlags = 0;
  Dsp().SetBlend(sf.id, sf.blend);
  ShowSurface(w, sf.shown);
  if (wasPicture) Invalidate(w, nullptr, true, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void RegisterLayeredFunctions(bool available) {
  if (available) {
    RegisterModuleFunction("user32.dll", "UpdateLayeredWindow", reinterpret_cast<FARPROC>(&UpdateLayeredWindow));
    RegisterModuleFunction("user32.dll", "SetLayeredWindowAttributes",
                           reinterpret_cast<FARPROC>(&SetLayeredWindowAttributes));
  } else {
    RemoveModuleFunction("user32.dll", "UpdateLayeredWindow");
    RemoveModuleFunction("user32.dll", "SetLayeredWindowAttributes");
  }
}

}  // namespace wm

using namespace wm;

BOOL UpdateLayeredWindow(HWND window, HDC, POINT* position, SIZE* size, HDC src, POINT* srcPosition, COLORREF key,
                         BLENDFUNCTION* blend, DWORD flags) {
  WindowRecordPin pin;
  Window* w = LayeredTop(window);
  if (!w) return FALSE;
  Surface& sf = *w->surface;
  if (sf.layeredReady && !sf.updateLayered) {
    Fail(ERROR_INVALID_PARAMETER);  // the window shows through its attributes
    return FALSE;
  }
  if ((position && (position->x != w->rect.left || position->y != w->rect.top)) ||
      (size && (size->cx != RectWidth(w->rect) || size->cy != RectHeight(w->rect)))) {
    const UINT keep = (position ? 0 : SWP_NOMOVE) | (size ? 0 : SWP_NOSIZE);
    SetWindowPos(window, nullptr, position ? position->x : 0, position ? position->y : 0, size ? size->cx : 0,
                 size ? size->cy : 0, keep | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (w->dead) return FALSE;
  }
  const bool alpha = (flags & ULW_ALPHA) && blend;
  sf.blend.perPixel = alpha && (blend->AlphaFormat & AC_SRC_ALPHA) && !(flags & ULW_OPAQUE);
  sf.blend.constantAlpha = alpha ? blend->SourceConstantAlpha : 255;
  sf.blend.colorKey = (flags & ULW_COLORKEY) ? std::optional<COLORREF>(key & 0x00FFFFFF) : std::nullopt;
  if (src) {
    CopyPicture(*sf.picture, src, srcPosition ? *srcPosition : POINT{}, sf.blend.perPixel);
    sf.updateLayered = true;
    w->update = Region();
    SetNeedsPaint(w);
    Present(w, Region(sf.picture->Bounds()));
  } else if (!sf.updateLayered) {
    Fail(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  BecomeReady(w);
  return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
  WindowRecordPin pin;
  Window* w = LayeredTop(window);
  if (!w) return FALSE;
  Surface& sf = *w->surface;
  const bool fromPicture = sf.updateLayered;
  sf.updateLayered = false;
  sf.lwaKey = key & 0x00FFFFFF;
  sf.lwaAlpha = alpha;
  sf.lwaFlags = flags & (LWA_ALPHA | LWA_COLORKEY);
  sf.blend.perPixel = false;
  sf.blend.constantAlpha = (flags & LWA_ALPHA) ? alpha : 255;
  sf.blend.colorKey = (flags & LWA_COLORKEY) ? std::optional<COLORREF>(sf.lwaKey) : std::nullopt;
  if (!sf.layeredReady) Present(w, Region(sf.picture->Bounds()));
  BecomeReady(w);
  if (fromPicture) Invalidate(w, nullptr, true, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND window, COLORREF* key, BYTE* alpha, DWORD* flags) {
  Window* w = LayeredTop(window);
  if (!w || w->surface->updateLayered || !w->surface->layeredReady) return FALSE;
  if (key) *key = w->surface->lwaKey;
  if (alpha) *alpha = w->surface->lwaAlpha;
  if (flags) *flags = w->surface->lwaFlags;
  return TRUE;
}

}  // namespace plat
