#include "dataset/Query.h"

#include "core/Exception.h"
#include "core/Properties.h"
#include "dataset/Database.h"
#include "dataset/ForwardReader.h"
#include "dataset/SqlBackend.h"

namespace Vdei {

const TClassInfo& TQuery::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TQuery, TDataSet>("TQuery")
          .String("DatabaseName", &TQuery::DatabaseName,
                  [](TQuery& q, std::string v) { q.SetDatabaseName(std::move(v)); })
          .Object<TStrings>("SQL", &TQuery::SQL, &TQuery::SetSQL)
          .Boolean("UniDirectional", &TQuery::UniDirectional, &TQuery::SetUniDirectional,
                   Variant(false))
          .Build();
  return info;
}

TQuery::TQuery(TComponent* owner) : TDataSet(owner), sql_(std::make_unique<TStringList>()) {
  sql_->OnChange = [this](TObject*) { Close(); };
}

TQuery::~TQuery() {
  sql_->OnChange = nullptr;
}

void TQuery::SetSQL(const TStrings* lines) {
  if (lines != nullptr) sql_->Assign(*lines);
}

void TQuery::SetDatabaseName(std::string name) {
  Close();
  databaseName_ = std::move(name);
}

void TQuery::SetUniDirectional(bool value) {
  Close();
  uniDirectional_ = value;
}

std::string TQuery::StatementText() const {
  std::string text;
  for (int i = 0; i < sql_->Count(); ++i) text += (i ? "\n" : "") + sql_->Strings(i);
  return text;
}

namespace {

void RunStatement(const TDatabaseLocation& location, const std::string& sql,
                  ResultBuilder* result) {
  if (location.Kind == dkPostgreSQL) {
    ExecutePostgres(location.Target, sql, result);
  } else {
    ExecuteSqlite(location.Target, sql, result);
  }
}

constexpr size_t kBatchRecords = 4096;
constexpr size_t kQueuedBatches = 4;

}  // namespace

void TQuery::Execute(ResultBuilder* result) const {
  RunStatement(ResolveDatabaseName(databaseName_), StatementText(), result);
}

void TQuery::InternalOpen() {
  if (uniDirectional_) return OpenForwardOnly();
  ResultBuilder result(Store());
  Execute(&result);
  result.Finish(*FieldDefs());
}

void TQuery::OpenForwardOnly() {
  const TDatabaseLocation location = ResolveDatabaseName(databaseName_);
  try {
    reader_ = std::make_unique<ForwardReader>(
        [location, sql = StatementText()](ResultBuilder& result) {
          RunStatement(location, sql, &result);
        },
        kBatchRecords, kQueuedBatches);
    const std::vector<ResultColumn> columns = reader_->Columns();
    ResultBuilder::WriteFieldDefs(columns, *FieldDefs());
    Store().Reset(static_cast<int>(columns.size()));
    FetchNextRecords();
  } catch (...) {
    reader_.reset();
    throw;
  }
}

bool TQuery::FetchNextRecords() {
  if (reader_ == nullptr) return false;
  RecordStore records;
  if (!reader_->NextBatch(records)) return false;
  TakeRecords(std::move(records));
  return true;
}

void TQuery::InternalClose() {
  reader_.reset();
}

void TQuery::ExecSQL() {
  Close();
  Execute(nullptr);
}

}  // namespace Vdei
