// Integer, float, currency and BCD fields.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/FormatSettings.h"
#include "core/NumberFormat.h"
#include "core/StrUtils.h"
#include "dataset/Fields.h"
#include "dataset/ValueText.h"

namespace Vdei {

namespace {

// A whole number of double range read as int64, or false.
bool RoundToInt64(double value, int64_t& result) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.2233720368547758e18) return false;
  result = std::llround(value);
  return true;
}

// value rounded to `digits` significant digits.
double RoundToDigits(double value, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
  return std::strtod(text, nullptr);
}

}  // namespace

// --- TIntegerField ----------------------------------------------------------

TIntegerField::TIntegerField(TFieldType type, int64_t minValue, int64_t maxValue)
    : TNumericField(type), minValue_(minValue), maxValue_(maxValue) {}

Variant TIntegerField::Value() const {
  int64_t value;
  return ReadInt(value) ? Variant(value) : Variant::Null();
}

void TIntegerField::SetValue(const Variant& value) {
  switch (value.Type()) {
    case varEmpty:
    case varNull: return Clear();
    case varString: return SetAsString(value.StringRef());
    case varFloat:
    case varCurrency:
    case varDateTime: return SetAsFloat(value.AsFloat());
    default: return SetAsInteger(value.AsInteger());
  }
}

std::string TIntegerField::AsString() const {
  int64_t value;
  return ReadInt(value) ? IntToStr(value) : std::string();
}

int64_t TIntegerField::AsInteger() const {
  int64_t value;
  return ReadInt(value) ? value : 0;
}

double TIntegerField::AsFloat() const { return static_cast<double>(AsInteger()); }
bool TIntegerField::AsBoolean() const { return AsInteger() != 0; }

void TIntegerField::SetAsString(std::string_view text) {
  if (Trim(text).empty()) return Clear();
  int64_t value;
  if (!TryStrToInt64(text, value)) ThrowInvalidText(text, "integer");
  SetAsInteger(value);
}

void TIntegerField::SetAsInteger(int64_t value) {
  if (value < minValue_ || value > maxValue_)
    ThrowRange(static_cast<double>(value), static_cast<double>(minValue_),
               static_cast<double>(maxValue_));
  WriteInt(value);
}

void TIntegerField::SetAsFloat(double value) {
  int64_t rounded;
  if (!RoundToInt64(value, rounded))
    ThrowRange(value, static_cast<double>(minValue_), static_cast<double>(maxValue_));
  if (rounded < minValue_ || rounded > maxValue_)
    ThrowRange(value, static_cast<double>(minValue_), static_cast<double>(maxValue_));
  WriteInt(rounded);
}

// --- TFloatField and TCurrencyField -----------------------------------------

Variant TFloatField::Value() const {
  double value;
  return ReadDouble(value) ? Variant(value) : Variant::Null();
}

Variant TCurrencyField::Value() const {
  double value;
  return ReadDouble(value) ? Variant::Currency(value) : Variant::Null();
}

void TFloatField::SetValue(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  if (value.IsString()) return SetAsString(value.StringRef());
  SetAsFloat(value.AsFloat());
}

std::string TFloatField::AsString() const {
  double value;
  return ReadDouble(value) ? FloatToStr(value) : std::string();
}

int64_t TFloatField::AsInteger() const {
  int64_t rounded = 0;
  if (!RoundToInt64(AsFloat(), rounded)) ThrowInvalidText(AsString(), "integer");
  return rounded;
}

double TFloatField::AsFloat() const {
  double value;
  return ReadDouble(value) ? value : 0;
}

bool TFloatField::AsBoolean() const { return AsFloat() != 0; }

void TFloatField::SetAsString(std::string_view text) {
  if (Trim(text).empty()) return Clear();
  double value;
  if (!TryStrToFloat(text, value)) ThrowInvalidText(text, "floating point");
  SetAsFloat(value);
}

void TFloatField::SetAsFloat(double value) { WriteDouble(value); }

std::string TFloatField::FormatDisplayText() const {
  double value;
  if (!ReadDouble(value)) return std::string();
  if (precision_ > 0 && precision_ < 15 && std::isfinite(value))
    value = RoundToDigits(value, precision_);
  return FloatToStr(value);
}

std::string TCurrencyField::FormatDisplayText() const {
  double value;
  return ReadDouble(value) ? FormatCurrency(value) : std::string();
}

// --- TBCDField ----------------------------------------------------------------


Variant TBCDField::Value() const {
  std::string_view text;
  if (!ReadText(text)) return Variant::Null();
  int64_t whole;
  if (TryStrToInt64(text, whole)) return Variant(whole);
  return Variant(AsFloat());
}

void TBCDField::SetValue(const Variant& value) {
  switch (value.Type()) {
    case varEmpty:
    case varNull: return Clear();
    case varString: return SetAsString(value.StringRef());
    case varInteger:
    case varBoolean: return SetAsInteger(value.AsInteger());
    default: return SetAsFloat(value.AsFloat());
  }
}

std::string TBCDField::AsString() const {
  std::string_view stored;
  if (!ReadText(stored)) return std::string();
  std::string text(stored);
  const size_t point = text.find('.');
  if (point != std::string::npos) text[point] = FormatSettings().DecimalSeparator;
  return text;
}

int64_t TBCDField::AsInteger() const {
  std::string_view text;
  if (!ReadText(text)) return 0;
  int64_t value;
  if (TryStrToInt64(text, value)) return value;
  if (!RoundToInt64(AsFloat(), value)) ThrowInvalidText(AsString(), "integer");
  return value;
}

double TBCDField::AsFloat() const {
  std::string_view text;
  double value = 0;
  if (ReadText(text)) TryStrToFloat(text, value, '.');
  return value;
}

void TBCDField::SetAsString(std::string_view text) {
  if (Trim(text).empty()) return Clear();
  std::string canonical;
  if (CanonicalDecimal(text, FormatSettings().DecimalSeparator, canonical))
    return WriteText(canonical);
  double value;
  if (!TryStrToFloat(text, value)) ThrowInvalidText(text, "floating point");
  SetAsFloat(value);
}

void TBCDField::SetAsInteger(int64_t value) { WriteText(IntToStr(value)); }

void TBCDField::SetAsFloat(double value) {
  if (!std::isfinite(value)) ThrowInvalidText(FloatToStr(value), "floating point");
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  std::string canonical;
  if (!CanonicalDecimal(text, '.', canonical)) {
    std::snprintf(text, sizeof text, "%.15f", value);
    CanonicalDecimal(text, '.', canonical);
  }
  WriteText(canonical);
}

}  // namespace Vdei
