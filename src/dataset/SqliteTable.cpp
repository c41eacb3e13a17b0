// TTable's connection to an SQLite database.
#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "core/Exception.h"
#include "core/StrUtils.h"
#include "dataset/SqliteUtil.h"
#include "dataset/TableBackend.h"

namespace Vdei {

std::string QuoteIdentifier(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

namespace {

// BIGINT and INT8 hold whole numbers; NUMERIC(p,s) and DECIMAL(p,s) p
// digits, s of them after the point.
DecimalLimit DecimalLimitOf(const std::string& declared) {
  DecimalLimit limit;
  const std::string name = UpperCase(Trim(declared.substr(0, declared.find('('))));
  limit.Whole = name == "BIGINT" || name == "INT8";
  if ((name == "NUMERIC" || name == "DECIMAL") && declared.find('(') != std::string::npos &&
      std::sscanf(declared.c_str() + declared.find('('), "(%d , %d", &limit.Digits, &limit.Scale) <
          1)
    limit.Digits = 0;
  return limit;
}

class SqliteTableConnection : public TableConnection {
 public:
  explicit SqliteTableConnection(const std::string& path)
      : db_(OpenDatabase(path, SQLITE_OPEN_READWRITE)) {}

  TableDescription Describe(const std::string& table) override {
    StatementHandle statement = Prepare(
        "SELECT name, type, \"notnull\", dflt_value IS NOT NULL, pk FROM pragma_table_info(?1)");
    sqlite3_bind_text(statement.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
    TableDescription description;
    std::vector<std::pair<int, std::string>> key;
    std::string keyType;
    while (Step(statement.get())) {
      const auto text = [&](int i) {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), i)));
      };
      ResultColumn column = MapDeclaredType(text(1));
      column.Name = text(0);
      column.Required = sqlite3_column_int(statement.get(), 2) != 0;
      description.HasDefault.push_back(sqlite3_column_int(statement.get(), 3) != 0);
      description.Decimals.push_back(DecimalLimitOf(text(1)));
      if (const int position = sqlite3_column_int(statement.get(), 4); position > 0) {
        key.emplace_back(position, column.Name);
        keyType = UpperCase(Trim(text(1)));
      }
      description.Columns.push_back(std::move(column));
    }
    if (description.Columns.empty())
      throw EDatabaseError(Format("Table '%s' does not exist", table.c_str()));
    std::sort(key.begin(), key.end());
    for (auto& [position, name] : key) description.PrimaryKey.push_back(name);
    // An INTEGER PRIMARY KEY is the rowid: SQLite numbers it when left out.
    if (key.size() == 1 && keyType == "INTEGER") {
      for (size_t i = 0; i < description.Columns.size(); ++i)
        if (description.Columns[i].Name == key[0].second) description.HasDefault[i] = true;
    }
    for (size_t i = 0; i < description.Columns.size(); ++i)
      description.Columns[i].Required &= !description.HasDefault[i];
    return description;
  }

  void ReadRows(const std::string& sql, ResultBuilder& builder) override {
    StatementHandle statement = Prepare(sql);
    const int count = sqlite3_column_count(statement.get());
    while (Step(statement.get())) {
      builder.BeginRow();
      ReadValues(statement.get(), count, builder);
    }
  }

  int64_t Write(const std::string& sql, const std::vector<SqlParam>& params,
                ResultBuilder* returning, const std::vector<int>& returningColumns) override {
    sqlite3_stmt* statement = Cached(sql);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    for (size_t i = 0; i < params.size(); ++i) Bind(statement, static_cast<int>(i) + 1, params[i]);
    while (Step(statement)) {
      if (returning != nullptr)
        ReadValues(statement, sqlite3_column_count(statement), *returning, returningColumns.data());
    }
    return sqlite3_changes64(db_.get());
  }

  // Savepoints come and go with every row: their statements are kept
  // prepared too.
  void Execute(const std::string& sql) override {
    sqlite3_stmt* statement = Cached(sql);
    sqlite3_reset(statement);
    while (Step(statement)) {
    }
  }

  void Commit() override {
    // SQLite ends a transaction by itself after some failures (a full disk).
    if (sqlite3_get_autocommit(db_.get()))
      throw EDatabaseError("The transaction was rolled back by the database");
    Execute("COMMIT");
  }

  std::string Placeholder(int n) const override { return "?" + std::to_string(n); }
  std::string LocatorColumn() const override { return "rowid"; }
  std::string LocatorCondition(int n) const override { return "rowid = " + Placeholder(n); }
  SqlParam LocatorParam(int64_t locator) const override {
    SqlParam param;
    param.Type = SqlParam::Integer;
    param.Int = locator;
    return param;
  }

 private:
  StatementHandle Prepare(const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    Check(db_.get(), sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, nullptr),
          "Cannot prepare statement");
    return StatementHandle(raw);
  }

  sqlite3_stmt* Cached(const std::string& sql) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) found = statements_.emplace(sql, Prepare(sql)).first;
    return found->second.get();
  }

  bool Step(sqlite3_stmt* statement) {
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(statement);
    ThrowSqliteError(db_.get(), rc, "Cannot run statement");
  }

  static void Bind(sqlite3_stmt* statement, int index, const SqlParam& param) {
    switch (param.Type) {
      case SqlParam::Null:
        sqlite3_bind_null(statement, index);
        break;
      case SqlParam::Integer:
      case SqlParam::Boolean:
        sqlite3_bind_int64(statement, index, param.Int);
        break;
      case SqlParam::Float:
        sqlite3_bind_double(statement, index, param.Real);
        break;
      case SqlParam::Bytes:
        sqlite3_bind_blob64(statement, index, param.Chars.data(), param.Chars.size(),
                            SQLITE_STATIC);
        break;
      default:
        sqlite3_bind_text64(statement, index, param.Chars.data(), param.Chars.size(), SQLITE_STATIC,
                            SQLITE_UTF8);
    }
  }

  DatabaseHandle db_;
  std::unordered_map<std::string, StatementHandle> statements_;
};

}  // namespace

std::unique_ptr<TableConnection> ConnectSqliteTable(const std::string& path) {
  return std::make_unique<SqliteTableConnection>(path);
}

}  // namespace Vdei
