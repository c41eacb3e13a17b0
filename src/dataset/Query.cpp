#include "dataset/Query.h"

#include "core/Exception.h"
#include "core/Properties.h"
#include "dataset/Database.h"
#include "dataset/SqlBackend.h"

namespace Vdei {

const TClassInfo& TQuery::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TQuery, TDataSet>("TQuery")
          .String("DatabaseName", &TQuery::DatabaseName,
                  [](TQuery& q, std::string v) { q.SetDatabaseName(std::move(v)); })
          .Object<TStrings>("SQL", &TQuery::SQL, &TQuery::SetSQL)
          .Build();
  return info;
}

TQuery::TQuery(TComponent* owner) : TDataSet(owner), sql_(std::make_unique<TStringList>()) {
  sql_->OnChange = [this](TObject*) { Close(); };
}

TQuery::~TQuery() { sql_->OnChange = nullptr; }

void TQuery::SetSQL(const TStrings* lines) {
  if (lines != nullptr) sql_->Assign(*lines);
}

void TQuery::SetDatabaseName(std::string name) {
  Close();
  databaseName_ = std::move(name);
}

std::string TQuery::StatementText() const {
  std::string text;
  for (int i = 0; i < sql_->Count(); ++i) text += (i ? "\n" : "") + sql_->Strings(i);
  return text;
}

void TQuery::Execute(ResultBuilder* result) const {
  const TDatabaseLocation location = ResolveDatabaseName(databaseName_);
  const std::string sql = StatementText();
  if (location.Kind == dkPostgreSQL) {
    ExecutePostgres(location.Target, sql, result);
  } else {
    ExecuteSqlite(location.Target, sql, result);
  }
}

void TQuery::InternalOpen() {
  ResultBuilder result(Store());
  Execute(&result);
  result.Finish(*FieldDefs());
}

void TQuery::ExecSQL() {
  Close();
  Execute(nullptr);
}

}  // namespace Vdei
