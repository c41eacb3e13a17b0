// TFieldType: the type of a dataset field. The ordinals are fixed: type
// tables of the export and import libraries are indexed by them.
#pragma once

namespace Vdei {

enum TFieldType {
  ftUnknown,      // 0
  ftString,       // 1  text of at most Size characters
  ftSmallint,     // 2  16-bit signed integer
  ftInteger,      // 3  32-bit signed integer
  ftWord,         // 4  16-bit unsigned integer
  ftBoolean,      // 5
  ftFloat,        // 6  double
  ftCurrency,     // 7  money amount held as a double
  ftBCD,          // 8  packed decimal number
  ftDate,         // 9
  ftTime,         // 10
  ftDateTime,     // 11
  ftBytes,        // 12 fixed-length bytes
  ftVarBytes,     // 13 variable-length bytes
  ftAutoInc,      // 14 32-bit integer assigned by the dataset
  ftBlob,         // 15
  ftMemo,         // 16
  ftGraphic,      // 17 picture
  ftFmtMemo,      // 18
  ftParadoxOle,   // 19
  ftDBaseOle,     // 20
  ftTypedBinary,  // 21
  ftCursor,       // 22 never exported
};

}  // namespace Vdei
