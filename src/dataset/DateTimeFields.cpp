// Date, time and date-time fields.
#include <cmath>

#include "core/DateTimeFormat.h"
#include "core/StrUtils.h"
#include "dataset/Fields.h"

namespace Vdei {

Variant TDateTimeField::Value() const {
  double value;
  return ReadDouble(value) ? Variant::DateTime(value) : Variant::Null();
}

void TDateTimeField::SetValue(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  if (value.IsString()) return SetAsString(value.StringRef());
  SetAsDateTime(value.AsDateTime());
}

std::string TDateTimeField::AsString() const {
  double value;
  if (!ReadDouble(value)) return std::string();
  switch (DataType()) {
    case ftDate: return DateToStr(value);
    case ftTime: return TimeToStr(value);
    default: return DateTimeToStr(value);
  }
}

int64_t TDateTimeField::AsInteger() const { return std::llround(AsDateTime()); }

TDateTime TDateTimeField::AsDateTime() const {
  double value;
  return ReadDouble(value) ? value : 0;
}

void TDateTimeField::SetAsString(std::string_view text) {
  if (Trim(text).empty()) return Clear();
  TDateTime value;
  switch (DataType()) {
    case ftDate:
      if (!TryStrToDate(text, value)) ThrowInvalidText(text, "date");
      break;
    case ftTime:
      if (!TryStrToTime(text, value)) ThrowInvalidText(text, "time");
      break;
    default:
      if (!TryStrToDateTime(text, value)) ThrowInvalidText(text, "date and time");
  }
  SetAsDateTime(value);
}

void TDateTimeField::SetAsDateTime(TDateTime value) { WriteDouble(value); }

void TDateField::SetAsDateTime(TDateTime value) { WriteDouble(DateOf(value)); }

void TTimeField::SetAsDateTime(TDateTime value) { WriteDouble(TimeOf(value)); }

}  // namespace Vdei
