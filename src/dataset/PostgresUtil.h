// PostgreSQL helpers shared by the backends of TQuery and TTable: owned
// handles, the one place libpq errors become EDatabaseError, connecting,
// the field types of type OIDs and reading a value in text form. Internal
// to the dataset layer; defined in PostgresBackend.cpp.
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <string_view>

#include "dataset/SqlBackend.h"

namespace Vdei {

struct ConnectionCloser {
  void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct ResultClearer {
  void operator()(PGresult* result) const { PQclear(result); }
};
using ConnectionHandle = std::unique_ptr<PGconn, ConnectionCloser>;
using ResultHandle = std::unique_ptr<PGresult, ResultClearer>;

// Type OIDs of the built-in types (pg_type.dat).
enum : Oid {
  kBool = 16,
  kBytea = 17,
  kChar = 18,
  kInt8 = 20,
  kInt2 = 21,
  kInt4 = 23,
  kOid = 26,
  kFloat4 = 700,
  kFloat8 = 701,
  kMoney = 790,
  kBpchar = 1042,
  kVarchar = 1043,
  kDate = 1082,
  kTime = 1083,
  kTimestamp = 1114,
  kTimestampTz = 1184,
  kNumeric = 1700
};

// EDatabaseError "<context>: <message>" (trailing line breaks removed).
[[noreturn]] void ThrowPostgresError(std::string_view context, const char* message);
// A connection with client encoding UTF8.
ConnectionHandle Connect(const std::string& uri);
// Runs sql without parameters; raises unless it succeeded.
ResultHandle Run(PGconn* connection, const std::string& sql);
// The field type of a column of the type (typmod: its modifier).
ResultColumn MapTypeOid(Oid type, int typmod);
// A value in text form into the builder's current row.
void SetPostgresValue(ResultBuilder& builder, int column, Oid type, const char* text, int length);

}  // namespace Vdei
