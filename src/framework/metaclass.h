#pragma once
// Run-time class information: every framework class has one TMetaClass, which names it (so that
// ClassName() answers "TButton"), knows its parent, can create an instance, and holds the stored
// property tables. A registry finds classes by name, as the description reader needs.
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "framework/class_members.h"

namespace fw {

// Declares the class's own TMetaClass; the matching definition lives in the class's .cpp.
#define FW_DECLARE_CLASS                       \
 public:                                       \
  static const ::fw::TMetaClass& StaticClass(); \
  const ::fw::TMetaClass& ClassType() const override { return StaticClass(); }

class TMetaClass {
 public:
  // Makes an instance; components get their owner, other classes ignore it.
  using Factory = std::unique_ptr<TObject> (*)(TComponent* owner);

  TMetaClass(std::string name, const TMetaClass* parent, Factory factory,
             const std::function<void(TClassMembers&)>& define = {});
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;

  const std::string& Name() const { return name_; }
  const TMetaClass* Parent() const { return parent_; }
  bool InheritsFrom(const TMetaClass& other) const;
  bool CanCreate() const { return factory_ != nullptr; }
  std::unique_ptr<TObject> Create(TComponent* owner) const;

  const TClassMembers& Members() const { return members_; }
  // Searched from this class up to TObject.
  const TPropertyInfo* FindProperty(std::string_view name) const;
  const THandlerInfo* FindHandler(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;

 private:
  std::string name_;
  const TMetaClass* parent_;
  Factory factory_;
  TClassMembers members_;
};

class TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;
  // Objects are identities (owners, notifications and handlers hold their addresses).
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static const TMetaClass& StaticClass();
  virtual const TMetaClass& ClassType() const { return StaticClass(); }
  virtual std::string ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(const TMetaClass& cls) const { return ClassType().InheritsFrom(cls); }
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }
};

template <class T>
std::unique_ptr<TObject> CreateInstance(TComponent* owner) {
  if constexpr (std::is_constructible_v<T, TComponent*>) {
    return std::make_unique<T>(owner);
  } else {
    (void)owner;
    return std::make_unique<T>();
  }
}

// The factory of a class that can be made from its owner or from nothing; none for the rest.
template <class T>
constexpr TMetaClass::Factory FactoryFor() {
  if constexpr (!std::is_abstract_v<T> &&
                (std::is_constructible_v<T, TComponent*> || std::is_default_constructible_v<T>))
    return &CreateInstance<T>;
  else
    return nullptr;
}

// The registry of classes by name (case ignored). Registering the same class again is harmless;
// registering another class under a taken name raises EInvalidOperation.
void RegisterClass(const TMetaClass& cls);
void RegisterClasses(std::initializer_list<const TMetaClass*> classes);
void UnRegisterClass(const TMetaClass& cls);
template <class T>
void RegisterClass() {
  RegisterClass(T::StaticClass());
}
const TMetaClass* GetClass(std::string_view name);
// As GetClass, but an unknown name raises EClassNotFound.
const TMetaClass& FindClass(std::string_view name);

}  // namespace fw
