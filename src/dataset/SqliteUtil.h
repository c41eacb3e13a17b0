// SQLite helpers shared by the backends of TQuery and TTable: owned
// handles, the one place SQLite errors become EDatabaseError, opening a
// database, and reading a result row's values. Internal to the dataset
// layer; defined in SqliteBackend.cpp.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "dataset/SqlBackend.h"

namespace Vdei {

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// EDatabaseError "<context>: <SQLite's message>".
[[noreturn]] void ThrowSqliteError(sqlite3* db, int rc, std::string_view context);
void Check(sqlite3* db, int rc, std::string_view context);
// mode: SQLITE_OPEN_READONLY or SQLITE_OPEN_READWRITE.
DatabaseHandle OpenDatabase(const std::string& path, int mode);
// The values of the statement's current row into the builder's current
// row, column i to builder column i, or to targets[i] when given.
void ReadValues(sqlite3_stmt* statement, int count, ResultBuilder& result,
                const int* targets = nullptr);

}  // namespace Vdei
