// The conversion of a source cell's value for the dataset field it fills.
//
// ConvertFieldValue takes the value an import evaluated for a field (the
// cell text after trimming) and turns it into a value of the field's kind
// under the data formats:
//   1. With allowsCData (the XML reader): a text that begins with
//      "[CDATA[" becomes the Base64 decoding of what lies between it and a
//      closing "]]"; otherwise, for a blob field, the Base64 decoding of the
//      text.
//   2. By the field's type, for text values:
//      - integer types: blanks only, or the field's own name (any letter
//        case): 0; a number text: its integer; otherwise the text stays.
//      - float, currency, BCD: blanks only or the field's name: 0;
//        otherwise every ThousandSeparator and the first CurrencyString
//        are removed, and a number text with DecimalSeparator becomes a
//        float (the field's name gives 0, anything else stays as the text
//        without those characters). No process-wide setting changes.
//      - date, date-time: blanks only or the field's name: 0; otherwise
//        ParseDateTime with GetDateTimeMask (GetTimeMask for time fields).
//      - Boolean (any value, by its text): BooleanTrue, "1", "T", "Y" give
//        true; BooleanFalse, "0", "F", "N" false (exact, case-sensitive);
//        any other value stays.
//      - other types: unchanged.
// Null and Empty values pass unchanged. Failures (a corrupt Base64 text,
// a number or date text that does not convert, an impossible date) raise
// EConvertError; value then holds what it had reached, which the caller
// keeps.
#pragma once

#include "core/Variant.h"
#include "import/VdIDataFormats.h"

namespace Vdei {
class TField;
}

namespace VdImport {

void ConvertFieldValue(Vdei::Variant& value, const Vdei::TField& field,
                       const TVdIDataFormats& formats, int importKind, bool allowsCData);

// The settings of the conversion with the date masks made once, for a run
// that converts many values under the same settings (which must outlive
// it and not change meanwhile).
struct TVdIConversion {
  TVdIConversion(const TVdIDataFormats& formats, int importKind, bool allowsCData);
  const TVdIDataFormats& Formats;
  bool AllowsCData;
  std::string DateTimeMask;  // GetDateTimeMask
  std::string TimeMask;      // GetTimeMask
};

void ConvertFieldValue(Vdei::Variant& value, const Vdei::TField& field,
                       const TVdIConversion& conversion);

}  // namespace VdImport
