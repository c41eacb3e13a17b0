#include "core/Properties.h"

#include "core/Exception.h"
#include "core/NumberFormat.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

const TPropInfo& FindOrThrow(const TObject& object, std::string_view name) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr) throw EPropertyError("Unknown property: '" + std::string(name) + "'");
  return *p;
}

[[noreturn]] void ThrowReadOnly(const TPropInfo& p) {
  throw EPropertyError("Property " + p.Name + " is read-only");
}

[[noreturn]] void ThrowWrongKind(const TPropInfo& p, const char* expected) {
  throw EPropertyError("Property " + p.Name + " is not " + expected);
}

// An enumeration value written as its name or as its ordinal.
Variant EnumOrdinal(const TPropInfo& p, const Variant& value) {
  int64_t ordinal = -1;
  if (value.IsString()) {
    for (size_t i = 0; i < p.EnumNames.size(); ++i) {
      if (SameText(p.EnumNames[i], value.StringRef())) ordinal = static_cast<int64_t>(i);
    }
  }
  if (ordinal < 0) ordinal = value.AsInteger();
  if (!p.EnumNames.empty() &&
      (ordinal < 0 || ordinal >= static_cast<int64_t>(p.EnumNames.size()))) {
    throw EConvertError("'" + value.AsString() + "' is not a valid value of property " + p.Name);
  }
  return Variant(ordinal);
}

}  // namespace

const TPropInfo* GetPropInfo(const TClassInfo& info, std::string_view name) {
  return info.FindProperty(name);
}

const TPropInfo* GetPropInfo(const TObject& object, std::string_view name) {
  return GetPropInfo(object.ClassInfo(), name);
}

bool IsPublishedProp(const TObject& object, std::string_view name) {
  return GetPropInfo(object, name) != nullptr;
}

bool PropIsType(const TObject& object, std::string_view name, TTypeKind kind) {
  const TPropInfo* p = GetPropInfo(object, name);
  return p != nullptr && p->Kind == kind;
}

Variant GetPropValue(const TObject& object, std::string_view name) {
  const TPropInfo& p = FindOrThrow(object, name);
  if (p.Kind == tkClass) ThrowWrongKind(p, "a scalar property");
  return p.Get(object);
}

void SetPropValue(TObject& object, std::string_view name, const Variant& value) {
  const TPropInfo& p = FindOrThrow(object, name);
  if (p.Kind == tkClass) ThrowWrongKind(p, "a scalar property");
  if (!p.Set) ThrowReadOnly(p);
  p.Set(object, p.Kind == tkEnumeration ? EnumOrdinal(p, value) : value);
}

std::string GetEnumProp(const TObject& object, std::string_view name) {
  const TPropInfo& p = FindOrThrow(object, name);
  if (p.Kind != tkEnumeration) ThrowWrongKind(p, "an enumeration");
  int64_t ordinal = p.Get(object).AsInteger();
  if (ordinal >= 0 && ordinal < static_cast<int64_t>(p.EnumNames.size())) {
    return p.EnumNames[static_cast<size_t>(ordinal)];
  }
  return IntToStr(ordinal);
}

TObject* GetObjectProp(const TObject& object, std::string_view name) {
  const TPropInfo& p = FindOrThrow(object, name);
  if (p.Kind != tkClass) ThrowWrongKind(p, "an object property");
  return p.GetObject(object);
}

void SetObjectProp(TObject& object, std::string_view name, TObject* value) {
  const TPropInfo& p = FindOrThrow(object, name);
  if (p.Kind != tkClass) ThrowWrongKind(p, "an object property");
  if (!p.SetObject) ThrowReadOnly(p);
  p.SetObject(object, value);
}

}  // namespace Vdei
