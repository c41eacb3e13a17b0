// TVdIDataType: the type of one import column, as a reader finds it in its
// source (the XML package's fieldtype) or the base derives it from a
// dataset field. itMemo and itBlob are the package's "bin.hex" / "blob"
// columns (text and binary contents); the ordinals of the first seven are
// fixed.
#pragma once

namespace VdImport {

enum TVdIDataType {
  itString,
  itInteger,
  itFloat,
  itDateTime,
  itDate,
  itTime,
  itBoolean,
  itMemo,
  itBlob
};

}  // namespace VdImport
