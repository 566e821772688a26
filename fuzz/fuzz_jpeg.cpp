// JPEG reader and header peek on arbitrary bytes: anything may be refused, nothing may crash
// or leak.
#include <cstddef>
#include <cstdint>

#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  plat::PeekJpegHeader({data, size});
  try {
    plat::ReadJpeg({data, size});
  } catch (const plat::Error&) {
  }
  return 0;
}
