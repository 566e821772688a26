#include "platform/gdi/window_dc_binding.h"

#include "platform/gdi/objects.h"

namespace plat::gdi {

bool BindDcToSurface(HDC handle, Bitmap* surface, POINT origin, std::optional<Region> systemClip) {
  DcObject* dc = GetDc(handle);
  if (!dc) return false;
  dc->surface = surface;
  dc->origin = origin;
  dc->systemClip = std::move(systemClip);
  dc->memory = false;
  dc->ClipChanged();
  return true;
}

const Region* SystemClipOf(HDC handle) {
  DcObject* dc = GetDc(handle);
  return dc && dc->systemClip ? &*dc->systemClip : nullptr;
}

POINT SurfacePointOf(HDC handle, POINT logical) {
  DcObject* dc = GetDc(handle);
  return dc ? dc->ToSurface(logical) : logical;
}

const Region* RegionOf(HRGN rgn) {
  auto* r = Get<RegionObject>(rgn);
  return r ? &r->region : nullptr;
}

bool SetRegionOf(HRGN rgn, Region region) {
  auto* r = Get<RegionObject>(rgn);
  if (!r) return false;
  r->region = std::move(region);
  return true;
}

}  // namespace plat::gdi
