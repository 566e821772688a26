#include "framework/enum_names.h"

#include "framework/sysutils.h"

namespace fw {

const TEnumValue* FindEnumValue(const TEnumType& type, std::string_view name) {
  for (const TEnumValue& v : type.values)
    if (SameText(v.name, name)) return &v;
  return nullptr;
}

std::string EnumName(const TEnumType& type, std::int64_t value) {
  for (const TEnumValue& v : type.values)
    if (v.value == value) return v.name;
  return {};
}

}  // namespace fw
