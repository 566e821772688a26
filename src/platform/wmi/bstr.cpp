#include "platform/wmi/bstr.h"

#include <cstdlib>
#include <cstring>

namespace plat {

namespace {

using Prefix = std::uint32_t;
// Far beyond any string of the service; keeps the byte count and the allocation in range.
constexpr UINT kMaxLength = 0x0FFFFFFF;

Prefix* PrefixOf(BSTR text) { return reinterpret_cast<Prefix*>(text) - 1; }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > kMaxLength) return nullptr;
  const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
  auto* block = static_cast<Prefix*>(std::malloc(sizeof(Prefix) + bytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  *block = static_cast<Prefix>(bytes);
  auto* chars = reinterpret_cast<OLECHAR*>(block + 1);
  if (text) {
    std::memcpy(chars, text, bytes);
  } else {
    std::memset(chars, 0, bytes);
  }
  chars[length] = u'\0';
  return chars;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  UINT length = 0;
  while (text[length] != u'\0') {
    if (length == kMaxLength) return nullptr;
    ++length;
  }
  return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
  if (text) std::free(PrefixOf(text));
}

UINT SysStringByteLen(BSTR text) { return text ? *PrefixOf(text) : 0; }

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

}  // namespace plat
