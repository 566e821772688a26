#pragma once
// Platform fonts, brushes and pens shared by every graphics object that describes the same one,
// counted by use. A handle whose last user lets go is deleted; one that is still selected into
// some device context is kept and deleted at a later release, once it is free.
#include "platform/gdi/gdi.h"

namespace fw {

plat::HFONT AcquireFont(const plat::LOGFONT& font);
void ReleaseFont(plat::HFONT font);
plat::HBRUSH AcquireBrush(const plat::LOGBRUSH& brush);
void ReleaseBrush(plat::HBRUSH brush);
plat::HPEN AcquirePen(const plat::LOGPEN& pen);
void ReleasePen(plat::HPEN pen);

// Handles alive in the shared tables (for tests of the sharing itself).
int SharedGraphicsHandleCount();

}  // namespace fw
