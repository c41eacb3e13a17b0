// TObject, run-time class information and TPersistent.
//
// Every class that takes part in the component model derives from TObject
// and declares its class information with VDEI_CLASS; the information
// names the class, its parent and its published properties, so that code
// can ask at run time whether an object of an unknown class has a property
// "DataSource" of class type, read it and write it (see Properties.h).
//
//   class TMyGrid : public TComponent {
//    public:
//     VDEI_CLASS(TMyGrid)
//     ...
//   };
//   // in the .cpp file:
//   const TClassInfo& TMyGrid::StaticClassInfo() {
//     static const TClassInfo info = ClassInfoBuilder<TMyGrid, TComponent>("TMyGrid")
//         .Object<TDataSource>("DataSource", &TMyGrid::DataSource, &TMyGrid::SetDataSource)
//         .Build();
//     return info;
//   }
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Variant.h"

namespace Vdei {

class TObject;
struct TClassInfo;

// The kinds of published properties. Strings are tkString (the framework's
// long strings); a string list is a tkClass property of class TStrings.
enum TTypeKind { tkInteger, tkChar, tkEnumeration, tkBoolean, tkFloat, tkSet, tkString, tkClass };

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = tkInteger;
  // tkClass: the declared class of the property's objects.
  const TClassInfo* PropClass = nullptr;
  // tkEnumeration: the value names by ordinal; tkSet: the element names.
  std::vector<std::string> EnumNames;
  // Scalar kinds read and write through variants: tkInteger, tkEnumeration
  // and tkSet as Integer (ordinal / bit mask), tkChar as a one-character
  // String, tkBoolean as Boolean, tkFloat as Float, tkString as String.
  std::function<Variant(const TObject&)> Get;
  std::function<void(TObject&, const Variant&)> Set;  // empty: read-only
  // tkClass properties read and write objects.
  std::function<TObject*(const TObject&)> GetObject;
  std::function<void(TObject&, TObject*)> SetObject;  // empty: read-only
  // The declared default (stored in form files only when different).
  Variant Default;
};

struct TClassInfo {
  std::string ClassName;
  const TClassInfo* Parent = nullptr;
  std::vector<TPropInfo> Properties;  // this class's own, in declaration order

  bool InheritsFrom(const TClassInfo& other) const;
  // The property named (without regard to case), searched from this class
  // up through its parents; nullptr when there is none.
  const TPropInfo* FindProperty(std::string_view name) const;
  // All published properties, the oldest ancestor's first.
  std::vector<const TPropInfo*> AllProperties() const;
};

#define VDEI_CLASS(Class)                                \
  static const ::Vdei::TClassInfo& StaticClassInfo();    \
  const ::Vdei::TClassInfo& ClassInfo() const override { \
    return StaticClassInfo();                            \
  }

class TObject {
 public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const { return ClassInfo().ClassName; }
  bool InheritsFrom(const TClassInfo& info) const { return ClassInfo().InheritsFrom(info); }
  template <class T>
  bool Is() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }
};

// Checked downcast: nullptr stays nullptr, an object of another class
// raises EInvalidCast "Invalid class typecast".
template <class T>
T* As(TObject* object);

// A persistent object can copy its settings from another one.
class TPersistent : public TObject {
 public:
  VDEI_CLASS(TPersistent)
  // Copies source's settings into this object. The base asks the source to
  // AssignTo this object, which fails with EConvertError
  // "Cannot assign a <source class> to a <this class>".
  virtual void Assign(const TPersistent& source);

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

[[noreturn]] void ThrowInvalidCast();

template <class T>
T* As(TObject* object) {
  if (object == nullptr) return nullptr;
  T* result = dynamic_cast<T*>(object);
  if (result == nullptr) ThrowInvalidCast();
  return result;
}

}  // namespace Vdei
