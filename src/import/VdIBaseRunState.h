// The compiled sources of one import run, made by ImportRecords and used by
// the row evaluation of the same run (VdIBaseRow.cpp). Private to the
// import component.
#pragma once

#include <memory>
#include <vector>

#include "core/Variant.h"
#include "dataset/Field.h"
#include "import/VdICompiledSource.h"
#include "import/VdIConvert.h"

namespace VdImport {

// Whether a value has no text: Empty, Null or an empty string (numbers,
// dates and Booleans always have one; an array raises, having none).
inline bool IsEmptyText(const Vdei::Variant& value) {
  if (value.IsNullOrEmpty()) return true;
  if (value.IsString()) return value.StringRef().empty();
  return value.IsArray() && value.AsString().empty();
}

struct TVdIRunState {
  TVdIRunState(const TVdIDataFormats& formats, int importKind, bool allowsCData)
      : Conversion(formats, importKind, allowsCData) {}

  // The conversion of values for their fields, its masks made once.
  TVdIConversion Conversion;
  // The target dataset's fields by index.
  std::vector<Vdei::TField*> Fields;
  // One per import entry, in the entries' order.
  std::vector<std::unique_ptr<TVdICompiledSource>> Sources;
  // The load condition's two expressions; none when not set.
  std::unique_ptr<TVdICompiledSource> LoadWhen;
  std::unique_ptr<TVdICompiledSource> SkipIf;
};

}  // namespace VdImport
