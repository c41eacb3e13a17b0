// TQuery's SQLite backend (C API), and the SQLite helpers shared with
// TTable's (SqliteUtil.h).
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "core/Exception.h"
#include "core/StrUtils.h"
#include "dataset/SqlBackend.h"
#include "dataset/SqliteUtil.h"

namespace Vdei {

namespace {

bool IsNotNullColumn(sqlite3* db, sqlite3_stmt* statement, int column) {
  const char* table = sqlite3_column_table_name(statement, column);
  const char* origin = sqlite3_column_origin_name(statement, column);
  const char* database = sqlite3_column_database_name(statement, column);
  if (table == nullptr || origin == nullptr) return false;
  int notNull = 0;
  if (sqlite3_table_column_metadata(db, database, table, origin, nullptr, nullptr, &notNull,
                                    nullptr, nullptr) != SQLITE_OK)
    return false;
  return notNull != 0;
}

std::vector<ResultColumn> DescribeColumns(sqlite3* db, sqlite3_stmt* statement) {
  std::vector<ResultColumn> columns;
  const int count = sqlite3_column_count(statement);
  for (int i = 0; i < count; ++i) {
    const char* declared = sqlite3_column_decltype(statement, i);
    ResultColumn c = MapDeclaredType(declared ? declared : "");
    c.Name = sqlite3_column_name(statement, i);
    c.Required = IsNotNullColumn(db, statement, i);
    columns.push_back(std::move(c));
  }
  return columns;
}

bool OnlyBlanksAndSemicolons(const char* text) {
  for (; text != nullptr && *text != 0; ++text)
    if (*text != ';' && static_cast<unsigned char>(*text) > ' ') return false;
  return true;
}

}  // namespace

// Every SQLite failure becomes an EDatabaseError here.
[[noreturn]] void ThrowSqliteError(sqlite3* db, int rc, std::string_view context) {
  const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  throw EDatabaseError(Format("%s: %s", std::string(context).c_str(), message));
}

void Check(sqlite3* db, int rc, std::string_view context) {
  if (rc != SQLITE_OK) ThrowSqliteError(db, rc, context);
}

// Connections are used from one thread each, and nothing reads SQLite's
// memory statistics: both would cost a mutex on every step and allocation.
static void ConfigureSqliteOnce() {
  static const bool configured = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);  // refused once initialised: harmless
    return true;
  }();
  (void)configured;
}

DatabaseHandle OpenDatabase(const std::string& path, int mode) {
  ConfigureSqliteOnce();
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, mode | SQLITE_OPEN_NOMUTEX, nullptr);
  DatabaseHandle db(raw);
  if (rc != SQLITE_OK) ThrowSqliteError(db.get(), rc, "Cannot open database " + path);
  sqlite3_extended_result_codes(db.get(), 1);
  return db;
}

void ReadValues(sqlite3_stmt* statement, int count, ResultBuilder& result, const int* targets) {
  for (int i = 0; i < count; ++i) {
    const int target = targets != nullptr ? targets[i] : i;
    switch (sqlite3_column_type(statement, i)) {
      case SQLITE_NULL:
        break;
      case SQLITE_INTEGER:
        result.SetInteger(target, sqlite3_column_int64(statement, i));
        break;
      case SQLITE_FLOAT:
        result.SetFloat(target, sqlite3_column_double(statement, i));
        break;
      case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
        result.SetText(target, std::string_view(text, sqlite3_column_bytes(statement, i)));
        break;
      }
      default: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, i));
        result.SetBytes(target, std::string_view(bytes, sqlite3_column_bytes(statement, i)));
      }
    }
  }
}

void ExecuteSqlite(const std::string& path, const std::string& sql, ResultBuilder* result) {
  // Queries only read; statements run without a result may write.
  DatabaseHandle db =
      OpenDatabase(path, result != nullptr ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
  if (result == nullptr) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &error);
    sqlite3_free(error);
    Check(db.get(), rc, "Cannot execute statement");
    return;
  }
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  Check(db.get(),
        sqlite3_prepare_v2(db.get(), sql.c_str(), static_cast<int>(sql.size()), &raw, &tail),
        "Cannot prepare statement");
  StatementHandle statement(raw);
  if (statement == nullptr || sqlite3_column_count(statement.get()) == 0)
    throw EDatabaseError("The statement returns no result set");
  if (!OnlyBlanksAndSemicolons(tail)) throw EDatabaseError("A query can run only one statement");
  // A reader thread of its own may sort with SQLite's worker threads too.
  if (result->TakesBatches()) {
    const std::string threads =
        "PRAGMA threads = " + std::to_string(std::max(2u, std::thread::hardware_concurrency()));
    Check(db.get(), sqlite3_exec(db.get(), threads.c_str(), nullptr, nullptr, nullptr),
          "Cannot set threads");
  }
  result->Start(DescribeColumns(db.get(), statement.get()));
  // A reader whose consumer has gone interrupts a long step (a scan for
  // rare matches).
  sqlite3_progress_handler(
      db.get(), 10000,
      [](void* builder) { return static_cast<ResultBuilder*>(builder)->Stopped() ? 1 : 0; },
      result);
  const int count = sqlite3_column_count(statement.get());
  int rc;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    result->BeginRow();
    ReadValues(statement.get(), count, *result);
    result->EndRow();
  }
  if (rc != SQLITE_DONE) ThrowSqliteError(db.get(), rc, "Cannot read result");
}

}  // namespace Vdei
