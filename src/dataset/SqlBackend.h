// The SQL backends behind TQuery: running a statement on SQLite or
// PostgreSQL and reading its result into a RecordStore with typed columns.
// Internal to the dataset layer.
//
// A backend describes the result's columns (ResultColumn), then hands each
// value to ResultBuilder in the form its C API gives it; the builder
// converts it to the column's type (raising EConvertError naming the
// field when it does not convert) and finally writes the FieldDefs. Each
// backend maps its C API's errors to EDatabaseError in one place.
//
// A builder given a ResultSink hands its records on in batches while the
// statement runs, when every column's type and size are declared (nothing
// depends on the values); otherwise it keeps the whole result, as without
// a sink.
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

// Where a builder hands its records in batches (ForwardReader.h).
class ResultSink {
 public:
  virtual ~ResultSink() = default;
  // The final columns, once they are known.
  virtual void ColumnsKnown(std::vector<ResultColumn> columns) = 0;
  // Takes the records of the full batch, leaving the store empty with the
  // same layout; may block, and raises when the reading is to stop.
  virtual void BatchFull(RecordStore& batch) = 0;
  // Whether the reading is to stop (from any thread).
  virtual bool Stopped() const = 0;
};

class ResultBuilder {
 public:
  explicit ResultBuilder(RecordStore& store, ResultSink* sink = nullptr, size_t batchRows = 0)
      : store_(store), sink_(sink), batchRows_(batchRows) {}

  // Empties the store for records of these columns.
  void Start(std::vector<ResultColumn> columns);
  // Takes the columns of a store that already has their layout, to add
  // records to it or fill rows of it.
  void Continue(std::vector<ResultColumn> columns);
  const std::vector<ResultColumn>& Columns() const { return columns_; }
  void BeginRow() {
    if (streaming_ && store_.Count() >= batchRows_) sink_->BatchFull(store_);
    row_ = store_.Row(store_.Append());
    rowOpen_ = true;
  }
  // The row begun last has all its values.
  void EndRow() { rowOpen_ = false; }
  // Removes a row left half read by an error.
  void DropOpenRow();
  // Whether the builder was given a sink for batches, and whether the
  // records go to it batch by batch (all columns declared).
  bool TakesBatches() const { return sink_ != nullptr && batchRows_ > 0; }
  bool Streaming() const { return streaming_; }
  bool Stopped() const { return sink_ != nullptr && sink_->Stopped(); }
  // Fills the given row (of the store's layout) instead of a new record.
  void BeginRow(RecordWord* row) { row_ = row; }
  // Values; a column left unset in a row is null.
  void SetInteger(int column, int64_t value);
  void SetFloat(int column, double value);
  // Text from the database (UTF-8, or bytes for blob columns).
  void SetText(int column, std::string_view text);
  void SetBytes(int column, std::string_view bytes);
  // The columns with their final types and sizes (from the values read).
  std::vector<ResultColumn> FinalColumns() const;
  // Writes one definition per column (duplicate names get "_1", "_2"...).
  void Finish(TFieldDefs& defs) { WriteFieldDefs(FinalColumns(), defs); }
  static void WriteFieldDefs(const std::vector<ResultColumn>& columns, TFieldDefs& defs);

 private:
  void SetSlot(int column, RecordWord value);
  void SetArenaText(int column, std::string_view text);
  void ResolveType(int column, TFieldType type);

  RecordStore& store_;
  ResultSink* sink_;
  size_t batchRows_;
  bool streaming_ = false;
  std::vector<ResultColumn> columns_;
  std::vector<size_t> longest_;
  RecordWord* row_ = nullptr;
  bool rowOpen_ = false;
};

// Run sql on the database; with a builder the statement must give a
// result set, which is read whole into it.
void ExecuteSqlite(const std::string& path, const std::string& sql, ResultBuilder* result);
void ExecutePostgres(const std::string& uri, const std::string& sql, ResultBuilder* result);

}  // namespace Vdei
