#pragma once
// What a class tells the description reader about itself: its stored properties, the event
// handlers a root of that class offers by method name, and the fields that a root binds its
// owned components to. Filled once per class by a TClassBuilder (stored_properties.h) and
// searched through the class chain, so a subclass inherits its parents' tables.
#include <any>
#include <functional>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

namespace fw {

class TObject;
class TPersistent;
class TComponent;
class TMetaClass;
class TReadContext;
struct TValue;

// One use of a property in a description: what is set, to what, and for messages the path as
// written ("Font.Height") and the class of the component being read.
struct TPropertyUse {
  TObject& target;
  const TValue& value;
  TReadContext& context;
  std::string_view path;
  std::string_view componentClass;
};

struct TPropertyInfo {
  std::string name;
  // Applies a value; absent for a property that is only a sub-object.
  std::function<void(const TPropertyUse&)> apply;
  // The nested object that a dotted path continues into (Font in Font.Height).
  std::function<TPersistent*(TObject&)> subObject;
};

struct THandlerInfo {
  std::string name;
  std::type_index eventType;
  // The method bound to a root of the declaring class, as the event's function type.
  std::function<std::any(TComponent& root)> bind;
};

struct TFieldInfo {
  std::string name;
  const TMetaClass* fieldClass;
  // Points the root's field at the component of that name (or at nothing).
  std::function<void(TComponent& root, TComponent* component)> bind;
};

class TClassMembers {
 public:
  void AddProperty(TPropertyInfo info) { properties_.push_back(std::move(info)); }
  void AddHandler(THandlerInfo info) { handlers_.push_back(std::move(info)); }
  void AddField(TFieldInfo info) { fields_.push_back(std::move(info)); }

  const TPropertyInfo* FindProperty(std::string_view name) const;
  const THandlerInfo* FindHandler(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;
  const std::vector<TPropertyInfo>& Properties() const { return properties_; }

 private:
  std::vector<TPropertyInfo> properties_;
  std::vector<THandlerInfo> handlers_;
  std::vector<TFieldInfo> fields_;
};

}  // namespace fw
