#include "core/Variant.h"

#include <cmath>
#include <limits>
#include <utility>

#include "core/DateTimeFormat.h"
#include "core/Exception.h"
#include "core/NumberFormat.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

constexpr const char* kTypeNames[] = {"Empty", "Null",    "Integer", "Double", "Currency",
                                      "Date",  "Boolean", "String",  "Array"};

[[noreturn]] void ThrowCannotConvert(TVarType from, const char* to) {
  throw EConvertError(std::string("Could not convert variant of type (") + kTypeNames[from] +
                      ") into type (" + to + ")");
}

[[noreturn]] void ThrowNotAnArray() {
  throw EVariantError("Variant is not an array");
}

bool InInt64Range(double value) {
  return value >= -9223372036854775808.0 && value < 9223372036854775808.0;
}

// Half away from zero; EConvertError outside the int64 range.
int64_t RoundToInt64(double value, TVarType from) {
  double rounded = std::round(value);
  if (!InInt64Range(rounded)) ThrowCannotConvert(from, "Integer");
  return static_cast<int64_t>(rounded);
}

bool IsBooleanText(std::string_view s, bool& value) {
  if (SameText(s, "True")) {
    value = true;
    return true;
  }
  if (SameText(s, "False")) {
    value = false;
    return true;
  }
  return false;
}

}  // namespace

Variant Variant::Null() {
  return Variant(Storage(NullTag{}));
}

Variant Variant::Currency(double value) {
  return Variant(Storage(CurrencyValue{value}));
}

Variant Variant::DateTime(TDateTime value) {
  return Variant(Storage(DateTimeValue{value}));
}

Variant Variant::Array(int lowBound, int highBound) {
  if (highBound < lowBound - 1) throw EVariantError("Error creating variant or safe array");
  std::vector<Variant> items(static_cast<size_t>(int64_t{highBound} - lowBound + 1));
  return Array(std::move(items), lowBound);
}

Variant Variant::Array(std::vector<Variant> items, int lowBound) {
  auto array = std::make_shared<VariantArray>();
  array->LowBound = lowBound;
  array->Items = std::move(items);
  return Variant(Storage(std::move(array)));
}

const char* Variant::TypeName() const {
  return kTypeNames[Type()];
}

bool Variant::IsNumeric() const {
  TVarType t = Type();
  return t == varInteger || t == varFloat || t == varCurrency || t == varDateTime;
}

std::string Variant::AsString() const {
  switch (Type()) {
    case varEmpty:
    case varNull:
      return {};
    case varInteger:
      return IntToStr(std::get<int64_t>(value_));
    case varFloat:
      return FloatToStr(std::get<double>(value_));
    case varCurrency:
      return CurrToStr(std::get<CurrencyValue>(value_).Value);
    case varDateTime:
      return DateTimeToStr(std::get<DateTimeValue>(value_).Value);
    case varBoolean:
      return std::get<bool>(value_) ? "True" : "False";
    case varString:
      return std::get<std::string>(value_);
    case varArray:
      break;
  }
  throw EVariantError("Could not convert variant of type (Array) into type (String)");
}

int64_t Variant::AsInteger() const {
  switch (Type()) {
    case varEmpty:
      return 0;
    case varInteger:
      return std::get<int64_t>(value_);
    case varFloat:
    case varCurrency:
    case varDateTime:
      return RoundToInt64(AsFloat(), Type());
    case varBoolean:
      return std::get<bool>(value_) ? -1 : 0;
    case varString: {
      const std::string& s = std::get<std::string>(value_);
      int64_t i = 0;
      if (TryStrToInt64(s, i)) return i;
      double d = 0;
      if (TryStrToFloat(s, d)) return RoundToInt64(d, varString);
      break;
    }
    case varNull:
    case varArray:
      break;
  }
  ThrowCannotConvert(Type(), "Integer");
}

double Variant::AsFloat() const {
  switch (Type()) {
    case varEmpty:
      return 0;
    case varInteger:
      return static_cast<double>(std::get<int64_t>(value_));
    case varFloat:
      return std::get<double>(value_);
    case varCurrency:
      return std::get<CurrencyValue>(value_).Value;
    case varDateTime:
      return std::get<DateTimeValue>(value_).Value;
    case varBoolean:
      return std::get<bool>(value_) ? -1 : 0;
    case varString: {
      const std::string& s = std::get<std::string>(value_);
      double d = 0;
      if (TryStrToFloat(s, d)) return d;
      int64_t i = 0;
      if (TryStrToInt64(s, i)) return static_cast<double>(i);
      break;
    }
    case varNull:
    case varArray:
      break;
  }
  ThrowCannotConvert(Type(), "Double");
}

bool Variant::AsBoolean() const {
  switch (Type()) {
    case varEmpty:
      return false;
    case varInteger:
      return std::get<int64_t>(value_) != 0;
    case varFloat:
    case varCurrency:
    case varDateTime:
      return AsFloat() != 0;
    case varBoolean:
      return std::get<bool>(value_);
    case varString: {
      const std::string& s = std::get<std::string>(value_);
      bool b = false;
      if (IsBooleanText(Trim(s), b)) return b;
      double d = 0;
      if (TryStrToFloat(s, d)) return d != 0;
      int64_t i = 0;
      if (TryStrToInt64(s, i)) return i != 0;
      break;
    }
    case varNull:
    case varArray:
      break;
  }
  ThrowCannotConvert(Type(), "Boolean");
}

TDateTime Variant::AsDateTime() const {
  switch (Type()) {
    case varEmpty:
      return 0;
    case varInteger:
    case varFloat:
    case varCurrency:
    case varDateTime:
      return AsFloat();
    case varString: {
      TDateTime d = 0;
      if (TryStrToDateTime(std::get<std::string>(value_), d)) return d;
      break;
    }
    case varBoolean:
    case varNull:
    case varArray:
      break;
  }
  ThrowCannotConvert(Type(), "Date");
}

const std::string& Variant::StringRef() const {
  const std::string* s = std::get_if<std::string>(&value_);
  if (s == nullptr) throw EVariantError("Invalid variant type conversion");
  return *s;
}

int Variant::LowBound() const {
  auto* array = std::get_if<std::shared_ptr<VariantArray>>(&value_);
  if (array == nullptr) ThrowNotAnArray();
  return (*array)->LowBound;
}

int Variant::HighBound() const {
  auto* array = std::get_if<std::shared_ptr<VariantArray>>(&value_);
  if (array == nullptr) ThrowNotAnArray();
  return (*array)->HighBound();
}

int Variant::ElementCount() const {
  auto* array = std::get_if<std::shared_ptr<VariantArray>>(&value_);
  if (array == nullptr) ThrowNotAnArray();
  return static_cast<int>((*array)->Items.size());
}

const Variant& Variant::operator[](int index) const {
  auto* array = std::get_if<std::shared_ptr<VariantArray>>(&value_);
  if (array == nullptr) ThrowNotAnArray();
  const VariantArray& a = **array;
  if (index < a.LowBound || index > a.HighBound()) {
    throw EVariantError("Variant or safe array index out of bounds");
  }
  return a.Items[static_cast<size_t>(index - a.LowBound)];
}

Variant& Variant::operator[](int index) {
  static_cast<void>(std::as_const(*this)[index]);  // checks kind and bounds
  auto& array = std::get<std::shared_ptr<VariantArray>>(value_);
  if (array.use_count() > 1) array = std::make_shared<VariantArray>(*array);
  return array->Items[static_cast<size_t>(index - array->LowBound)];
}

}  // namespace Vdei
