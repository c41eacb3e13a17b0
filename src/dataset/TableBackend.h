// The database side of TTable: one connection, open while the table is,
// that describes a table, reads its rows and runs statements with values
// bound by position. Internal to the dataset layer; SqliteTable.cpp and
// PostgresTable.cpp implement it.
//
// Every row has a locator, a 64-bit number that finds it again: SQLite's
// rowid, PostgreSQL's ctid (block << 16 | item; it changes when the row
// is updated, so statements that write a row return the new one). Reads
// and RETURNING lists end with the locator column, which the connection
// hands over as an integer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dataset/SqlBackend.h"

namespace Vdei {

// What a decimal column (ftBCD) holds: whole numbers of 64 bits
// (BIGINT), or at most Digits digits of which Scale after the point
// (NUMERIC(p,s)); Digits 0: no limit.
struct DecimalLimit {
  bool Whole = false;
  int Digits = 0;
  int Scale = 0;
};

struct TableDescription {
  // Types as TQuery maps them; Required for NOT NULL columns without a
  // default.
  std::vector<ResultColumn> Columns;
  std::vector<bool> HasDefault;         // the database fills the column when it is left out
  std::vector<std::string> PrimaryKey;  // column names in key order
  std::vector<DecimalLimit> Decimals;   // one per column
};

// A value for a statement parameter. Text is in UTF-8; dates and times are
// ISO 8601 texts of kind Date / Time / DateTime.
struct SqlParam {
  enum Kind { Null, Integer, Float, Boolean, Decimal, Text, Bytes, Date, Time, DateTime };
  Kind Type = Null;
  int64_t Int = 0;
  double Real = 0;
  std::string Chars;
};

class TableConnection {
 public:
  virtual ~TableConnection() = default;

  // Raises EDatabaseError "Table '%s' does not exist" for an unknown table.
  virtual TableDescription Describe(const std::string& table) = 0;
  // Runs sql (a SELECT of the columns and then the locator) into the
  // builder, one record per row.
  virtual void ReadRows(const std::string& sql, ResultBuilder& builder) = 0;
  // Runs a prepared statement (prepared once per text) with the values and
  // returns the number of rows it changed. With returning, the statement's
  // one result row goes into the builder's current row, result column i to
  // builder column returningColumns[i].
  virtual int64_t Write(const std::string& sql, const std::vector<SqlParam>& params,
                        ResultBuilder* returning, const std::vector<int>& returningColumns) = 0;
  // Runs a statement without values or result (BEGIN, SAVEPOINT...).
  virtual void Execute(const std::string& sql) = 0;
  // Commits the open transaction; raises when the database rolled it back
  // instead.
  virtual void Commit() = 0;

  // Parameter n (from 1) in statement text.
  virtual std::string Placeholder(int n) const = 0;
  // The locator's column in SELECT and RETURNING lists, and the condition
  // that finds a row by locator parameter n.
  virtual std::string LocatorColumn() const = 0;
  virtual std::string LocatorCondition(int n) const = 0;
  virtual SqlParam LocatorParam(int64_t locator) const = 0;
};

std::unique_ptr<TableConnection> ConnectSqliteTable(const std::string& path);
std::unique_ptr<TableConnection> ConnectPostgresTable(const std::string& uri);

// An identifier in double quotes, inner quotes doubled.
std::string QuoteIdentifier(const std::string& name);

}  // namespace Vdei
