// TTable's connection to a PostgreSQL database (libpq).
#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "core/Exception.h"
#include "core/StrUtils.h"
#include "dataset/PostgresUtil.h"
#include "dataset/TableBackend.h"

namespace Vdei {

namespace {

// "(block,item)" as block << 16 | item, and back.
int64_t ParseTid(const char* text) {
  unsigned long long block = 0, item = 0;
  if (std::sscanf(text, "(%llu,%llu)", &block, &item) != 2)
    throw EDatabaseError(Format("Unexpected row address '%s'", text));
  return static_cast<int64_t>(block << 16 | item);
}

std::string TidText(int64_t locator) {
  return "(" + std::to_string(locator >> 16) + "," + std::to_string(locator & 0xFFFF) + ")";
}

std::string ParamText(const SqlParam& param) {
  switch (param.Type) {
    case SqlParam::Integer:
      return std::to_string(param.Int);
    case SqlParam::Boolean:
      return param.Int != 0 ? "t" : "f";
    case SqlParam::Float: {
      char text[32];
      std::snprintf(text, sizeof text, "%.17g", param.Real);
      return text;
    }
    default:
      return param.Chars;
  }
}

// int8 holds whole numbers; numeric(p,s) (modifier ((p << 16) | s) + 4)
// p digits, s of them after the point.
DecimalLimit DecimalLimitOf(Oid type, int typmod) {
  DecimalLimit limit;
  limit.Whole = type == kInt8;
  if (type == kNumeric && typmod >= 4) {
    limit.Digits = ((typmod - 4) >> 16) & 0xFFFF;
    limit.Scale = (typmod - 4) & 0xFFFF;
  }
  return limit;
}

class PostgresTableConnection : public TableConnection {
 public:
  explicit PostgresTableConnection(const std::string& uri) : connection_(Connect(uri)) {}

  TableDescription Describe(const std::string& table) override {
    const std::string quoted = QuoteIdentifier(table);
    const char* values[] = {quoted.c_str()};
    ResultHandle result(
        PQexecParams(connection_.get(),
                     "SELECT a.attname, a.atttypid, a.atttypmod, a.attnotnull,"
                     " a.atthasdef OR a.attidentity <> '',"
                     " COALESCE(array_position(i.indkey::int2[], a.attnum)"
                     " - array_lower(i.indkey::int2[], 1) + 1, 0)"
                     " FROM pg_attribute a LEFT JOIN pg_index i"
                     " ON i.indrelid = a.attrelid AND i.indisprimary"
                     " WHERE a.attrelid = to_regclass($1) AND a.attnum > 0 AND NOT a.attisdropped"
                     " ORDER BY a.attnum",
                     1, nullptr, values, nullptr, nullptr, 0));
    CheckResult(result.get(), "Cannot describe table");
    TableDescription description;
    std::vector<std::pair<int, std::string>> key;
    for (int r = 0; r < PQntuples(result.get()); ++r) {
      const auto value = [&](int column) { return PQgetvalue(result.get(), r, column); };
      ResultColumn column = MapTypeOid(static_cast<Oid>(std::stoul(value(1))), std::stoi(value(2)));
      column.Name = value(0);
      const bool hasDefault = value(4)[0] == 't';
      column.Required = value(3)[0] == 't' && !hasDefault;
      if (const int position = std::stoi(value(5)); position > 0)
        key.emplace_back(position, column.Name);
      description.HasDefault.push_back(hasDefault);
      description.Decimals.push_back(DecimalLimitOf(std::stoul(value(1)), std::stoi(value(2))));
      description.Columns.push_back(std::move(column));
    }
    if (description.Columns.empty())
      throw EDatabaseError(Format("Table '%s' does not exist", table.c_str()));
    std::sort(key.begin(), key.end());
    for (auto& [position, name] : key) description.PrimaryKey.push_back(name);
    return description;
  }

  void ReadRows(const std::string& sql, ResultBuilder& builder) override {
    ResultHandle result = Run(connection_.get(), sql);
    for (int r = 0; r < PQntuples(result.get()); ++r) {
      builder.BeginRow();
      ReadRow(result.get(), r, builder, nullptr);
    }
  }

  int64_t Write(const std::string& sql, const std::vector<SqlParam>& params,
                ResultBuilder* returning, const std::vector<int>& returningColumns) override {
    const std::string& name = Prepared(sql, static_cast<int>(params.size()));
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    std::vector<int> lengths(params.size()), formats(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
      if (params[i].Type == SqlParam::Null) continue;
      texts[i] = ParamText(params[i]);
      values[i] = texts[i].data();
      lengths[i] = static_cast<int>(texts[i].size());
      formats[i] = params[i].Type == SqlParam::Bytes ? 1 : 0;
    }
    ResultHandle result(PQexecPrepared(connection_.get(), name.c_str(),
                                       static_cast<int>(params.size()), values.data(),
                                       lengths.data(), formats.data(), 0));
    CheckResult(result.get(), "Cannot write record");
    if (returning != nullptr && PQntuples(result.get()) > 0)
      ReadRow(result.get(), 0, *returning, returningColumns.data());
    return std::atoll(PQcmdTuples(result.get()));
  }

  void Execute(const std::string& sql) override { Run(connection_.get(), sql); }

  void Commit() override {
    ResultHandle result = Run(connection_.get(), "COMMIT");
    // COMMIT of a transaction that failed is answered by a rollback.
    if (std::string_view(PQcmdStatus(result.get())) == "ROLLBACK")
      throw EDatabaseError("The transaction was rolled back by the database");
  }

  std::string Placeholder(int n) const override { return "$" + std::to_string(n); }
  std::string LocatorColumn() const override { return "ctid"; }
  std::string LocatorCondition(int n) const override { return "ctid = " + Placeholder(n); }
  SqlParam LocatorParam(int64_t locator) const override {
    SqlParam param;
    param.Type = SqlParam::Text;
    param.Chars = TidText(locator);
    return param;
  }

 private:
  void CheckResult(PGresult* result, std::string_view context) {
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
      ThrowPostgresError(context, PQerrorMessage(connection_.get()));
  }

  // Values of row r; the last column is the locator.
  static void ReadRow(PGresult* result, int r, ResultBuilder& builder, const int* targets) {
    const int count = PQnfields(result);
    for (int i = 0; i < count; ++i) {
      const int target = targets != nullptr ? targets[i] : i;
      if (PQgetisnull(result, r, i)) continue;
      const char* text = PQgetvalue(result, r, i);
      if (i == count - 1) {
        builder.SetInteger(target, ParseTid(text));
      } else {
        SetPostgresValue(builder, target, PQftype(result, i), text, PQgetlength(result, r, i));
      }
    }
  }

  const std::string& Prepared(const std::string& sql, int paramCount) {
    auto found = prepared_.find(sql);
    if (found != prepared_.end()) return found->second;
    const std::string name = "vdei_" + std::to_string(prepared_.size() + 1);
    ResultHandle result(
        PQprepare(connection_.get(), name.c_str(), sql.c_str(), paramCount, nullptr));
    CheckResult(result.get(), "Cannot prepare statement");
    return prepared_.emplace(sql, name).first->second;
  }

  ConnectionHandle connection_;
  std::unordered_map<std::string, std::string> prepared_;
};

}  // namespace

std::unique_ptr<TableConnection> ConnectPostgresTable(const std::string& uri) {
  return std::make_unique<PostgresTableConnection>(uri);
}

}  // namespace Vdei
