#include "framework/metaclass.h"

#include <map>

#include "framework/exceptions.h"
#include "framework/sysutils.h"

namespace fw {

namespace {

template <class T>
const T* FindByName(const std::vector<T>& list, std::string_view name) {
  for (const T& item : list)
    if (SameText(item.name, name)) return &item;
  return nullptr;
}

std::map<std::string, const TMetaClass*>& Registry() {
  static std::map<std::string, const TMetaClass*> classes;
  return classes;
}

}  // namespace

const TPropertyInfo* TClassMembers::FindProperty(std::string_view name) const { return FindByName(properties_, name); }
const THandlerInfo* TClassMembers::FindHandler(std::string_view name) const { return FindByName(handlers_, name); }
const TFieldInfo* TClassMembers::FindField(std::string_view name) const { return FindByName(fields_, name); }

TMetaClass::TMetaClass(std::string name, const TMetaClass* parent, Factory factory,
                       const std::function<void(TClassMembers&)>& define)
    : name_(std::move(name)), parent_(parent), factory_(factory) {
  if (define) define(members_);
}

bool TMetaClass::InheritsFrom(const TMetaClass& other) const {
  for (const TMetaClass* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

std::unique_ptr<TObject> TMetaClass::Create(TComponent* owner) const {
  if (!factory_) throw EInvalidOperation("Cannot create an instance of the abstract class " + name_);
  return factory_(owner);
}

const TPropertyInfo* TMetaClass::FindProperty(std::string_view name) const {
  for (const TMetaClass* c = this; c; c = c->parent_)
    if (const TPropertyInfo* p = c->members_.FindProperty(name)) return p;
  return nullptr;
}

const THandlerInfo* TMetaClass::FindHandler(std::string_view name) const {
  for (const TMetaClass* c = this; c; c = c->parent_)
    if (const THandlerInfo* h = c->members_.FindHandler(name)) return h;
  return nullptr;
}

const TFieldInfo* TMetaClass::FindField(std::string_view name) const {
  for (const TMetaClass* c = this; c; c = c->parent_)
    if (const TFieldInfo* f = c->members_.FindField(name)) return f;
  return nullptr;
}

const TMetaClass& TObject::StaticClass() {
  static const TMetaClass meta("TObject", nullptr, nullptr);
  return meta;
}

void RegisterClass(const TMetaClass& cls) {
  auto [it, added] = Registry().emplace(UpperCase(cls.Name()), &cls);
  if (!added && it->second != &cls)
    throw EInvalidOperation("Another class named " + cls.Name() + " is already registered");
}

void RegisterClasses(std::initializer_list<const TMetaClass*> classes) {
  for (const TMetaClass* c : classes) RegisterClass(*c);
}

void UnRegisterClass(const TMetaClass& cls) {
  auto it = Registry().find(UpperCase(cls.Name()));
  if (it != Registry().end() && it->second == &cls) Registry().erase(it);
}

const TMetaClass* GetClass(std::string_view name) {
  auto it = Registry().find(UpperCase(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TMetaClass& FindClass(std::string_view name) {
  const TMetaClass* c = GetClass(name);
  if (!c) throw EClassNotFound(msg::ClassNotFound(std::string(name)));
  return *c;
}

}  // namespace fw
