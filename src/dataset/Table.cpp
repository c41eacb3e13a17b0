#include "dataset/Table.h"

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/Database.h"
#include "dataset/TableBackend.h"
#include "dataset/ValueText.h"

namespace Vdei {

const TClassInfo& TTable::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TTable, TDataSet>("TTable")
          .String("DatabaseName", &TTable::DatabaseName,
                  [](TTable& t, std::string v) { t.SetDatabaseName(std::move(v)); })
          .String("IndexFieldName", &TTable::IndexFieldName,
                  [](TTable& t, std::string v) { t.SetIndexFieldName(std::move(v)); })
          .String("TableName", &TTable::TableName,
                  [](TTable& t, std::string v) { t.SetTableName(std::move(v)); })
          .Build();
  return info;
}

TTable::TTable(TComponent* owner) : TDataSet(owner) {}

TTable::~TTable() {
  Close();
}

void TTable::SetDatabaseName(std::string name) {
  Close();
  databaseName_ = std::move(name);
}

void TTable::SetTableName(std::string name) {
  Close();
  tableName_ = std::move(name);
}

std::string TTable::IndexFieldName() const {
  if (!indexFieldName_.empty() || !description_) return indexFieldName_;
  std::string names;
  for (const std::string& name : description_->PrimaryKey)
    names += (names.empty() ? "" : ";") + name;
  return names;
}

// --- opening and reading --------------------------------------------------------

void TTable::InternalOpen() {
  if (tableName_.empty()) throw EDatabaseError("Property TableName is not set");
  try {
    const TDatabaseLocation location = ResolveDatabaseName(databaseName_);
    connection_ = location.Kind == dkPostgreSQL ? ConnectPostgresTable(location.Target)
                                                : ConnectSqliteTable(location.Target);
    description_ = std::make_unique<TableDescription>(connection_->Describe(tableName_));
    for (ResultColumn& column : description_->Columns) {
      column.Size = column.SizeFromData ? 0 : column.Size;  // unbounded texts
      column.SizeFromData = false;
    }
    ReadRecords(true);
  } catch (...) {
    InternalClose();
    throw;
  }
  FieldDefs()->Clear();
  for (const ResultColumn& column : description_->Columns)
    FieldDefs()->Add(column.Name, column.Type, column.Size, column.Required);
}

void TTable::InternalClose() {
  if (inTransaction_ && connection_) {
    try {
      connection_->Execute("ROLLBACK");
    } catch (const Exception&) {
      // The connection is dropped anyway, which rolls back too.
    }
  }
  inTransaction_ = inRow_ = false;
  insertStatements_.clear();
  updateStatements_.clear();
  writer_.reset();
  connection_.reset();
}

std::string TTable::SelectStatement() const {
  std::string sql = "SELECT ";
  for (const ResultColumn& column : description_->Columns)
    sql += QuoteIdentifier(column.Name) + ", ";
  return sql + connection_->LocatorColumn() + " FROM " + QuoteIdentifier(tableName_);
}

// Records hold the columns and then the row's locator.
void TTable::ReadRecords(bool first) {
  std::vector<ResultColumn> columns = description_->Columns;
  columns.push_back(ResultColumn{"", ftInteger});
  ResultBuilder reader(Store());
  if (first) {
    reader.Start(columns);
  } else {
    Store().Clear();
    reader.Continue(columns);
  }
  connection_->ReadRows(SelectStatement(), reader);
  // Columns without a declared type take the type of their values.
  columns = reader.Columns();
  for (size_t i = 0; i < description_->Columns.size(); ++i) {
    const TFieldType type = columns[i].Type == ftUnknown ? ftString : columns[i].Type;
    description_->Columns[i].Type = columns[i].Type = type;
  }
  writer_ = std::make_unique<ResultBuilder>(Store());
  writer_->Continue(std::move(columns));
}

void TTable::Refresh() {
  CheckConnected();
  Cancel();
  ReadRecords(false);
  RecordsReplaced();
}

// --- transactions ---------------------------------------------------------------

void TTable::CheckConnected() const {
  CheckActive();
  if (!connection_) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TTable::StartTransaction() {
  CheckConnected();
  if (inTransaction_) throw EDatabaseError("A transaction is already active");
  connection_->Execute("BEGIN");
  inTransaction_ = true;
}

void TTable::Commit() {
  CheckConnected();
  if (!inTransaction_) throw EDatabaseError("No transaction is active");
  CheckBrowseMode();
  inTransaction_ = inRow_ = false;
  try {
    connection_->Commit();
  } catch (const Exception&) {
    Refresh();
    throw;
  }
}

void TTable::Rollback() {
  CheckConnected();
  if (!inTransaction_) throw EDatabaseError("No transaction is active");
  Cancel();
  inTransaction_ = inRow_ = false;
  connection_->Execute("ROLLBACK");
  Refresh();
}

void TTable::BeginRow() {
  CheckConnected();
  if (!inTransaction_) return;
  if (inRow_) connection_->Execute("RELEASE SAVEPOINT vdei_row");
  connection_->Execute("SAVEPOINT vdei_row");
  inRow_ = true;
  rowWrote_ = false;
}

void TTable::ReleaseRow() {
  if (!inRow_) return;
  inRow_ = false;
  connection_->Execute("RELEASE SAVEPOINT vdei_row");
}

void TTable::RollbackRow() {
  Cancel();
  if (!inRow_) return;
  inRow_ = false;
  connection_->Execute("ROLLBACK TO SAVEPOINT vdei_row");
  connection_->Execute("RELEASE SAVEPOINT vdei_row");
  if (rowWrote_) Refresh();
}

}  // namespace Vdei
