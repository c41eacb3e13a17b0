// The target of vdei-import --database: the TTable the rows go into.
//
//   ImportTableTarget target(options, RequiredColumnNames(packageStart), form);
//   target.Attach(reader);             // before the run
//   ... in OnCreateStructure: target.PrepareTable(columns);
//   reader.Execute();
//   target.Finish(reader.Statistic()->Result() == irExecuted);
//
// The constructor opens the table; a table that does not exist waits, with
// --create, for the package's columns (ImportTableCreate.h), and is an
// error without it. Attach sets the reader's DataSet, Mode and, in the key
// modes, DatasetKeys: --keys, else the table's primary key; a key mode
// without either raises EUsageError. PrepareTable creates a missing table
// and opens it, and with --dry-run starts the transaction the run then
// works in (the run commits only a transaction it started itself).
//
// Finish closes the table: a dry run's transaction is rolled back by it.
// A table this run created is dropped again when nothing of the run was
// kept (a dry run, a failed or cancelled run), so a run that keeps nothing
// leaves the database as it found it.
#pragma once

#include <set>
#include <string>

#include "dataset/Database.h"
#include "tools/ImportOptions.h"

namespace Vdei {
class TTable;
}

namespace VdImport {
class TVdImportBaseComponent;
class TVdIColumns;
}  // namespace VdImport

namespace Vdei {

class ImportTableTarget {
 public:
  ImportTableTarget(const ImportOptions& options, std::set<std::string> required,
                    TComponent& owner);
  ImportTableTarget(const ImportTableTarget&) = delete;
  ImportTableTarget& operator=(const ImportTableTarget&) = delete;

  void Attach(VdImport::TVdImportBaseComponent& reader) const;
  void PrepareTable(const VdImport::TVdIColumns& columns);
  void Finish(bool executed);

  bool Created() const { return created_; }

 private:
  const ImportOptions& options_;
  std::set<std::string> required_;
  TDatabaseKind kind_;
  TTable* table_;
  bool created_ = false;
};

}  // namespace Vdei
