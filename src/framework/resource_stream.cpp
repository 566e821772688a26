#include "framework/exceptions.h"
#include "framework/streams.h"
#include "platform/resources/resources.h"

namespace fw {

const TMetaClass& TResourceStream::StaticClass() {
  static const TMetaClass meta("TResourceStream", &TCustomMemoryStream::StaticClass(), nullptr);
  return meta;
}

TResourceStream::TResourceStream(plat::HMODULE instance, const std::string& name, const char* type) {
  plat::HRSRC resource = plat::FindResource(instance, name.c_str(), type);
  if (!resource) throw EResNotFound(msg::ResourceNotFound(name));
  const void* data = plat::LockResource(plat::LoadResource(instance, resource));
  SetPointer(static_cast<const std::uint8_t*>(data), plat::SizeofResource(instance, resource));
}

std::int64_t TResourceStream::Write(const void*, std::int64_t) { throw EStreamError(msg::kReadOnlyResourceStream); }

}  // namespace fw
