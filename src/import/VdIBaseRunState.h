// What the files of the import component's run share: the state of one run
// (its compiled sources, made by ImportRecords and used by the row
// evaluation of the same run) and a few helpers. Private to the import
// component.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/Variant.h"
#include "dataset/DataSet.h"
#include "dataset/Field.h"
#include "import/VdICompiledSource.h"
#include "import/VdIConvert.h"

namespace VdImport {

// Whether the dataset holds a record being changed.
inline bool IsChanging(const Vdei::TDataSet& dataSet) {
  const Vdei::TDataSetState state = dataSet.State();
  return state == Vdei::dsEdit || state == Vdei::dsInsert || state == Vdei::dsSetKey;
}

// The message of an error of any kind.
inline std::string MessageOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "Unknown error";
  }
}

// Raised by the store of a row whose error was reported already and stops
// the run: the row handler passes the error on without reporting it again.
struct TStopRun {
  std::exception_ptr Error;
};

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
