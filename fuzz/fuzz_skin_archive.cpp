// Unpacks untrusted bytes as a packed skin; the loader must answer with an exception or a
// convertor, never crash or allocate past its caps.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "skin/acSkinPack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fw::TBytesStream stream(std::span<const std::uint8_t>(data, size));
  std::unique_ptr<velmora::TacSkinConvertor> convertor;
  try {
    velmora::UnpackFromMemory(convertor, stream);
  } catch (const std::exception&) {
  }
  return 0;
}
