// TQuery's PostgreSQL backend (libpq, text results), and the PostgreSQL
// helpers shared with TTable's (PostgresUtil.h).
#include <libpq-fe.h>

#include <map>
#include <memory>
#include <set>

#include "core/Exception.h"
#include "core/StrUtils.h"
#include "dataset/PostgresUtil.h"

namespace Vdei {

namespace {

// The NOT NULL flags of the result columns that come from table columns.
std::vector<bool> NotNullColumns(PGconn* connection, PGresult* result) {
  const int count = PQnfields(result);
  std::vector<bool> notNull(count, false);
  std::set<Oid> tables;
  for (int i = 0; i < count; ++i)
    if (PQftable(result, i) != InvalidOid) tables.insert(PQftable(result, i));
  if (tables.empty()) return notNull;
  std::string list;
  for (Oid table : tables) {
    if (!list.empty()) list += ',';
    list += std::to_string(table);
  }
  ResultHandle flags = Run(connection,
                           "SELECT attrelid, attnum FROM pg_attribute WHERE attnotnull"
                           " AND attrelid IN (" +
                               list + ")");
  std::set<std::pair<Oid, int>> required;
  for (int r = 0; r < PQntuples(flags.get()); ++r)
    required.emplace(static_cast<Oid>(std::stoul(PQgetvalue(flags.get(), r, 0))),
                     std::stoi(PQgetvalue(flags.get(), r, 1)));
  for (int i = 0; i < count; ++i)
    notNull[i] = required.count({PQftable(result, i), PQftablecol(result, i)}) > 0;
  return notNull;
}

}  // namespace

// Every libpq failure becomes an EDatabaseError here.
[[noreturn]] void ThrowPostgresError(std::string_view context, const char* message) {
  std::string text = message ? message : "unknown error";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  throw EDatabaseError(Format("%s: %s", std::string(context).c_str(), text.c_str()));
}

ConnectionHandle Connect(const std::string& uri) {
  ConnectionHandle connection(PQconnectdb(uri.c_str()));
  if (connection == nullptr) ThrowPostgresError("Cannot connect", "out of memory");
  if (PQstatus(connection.get()) != CONNECTION_OK)
    ThrowPostgresError("Cannot connect", PQerrorMessage(connection.get()));
  PQsetClientEncoding(connection.get(), "UTF8");
  return connection;
}

ResultHandle Run(PGconn* connection, const std::string& sql) {
  ResultHandle result(PQexec(connection, sql.c_str()));
  const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
  if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
    ThrowPostgresError("Cannot execute statement", PQerrorMessage(connection));
  return result;
}

ResultColumn MapTypeOid(Oid type, int typmod) {
  ResultColumn c;
  switch (type) {
    case kBool:
      c.Type = ftBoolean;
      break;
    case kBytea:
      c.Type = ftBlob;
      break;
    case kInt2:
      c.Type = ftSmallint;
      break;
    case kInt4:
    case kOid:
      c.Type = ftInteger;
      break;
    case kInt8:
    case kNumeric:
      c.Type = ftBCD;
      break;
    case kFloat4:
    case kFloat8:
      c.Type = ftFloat;
      break;
    case kMoney:
      c.Type = ftCurrency;
      break;
    case kDate:
      c.Type = ftDate;
      break;
    case kTime:
      c.Type = ftTime;
      break;
    case kTimestamp:
    case kTimestampTz:
      c.Type = ftDateTime;
      break;
    case kBpchar:
    case kVarchar:
      c.Type = ftString;
      c.Size = typmod > 4 ? typmod - 4 : 0;
      c.SizeFromData = c.Size == 0;
      break;
    case kChar:
      c.Type = ftString;
      c.Size = 1;
      break;
    default:
      c.Type = ftString;
      c.SizeFromData = true;
  }
  return c;
}

// "$1,234.50" and "-$1,234.50" (lc_monetary C) as plain decimals.
static std::string MoneyText(std::string_view text) {
  std::string plain;
  for (char c : text)
    if ((c >= '0' && c <= '9') || c == '.' || c == '-') plain += c;
  if (text.find('(') != std::string_view::npos) plain = "-" + plain;
  return plain;
}

static std::string ByteaBytes(const char* text) {
  size_t length = 0;
  std::unique_ptr<unsigned char, decltype(&PQfreemem)> bytes(
      PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length), &PQfreemem);
  if (bytes == nullptr) throw EDatabaseError("Cannot read a bytea value");
  return std::string(reinterpret_cast<const char*>(bytes.get()), length);
}

void SetPostgresValue(ResultBuilder& builder, int column, Oid type, const char* text, int length) {
  switch (type) {
    case kBytea:
      return builder.SetBytes(column, ByteaBytes(text));
    case kMoney:
      return builder.SetText(column, MoneyText(std::string_view(text, length)));
    default:
      return builder.SetText(column, std::string_view(text, length));
  }
}

namespace {

std::vector<ResultColumn> DescribeColumns(PGconn* connection, PGresult* result) {
  const int count = PQnfields(result);
  const std::vector<bool> notNull = NotNullColumns(connection, result);
  std::vector<ResultColumn> columns;
  for (int i = 0; i < count; ++i) {
    ResultColumn c = MapTypeOid(PQftype(result, i), PQfmod(result, i));
    c.Name = PQfname(result, i);
    c.Required = notNull[i];
    columns.push_back(std::move(c));
  }
  return columns;
}

bool HasTableColumns(PGresult* result) {
  for (int i = 0; i < PQnfields(result); ++i)
    if (PQftable(result, i) != InvalidOid) return true;
  return false;
}

void AddRows(ResultBuilder& builder, PGresult* result) {
  const int count = PQnfields(result);
  for (int r = 0; r < PQntuples(result); ++r) {
    builder.BeginRow();
    for (int i = 0; i < count; ++i) {
      if (PQgetisnull(result, r, i)) continue;
      SetPostgresValue(builder, i, PQftype(result, i), PQgetvalue(result, r, i),
                       PQgetlength(result, r, i));
    }
    builder.EndRow();
  }
}

// For a builder that takes batches: the rows one at a time (libpq's
// single-row mode), so the result is never whole in this process. The
// connection is busy with the rows, so the NOT NULL flags are looked up on
// a second one.
void ExecuteRowByRow(const std::string& uri, const std::string& sql, ResultBuilder& builder) {
  ConnectionHandle connection = Connect(uri);
  if (!PQsendQuery(connection.get(), sql.c_str()) || !PQsetSingleRowMode(connection.get()))
    ThrowPostgresError("Cannot execute statement", PQerrorMessage(connection.get()));
  bool started = false;
  while (ResultHandle part{PQgetResult(connection.get())}) {
    const ExecStatusType status = PQresultStatus(part.get());
    if (status == PGRES_COMMAND_OK) continue;
    if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK)
      ThrowPostgresError("Cannot execute statement", PQerrorMessage(connection.get()));
    if (!started) {
      const ConnectionHandle metadata = HasTableColumns(part.get()) ? Connect(uri) : nullptr;
      builder.Start(DescribeColumns(metadata.get(), part.get()));
      started = true;
    }
    AddRows(builder, part.get());
  }
  if (!started) throw EDatabaseError("The statement returns no result set");
}

}  // namespace

void ExecutePostgres(const std::string& uri, const std::string& sql, ResultBuilder* builder) {
  if (builder != nullptr && builder->TakesBatches()) return ExecuteRowByRow(uri, sql, *builder);
  ConnectionHandle connection = Connect(uri);
  ResultHandle result = Run(connection.get(), sql);
  if (builder == nullptr) return;
  if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
    throw EDatabaseError("The statement returns no result set");
  builder->Start(DescribeColumns(connection.get(), result.get()));
  AddRows(*builder, result.get());
}

}  // namespace Vdei
