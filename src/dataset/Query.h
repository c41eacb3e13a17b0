// TQuery: the result of an SQL statement as a read-only dataset.
//
//   TQuery query(nullptr);
//   query.SetDatabaseName("DBDEMOS");
//   query.SQL()->Add("SELECT * FROM CUSTOMER");
//   query.Open();
//
// Open resolves DatabaseName (an alias, a URL or a path; Database.h),
// runs the lines of SQL joined with line breaks on that database, reads the
// whole result into memory and closes the connection again. The result's
// columns become FieldDefs and typed fields by their declared types:
//   SMALLINT, INT2                          ftSmallint
//   INT, INTEGER, INT4, MEDIUMINT           ftInteger
//   BIGINT, INT8                            ftBCD (the exact digits)
//   BOOL, BOOLEAN                           ftBoolean
//   MONEY, CURRENCY                         ftCurrency
//   NUMERIC, DECIMAL                        ftBCD
//   REAL, FLOAT, DOUBLE                     ftFloat
//   DATE / TIME / DATETIME, TIMESTAMP       ftDate / ftTime / ftDateTime
//   CHAR(n), VARCHAR(n)                     ftString, Size n
//   TEXT, CLOB, VARCHAR, other texts        ftString, Size = the longest
//                                           value in the result (>= 1)
//   MEMO                                    ftMemo
//   BLOB, BYTEA                             ftBlob
//   IMAGE, GRAPHIC                          ftGraphic
// SQLite columns without a declared type (expressions) take the type of
// their first non-null value (integer, float, text, blob); PostgreSQL
// columns are typed by their type OIDs. Required is true for columns
// declared NOT NULL. Dates are read from ISO 8601 texts ("2001-03-15",
// "2001-03-15 14:30:05.123", "14:30:05"); a stored value that does not
// read as its column's type raises EConvertError naming the field. Text is
// converted from UTF-8 to the ANSI code page; blobs are kept as bytes.
// Failures of the database (cannot open, statement refused) raise
// EDatabaseError with the database's message.
//
// ExecSQL runs statements that give no result (CREATE, INSERT, ...).
//
// UniDirectional (default false) opens the query forward-only: Open starts
// the statement on a reader thread with a connection of its own, which
// reads the rows in batches of 4096 records into a queue of at most four
// batches; the query walks them in order and releases each batch when Next
// moves past it, so memory stays bounded whatever the result's size, and
// reading overlaps with what the caller does with the records. The rules of
// unidirectional datasets apply (DataSet.h: First only before the first
// Next; bookmarks, Locate, Prior, Last refused; RecordCount -1 until Eof).
// When a column's size or type is not declared (TEXT, CLOB, VARCHAR
// without size, expressions: taken from the values), the reader reads the
// whole result first, so the fields are exactly those of a query that is
// not forward-only; the rules are the same. An error of the reader thread
// is raised as the same exception on the caller's thread: by Open when it
// came before the first batch, else by the Next that reaches the row where
// it happened (the records before it are all seen). Close stops the
// reader. PostgreSQL rows come one at a time (libpq's single-row mode),
// with the NOT NULL flags looked up on a second connection.
//
// Published: "SQL" (string list), "DatabaseName" (string),
// "UniDirectional" (Boolean), "Active". Changing SQL, DatabaseName or
// UniDirectional closes an open query.
#pragma once

#include <memory>
#include <string>

#include "core/Strings.h"
#include "dataset/DataSet.h"

namespace Vdei {

class ForwardReader;
class ResultBuilder;

class TQuery : public TDataSet {
 public:
  VDEI_CLASS(TQuery)
  explicit TQuery(TComponent* owner);
  ~TQuery() override;

  TStrings* SQL() const { return sql_.get(); }
  void SetSQL(const TStrings* lines);  // copies the lines
  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(std::string name);

  bool UniDirectional() const { return uniDirectional_; }
  void SetUniDirectional(bool value);

  bool CanModify() const override { return false; }
  bool IsUniDirectional() const override { return uniDirectional_; }

  // Runs the statement(s) without a result (CREATE, INSERT, ...); the
  // query is closed first.
  void ExecSQL();

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  bool FetchNextRecords() override;

 private:
  std::string StatementText() const;
  // Runs the statement, reading its result into result when given.
  void Execute(ResultBuilder* result) const;
  void OpenForwardOnly();

  std::unique_ptr<TStringList> sql_;
  std::string databaseName_;
  bool uniDirectional_ = false;
  std::unique_ptr<ForwardReader> reader_;  // while open forward-only
};

}  // namespace Vdei
