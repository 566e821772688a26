#pragma once
// The program's pictures, embedded as PNG resources: the gear glyph of the brightness window
// and the about picture. A missing or broken resource raises the framework's error.
#include "framework/bitmap.h"
#include "framework/picture.h"

namespace velmora {

inline constexpr const char* kGearResource = "GEAR";
inline constexpr const char* kAboutResource = "ABOUT";

void LoadPictureResource(const char* name, fw::TPicture& picture);
void LoadBitmapResource(const char* name, fw::TBitmap& bitmap);

}  // namespace velmora
