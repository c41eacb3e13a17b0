// Published properties: declaring them (ClassInfoBuilder) and reading and
// writing them by name at run time (GetPropInfo, GetPropValue, ...).
//
// Lookups are without regard to case. Reading or writing a property that
// does not exist raises EPropertyError "Unknown property: '%s'"; writing a
// read-only one raises EPropertyError "Property %s is read-only". Values
// are converted as Variant converts them (EConvertError when they do not).
#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/Object.h"

namespace Vdei {

// Builds the TClassInfo of class C whose parent class is P.
//   Getters are member functions or lambdas taking const C&; setters take
//   C& and the value. Pass nullptr as setter for a read-only property.
template <class C, class P>
class ClassInfoBuilder {
 public:
  explicit ClassInfoBuilder(std::string className) {
    info_.ClassName = std::move(className);
    info_.Parent = &P::StaticClassInfo();
  }

  template <class G, class S>
  ClassInfoBuilder& Integer(std::string name, G get, S set, Variant def = Variant()) {
    return Scalar(
        std::move(name), tkInteger, get, set, [](const Variant& v) { return v.AsInteger(); },
        std::move(def));
  }
  template <class G, class S>
  ClassInfoBuilder& Float(std::string name, G get, S set, Variant def = Variant()) {
    return Scalar(
        std::move(name), tkFloat, get, set, [](const Variant& v) { return v.AsFloat(); },
        std::move(def));
  }
  template <class G, class S>
  ClassInfoBuilder& Boolean(std::string name, G get, S set, Variant def = Variant()) {
    return Scalar(
        std::move(name), tkBoolean, get, set, [](const Variant& v) { return v.AsBoolean(); },
        std::move(def));
  }
  template <class G, class S>
  ClassInfoBuilder& String(std::string name, G get, S set, Variant def = Variant()) {
    return Scalar(
        std::move(name), tkString, get, set, [](const Variant& v) { return v.AsString(); },
        std::move(def));
  }
  // A single character, read and written as a one-character string (an
  // empty string writes the character 0).
  template <class G, class S>
  ClassInfoBuilder& Char(std::string name, G get, S set, Variant def = Variant()) {
    TPropInfo p = Base(std::move(name), tkChar, std::move(def));
    p.Get = [get](const TObject& o) {
      char c = Invoke(get, static_cast<const C&>(o));
      return Variant(std::string(c == 0 ? 0 : 1, c));
    };
    SetScalar(p, set, [](const Variant& v) {
      std::string s = v.AsString();
      return s.empty() ? '\0' : s[0];
    });
    return Add(std::move(p));
  }
  // An enumeration: values are ordinals, names are given by ordinal.
  template <class G, class S>
  ClassInfoBuilder& Enum(std::string name, std::vector<std::string> names, G get, S set,
                         Variant def = Variant()) {
    TPropInfo p = Base(std::move(name), tkEnumeration, std::move(def));
    p.EnumNames = std::move(names);
    p.Get = [get](const TObject& o) {
      return Variant(static_cast<int64_t>(Invoke(get, static_cast<const C&>(o))));
    };
    using E = std::decay_t<decltype(Invoke(get, std::declval<const C&>()))>;
    SetScalar(p, set, [](const Variant& v) { return static_cast<E>(v.AsInteger()); });
    return Add(std::move(p));
  }
  // A set held as a bit mask (bit n = element n).
  template <class G, class S>
  ClassInfoBuilder& Set(std::string name, std::vector<std::string> names, G get, S set,
                        Variant def = Variant()) {
    TPropInfo p = Base(std::move(name), tkSet, std::move(def));
    p.EnumNames = std::move(names);
    p.Get = [get](const TObject& o) {
      return Variant(static_cast<int64_t>(Invoke(get, static_cast<const C&>(o))));
    };
    using E = std::decay_t<decltype(Invoke(get, std::declval<const C&>()))>;
    SetScalar(p, set, [](const Variant& v) { return static_cast<E>(v.AsInteger()); });
    return Add(std::move(p));
  }
  // An object property of declared class T. The getter returns T* (or a
  // pointer to a subclass); the setter takes T* (for owned sub-objects it
  // usually copies the given object's settings).
  template <class T, class G, class S>
  ClassInfoBuilder& Object(std::string name, G get, S set) {
    TPropInfo p = Base(std::move(name), tkClass, Variant());
    p.PropClass = &T::StaticClassInfo();
    p.GetObject = [get](const TObject& o) -> TObject* {
      return Invoke(get, static_cast<const C&>(o));
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.SetObject = [set](TObject& o, TObject* value) {
        Invoke(set, static_cast<C&>(o), As<T>(value));
      };
    }
    return Add(std::move(p));
  }

  TClassInfo Build() { return std::move(info_); }

 private:
  template <class F, class... A>
  static decltype(auto) Invoke(F f, A&&... args) {
    return std::invoke(f, std::forward<A>(args)...);
  }
  static TPropInfo Base(std::string name, TTypeKind kind, Variant def) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.Default = std::move(def);
    return p;
  }
  template <class S, class Convert>
  static void SetScalar(TPropInfo& p, S set, Convert convert) {
    if constexpr (!std::is_null_pointer_v<S>) {
      p.Set = [set, convert](TObject& o, const Variant& v) {
        Invoke(set, static_cast<C&>(o), convert(v));
      };
    }
  }
  template <class G, class S, class Convert>
  ClassInfoBuilder& Scalar(std::string name, TTypeKind kind, G get, S set, Convert convert,
                           Variant def) {
    TPropInfo p = Base(std::move(name), kind, std::move(def));
    p.Get = [get](const TObject& o) { return Variant(Invoke(get, static_cast<const C&>(o))); };
    SetScalar(p, set, convert);
    return Add(std::move(p));
  }
  ClassInfoBuilder& Add(TPropInfo p) {
    info_.Properties.push_back(std::move(p));
    return *this;
  }

  TClassInfo info_;
};

// nullptr when the object's class has no published property of that name.
const TPropInfo* GetPropInfo(const TObject& object, std::string_view name);
const TPropInfo* GetPropInfo(const TClassInfo& info, std::string_view name);
bool IsPublishedProp(const TObject& object, std::string_view name);
// True when the property exists and is of the kind given.
bool PropIsType(const TObject& object, std::string_view name, TTypeKind kind);

// Scalar properties as variants (see TPropInfo for the representation).
Variant GetPropValue(const TObject& object, std::string_view name);
void SetPropValue(TObject& object, std::string_view name, const Variant& value);
// The name of an enumeration property's current value.
std::string GetEnumProp(const TObject& object, std::string_view name);
// Object properties.
TObject* GetObjectProp(const TObject& object, std::string_view name);
void SetObjectProp(TObject& object, std::string_view name, TObject* value);

}  // namespace Vdei
