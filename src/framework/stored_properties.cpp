#include "framework/stored_properties.h"

#include "framework/collection.h"
#include "framework/streams.h"
#include "framework/strings.h"
#include "framework/sysutils.h"

namespace fw {

namespace {

std::string PropertyTitle(const TPropertyUse& use) {
  return "property " + DoubleQuoted(use.path) + " of " + std::string(use.componentClass);
}

// Restores an update bracket even when a value fails halfway.
template <class T>
class Updating {
 public:
  explicit Updating(T& t) : t_(t) { t_.BeginUpdate(); }
  ~Updating() { t_.EndUpdate(); }
  Updating(const Updating&) = delete;
  Updating& operator=(const Updating&) = delete;

 private:
  T& t_;
};

}  // namespace

void ValueMismatch(const TPropertyUse& use, const char* expected) {
  use.context.Fail(use.value.line, PropertyTitle(use) + " expects " + expected + ", not " + DescribeValue(use.value.kind));
}

std::int64_t IntegerValue(const TPropertyUse& use, const TEnumType* idents, std::int64_t min, std::int64_t max, int bits) {
  const TValue& v = use.value;
  if (v.kind == TValueKind::Ident && idents) {
    if (const TEnumValue* named = FindEnumValue(*idents, v.text)) return named->value;
    use.context.Fail(v.line, "unknown value " + DoubleQuoted(v.text) + " of " + idents->name + " for " + PropertyTitle(use));
  }
  if (v.kind != TValueKind::Integer) ValueMismatch(use, "an integer");
  std::int64_t value = v.integer;
  // $FFFFFFFF in a 32-bit signed property is the bit pattern -1, as colours are written.
  if (v.hex && bits < 64 && min < 0 && value > max && value < (std::int64_t{1} << bits))
    value -= std::int64_t{1} << bits;
  if (value < min || value > max)
    use.context.Fail(v.line, "value " + std::to_string(v.integer) + " is out of range for " + PropertyTitle(use));
  return value;
}

double FloatValue(const TPropertyUse& use) {
  if (use.value.kind == TValueKind::Float) return use.value.real;
  if (use.value.kind == TValueKind::Integer) return static_cast<double>(use.value.integer);
  ValueMismatch(use, "a number");
}

bool BooleanValue(const TPropertyUse& use) {
  if (use.value.kind == TValueKind::Ident) {
    if (SameText(use.value.text, "True")) return true;
    if (SameText(use.value.text, "False")) return false;
  }
  ValueMismatch(use, "True or False");
}

const std::string& StringValue(const TPropertyUse& use) {
  if (use.value.kind != TValueKind::String) ValueMismatch(use, "a string");
  return use.value.text;
}

std::int64_t EnumValue(const TPropertyUse& use, const TEnumType& type) {
  if (use.value.kind != TValueKind::Ident) ValueMismatch(use, (std::string("a value of ") + type.name).c_str());
  if (const TEnumValue* v = FindEnumValue(type, use.value.text)) return v->value;
  use.context.Fail(use.value.line, "unknown value " + DoubleQuoted(use.value.text) + " of " + type.name + " for " + PropertyTitle(use));
}

std::uint64_t SetValue(const TPropertyUse& use, const TEnumType& type) {
  if (use.value.kind != TValueKind::Set) ValueMismatch(use, (std::string("a set of ") + type.name).c_str());
  std::uint64_t bits = 0;
  for (const std::string& name : use.value.names) {
    const TEnumValue* v = FindEnumValue(type, name);
    if (!v || v->value < 0 || v->value >= 64)
      use.context.Fail(use.value.line, "unknown value " + DoubleQuoted(name) + " of " + type.name + " for " + PropertyTitle(use));
    bits |= std::uint64_t{1} << v->value;
  }
  return bits;
}

void ApplyCollection(const TPropertyUse& use, TCollection* collection) {
  if (use.value.kind != TValueKind::Collection) ValueMismatch(use, "a collection");
  if (!collection) use.context.Fail(use.value.line, PropertyTitle(use) + " has no collection");
  Updating<TCollection> bracket(*collection);
  collection->Clear();
  for (const TItemNode& item : use.value.items) use.context.ApplyProperties(*collection->Add(), item.properties);
}

void ApplyStrings(const TPropertyUse& use, TStrings* strings) {
  if (use.value.kind != TValueKind::List) ValueMismatch(use, "a list of strings");
  if (!strings) use.context.Fail(use.value.line, PropertyTitle(use) + " has no list");
  Updating<TStrings> bracket(*strings);
  strings->Clear();
  for (const TValue& line : use.value.list) {
    if (line.kind != TValueKind::String)
      use.context.Fail(line.line, PropertyTitle(use) + " expects strings in its list, not " + DescribeValue(line.kind));
    strings->Add(line.text);
  }
}

void ApplyBinary(const TPropertyUse& use, const std::function<void(TStream&)>& read) {
  if (use.value.kind != TValueKind::Binary) ValueMismatch(use, "binary data");
  TBytesStream stream(use.value.bytes);
  read(stream);
}

}  // namespace fw
