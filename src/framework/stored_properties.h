#pragma once
// Stored properties: how a class declares what a description may set on it. Each class fills
// its table once, in the definition of its StaticClass():
//
//   const TMetaClass& TButton::StaticClass() {
//     static const TMetaClass meta("TButton", &TWinControl::StaticClass(), FactoryFor<TButton>(),
//                                  Stored<TButton>([](auto& b) {
//       b.String("Caption", &TButton::SetCaption);
//       b.Enum("ModalResult", &TButton::SetModalResult, kModalResultType);
//       b.Object("Font", &TButton::Font);                  // Font.Height = -16
//       b.Event("OnClick", &TButton::SetOnClick);          // OnClick = Button1Click
//     }));
//     return meta;
//   }
//
// A root class also names its handlers and the fields its components bind to:
//   b.Handler("Button1Click", &TMainForm::Button1Click);
//   b.Field("Button1", &TMainForm::Button1);
//
// Tables are searched through the class chain, so subclasses inherit their parents' entries.
#include <any>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>

#include "framework/component.h"
#include "framework/enum_names.h"
#include "framework/form_tree.h"
#include "framework/sets.h"

namespace fw {

class TCollection;
class TStrings;
class TStream;

// What the description reader offers to the properties it applies.
class TReadContext {
 public:
  // Raises EDescriptionError for a line of the description being read.
  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw EDescriptionError(DescriptionMessage(Label(), line, what));
  }
  virtual const std::string& Label() const = 0;
  // The root's handler named by an identifier value, bound to the root, as eventType; an empty
  // any for nil.
  virtual std::any Handler(const TPropertyUse& use, std::type_index eventType) = 0;
  virtual void ApplyProperties(TPersistent& target, const std::vector<TPropertyNode>& properties) = 0;
  // Calls set, once every component has been read, with the component named by the value.
  virtual void AddReference(const TPropertyUse& use, const TMetaClass& wanted, std::function<void(TComponent*)> set) = 0;

 protected:
  ~TReadContext() = default;
};

// Conversions of a value for a property; each raises a description error naming the property.
[[noreturn]] void ValueMismatch(const TPropertyUse& use, const char* expected);
std::int64_t IntegerValue(const TPropertyUse& use, const TEnumType* idents, std::int64_t min, std::int64_t max, int bits);
double FloatValue(const TPropertyUse& use);
bool BooleanValue(const TPropertyUse& use);
const std::string& StringValue(const TPropertyUse& use);
std::int64_t EnumValue(const TPropertyUse& use, const TEnumType& type);
std::uint64_t SetValue(const TPropertyUse& use, const TEnumType& type);
void ApplyCollection(const TPropertyUse& use, TCollection* collection);
void ApplyStrings(const TPropertyUse& use, TStrings* strings);
void ApplyBinary(const TPropertyUse& use, const std::function<void(TStream&)>& read);

template <class C>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassMembers& members) : members_(members) {}

  // Integers; idents names constants the value may be given as (Color = clBtnFace).
  template <class T>
  void Integer(std::string name, void (C::*set)(T), const TEnumType* idents = nullptr) {
    using V = std::remove_cvref_t<T>;
    static_assert(std::is_integral_v<V> && !std::is_same_v<V, bool>, "Integer needs an integral setter");
    constexpr auto kMax = static_cast<std::int64_t>(std::min<std::uint64_t>(
        static_cast<std::uint64_t>(std::numeric_limits<V>::max()), std::numeric_limits<std::int64_t>::max()));
    Add(std::move(name), [set, idents](const TPropertyUse& u) {
      const std::int64_t v = IntegerValue(u, idents, static_cast<std::int64_t>(std::numeric_limits<V>::min()), kMax,
                                          static_cast<int>(sizeof(V) * 8));
      (Self(u).*set)(static_cast<V>(v));
    });
  }
  template <class T>
  void Float(std::string name, void (C::*set)(T)) {
    Add(std::move(name), [set](const TPropertyUse& u) { (Self(u).*set)(static_cast<std::remove_cvref_t<T>>(FloatValue(u))); });
  }
  void Boolean(std::string name, void (C::*set)(bool)) {
    Add(std::move(name), [set](const TPropertyUse& u) { (Self(u).*set)(BooleanValue(u)); });
  }
  template <class T>
  void String(std::string name, void (C::*set)(T)) {
    Add(std::move(name), [set](const TPropertyUse& u) { (Self(u).*set)(StringValue(u)); });
  }
  template <class E>
  void Enum(std::string name, void (C::*set)(E), const TEnumType& type) {
    Add(std::move(name), [set, type](const TPropertyUse& u) {
      (Self(u).*set)(static_cast<std::remove_cvref_t<E>>(EnumValue(u, type)));
    });
  }
  // A TSet<E> property: [fsBold, fsItalic].
  template <class S>
  void Set(std::string name, void (C::*set)(S), const TEnumType& type) {
    Add(std::move(name), [set, type](const TPropertyUse& u) {
      (Self(u).*set)(std::remove_cvref_t<S>::FromBits(SetValue(u, type)));
    });
  }
  // A nested object whose own properties a dotted path sets (Font.Height); get answers it.
  template <class G>
  void Object(std::string name, G get) {
    TPropertyInfo info;
    info.name = std::move(name);
    info.subObject = [get](TObject& target) -> TPersistent* { return std::invoke(get, static_cast<C&>(target)); };
    members_.AddProperty(std::move(info));
  }
  // A collection: < item ... end >; the items replace what the collection held.
  template <class G>
  void Collection(std::string name, G get) {
    Add(std::move(name), [get](const TPropertyUse& u) { ApplyCollection(u, std::invoke(get, Self(u))); });
  }
  // A list of strings: ('a' 'b'); the lines replace what the list held.
  template <class G>
  void Strings(std::string name, G get) {
    Add(std::move(name), [get](const TPropertyUse& u) { ApplyStrings(u, std::invoke(get, Self(u))); });
  }
  // Binary data: { 0A0B ... }, handed over as a stream at its start.
  void Binary(std::string name, void (C::*read)(TStream&)) {
    Add(std::move(name), [read](const TPropertyUse& u) {
      ApplyBinary(u, [&u, read](TStream& s) { (Self(u).*read)(s); });
    });
  }
  // An event: the value names a handler of the root whose parameters match the event's.
  template <class E>
  void Event(std::string name, void (C::*set)(E)) {
    using Ev = std::remove_cvref_t<E>;
    Add(std::move(name), [set](const TPropertyUse& u) {
      std::any bound = u.context.Handler(u, typeid(Ev));
      (Self(u).*set)(bound.has_value() ? std::any_cast<Ev>(std::move(bound)) : Ev{});
    });
  }
  // Another component of the description, named by the value; resolved after all are read.
  template <class T>
  void Component(std::string name, void (C::*set)(T*)) {
    Add(std::move(name), [set](const TPropertyUse& u) {
      C* self = &Self(u);
      u.context.AddReference(u, T::StaticClass(), [self, set](TComponent* c) { (self->*set)(static_cast<T*>(c)); });
    });
  }

  // A method that events of the description can name.
  template <class... A>
  void Handler(std::string name, void (C::*method)(A...)) {
    using Ev = std::function<void(A...)>;
    members_.AddHandler({std::move(name), typeid(Ev), [method](TComponent& root) -> std::any {
                           C* self = static_cast<C*>(&root);
                           return Ev([self, method](A... args) { (self->*method)(std::forward<A>(args)...); });
                         }});
  }
  // A field of the root that points at its component of the same name while it exists.
  template <class T>
  void Field(std::string name, T* C::*field) {
    members_.AddField({std::move(name), &T::StaticClass(), [field](TComponent& root, TComponent* c) {
                         static_cast<C&>(root).*field = static_cast<T*>(c);
                       }});
  }

 private:
  static C& Self(const TPropertyUse& u) { return static_cast<C&>(u.target); }
  void Add(std::string name, std::function<void(const TPropertyUse&)> apply) {
    TPropertyInfo info;
    info.name = std::move(name);
    info.apply = std::move(apply);
    members_.AddProperty(std::move(info));
  }

  TClassMembers& members_;
};

// Adapts a table-filling function for the TMetaClass constructor.
template <class C, class F>
std::function<void(TClassMembers&)> Stored(F fill) {
  return [fill](TClassMembers& members) {
    TClassBuilder<C> builder(members);
    fill(builder);
  };
}

}  // namespace fw
