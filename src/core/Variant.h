// Variant: the tagged value in which field values, expression values and
// keys travel.
//
// Kinds: Empty (unassigned), Null, Integer (int64), Float (double),
// Currency (a money amount held as a double), DateTime (TDateTime),
// Boolean, String (single-byte code-page text), Array (one-dimensional,
// with low and high bounds, elements are variants).
//
// Conversions (As...):
//   AsString: Empty and Null give ""; Integer in decimal; Float by
//     FloatToStr; Currency by CurrToStr; DateTime by DateTimeToStr; Boolean
//     "True" / "False"; Array raises EVariantError.
//   AsInteger: Empty 0; Integer itself; Float, Currency, DateTime rounded
//     to nearest (half away from zero); Boolean true -1, false 0; String by
//     StrToInt64, else by StrToFloat then rounded; Null, Array, a text that
//     is no number and a value outside int64 raise EConvertError "Could not
//     convert variant of type (Null) into type (Integer)" and the like
//     (target names: Integer, Double, Boolean, Date, String).
//   AsFloat: Empty 0; numbers and dates their value; Boolean -1 / 0;
//     String by StrToFloat; Null and Array raise EConvertError.
//   AsBoolean: Empty false; numbers: non-zero; String "True"/"False" in any
//     case, else a number text (non-zero); other texts, Null and Array
//     raise EConvertError.
//   AsDateTime: Empty 0; numbers their value; String by StrToDateTime;
//     Boolean, Null and Array raise EConvertError.
// Texts use the process regional settings at the time of the call.
//
// Operators (the expression language uses exactly these rules):
//   Null in + - * / Div Mod gives Null. Empty acts as 0 beside a number
//   and as "" beside a string (Empty + Empty is Integer 0). Arrays raise EVariantError
//   "Invalid variant operation".
//   + : String + String concatenates. Otherwise both operands become
//       numbers (a String by StrToInt64 when it is an integer text, else by
//       StrToFloat; EConvertError "Could not convert variant of type
//       (String) into type (Double)" when it is neither; a Boolean as
//       Integer -1 / 0).
//   + - * on numbers: Integer with Integer stays Integer (Float when the
//       result overflows int64); with a Float the result is Float; Currency
//       with Integer or Currency is Currency, with Float it is Float;
//       DateTime + number and DateTime - number are DateTime, DateTime -
//       DateTime is Float; DateTime * number is Float.
//   / : always Float; division by zero raises EZeroDivide
//       "Floating point division by zero".
//   Div, Mod: both operands rounded to Integer first (AsInteger); the
//       result is Integer, truncated toward zero (Mod takes the sign of the
//       left operand); a zero right operand raises EZeroDivide "Division by
//       zero". The one quotient outside int64 (min Div -1) is Float.
//   Compare (= <> < > <= >=):
//       Null equals only Null; any ordered comparison with Null is false;
//       Empty equals Empty, "" and 0.
//       String with String: byte-wise, case-sensitive.
//       String with a number, DateTime or Boolean: the string is converted
//       to a number as for +; when it is not a number the two compare as
//       texts (the other operand's AsString), so "abc" = 0 is false.
//       Numbers, dates and Booleans compare numerically (false 0, true -1).
//       Arrays compare element by element when both are arrays of the same
//       bounds (only = and <>), else raise EVariantError.
//   And, Or, Xor: when either operand is Boolean (or a String "True" /
//       "False" in any case) both are read AsBoolean and combined
//       logically; otherwise both are read AsInteger and combined bitwise.
//       Null with False (And) is False, Null with True (Or) is True, any
//       other Null combination is Null.
//   Not: Boolean gives its negation, Integer (or a number) its bitwise
//       complement (AsInteger first), Null gives Null; a String is read
//       AsBoolean when it is "True" or "False", else AsInteger.
//   Negate (unary minus): Null gives Null; Integer, Float, Currency and
//       DateTime keep their kind; a String becomes a number as for +;
//       Boolean and Empty become Integer.
//
// Variants are values: copying one copies its array (copy on write), so a
// change through operator[] never shows in another copy.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/DateTime.h"

namespace Vdei {

enum TVarType : uint8_t {
  varEmpty,
  varNull,
  varInteger,
  varFloat,
  varCurrency,
  varDateTime,
  varBoolean,
  varString,
  varArray
};

class Variant;

// The elements of an array variant with their bounds.
struct VariantArray {
  int LowBound = 0;
  std::vector<Variant> Items;
  int HighBound() const;  // defined below, where Variant is complete
};

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(int value) : value_(static_cast<int64_t>(value)) {}
  Variant(int64_t value) : value_(value) {}
  // Any other integer type (unsigned, long long, size_t...) as an Integer.
  template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool> &&
                                          !std::is_same_v<T, int> && !std::is_same_v<T, int64_t>,
                                      int> = 0>
  Variant(T value) : value_(static_cast<int64_t>(value)) {}
  Variant(double value) : value_(value) {}
  Variant(bool value) : value_(value) {}
  Variant(const char* value) : value_(std::string(value != nullptr ? value : "")) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}

  static Variant Null();
  static Variant Currency(double value);
  static Variant DateTime(TDateTime value);
  // An array of high - low + 1 Empty elements.
  static Variant Array(int lowBound, int highBound);
  static Variant Array(std::vector<Variant> items, int lowBound = 0);

  TVarType Type() const { return static_cast<TVarType>(value_.index()); }
  const char* TypeName() const;  // "Empty", "Null", "Integer", "Double", ...
  bool IsEmpty() const { return Type() == varEmpty; }
  bool IsNull() const { return Type() == varNull; }
  bool IsNullOrEmpty() const { return IsEmpty() || IsNull(); }
  bool IsArray() const { return Type() == varArray; }
  bool IsString() const { return Type() == varString; }
  // Integer, Float, Currency or DateTime.
  bool IsNumeric() const;

  std::string AsString() const;
  int64_t AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;

  // Direct access; precondition: Type() is the kind named.
  const std::string& StringRef() const;

  // Array access; raise EVariantError on a non-array or an index outside
  // the bounds ("Variant or safe array index out of bounds").
  int LowBound() const;
  int HighBound() const;
  int ElementCount() const;
  const Variant& operator[](int index) const;
  Variant& operator[](int index);

  friend Variant operator+(const Variant& a, const Variant& b);
  friend Variant operator-(const Variant& a, const Variant& b);
  friend Variant operator*(const Variant& a, const Variant& b);
  friend Variant operator/(const Variant& a, const Variant& b);
  friend Variant operator-(const Variant& a);
  friend bool operator==(const Variant& a, const Variant& b);
  friend bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }
  friend bool operator<(const Variant& a, const Variant& b);
  friend bool operator>(const Variant& a, const Variant& b);
  friend bool operator<=(const Variant& a, const Variant& b);
  friend bool operator>=(const Variant& a, const Variant& b);

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  struct CurrencyValue {
    double Value;
  };
  struct DateTimeValue {
    TDateTime Value;
  };
  using Storage = std::variant<std::monostate, NullTag, int64_t, double, CurrencyValue,
                               DateTimeValue, bool, std::string, std::shared_ptr<VariantArray>>;
  explicit Variant(Storage storage) : value_(std::move(storage)) {}
  Storage value_;
};

Variant VarIntDiv(const Variant& a, const Variant& b);
Variant VarMod(const Variant& a, const Variant& b);
Variant VarAnd(const Variant& a, const Variant& b);
Variant VarOr(const Variant& a, const Variant& b);
Variant VarXor(const Variant& a, const Variant& b);
Variant VarNot(const Variant& a);

inline int VariantArray::HighBound() const {
  return LowBound + static_cast<int>(Items.size()) - 1;
}

}  // namespace Vdei
