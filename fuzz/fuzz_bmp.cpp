// BMP reader and header peek on arbitrary bytes: anything may be refused, nothing may crash or
// leak, and a picture the reader takes has the size its header peek tells.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto header = plat::PeekBmpHeader({data, size});
  try {
    const auto bitmap = plat::ReadBmp({data, size});
    if (!header || header->width != bitmap->Width() || header->height != bitmap->Height()) std::abort();
  } catch (const plat::Error&) {
  }
  return 0;
}
