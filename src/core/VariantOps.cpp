// The operators of Variant (see the rules in Variant.h).
#include <cmath>
#include <limits>

#include "core/Exception.h"
#include "core/NumberFormat.h"
#include "core/StrUtils.h"
#include "core/Variant.h"

namespace Vdei {

namespace {

[[noreturn]] void ThrowInvalidOperation() {
  throw EVariantError("Invalid variant operation");
}

// An arithmetic operand once strings, Booleans and Empty are read as
// numbers. Kind is varInteger (Int holds it) or varFloat, varCurrency,
// varDateTime (Real holds it).
struct Number {
  TVarType Kind;
  int64_t Int;
  double Real;
  double AsDouble() const { return Kind == varInteger ? static_cast<double>(Int) : Real; }
};

bool TryStringToNumber(std::string_view s, Number& n) {
  if (TryStrToInt64(s, n.Int)) {
    n.Kind = varInteger;
    return true;
  }
  if (TryStrToFloat(s, n.Real)) {
    n.Kind = varFloat;
    return true;
  }
  return false;
}

// Precondition: v is neither Null nor an array.
bool TryToNumber(const Variant& v, Number& n) {
  switch (v.Type()) {
    case varString:
      return TryStringToNumber(v.StringRef(), n);
    case varFloat:
    case varCurrency:
    case varDateTime:
      n = {v.Type(), 0, v.AsFloat()};
      return true;
    default:
      n = {varInteger, v.AsInteger(), 0};
      return true;  // Integer, Boolean, Empty
  }
}

Number ToNumber(const Variant& v) {
  Number n{varInteger, 0, 0};
  if (!TryToNumber(v, n)) {
    throw EConvertError(std::string("Could not convert variant of type (") + v.TypeName() +
                        ") into type (Double)");
  }
  return n;
}

void CheckNoArray(const Variant& a, const Variant& b) {
  if (a.IsArray() || b.IsArray()) ThrowInvalidOperation();
}

enum class ArithOp { Add, Subtract, Multiply };

TVarType ResultKind(ArithOp op, TVarType a, TVarType b) {
  bool aDate = a == varDateTime, bDate = b == varDateTime;
  if (aDate || bDate) {
    if (op == ArithOp::Multiply || (op == ArithOp::Subtract && aDate && bDate)) return varFloat;
    return varDateTime;
  }
  if (a == varFloat || b == varFloat) return varFloat;
  if (a == varCurrency || b == varCurrency) return varCurrency;
  return varInteger;
}

bool IntegerArithmetic(ArithOp op, int64_t x, int64_t y, int64_t& result) {
  switch (op) {
    case ArithOp::Add:
      return !__builtin_add_overflow(x, y, &result);
    case ArithOp::Subtract:
      return !__builtin_sub_overflow(x, y, &result);
    case ArithOp::Multiply:
      return !__builtin_mul_overflow(x, y, &result);
  }
  return false;
}

double RealArithmetic(ArithOp op, double x, double y) {
  switch (op) {
    case ArithOp::Add:
      return x + y;
    case ArithOp::Subtract:
      return x - y;
    case ArithOp::Multiply:
      return x * y;
  }
  return 0;
}

Variant OfKind(TVarType kind, double value) {
  switch (kind) {
    case varCurrency:
      return Variant::Currency(value);
    case varDateTime:
      return Variant::DateTime(value);
    default:
      return Variant(value);
  }
}

Variant Arithmetic(ArithOp op, const Variant& a, const Variant& b) {
  CheckNoArray(a, b);
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  Number x = ToNumber(a), y = ToNumber(b);
  TVarType kind = ResultKind(op, x.Kind, y.Kind);
  if (kind == varInteger) {
    int64_t result = 0;
    if (IntegerArithmetic(op, x.Int, y.Int, result)) return Variant(result);
    kind = varFloat;
  }
  return OfKind(kind, RealArithmetic(op, x.AsDouble(), y.AsDouble()));
}

bool IsTextOperand(const Variant& v) {
  return v.IsString() || v.IsEmpty();
}

enum class Order { Less, Equal, Greater, Unordered };

template <class T>
Order CompareOrdered(const T& x, const T& y) {
  if (x < y) return Order::Less;
  if (y < x) return Order::Greater;
  if (x == y) return Order::Equal;
  return Order::Unordered;  // NaN
}

Order CompareNumbers(const Number& x, const Number& y) {
  if (x.Kind == varInteger && y.Kind == varInteger) return CompareOrdered(x.Int, y.Int);
  return CompareOrdered(x.AsDouble(), y.AsDouble());
}

Order CompareTexts(std::string_view x, std::string_view y) {
  int c = x.compare(y);
  return c < 0 ? Order::Less : (c > 0 ? Order::Greater : Order::Equal);
}

// A string beside a number: numerically when the string is a number
// text, else as texts.
Order CompareStringWith(const std::string& s, const Variant& other, bool stringFirst) {
  Number x{varInteger, 0, 0};
  Order order;
  if (TryStringToNumber(s, x)) {
    order = CompareNumbers(x, ToNumber(other));
  } else {
    order = CompareTexts(s, other.AsString());
  }
  if (stringFirst || order == Order::Equal || order == Order::Unordered) return order;
  return order == Order::Less ? Order::Greater : Order::Less;
}

// Precondition: neither operand is Null or an array.
Order CompareValues(const Variant& a, const Variant& b) {
  if (IsTextOperand(a) && IsTextOperand(b)) {
    return CompareTexts(a.IsEmpty() ? std::string_view() : std::string_view(a.StringRef()),
                        b.IsEmpty() ? std::string_view() : std::string_view(b.StringRef()));
  }
  if (a.IsString()) return CompareStringWith(a.StringRef(), b, true);
  if (b.IsString()) return CompareStringWith(b.StringRef(), a, false);
  return CompareNumbers(ToNumber(a), ToNumber(b));
}

bool ArraysEqual(const Variant& a, const Variant& b) {
  if (!a.IsArray() || !b.IsArray() || a.LowBound() != b.LowBound() ||
      a.HighBound() != b.HighBound()) {
    ThrowInvalidOperation();
  }
  for (int i = a.LowBound(); i <= a.HighBound(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// Ordered comparisons: false beside Null; arrays have no order.
Order OrderOf(const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Order::Unordered;
  CheckNoArray(a, b);
  return CompareValues(a, b);
}

// A Boolean, or a string that reads "True" / "False".
bool IsBooleanOperand(const Variant& v, bool& value) {
  if (v.Type() == varBoolean) {
    value = v.AsBoolean();
    return true;
  }
  if (!v.IsString()) return false;
  std::string_view s = Trim(v.StringRef());
  if (SameText(s, "True") || SameText(s, "False")) {
    value = SameText(s, "True");
    return true;
  }
  return false;
}

enum class LogicOp { And, Or, Xor };

Variant LogicWithNull(LogicOp op, const Variant& other) {
  bool value = false;
  if (!other.IsNull() && IsBooleanOperand(other, value)) {
    if (op == LogicOp::And && !value) return Variant(false);
    if (op == LogicOp::Or && value) return Variant(true);
  }
  return Variant::Null();
}

Variant Logic(LogicOp op, const Variant& a, const Variant& b) {
  CheckNoArray(a, b);
  if (a.IsNull()) return LogicWithNull(op, b);
  if (b.IsNull()) return LogicWithNull(op, a);
  bool ignored = false;
  if (IsBooleanOperand(a, ignored) || IsBooleanOperand(b, ignored)) {
    bool x = a.AsBoolean(), y = b.AsBoolean();
    switch (op) {
      case LogicOp::And:
        return Variant(x && y);
      case LogicOp::Or:
        return Variant(x || y);
      case LogicOp::Xor:
        return Variant(x != y);
    }
  }
  int64_t x = a.AsInteger(), y = b.AsInteger();
  switch (op) {
    case LogicOp::And:
      return Variant(x & y);
    case LogicOp::Or:
      return Variant(x | y);
    case LogicOp::Xor:
      return Variant(x ^ y);
  }
  return Variant();
}

// Div and Mod read both operands as integers; Null gives Null.
bool IntegerOperands(const Variant& a, const Variant& b, int64_t& x, int64_t& y) {
  CheckNoArray(a, b);
  if (a.IsNull() || b.IsNull()) return false;
  x = a.AsInteger();
  y = b.AsInteger();
  if (y == 0) throw EZeroDivide("Division by zero");
  return true;
}

}  // namespace

Variant operator+(const Variant& a, const Variant& b) {
  CheckNoArray(a, b);
  if (IsTextOperand(a) && IsTextOperand(b) && (a.IsString() || b.IsString())) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    std::string result;
    result.reserve(a.StringRef().size() + b.StringRef().size());
    result += a.StringRef();
    result += b.StringRef();
    return Variant(std::move(result));
  }
  return Arithmetic(ArithOp::Add, a, b);
}

Variant operator-(const Variant& a, const Variant& b) {
  return Arithmetic(ArithOp::Subtract, a, b);
}

Variant operator*(const Variant& a, const Variant& b) {
  return Arithmetic(ArithOp::Multiply, a, b);
}

Variant operator/(const Variant& a, const Variant& b) {
  CheckNoArray(a, b);
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  double x = ToNumber(a).AsDouble(), y = ToNumber(b).AsDouble();
  if (y == 0) throw EZeroDivide("Floating point division by zero");
  return Variant(x / y);
}

Variant operator-(const Variant& a) {
  if (a.IsArray()) ThrowInvalidOperation();
  if (a.IsNull()) return Variant::Null();
  Number n = ToNumber(a);
  if (n.Kind == varInteger) {
    if (n.Int != std::numeric_limits<int64_t>::min()) return Variant(-n.Int);
    return Variant(-static_cast<double>(n.Int));
  }
  return OfKind(n.Kind, -n.Real);
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return a.IsNull() && b.IsNull();
  if (a.IsArray() || b.IsArray()) return ArraysEqual(a, b);
  return CompareValues(a, b) == Order::Equal;
}

bool operator<(const Variant& a, const Variant& b) {
  return OrderOf(a, b) == Order::Less;
}

bool operator>(const Variant& a, const Variant& b) {
  return OrderOf(a, b) == Order::Greater;
}

bool operator<=(const Variant& a, const Variant& b) {
  Order order = OrderOf(a, b);
  return order == Order::Less || order == Order::Equal;
}

bool operator>=(const Variant& a, const Variant& b) {
  Order order = OrderOf(a, b);
  return order == Order::Greater || order == Order::Equal;
}

Variant VarIntDiv(const Variant& a, const Variant& b) {
  int64_t x = 0, y = 0;
  if (!IntegerOperands(a, b, x, y)) return Variant::Null();
  if (x == std::numeric_limits<int64_t>::min() && y == -1) return Variant(-static_cast<double>(x));
  return Variant(x / y);
}

Variant VarMod(const Variant& a, const Variant& b) {
  int64_t x = 0, y = 0;
  if (!IntegerOperands(a, b, x, y)) return Variant::Null();
  if (y == -1) return Variant(int64_t{0});
  return Variant(x % y);
}

Variant VarAnd(const Variant& a, const Variant& b) {
  return Logic(LogicOp::And, a, b);
}

Variant VarOr(const Variant& a, const Variant& b) {
  return Logic(LogicOp::Or, a, b);
}

Variant VarXor(const Variant& a, const Variant& b) {
  return Logic(LogicOp::Xor, a, b);
}

Variant VarNot(const Variant& a) {
  if (a.IsArray()) ThrowInvalidOperation();
  if (a.IsNull()) return Variant::Null();
  bool value = false;
  if (IsBooleanOperand(a, value)) return Variant(!value);
  return Variant(~a.AsInteger());
}

}  // namespace Vdei
