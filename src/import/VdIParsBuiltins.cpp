#include "import/VdIParsBuiltins.h"

#include <array>
#include <cmath>
#include <random>

#include "core/DateTimeFormat.h"
#include "core/Exception.h"
#include "core/NumberFormat.h"
#include "core/StrUtils.h"
#include "import/VdIParsMessages.h"
#include "import/VdIParsTree.h"
#include "import/VdIUtils.h"

namespace VdImport {

using Vdei::Variant;

namespace {

struct TBuiltinName {
  std::string_view Name;
  TExpBuiltin Function;
};

constexpr std::array<TBuiltinName, 48> kBuiltinNames = {{
    {"SUBSTR", bfSubstr},
    {"SUBSTRING", bfSubstr},
    {"CHR", bfChr},
    {"UPPER", bfUpper},
    {"LOWER", bfLower},
    {"TRIM", bfTrim},
    {"TRIMLEFT", bfTrimLeft},
    {"TRIMRIGHT", bfTrimRight},
    {"POS", bfPos},
    {"STRTOFLOAT", bfStrToFloat},
    {"STRTOINT", bfStrToInt},
    {"STRTODATE", bfStrToDate},
    {"DATETIMEFROMSTRING", bfDateTimeFromString},
    {"LENGTH", bfLength},
    {"ORD", bfOrd},
    {"INTTOSTR", bfIntToStr},
    {"FLOATTOSTR", bfFloatToStr},
    {"MAX", bfMax},
    {"MIN", bfMin},
    {"SUM", bfSum},
    {"AVG", bfAvg},
    {"COUNT", bfCount},
    {"FRAC", bfFrac},
    {"INT", bfInt},
    {"ROUND", bfRound},
    {"DIV", bfDiv},
    {"MOD", bfMod},
    {"RANDOM", bfRandom},
    {"ABS", bfAbs},
    {"POWER", bfPower},
    {"EXP", bfExp},
    {"LN", bfLn},
    {"LOG", bfLog},
    {"SQR", bfSqr},
    {"SQRT", bfSqrt},
    {"IIF", bfIif},
    {"ISNULL", bfIsNull},
    {"DATETOSTR", bfDateToStr},
    {"GETDATE", bfGetDate},
    {"DATEPART", bfDatePart},
    {"TIMEPART", bfTimePart},
    {"YEAR", bfYear},
    {"MONTH", bfMonth},
    {"DAY", bfDay},
    {"HOUR", bfHour},
    {"MINUTE", bfMinute},
    {"SECOND", bfSecond},
}};

// Reads the arguments of one call as the function asks for them.
class TCallArguments {
 public:
  TCallArguments(const TExpNode& call, const TExpFrame& frame) : call_(call), frame_(frame) {}
  int Count() const { return call_.ChildCount(); }
  Variant operator[](int index) const {
    Variant value;
    call_.EvaluateChild(index, value, frame_);
    return value;
  }
  std::string Text(int index) const { return (*this)[index].AsString(); }
  double Float(int index) const { return (*this)[index].AsFloat(); }
  int64_t Integer(int index) const { return (*this)[index].AsInteger(); }
  // The first character of a text argument, a blank for any other value.
  char Separator(int index) const {
    const Variant value = (*this)[index];
    return value.IsString() && !value.StringRef().empty() ? value.StringRef()[0] : ' ';
  }

 private:
  const TExpNode& call_;
  const TExpFrame& frame_;
};

double Checked(double result) {
  if (std::isnan(result)) throw Vdei::Exception(SInvalidFloatOperation);
  if (std::isinf(result)) throw Vdei::Exception(SFloatOverflow);
  return result;
}

double Logarithm(double x) {
  if (!(x > 0)) throw Vdei::Exception(SInvalidFloatOperation);
  return std::log(x);
}

int64_t RoundHalfEven(double x) {
  const double rounded = std::nearbyint(Checked(x));  // the default mode rounds halves to even
  if (rounded < -9.2233720368547758e18 || rounded >= 9.2233720368547758e18) {
    throw Vdei::Exception(SFloatOverflow);
  }
  return static_cast<int64_t>(rounded);
}

std::string Copy(const std::string& text, int64_t start, int64_t count) {
  if (start < 1) start = 1;
  if (count <= 0 || start > static_cast<int64_t>(text.size())) return std::string();
  return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

int64_t Position(const std::string& part, const std::string& text) {
  if (part.empty()) return 0;
  const size_t at = text.find(part);
  return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
}

std::string Character(int64_t code) {
  if (code < 0 || code > 255) {
    throw Vdei::EConvertError(Vdei::Format(SCharCodeOutOfRange, static_cast<long long>(code)));
  }
  return std::string(1, static_cast<char>(code));
}

int64_t FirstCharacterCode(const std::string& text) {
  if (text.empty()) throw Vdei::EConvertError(SOrdOfEmptyText);
  return static_cast<uint8_t>(text[0]);
}

std::mt19937_64& RandomEngine() {
  static std::mt19937_64 engine{std::random_device{}()};
  return engine;
}

Variant RandomValue(const TCallArguments& args) {
  if (args.Count() == 0) return std::uniform_real_distribution<double>(0.0, 1.0)(RandomEngine());
  const int64_t n = args.Integer(0);
  if (n <= 0) return Variant(int64_t{0});
  return std::uniform_int_distribution<int64_t>(0, n - 1)(RandomEngine());
}

// The greatest (sign 1) or least (sign -1) argument; 0 without any.
Variant Extreme(const TCallArguments& args, int sign) {
  if (args.Count() == 0) return Variant(int64_t{0});
  Variant best = args[0];
  for (int i = 1; i < args.Count(); ++i) {
    Variant value = args[i];
    if (sign > 0 ? value > best : value < best) best = std::move(value);
  }
  return best;
}

Variant Sum(const TCallArguments& args) {
  Variant sum(int64_t{0});
  for (int i = 0; i < args.Count(); ++i) sum = sum + args[i];
  return sum;
}

// A function of the first two arguments, evaluated left to right.
Variant Pair(const TCallArguments& args, Variant (*function)(const Variant&, const Variant&)) {
  const Variant left = args[0];
  return function(left, args[1]);
}

// One field of a date-time: 0 year, 1 month, 2 day, 3 hour, 4 minute, 5 second.
int64_t DateTimeField(Vdei::TDateTime value, int field) {
  int parts[7];
  Vdei::DecodeDateTime(value, parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]);
  return parts[field];
}

Variant Compute(TExpBuiltin function, const TCallArguments& args) {
  switch (function) {
    case bfSubstr: {
      const std::string text = args.Text(0);
      const int64_t start = args.Integer(1);
      return Copy(text, start, args.Integer(2));
    }
    case bfChr:
      return Character(args.Integer(0));
    case bfUpper:
      return Vdei::UpperCase(args.Text(0));
    case bfLower:
      return Vdei::LowerCase(args.Text(0));
    case bfTrim:
      return Vdei::Trim(args.Text(0));
    case bfTrimLeft:
      return Vdei::TrimLeft(args.Text(0));
    case bfTrimRight:
      return Vdei::TrimRight(args.Text(0));
    case bfPos: {
      const std::string part = args.Text(0);
      return Position(part, args.Text(1));
    }
    case bfStrToFloat:
      return Vdei::StrToFloat(args.Text(0));
    case bfStrToInt:
      return Vdei::StrToInt64(args.Text(0));
    case bfStrToDate:
      return Variant::DateTime(Vdei::StrToDate(args.Text(0)));
    case bfDateTimeFromString: {
      const std::string text = args.Text(0), mask = args.Text(1);
      const char dateSeparator = args.Separator(2);
      return Variant::DateTime(ParseDateTime(text, mask, dateSeparator, args.Separator(3)));
    }
    case bfLength:
      return static_cast<int64_t>(args.Text(0).size());
    case bfOrd:
      return FirstCharacterCode(args.Text(0));
    case bfIntToStr:
      return Vdei::IntToStr(args.Integer(0));
    case bfFloatToStr:
      return Vdei::FloatToStr(args.Float(0));
    case bfMax:
      return Extreme(args, 1);
    case bfMin:
      return Extreme(args, -1);
    case bfSum:
      return Sum(args);
    case bfAvg:
      return args.Count() == 0 ? Variant(int64_t{0}) : Sum(args) / Variant(args.Count());
    case bfCount:
      return static_cast<int64_t>(args.Count());
    case bfFrac: {
      const double x = Checked(args.Float(0));
      return x - std::trunc(x);
    }
    case bfInt:
      return std::trunc(Checked(args.Float(0)));
    case bfRound:
      return RoundHalfEven(args.Float(0));
    case bfDiv:
      return Pair(args, Vdei::VarIntDiv);
    case bfMod:
      return Pair(args, Vdei::VarMod);
    case bfRandom:
      return RandomValue(args);
    case bfAbs:
      return std::fabs(args.Float(0));
    case bfPower:
      return Pair(args, PowerOf);
    case bfExp:
      return Checked(std::exp(args.Float(0)));
    case bfLn:
      return Logarithm(args.Float(0));
    case bfLog:
      return Logarithm(args.Float(0)) / std::log(10.0);
    case bfSqr: {
      const double x = args.Float(0);
      return Checked(x * x);
    }
    case bfSqrt:
      return Checked(std::sqrt(args.Float(0)));
    case bfIif:
      return args[0].AsBoolean() ? args[1] : args[2];
    case bfIsNull:
      return args[0].IsNullOrEmpty();
    case bfDateToStr:
      return Vdei::DateToStr(args[0].AsDateTime());
    case bfGetDate:
      return Variant::DateTime(Vdei::Now());
    case bfDatePart:
      return std::trunc(args[0].AsDateTime());
    case bfTimePart: {
      const double x = args[0].AsDateTime();
      return x - std::trunc(x);
    }
    case bfYear:
    case bfMonth:
    case bfDay:
    case bfHour:
    case bfMinute:
    case bfSecond:
      return DateTimeField(args[0].AsDateTime(), function - bfYear);
    case bfNone:
      break;
  }
  throw Vdei::Exception(SSyntaxTreeFault);
}

}  // namespace

TExpBuiltin FindBuiltin(std::string_view name) {
  for (const TBuiltinName& entry : kBuiltinNames) {
    if (Vdei::SameText(entry.Name, name)) return entry.Function;
  }
  return bfNone;
}

bool BuiltinNeedsArguments(TExpBuiltin function) {
  return function >= bfYear && function <= bfSecond;
}

void CallBuiltin(TExpBuiltin function, const TExpNode& call, const TExpFrame& frame,
                 Variant& value) {
  value = Compute(function, TCallArguments(call, frame));
}

Variant PowerOf(const Variant& left, const Variant& right) {
  return Checked(std::pow(left.AsFloat(), right.AsFloat()));
}

}  // namespace VdImport
