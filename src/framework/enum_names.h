#pragma once
// Names of values: an enumeration's (bsSolid, fsBold) or integer constants' (clBtnFace,
// SHIFTJIS_CHARSET), as stored descriptions write them. Tables are constants that live for the
// whole run.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fw {

struct TEnumValue {
  const char* name;
  std::int64_t value;
};

struct TEnumType {
  const char* name;
  std::span<const TEnumValue> values;
};

// The value named (case ignored), or nullptr.
const TEnumValue* FindEnumValue(const TEnumType& type, std::string_view name);
// The name of a value, or empty.
std::string EnumName(const TEnumType& type, std::int64_t value);

}  // namespace fw
