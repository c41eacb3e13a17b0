// TTable against SQLite and the throwaway PostgreSQL cluster: each check
// runs on both databases.
#include "dataset/Table.h"

#include <gtest/gtest.h>

#include <functional>

#include "ExceptionText.h"
#include "TestDatabases.h"
#include "core/DateTime.h"
#include "core/Exception.h"
#include "dataset/Query.h"

namespace Vdei {
namespace {

// A database of either kind: its URL, a way to run statements on it, and
// the column types that differ between the two.
struct TestDatabase {
  std::string Url;
  std::function<void(const std::string&)> Execute;
  const char* Real;    // double-precision column type
  const char* Bytes;   // binary column type
  const char* Serial;  // integer key the database numbers
};

TestDatabase Sqlite(const VdeiTest::TempDir& dir) {
  const std::string path = dir.File("t.db");
  VdeiTest::CreateSqliteDatabase(path, "");
  return {"sqlite:" + path,
          [path](const std::string& sql) { VdeiTest::CreateSqliteDatabase(path, sql); }, "DOUBLE",
          "BLOB", "INTEGER PRIMARY KEY"};
}

TestDatabase Postgres(VdeiTest::PostgresCluster* cluster) {
  return {cluster->Url(), [cluster](const std::string& sql) { cluster->Execute(sql); },
          "DOUBLE PRECISION", "BYTEA", "SERIAL PRIMARY KEY"};
}

std::unique_ptr<TTable> OpenTable(const TestDatabase& db, const std::string& name) {
  auto table = std::make_unique<TTable>(nullptr);
  table->SetDatabaseName(db.Url);
  table->SetTableName(name);
  table->Open();
  return table;
}

// The first row's first column of a query, as a text.
std::string QueryText(const TestDatabase& db, const std::string& sql) {
  TQuery query(nullptr);
  query.SetDatabaseName(db.Url);
  query.SQL()->Add(sql);
  query.Open();
  return query.IsEmpty() ? "(none)" : query.Fields(0)->AsString();
}

using VdeiTest::MessageOf;

// Every type written through the table reads back the same, through the
// table and through a query; names with blanks and quotes; dates stored
// as the ISO texts (SQLite) or date types (PostgreSQL) TQuery reads.
void TypesRoundTrip(const TestDatabase& db) {
  db.Execute(std::string("CREATE TABLE \"My \"\"Table\"\"\" (\"Id No\" INTEGER PRIMARY KEY,") +
             " S SMALLINT, Big BIGINT, Ok BOOLEAN, R " + db.Real + ", D NUMERIC(12,2)," +
             " Day DATE, Tm TIME, Ts TIMESTAMP, \"Na\"\"me\" VARCHAR(10), Tx TEXT, B " + db.Bytes +
             ");");
  auto table = OpenTable(db, "My \"Table\"");
  EXPECT_EQ(table->IndexFieldName(), "Id No");
  const TDateTime stamp = EncodeDate(2001, 3, 15) + EncodeTime(14, 30, 5, 123);
  table->Append();
  table->FieldByName("Id No")->SetAsInteger(1);
  table->FieldByName("S")->SetAsInteger(-5);
  table->FieldByName("Big")->SetAsString("9007199254740993");
  table->FieldByName("Ok")->SetAsBoolean(true);
  table->FieldByName("R")->SetAsFloat(0.1);
  table->FieldByName("D")->SetAsString("12.5");
  table->FieldByName("Day")->SetAsDateTime(stamp);
  table->FieldByName("Tm")->SetAsDateTime(stamp);
  table->FieldByName("Ts")->SetAsDateTime(stamp);
  table->FieldByName("Na\"me")->SetAsString("caf\xe9");
  table->FieldByName("Tx")->SetAsString(std::string(3000, 'x'));
  table->FieldByName("B")->SetAsString(std::string("\0\xff", 2));
  table->Post();
  table->Append();
  table->FieldByName("Id No")->SetAsInteger(2);
  table->Post();

  auto again = OpenTable(db, "My \"Table\"");
  ASSERT_EQ(again->RecordCount(), 2);
  ASSERT_TRUE(again->Locate("Id No", Variant(1)));
  EXPECT_EQ(again->FieldByName("S")->AsInteger(), -5);
  EXPECT_EQ(again->FieldByName("Big")->AsString(), "9007199254740993");
  EXPECT_TRUE(again->FieldByName("Ok")->AsBoolean());
  EXPECT_EQ(again->FieldByName("R")->AsFloat(), 0.1);
  EXPECT_EQ(again->FieldByName("D")->AsFloat(), 12.5);
  EXPECT_EQ(again->FieldByName("Day")->AsDateTime(), EncodeDate(2001, 3, 15));
  EXPECT_NEAR(again->FieldByName("Tm")->AsDateTime(), EncodeTime(14, 30, 5, 123), 1e-9);
  EXPECT_NEAR(again->FieldByName("Ts")->AsDateTime(), stamp, 1e-9);
  EXPECT_EQ(again->FieldByName("Na\"me")->AsString(), "caf\xe9");
  EXPECT_EQ(again->FieldByName("Na\"me")->Size(), 10);
  EXPECT_EQ(again->FieldByName("Tx")->AsString().size(), 3000u);
  EXPECT_EQ(again->FieldByName("B")->AsString(), std::string("\0\xff", 2));
  ASSERT_TRUE(again->Locate("Id No", Variant(2)));
  for (int i = 1; i < again->FieldCount(); ++i) EXPECT_TRUE(again->Fields(i)->IsNull()) << i;

  const std::string from = " FROM \"My \"\"Table\"\"\" WHERE \"Id No\" = 1";
  EXPECT_EQ(QueryText(db, "SELECT CAST(Day AS TEXT)" + from), "2001-03-15");
  EXPECT_EQ(QueryText(db, "SELECT CAST(Tm AS TEXT)" + from), "14:30:05.123");
  EXPECT_EQ(QueryText(db, "SELECT CAST(Ts AS TEXT)" + from), "2001-03-15 14:30:05.123");
}

// Keys of one and two fields, found after the run's own inserts, updates
// and deletes; a key the database numbers is read back.
void KeysFollowTheRun(const TestDatabase& db) {
  db.Execute(std::string("CREATE TABLE pair (a INT NOT NULL, b VARCHAR(5) NOT NULL, v INT,") +
             " PRIMARY KEY (b, a)); INSERT INTO pair VALUES (1, 'x', 10), (2, 'x', 20);" +
             " CREATE TABLE numbered (id " + db.Serial + ", name VARCHAR(20) NOT NULL);");
  auto pair = OpenTable(db, "pair");
  EXPECT_EQ(pair->IndexFieldName(), "b;a");
  ASSERT_TRUE(pair->Locate("b;a", Variant::Array({Variant("x"), Variant(2)})));
  pair->Edit();
  pair->FieldByName("a")->SetAsInteger(3);  // a key field changes
  pair->Post();
  EXPECT_FALSE(pair->Locate("b;a", Variant::Array({Variant("x"), Variant(2)})));
  ASSERT_TRUE(pair->Locate("b;a", Variant::Array({Variant("x"), Variant(3)})));
  EXPECT_EQ(pair->FieldByName("v")->AsInteger(), 20);
  pair->Append();
  pair->FieldByName("a")->SetAsInteger(1);
  pair->FieldByName("b")->SetAsString("y");
  pair->Post();
  ASSERT_TRUE(pair->Locate("b;a", Variant::Array({Variant("x"), Variant(1)})));
  pair->Delete();
  EXPECT_FALSE(pair->Locate("b;a", Variant::Array({Variant("x"), Variant(1)})));
  EXPECT_TRUE(pair->Locate("b;a", Variant::Array({Variant("y"), Variant(1)})));
  EXPECT_EQ(QueryText(db, "SELECT COUNT(*) FROM pair"), "2");
  EXPECT_EQ(QueryText(db, "SELECT v FROM pair WHERE a = 3"), "20");

  auto numbered = OpenTable(db, "numbered");
  EXPECT_FALSE(numbered->FieldByName("id")->Required());
  for (const char* name : {"first", "second"}) {
    numbered->Append();
    numbered->FieldByName("name")->SetAsString(name);
    numbered->Post();
  }
  EXPECT_EQ(numbered->FieldByName("id")->AsInteger(), 2);
  numbered->Edit();
  numbered->FieldByName("name")->SetAsString("changed");
  numbered->Post();
  numbered->Edit();  // a second update finds the row again (PostgreSQL moved it)
  numbered->FieldByName("name")->SetAsString("twice");
  numbered->Post();
  ASSERT_TRUE(numbered->Locate("id", Variant(2)));
  EXPECT_EQ(numbered->FieldByName("name")->AsString(), "twice");
  EXPECT_EQ(QueryText(db, "SELECT name FROM numbered WHERE id = 2"), "twice");
}

// A failed row is undone alone inside the transaction; Rollback leaves the
// table as it was; values that do not fit raise before anything is written.
void TransactionsAndRejectedValues(const TestDatabase& db) {
  db.Execute(
      "CREATE TABLE t (id INT PRIMARY KEY, name VARCHAR(5) NOT NULL, n SMALLINT, big BIGINT,"
      " d NUMERIC(5,2)); INSERT INTO t VALUES (1, 'one', 1, NULL, NULL);");
  auto table = OpenTable(db, "t");
  auto appendRow = [&](int id, const char* name) {
    table->BeginRow();
    try {
      table->Append();
      table->FieldByName("id")->SetAsInteger(id);
      table->FieldByName("name")->SetAsString(name);
      table->Post();
      table->ReleaseRow();
      return true;
    } catch (const Exception&) {
      table->RollbackRow();
      return false;
    }
  };
  table->StartTransaction();
  EXPECT_TRUE(appendRow(2, "two"));
  EXPECT_FALSE(appendRow(1, "dup"));  // the key is taken
  EXPECT_TRUE(appendRow(3, "three"));
  table->Commit();
  EXPECT_EQ(QueryText(db, "SELECT COUNT(*) FROM t"), "3");
  EXPECT_EQ(table->RecordCount(), 3);
  EXPECT_EQ(table->State(), dsBrowse);

  table->StartTransaction();
  EXPECT_TRUE(appendRow(4, "four"));
  ASSERT_TRUE(table->Locate("id", Variant(1)));
  table->Delete();
  table->Rollback();
  EXPECT_EQ(QueryText(db, "SELECT COUNT(*) FROM t"), "3");
  EXPECT_EQ(table->RecordCount(), 3);
  EXPECT_TRUE(table->Locate("id", Variant(1)));
  EXPECT_FALSE(table->Locate("id", Variant(4)));

  table->Append();
  table->FieldByName("id")->SetAsInteger(5);
  EXPECT_EQ(MessageOf<EConvertError>([&] { table->FieldByName("name")->SetAsString("sixsix"); }),
            "'sixsix' is too long for field 'name' (at most 5 characters)");
  EXPECT_EQ(MessageOf<EConvertError>([&] { table->FieldByName("n")->SetAsInteger(40000); }),
            "40000 is not a valid value for field 'n'. The allowed range is -32768 to 32767");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { table->Post(); }), "Field 'name' must have a value");
  table->FieldByName("name")->SetAsString("five");
  table->FieldByName("big")->SetAsString("9223372036854775808");
  EXPECT_EQ(MessageOf<EConvertError>([&] { table->Post(); }),
            "'9223372036854775808' is not a valid value for field 'big': a whole number of 64 "
            "bits is needed");
  table->FieldByName("big")->SetAsString("-9223372036854775808");
  for (const char* value : {"1.234", "1000"}) {  // a digit too many after or before the point
    table->FieldByName("d")->SetAsString(value);
    EXPECT_EQ(MessageOf<EConvertError>([&] { table->Post(); }),
              std::string("'") + value +
                  "' is not a valid value for field 'd': at most 5 digits, 2 of them after the "
                  "decimal point");
  }
  table->FieldByName("d")->SetAsString("-999.99");
  table->Post();
  EXPECT_EQ(QueryText(db, "SELECT d FROM t WHERE id = 5"), "-999.99");
  EXPECT_EQ(QueryText(db, "SELECT big FROM t WHERE id = 5"), "-9223372036854775808");
  table->Append();
  table->FieldByName("id")->SetAsInteger(6);
  table->Cancel();
  EXPECT_EQ(QueryText(db, "SELECT COUNT(*) FROM t"), "4");
}

TEST(TableSqlite, TypesRoundTrip) {
  VdeiTest::TempDir dir;
  TypesRoundTrip(Sqlite(dir));
}

TEST(TableSqlite, KeysFollowTheRun) {
  VdeiTest::TempDir dir;
  KeysFollowTheRun(Sqlite(dir));
}

TEST(TableSqlite, TransactionsAndRejectedValues) {
  VdeiTest::TempDir dir;
  TransactionsAndRejectedValues(Sqlite(dir));
}

TEST(TablePostgres, TypesRoundTrip) {
  VDEI_REQUIRE_POSTGRES(cluster);
  cluster->Execute("DROP TABLE IF EXISTS \"My \"\"Table\"\"\"");
  TypesRoundTrip(Postgres(cluster));
}

TEST(TablePostgres, KeysFollowTheRun) {
  VDEI_REQUIRE_POSTGRES(cluster);
  cluster->Execute("DROP TABLE IF EXISTS pair; DROP TABLE IF EXISTS numbered");
  KeysFollowTheRun(Postgres(cluster));
}

TEST(TablePostgres, TransactionsAndRejectedValues) {
  VDEI_REQUIRE_POSTGRES(cluster);
  cluster->Execute("DROP TABLE IF EXISTS t");
  TransactionsAndRejectedValues(Postgres(cluster));
}

// PostgreSQL turns the commit of a transaction with a failed statement
// into a rollback: the commit raises and the records are read again.
TEST(TablePostgres, CommitTurnedIntoRollbackRaises) {
  VDEI_REQUIRE_POSTGRES(cluster);
  cluster->Execute(
      "DROP TABLE IF EXISTS c; CREATE TABLE c (id INT PRIMARY KEY);"
      "INSERT INTO c VALUES (1)");
  auto table = OpenTable(Postgres(cluster), "c");
  table->StartTransaction();
  table->Append();
  table->FieldByName("id")->SetAsInteger(2);
  table->Post();
  table->Append();
  table->FieldByName("id")->SetAsInteger(1);
  EXPECT_THROW(table->Post(), EDatabaseError);
  table->Cancel();
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { table->Commit(); }),
            "The transaction was rolled back by the database");
  EXPECT_EQ(table->RecordCount(), 1);
  EXPECT_FALSE(table->InTransaction());
}

}  // namespace
}  // namespace Vdei
