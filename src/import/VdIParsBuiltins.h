// The built-in functions of the expression language.
//
// Names are matched without regard to case. Arguments are evaluated when
// the function reads them (IIF evaluates only the branch it returns); a
// call with fewer arguments than the function reads raises the list's
// index error, surplus arguments are ignored. A bare name (no parentheses)
// calls the function without arguments, except YEAR, MONTH, DAY, HOUR,
// MINUTE and SECOND, which are then ordinary names.
//
//   SUBSTR / SUBSTRING(text, start, count)  count characters from 1-based start
//   CHR(code)                one-character text (code 0..255)
//   UPPER, LOWER, TRIM, TRIMLEFT, TRIMRIGHT (text)
//   POS(part, text)          1-based position, 0 if absent
//   STRTOFLOAT, STRTOINT, STRTODATE (text)  by the regional settings
//   DATETIMEFROMSTRING(text, mask, date separator, time separator)
//   LENGTH(text), ORD(text)  ORD of an empty text is an error
//   INTTOSTR(number), FLOATTOSTR(number)
//   MAX, MIN (any)           greatest / least argument, 0 without any
//   SUM, AVG, COUNT (any)    sum, mean, number of arguments (0 without any)
//   FRAC, INT, ROUND, ABS, EXP, LN, LOG, SQR, SQRT (number); DIV, MOD,
//   POWER (a, b); RANDOM or RANDOM(n)
//   IIF(condition, a, b), ISNULL(value)
//   DATETOSTR(date), GETDATE, DATEPART, TIMEPART (date-time)
//   YEAR, MONTH, DAY, HOUR, MINUTE, SECOND (date-time)
// Float results that are not finite raise "Invalid floating point
// operation" or "Floating point overflow".
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Variant.h"

namespace VdImport {

class TExpNode;
struct TExpFrame;

enum TExpBuiltin : uint8_t {
  bfNone,
  bfSubstr,
  bfChr,
  bfUpper,
  bfLower,
  bfTrim,
  bfTrimLeft,
  bfTrimRight,
  bfPos,
  bfStrToFloat,
  bfStrToInt,
  bfStrToDate,
  bfDateTimeFromString,
  bfLength,
  bfOrd,
  bfIntToStr,
  bfFloatToStr,
  bfMax,
  bfMin,
  bfSum,
  bfAvg,
  bfCount,
  bfFrac,
  bfInt,
  bfRound,
  bfDiv,
  bfMod,
  bfRandom,
  bfAbs,
  bfPower,
  bfExp,
  bfLn,
  bfLog,
  bfSqr,
  bfSqrt,
  bfIif,
  bfIsNull,
  bfDateToStr,
  bfGetDate,
  bfDatePart,
  bfTimePart,
  bfYear,
  bfMonth,
  bfDay,
  bfHour,
  bfMinute,
  bfSecond
};

// The built-in function of that name, bfNone when there is none.
TExpBuiltin FindBuiltin(std::string_view name);
// Whether the function is only a function when called with arguments.
bool BuiltinNeedsArguments(TExpBuiltin function);

// Computes the function of a call node whose children are the arguments.
void CallBuiltin(TExpBuiltin function, const TExpNode& call, const TExpFrame& frame,
                 Vdei::Variant& value);

// left raised to the power right, both read as floats.
Vdei::Variant PowerOf(const Vdei::Variant& left, const Vdei::Variant& right);

}  // namespace VdImport
