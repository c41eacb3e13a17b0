#include "import/VdIConvert.h"

#include "core/Exception.h"
#include "core/NumberFormat.h"
#include "core/StrUtils.h"
#include "dataset/Field.h"
#include "import/VdIMIME.h"
#include "import/VdIUtils.h"

namespace VdImport {

using Vdei::TField;
using Vdei::Variant;

namespace {

constexpr std::string_view kCDataOpen = "[CDATA[";
constexpr std::string_view kCDataClose = "]]";

void Unwrap(Variant& value, const TField& field) {
  if (!value.IsString()) return;
  std::string_view text = value.StringRef();
  if (text.starts_with(kCDataOpen)) {
    text.remove_prefix(kCDataOpen.size());
    if (text.ends_with(kCDataClose)) text.remove_suffix(kCDataClose.size());
    value = DecodeBase64(text);
  } else if (field.IsBlobField()) {
    value = DecodeBase64(text);
  }
}

// Blanks only and the field's own name (a header row, or an absent XML
// attribute) read as 0.
bool ReadsAsZero(std::string_view trimmed, const TField& field) {
  return trimmed.empty() || Vdei::SameText(trimmed, field.FieldName());
}

void ToInteger(Variant& value, const TField& field) {
  const std::string_view text = Vdei::Trim(value.StringRef());
  if (ReadsAsZero(text, field)) {
    value = int64_t{0};
  } else if (IsNumeric(text)) {
    value = Vdei::StrToInt64(text);
  }
}

// The text without thousand separators and without the first currency
// string.
std::string PlainNumberText(std::string_view text, const TVdIDataFormats& formats) {
  std::string plain;
  plain.reserve(text.size());
  const char thousand = formats.ThousandSeparator();
  const bool dropThousand = thousand != '\0' && thousand != formats.DecimalSeparator();
  for (char c : text) {
    if (!dropThousand || c != thousand) plain.push_back(c);
  }
  const std::string& currency = formats.CurrencyString();
  const size_t at = currency.empty() ? std::string::npos : plain.find(currency);
  if (at != std::string::npos) plain.erase(at, currency.size());
  return plain;
}

void ToFloat(Variant& value, const TField& field, const TVdIDataFormats& formats) {
  const std::string_view text = Vdei::Trim(value.StringRef());
  if (ReadsAsZero(text, field)) {
    value = int64_t{0};
    return;
  }
  std::string plain(Vdei::Trim(PlainNumberText(text, formats)));
  double number = 0;
  if (Vdei::SameText(plain, field.FieldName())) {
    value = int64_t{0};
  } else if (!IsNumeric(plain, formats.DecimalSeparator())) {
    value = std::move(plain);
  } else if (Vdei::TryStrToFloat(plain, number, formats.DecimalSeparator())) {
    value = number;
  } else {
    throw Vdei::EConvertError(
        Vdei::Format("'%s' is not a valid floating point value", plain.c_str()));
  }
}

void ToDateTime(Variant& value, const TField& field, const TVdIDataFormats& formats,
                const std::string& mask) {
  const std::string_view text = Vdei::Trim(value.StringRef());
  if (ReadsAsZero(text, field)) {
    value = int64_t{0};
    return;
  }
  value = Variant::DateTime(
      ParseDateTime(text, mask, formats.DateSeparator(), formats.TimeSeparator()));
}

void ToBoolean(Variant& value, const TVdIDataFormats& formats) {
  const std::string text = value.AsString();
  const std::string_view word = Vdei::Trim(text);
  if (word == formats.BooleanTrue() || word == "1" || word == "T" || word == "Y") {
    value = true;
  } else if (word == formats.BooleanFalse() || word == "0" || word == "F" || word == "N") {
    value = false;
  }
}

}  // namespace

TVdIConversion::TVdIConversion(const TVdIDataFormats& formats, int importKind, bool allowsCData)
    : Formats(formats),
      AllowsCData(allowsCData),
      DateTimeMask(GetDateTimeMask(formats, importKind)),
      TimeMask(GetTimeMask(formats, importKind)) {}

void ConvertFieldValue(Variant& value, const TField& field, const TVdIDataFormats& formats,
                       int importKind, bool allowsCData) {
  if (value.IsNullOrEmpty()) return;
  ConvertFieldValue(value, field, TVdIConversion(formats, importKind, allowsCData));
}

void ConvertFieldValue(Variant& value, const TField& field, const TVdIConversion& conversion) {
  if (value.IsNullOrEmpty()) return;
  const TVdIDataFormats& formats = conversion.Formats;
  if (conversion.AllowsCData) Unwrap(value, field);
  switch (field.DataType()) {
    case Vdei::ftSmallint:
    case Vdei::ftInteger:
    case Vdei::ftWord:
    case Vdei::ftAutoInc:
      if (value.IsString()) ToInteger(value, field);
      return;
    case Vdei::ftFloat:
    case Vdei::ftCurrency:
    case Vdei::ftBCD:
      if (value.IsString()) ToFloat(value, field, formats);
      return;
    case Vdei::ftDate:
    case Vdei::ftDateTime:
      if (value.IsString()) ToDateTime(value, field, formats, conversion.DateTimeMask);
      return;
    case Vdei::ftTime:
      if (value.IsString()) ToDateTime(value, field, formats, conversion.TimeMask);
      return;
    case Vdei::ftBoolean:
      ToBoolean(value, formats);
      return;
    default:
      return;
  }
}

}  // namespace VdImport
