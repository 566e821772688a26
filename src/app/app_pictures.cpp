#include "app/app_pictures.h"

#include "framework/png_image.h"
#include "framework/streams.h"
#include "platform/resources/resources.h"

namespace velmora {

void LoadPictureResource(const char* name, fw::TPicture& picture) {
  fw::TResourceStream stream(fw::HInstance, name, plat::RT_RCDATA);
  picture.LoadFromStream(stream);
}

void LoadBitmapResource(const char* name, fw::TBitmap& bitmap) {
  fw::TResourceStream stream(fw::HInstance, name, plat::RT_RCDATA);
  fw::TPngImage png;
  png.LoadFromStream(stream);
  bitmap.Assign(&png);
}

}  // namespace velmora
