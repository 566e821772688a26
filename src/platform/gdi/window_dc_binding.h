#pragma once
// What the window manager may do to device contexts and regions beyond the platform's calls:
// point a context at a window's picture, and reach the rectangles behind a region handle. The
// objects behind the handles stay inside gdi.
#include <optional>

#include "platform/gdi/gdi.h"
#include "platform/gdi/region.h"

namespace plat::gdi {

// Makes dc draw on surface (nullptr: nowhere) with its logical origin at origin and every
// drawing cut by systemClip (surface coordinates; none: the whole surface). Answers false for a
// bad handle.
bool BindDcToSurface(HDC dc, Bitmap* surface, POINT origin, std::optional<Region> systemClip);
// The system clip a bound context carries, nullptr when it has none or the handle is bad.
const Region* SystemClipOf(HDC dc);
// Where a logical point of dc falls on its surface (the point itself for a bad handle).
POINT SurfacePointOf(HDC dc, POINT logical);

// The region behind a handle, nullptr for a bad one.
const Region* RegionOf(HRGN rgn);
// Replaces the region behind a handle; false for a bad one.
bool SetRegionOf(HRGN rgn, Region region);

}  // namespace plat::gdi
