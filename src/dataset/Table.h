// TTable: one table of a database as a writable dataset.
//
//   TTable table(nullptr);
//   table.SetDatabaseName("sqlite:/data/shop.db");   // alias, URL or path (Database.h)
//   table.SetTableName("Customer");
//   table.Open();
//   table.StartTransaction();
//   table.Append(); table.FieldByName("Name")->SetAsString("x"); table.Post();
//   table.Commit();
//
// Open connects (the connection stays open until Close), reads the table's
// columns with their declared types mapped as TQuery maps them (Query.h),
// NOT NULL flags (Required, unless the database has a default for the
// column) and primary key, and reads every row into memory. String fields
// take the declared length as Size (0 for unbounded texts); a longer text
// raises EConvertError naming the field and the text instead of being cut,
// as a value out of a field's range raises, Post raises EConvertError for
// a decimal that does not fit its column (BIGINT: 64 bits; NUMERIC(p,s):
// p digits, s after the point) and "Field '%s' must have a value" for a
// Null in a NOT NULL column: nothing is cut or changed on the way.
//
// Changes go to the database at once, by prepared statements with the
// values bound (table and column names quoted, nothing pasted): Post of an
// appended record inserts it (columns left null that have a default are
// left out, and the values the database gives them are read back), Post of
// an edited record updates the columns that changed, Delete deletes. The
// records in memory change only after the database took the change, so
// Locate (with its key indexes, DataSet.h) sees every change of the run
// without a query. Dates, times and date-times go to SQLite as ISO 8601
// texts ("2001-03-15", "14:30:05", "2001-03-15 14:30:05.123"), to
// PostgreSQL into its date and time types.
//
// Transactions: StartTransaction, then Commit or Rollback (which reads the
// records again). A Commit that the database answers with a rollback
// raises EDatabaseError (and the records are read again). Inside a
// transaction, BeginRow / ReleaseRow / RollbackRow put one row's changes
// in a savepoint, so that a row whose Post or Delete failed is undone
// alone and the transaction goes on (a failed statement otherwise spoils a
// PostgreSQL transaction); RollbackRow also cancels the record being
// changed, and reads the records again when the row had changed the
// database before it failed. Outside a transaction every statement commits
// by itself and the row calls do nothing. Close rolls back an open
// transaction.
//
// Published: "DatabaseName", "TableName", "IndexFieldName" (strings) and
// "Active". IndexFieldName reads as set, or when not set as the primary
// key's columns separated by ";" (known once the table was opened).
// Changing DatabaseName or TableName closes the table.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "dataset/DataSet.h"

namespace Vdei {

class ResultBuilder;
class TableConnection;
struct TableDescription;
struct SqlParam;

class TTable : public TDataSet {
 public:
  VDEI_CLASS(TTable)
  explicit TTable(TComponent* owner);
  ~TTable() override;

  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(std::string name);
  const std::string& TableName() const { return tableName_; }
  void SetTableName(std::string name);
  std::string IndexFieldName() const;
  void SetIndexFieldName(std::string names) { indexFieldName_ = std::move(names); }

  // The batches of TDataSet, done by the database (see above).
  void StartTransaction() override;
  void Commit() override;
  void Rollback() override;
  bool InTransaction() const override { return inTransaction_; }
  void BeginRow() override;
  void ReleaseRow() override;
  void RollbackRow() override;
  // Reads the records again (the cursor goes to the first).
  void Refresh();

  bool CutsLongStrings() const override { return false; }

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  void InternalPost(const RecordWord* original, RecordWord* row) override;
  void InternalDelete(const RecordWord* row) override;

 private:
  void CheckConnected() const;
  void ReadRecords(bool first);
  std::string SelectStatement() const;
  void Insert(RecordWord* row);
  void Update(const RecordWord* original, RecordWord* row);
  // Statement texts by the columns they write, made once per column set.
  const std::string& InsertStatement(const std::vector<bool>& written);
  const std::string& UpdateStatement(const std::vector<bool>& changed);
  bool ValueChanged(const RecordWord* original, const RecordWord* row, int column) const;
  SqlParam ParamOf(const RecordWord* row, int column) const;
  int64_t LocatorOf(const RecordWord* row) const;
  // Runs a statement that writes; with returning, its result row fills
  // row's columns.
  int64_t Write(const std::string& sql, const std::vector<SqlParam>& params, RecordWord* row,
                const std::vector<int>& returning);

  std::string databaseName_;
  std::string tableName_;
  std::string indexFieldName_;
  std::unique_ptr<TableConnection> connection_;
  std::unique_ptr<TableDescription> description_;
  std::unique_ptr<ResultBuilder> writer_;  // reads returned values into rows
  std::unordered_map<std::vector<bool>, std::string> insertStatements_;
  std::unordered_map<std::vector<bool>, std::string> updateStatements_;
  bool inTransaction_ = false;
  bool inRow_ = false;
  bool rowWrote_ = false;  // a statement of the current row changed the database
};

}  // namespace Vdei
