// The SQL backends behind TQuery: running a statement on SQLite or
// PostgreSQL and reading its result into a RecordStore with typed columns.
// Internal to the dataset layer.
//
// A backend describes the result's columns (ResultColumn), then hands each
// value to ResultBuilder in the form its C API gives it; the builder
// converts it to the column's type (raising EConvertError naming the
// field when it does not convert) and finally writes the FieldDefs. Each
// backend maps its C API's errors to EDatabaseError in one place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dataset/FieldDefs.h"
#include "dataset/RecordStore.h"

namespace Vdei {

struct ResultColumn {
  std::string Name;
  TFieldType Type = ftUnknown;  // ftUnknown: taken from the first non-null value
  int Size = 0;
  bool SizeFromData = false;  // Size := the longest value (at least 1)
  bool Required = false;
};

// The field type of a declared column type (SMALLINT, VARCHAR(30), ...).
// Types outside the known names fall back to SQLite's affinity rules; a
// type with numeric affinity gives ftUnknown (typed by its values).
ResultColumn MapDeclaredType(std::string_view declaredType);

class ResultBuilder {
 public:
  explicit ResultBuilder(RecordStore& store) : store_(store) {}

  // Empties the store for records of these columns.
  void Start(std::vector<ResultColumn> columns);
  // Takes the columns of a store that already has their layout, to add
  // records to it or fill rows of it.
  void Continue(std::vector<ResultColumn> columns);
  const std::vector<ResultColumn>& Columns() const { return columns_; }
  void BeginRow() { row_ = store_.Row(store_.Append()); }
  // Fills the given row (of the store's layout) instead of a new record.
  void BeginRow(RecordWord* row) { row_ = row; }
  // Values; a column left unset in a row is null.
  void SetInteger(int column, int64_t value);
  void SetFloat(int column, double value);
  // Text from the database (UTF-8, or bytes for blob columns).
  void SetText(int column, std::string_view text);
  void SetBytes(int column, std::string_view bytes);
  // Writes one definition per column (duplicate names get "_1", "_2"...).
  void Finish(TFieldDefs& defs);

 private:
  void SetSlot(int column, RecordWord value);
  void SetArenaText(int column, std::string_view text);
  void ResolveType(int column, TFieldType type);

  RecordStore& store_;
  std::vector<ResultColumn> columns_;
  std::vector<size_t> longest_;
  RecordWord* row_ = nullptr;
};

// Run sql on the database; with a builder the statement must give a
// result set, which is read whole into it.
void ExecuteSqlite(const std::string& path, const std::string& sql, ResultBuilder* result);
void ExecutePostgres(const std::string& uri, const std::string& sql, ResultBuilder* result);

}  // namespace Vdei
