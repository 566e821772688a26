#pragma once
// Inside the management service: class objects, instances and method parameters, each a set of
// named, typed properties. Instances are snapshots taken when they were queried.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/wmi/backlight.h"
#include "platform/wmi/com_object.h"
#include "platform/wmi/wbem.h"

namespace plat::wmi {

using PropertyValue = std::variant<std::uint32_t, bool, std::u16string>;

struct Property {
  std::u16string name;
  CIMTYPE type = CIM_EMPTY;
  std::optional<PropertyValue> value;  // none: null
};

enum class ObjectKind { Class, Instance, InSignature, Parameters };

class WbemObject final : public ComObject<IWbemClassObject> {
 public:
  WbemObject(ObjectKind kind, std::u16string className, std::vector<Property> properties);

  HRESULT Get(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE* type, LONG* flavor) override;
  HRESULT Put(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE type) override;
  HRESULT GetMethod(LPCWSTR name, LONG flags, IWbemClassObject** inSignature, IWbemClassObject** outSignature) override;
  HRESULT SpawnInstance(LONG flags, IWbemClassObject** instance) override;

  ObjectKind kind() const { return kind_; }
  const std::u16string& className() const { return className_; }
  const Property* Find(std::u16string_view name) const;

 private:
  Property* FindMutable(std::u16string_view name);

  ObjectKind kind_;
  std::u16string className_;
  std::vector<Property> properties_;
};

// className must name one of the two brightness classes (see wmi_names.h); callers check.
ComPtr<WbemObject> MakeClassObject(std::u16string_view className);
ComPtr<WbemObject> MakeInstance(std::u16string_view className, const Backlight& device);

}  // namespace plat::wmi
