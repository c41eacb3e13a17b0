#include "tools/ImportTable.h"

#include "core/StrUtils.h"
#include "dataset/Query.h"
#include "dataset/Table.h"
#include "import/VdIBase.h"
#include "import/VdIStructure.h"
#include "tools/ImportTableCreate.h"

namespace Vdei {

namespace {

using namespace VdImport;

constexpr const char* kModeNames[] = {"append", "update", "appendupdate",
                                      "delete", "copy",   "appendnewonly"};

void ExecuteStatement(const std::string& database, const std::string& sql) {
  TQuery query(nullptr);
  query.SetDatabaseName(database);
  query.SQL()->Add(sql);
  query.ExecSQL();
}

bool IsMissingTable(const EDatabaseError& error, const std::string& table) {
  return error.Message() == Format("Table '%s' does not exist", table.c_str());
}

}  // namespace

ImportTableTarget::ImportTableTarget(const ImportOptions& options, std::set<std::string> required,
                                     TComponent& owner)
    : options_(options),
      required_(std::move(required)),
      kind_(ResolveDatabaseName(options.Database).Kind),
      table_(new TTable(&owner)) {
  table_->SetDatabaseName(options.Database);
  table_->SetTableName(options.Table);
  try {
    table_->Open();
  } catch (const EDatabaseError& error) {
    if (!options.Create || !IsMissingTable(error, options.Table)) throw;
  }
}

void ImportTableTarget::Attach(TVdImportBaseComponent& reader) const {
  reader.SetDataSet(table_);
  reader.SetMode(options_.Mode);
  reader.OnGetCellParams = [](TObject*, TField* field, Variant& value) {
    FilterCellValue(field, value);
  };
  if (!IsKeyMode(options_.Mode)) return;
  const std::string keys = !options_.Keys.empty() ? options_.Keys : table_->IndexFieldName();
  if (keys.empty()) {
    throw EUsageError(std::string("--mode ") + kModeNames[options_.Mode] + " needs --keys: table " +
                      QuotedName(options_.Table) +
                      (table_->Active() ? " has no primary key" : " does not exist yet"));
  }
  reader.SetDatasetKeys(keys);
}

void ImportTableTarget::PrepareTable(const TVdIColumns& columns) {
  if (!table_->Active()) {
    ExecuteStatement(options_.Database,
                     CreateTableStatement(options_.Table, columns, required_, kind_));
    created_ = true;
    table_->Open();
  }
  if (options_.DryRun && !table_->InTransaction()) table_->StartTransaction();
}

void ImportTableTarget::Finish(bool executed) {
  table_->Close();
  if (created_ && (options_.DryRun || !executed)) {
    ExecuteStatement(options_.Database, "DROP TABLE " + QuotedName(options_.Table));
    created_ = false;
  }
}

}  // namespace Vdei
