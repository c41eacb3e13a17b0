// TQuery over SQLite files, the sample database, aliases, and a
// throwaway PostgreSQL cluster.
#include "dataset/Query.h"

#include <gtest/gtest.h>

#include "TestDatabases.h"
#include "core/DateTime.h"
#include "core/Exception.h"
#include "core/Properties.h"
#include "dataset/Database.h"
#include "dataset/Fields.h"

namespace Vdei {
namespace {

struct Column {
  const char* Name;
  TFieldType Type;
  int Size;
};

void ExpectColumns(const TDataSet& data, std::initializer_list<Column> columns) {
  ASSERT_EQ(data.FieldCount(), static_cast<int>(columns.size()));
  int i = 0;
  for (const Column& c : columns) {
    const TField* field = data.Fields(i++);
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(field->FieldName(), c.Name);
    EXPECT_EQ(field->DataType(), c.Type);
    EXPECT_EQ(field->Size(), c.Size);
  }
}

std::unique_ptr<TQuery> OpenQuery(const std::string& database, const std::string& sql) {
  auto query = std::make_unique<TQuery>(nullptr);
  query->SetDatabaseName(database);
  query->SQL()->Add(sql);
  query->Open();
  return query;
}

constexpr const char* kTypesTable =
    "CREATE TABLE T (s SMALLINT, i INTEGER, big BIGINT, ok BOOLEAN, m MONEY, d DECIMAL(10,2), "
    "f DOUBLE, dt DATE, tm TIME, ts DATETIME, c CHAR(4), v VARCHAR(12), tx TEXT, vn VARCHAR, "
    "memo MEMO, b BLOB, g IMAGE, need INT NOT NULL);";

TEST(QuerySqlite, EveryDeclaredTypeMapsToItsField) {
  VdeiTest::TempDir dir;
  const std::string path = dir.File("types.db");
  VdeiTest::CreateSqliteDatabase(
      path, std::string(kTypesTable) +
                "INSERT INTO T VALUES (-5, 70000, 9007199254740993, 1, 1234.5, '12.50', 0.25, "
                "'2001-03-15', '14:30:05', '2001-03-15 14:30:05.123', 'ab', 'hello', "
                "'longest text', 'xyz', 'a memo', x'00ff10', x'89504e47', 1);"
                "INSERT INTO T (need) VALUES (2);");
  auto query = OpenQuery("sqlite:" + path, "SELECT * FROM T");
  ExpectColumns(*query, {{"s", ftSmallint, 0},  {"i", ftInteger, 0},  {"big", ftBCD, 0},
                         {"ok", ftBoolean, 0},  {"m", ftCurrency, 0}, {"d", ftBCD, 0},
                         {"f", ftFloat, 0},     {"dt", ftDate, 0},    {"tm", ftTime, 0},
                         {"ts", ftDateTime, 0}, {"c", ftString, 4},   {"v", ftString, 12},
                         {"tx", ftString, 12},  {"vn", ftString, 3},  {"memo", ftMemo, 0},
                         {"b", ftBlob, 0},      {"g", ftGraphic, 0},  {"need", ftInteger, 0}});
  EXPECT_TRUE(query->FieldByName("need")->Required());
  EXPECT_FALSE(query->FieldByName("i")->Required());
  EXPECT_EQ(query->RecordCount(), 2);

  EXPECT_EQ(query->FieldByName("s")->AsInteger(), -5);
  EXPECT_EQ(query->FieldByName("big")->AsString(), "9007199254740993");
  EXPECT_TRUE(query->FieldByName("ok")->AsBoolean());
  EXPECT_EQ(query->FieldByName("m")->DisplayText(), "$1,234.50");
  EXPECT_EQ(query->FieldByName("d")->AsString(), "12.5");
  EXPECT_EQ(query->FieldByName("dt")->AsDateTime(), EncodeDate(2001, 3, 15));
  EXPECT_EQ(query->FieldByName("tm")->AsString(), "2:30:05 PM");
  int year, month, day, hour, minute, second, msec;
  DecodeDateTime(query->FieldByName("ts")->AsDateTime(), year, month, day, hour, minute, second,
                 msec);
  EXPECT_EQ((std::vector<int>{year, month, day, hour, minute, second, msec}),
            (std::vector<int>{2001, 3, 15, 14, 30, 5, 123}));
  EXPECT_EQ(query->FieldByName("b")->AsString(), std::string("\0\xff\x10", 3));
  EXPECT_EQ(static_cast<TBlobField*>(query->FieldByName("g"))->BlobType(), ftGraphic);

  query->Next();
  for (int i = 0; i < query->FieldCount() - 1; ++i)
    EXPECT_TRUE(query->Fields(i)->IsNull()) << query->Fields(i)->FieldName();
  EXPECT_THROW(query->Edit(), EDatabaseError);  // a query result is read-only
}

TEST(QuerySqlite, BadStoredValuesNameTheirField) {
  VdeiTest::TempDir dir;
  const std::string path = dir.File("bad.db");
  VdeiTest::CreateSqliteDatabase(path,
                                 "CREATE TABLE T (Born DATE, Qty INT);"
                                 "INSERT INTO T VALUES ('2001-02-30', 1);"
                                 "INSERT INTO T VALUES ('2001-02-03', 'many');");
  try {
    OpenQuery("sqlite:" + path, "SELECT Born FROM T");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'2001-02-30' is not a valid date value for field 'Born'");
  }
  try {
    OpenQuery("sqlite:" + path, "SELECT Qty FROM T");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'many' is not a valid integer value for field 'Qty'");
  }
  EXPECT_THROW(OpenQuery("sqlite:" + path, "SELECT nope FROM T"), EDatabaseError);
  EXPECT_THROW(OpenQuery("sqlite:" + dir.File("missing.db"), "SELECT 1"), EDatabaseError);
  EXPECT_THROW(OpenQuery("no such database", "SELECT 1"), EDatabaseError);
}

TEST(QuerySqlite, TextSizesCodePageAndExpressionColumns) {
  VdeiTest::TempDir dir;
  const std::string path = dir.File("text.db");
  // "café" (é is in 1252), "日本" (not in 1252: one '?' per character).
  VdeiTest::CreateSqliteDatabase(path,
                                 "CREATE TABLE T (Name TEXT NOT NULL);"
                                 "INSERT INTO T VALUES ('caf\xc3\xa9');"
                                 "INSERT INTO T VALUES ('\xe6\x97\xa5\xe6\x9c\xac!');");
  auto query = OpenQuery(path, "SELECT Name, length(Name) AS Len, Name || '' AS Copy, "
                               "NULL AS Blank, 1.5 AS Half FROM T ORDER BY Len DESC");
  ExpectColumns(*query, {{"Name", ftString, 4}, {"Len", ftInteger, 0}, {"Copy", ftString, 4},
                         {"Blank", ftString, 1}, {"Half", ftFloat, 0}});
  EXPECT_TRUE(query->FieldByName("Name")->Required());
  EXPECT_EQ(query->FieldByName("Name")->AsString(), "caf\xe9");
  query->Next();
  EXPECT_EQ(query->FieldByName("Name")->AsString(), "?" "?!");

  auto same = OpenQuery(path, "SELECT Name, Name FROM T");
  ExpectColumns(*same, {{"Name", ftString, 4}, {"Name_1", ftString, 4}});
}

TEST(QuerySqlite, SampleDatabaseCustomerTable) {
  auto query = OpenQuery("DBDEMOS", "SELECT * FROM CUSTOMER ORDER BY Company");
  EXPECT_EQ(query->RecordCount(), 55);
  ExpectColumns(*query, {{"CustNo", ftFloat, 0},  {"Company", ftString, 30},
                         {"Addr1", ftString, 30}, {"Addr2", ftString, 30},
                         {"City", ftString, 15},  {"State", ftString, 20},
                         {"Zip", ftString, 10},   {"Country", ftString, 20},
                         {"Phone", ftString, 15}, {"FAX", ftString, 15},
                         {"TaxRate", ftFloat, 0}, {"Contact", ftString, 20},
                         {"LastInvoiceDate", ftDateTime, 0}});
  EXPECT_EQ(query->FieldByName("Company")->DisplayWidth(), 30);
  EXPECT_EQ(query->FieldByName("LastInvoiceDate")->DisplayWidth(), 18);
  EXPECT_EQ(query->FieldByName("TaxRate")->Alignment(), taRightJustify);
  int markup = 0, nullAddr2 = 0, nullDates = 0;
  std::string previous;
  for (query->First(); !query->Eof(); query->Next()) {
    const std::string company = query->FieldByName("Company")->AsString();
    EXPECT_LE(previous, company);
    previous = company;
    markup += company.find_first_of("&<'") != std::string::npos;
    nullAddr2 += query->FieldByName("Addr2")->IsNull();
    nullDates += query->FieldByName("LastInvoiceDate")->IsNull();
  }
  EXPECT_GE(markup, 3);
  EXPECT_GT(nullAddr2, 0);
  EXPECT_GT(nullDates, 0);
  EXPECT_TRUE(query->Locate("Company", Variant("Barnacle & Bream Supply")));
}

TEST(QuerySqlite, AliasesAndStatementChanges) {
  VdeiTest::TempDir dir;
  const std::string path = dir.File("other.db");
  VdeiTest::CreateSqliteDatabase(path, "CREATE TABLE CUSTOMER (Company VARCHAR(9));"
                                       "INSERT INTO CUSTOMER VALUES ('Elsewhere');");
  const std::string original = AliasUrl("DBDEMOS");
  SetAlias("dbdemos", "sqlite:" + path);
  auto query = OpenQuery("DBDEMOS", "SELECT * FROM CUSTOMER");
  EXPECT_EQ(query->RecordCount(), 1);
  EXPECT_EQ(query->FieldByName("Company")->AsString(), "Elsewhere");

  query->SQL()->Add("WHERE Company = 'x'");  // changing the statement closes
  EXPECT_FALSE(query->Active());
  query->Open();
  EXPECT_EQ(query->RecordCount(), 0);
  EXPECT_TRUE(query->Eof());
  EXPECT_EQ(GetPropValue(*query, "DatabaseName").AsString(), "DBDEMOS");
  EXPECT_TRUE(PropIsType(*query, "SQL", tkClass));
  SetAlias("DBDEMOS", original);
}

TEST(QueryPostgres, TypesRequiredAndNulls) {
  VDEI_REQUIRE_POSTGRES(cluster);
  cluster->Execute(
      "DROP TABLE IF EXISTS t;"
      "CREATE TABLE t (s int2, i int4 NOT NULL, big int8, ok bool, m money, d numeric(10,2), "
      "f float8, dt date, tm time, ts timestamp, c char(4), v varchar(12), tx text, b bytea);"
      "INSERT INTO t VALUES (-5, 70000, 9007199254740993, true, 1234.5, 12.50, 0.25, "
      "'2001-03-15', '14:30:05', '2001-03-15 14:30:05.123', 'ab', 'h\xc3\xa9llo', 'longest text', "
      "'\\x00ff');"
      "INSERT INTO t (i) VALUES (2);");
  auto query = OpenQuery(cluster->Url(), "SELECT * FROM t ORDER BY i DESC");
  ExpectColumns(*query, {{"s", ftSmallint, 0},  {"i", ftInteger, 0},  {"big", ftBCD, 0},
                         {"ok", ftBoolean, 0},  {"m", ftCurrency, 0}, {"d", ftBCD, 0},
                         {"f", ftFloat, 0},     {"dt", ftDate, 0},    {"tm", ftTime, 0},
                         {"ts", ftDateTime, 0}, {"c", ftString, 4},   {"v", ftString, 12},
                         {"tx", ftString, 12},  {"b", ftBlob, 0}});
  EXPECT_TRUE(query->FieldByName("i")->Required());
  EXPECT_FALSE(query->FieldByName("s")->Required());
  EXPECT_EQ(query->FieldByName("big")->AsString(), "9007199254740993");
  EXPECT_EQ(query->FieldByName("m")->AsFloat(), 1234.5);
  EXPECT_EQ(query->FieldByName("d")->AsString(), "12.5");
  EXPECT_TRUE(query->FieldByName("ok")->AsBoolean());
  EXPECT_EQ(query->FieldByName("ts")->AsString(), "3/15/2001 2:30:05 PM");
  EXPECT_EQ(query->FieldByName("v")->AsString(), "h\xe9llo");
  EXPECT_EQ(query->FieldByName("b")->AsString(), std::string("\0\xff", 2));
  query->Next();
  EXPECT_EQ(query->FieldByName("i")->AsInteger(), 2);
  EXPECT_TRUE(query->FieldByName("ts")->IsNull());
  EXPECT_THROW(OpenQuery(cluster->Url(), "SELECT * FROM missing"), EDatabaseError);
}

}  // namespace
}  // namespace Vdei
