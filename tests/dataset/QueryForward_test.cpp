// TQuery opened forward-only (UniDirectional): the same records as the
// query read whole, the rules of the mode, errors of the reader thread at
// their row, and closing while the reader is still busy.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ExceptionText.h"
#include "TestDatabases.h"
#include "core/Exception.h"
#include "dataset/Query.h"

namespace Vdei {
namespace {

using VdeiTest::MessageOf;

constexpr const char* kNotAllowed = "Operation not allowed on a unidirectional dataset";

// T (n INTEGER, name VARCHAR(20), note TEXT) with rows 1..count; the row
// numbered bad (if any) holds a text in n that does not read as an integer.
std::string NumberedRows(int count, int bad = 0) {
  return "CREATE TABLE T (n INTEGER, name VARCHAR(20), note TEXT);"
         "INSERT INTO T WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < " +
         std::to_string(count) + ") SELECT CASE WHEN i = " + std::to_string(bad) +
         " THEN 'x' || i ELSE i END, 'row ' || i, substr('abcdefghij', 1, i % 11) FROM k;";
}

std::unique_ptr<TQuery> MakeQuery(const std::string& database, const std::string& sql,
                                  bool forward) {
  auto query = std::make_unique<TQuery>(nullptr);
  query->SetDatabaseName(database);
  query->SQL()->Add(sql);
  query->SetUniDirectional(forward);
  return query;
}

// Walks both queries to their ends, expecting the same fields and values.
void ExpectSameRecords(TQuery& forward, TQuery& whole) {
  ASSERT_EQ(forward.FieldCount(), whole.FieldCount());
  for (int i = 0; i < whole.FieldCount(); ++i) {
    EXPECT_EQ(forward.Fields(i)->FieldName(), whole.Fields(i)->FieldName());
    EXPECT_EQ(forward.Fields(i)->DataType(), whole.Fields(i)->DataType());
    EXPECT_EQ(forward.Fields(i)->Size(), whole.Fields(i)->Size());
  }
  int records = 0;
  for (; !whole.Eof(); whole.Next(), forward.Next()) {
    ASSERT_FALSE(forward.Eof()) << "record " << records;
    EXPECT_EQ(forward.RecNo(), whole.RecNo());
    for (int i = 0; i < whole.FieldCount(); ++i)
      ASSERT_EQ(forward.Fields(i)->AsString(), whole.Fields(i)->AsString()) << "record " << records;
    ++records;
  }
  EXPECT_TRUE(forward.Eof());
  EXPECT_EQ(forward.RecordCount(), records);
}

TEST(QueryForward, SameRecordsAsTheWholeResultAcrossBatches) {
  VdeiTest::TempDir dir;
  const std::string db = "sqlite:" + dir.File("rows.db");
  VdeiTest::CreateSqliteDatabase(dir.File("rows.db"), NumberedRows(10000));
  // Declared sizes stream in batches; a TEXT column is read whole first,
  // with its size from the longest value as before.
  for (const char* sql : {"SELECT n, name FROM T", "SELECT * FROM T ORDER BY name DESC"}) {
    SCOPED_TRACE(sql);
    auto forward = MakeQuery(db, sql, true);
    auto whole = MakeQuery(db, sql, false);
    forward->Open();
    whole->Open();
    EXPECT_EQ(forward->RecordCount(), -1);
    EXPECT_FALSE(forward->IsEmpty());
    ExpectSameRecords(*forward, *whole);
    forward->Close();
    forward->Open();  // opens again from the start
    EXPECT_EQ(forward->RecNo(), 1);
  }
  auto empty = MakeQuery(db, "SELECT n, name FROM T WHERE n < 0", true);
  empty->Open();
  EXPECT_TRUE(empty->Eof());
  EXPECT_TRUE(empty->IsEmpty());
  EXPECT_EQ(empty->RecordCount(), 0);
  EXPECT_EQ(empty->RecNo(), 0);
}

TEST(QueryForward, MovingBackBookmarksAndLocateAreRefused) {
  VdeiTest::TempDir dir;
  VdeiTest::CreateSqliteDatabase(dir.File("rows.db"), NumberedRows(5));
  auto query = MakeQuery("sqlite:" + dir.File("rows.db"), "SELECT n, name FROM T", true);
  query->Open();
  query->First();  // still on the first record: allowed
  EXPECT_EQ(query->FieldByName("n")->AsInteger(), 1);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->GetBookmark(); }), kNotAllowed);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->Bookmark(); }), kNotAllowed);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->SetBookmark("1"); }), kNotAllowed);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->GotoBookmark(TBookmark()); }), kNotAllowed);
  EXPECT_FALSE(query->BookmarkValid(TBookmark()));
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->Locate("n", Variant(3)); }), kNotAllowed);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->Last(); }), kNotAllowed);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->SetRecNo(2); }), kNotAllowed);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { TRecordPeek peek(*query, 0); }), kNotAllowed);
  query->Next();
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->First(); }), kNotAllowed);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { query->Prior(); }), kNotAllowed);
  EXPECT_EQ(query->FieldByName("n")->AsInteger(), 2);  // the refusals did not move it
  // The property is published and closes an open query when changed.
  query->SetUniDirectional(false);
  EXPECT_FALSE(query->Active());
  query->Open();
  query->Last();
  EXPECT_EQ(query->RecordCount(), 5);
}

TEST(QueryForward, ReaderErrorsComeAtTheirRowWithTheSameMessage) {
  VdeiTest::TempDir dir;
  const std::string db = "sqlite:" + dir.File("bad.db");
  VdeiTest::CreateSqliteDatabase(dir.File("bad.db"), NumberedRows(20000, 9000));
  const std::string sql = "SELECT n, name FROM T";
  const std::string expected = MessageOf<EConvertError>([&] { MakeQuery(db, sql, false)->Open(); });
  ASSERT_NE(expected, "no exception");
  auto forward = MakeQuery(db, sql, true);
  forward->Open();
  int seen = 0;
  const std::string message = MessageOf<EConvertError>([&] {
    for (; !forward->Eof(); forward->Next()) ++seen;
  });
  EXPECT_EQ(message, expected);
  EXPECT_EQ(seen, 8999);  // every record before the bad one, none after
  EXPECT_EQ(forward->FieldByName("n")->AsInteger(), 8999);
  // Before the first record, the error is Open's, as without the mode.
  auto early = MakeQuery(db, "SELECT n, name FROM T WHERE n > 8990 OR n LIKE 'x%'", true);
  EXPECT_EQ(MessageOf<EConvertError>([&] {
              early->Open();
              while (!early->Eof()) early->Next();
            }),
            expected);
  EXPECT_EQ(
      MessageOf<EDatabaseError>([&] { MakeQuery(db, "SELECT * FROM Missing", true)->Open(); }),
      MessageOf<EDatabaseError>([&] { MakeQuery(db, "SELECT * FROM Missing", false)->Open(); }));
}

TEST(QueryForward, ClosingStopsAReaderThatIsAheadOfTheCursor) {
  VdeiTest::TempDir dir;
  const std::string db = "sqlite:" + dir.File("many.db");
  VdeiTest::CreateSqliteDatabase(dir.File("many.db"), NumberedRows(200000));
  for (const char* sql : {"SELECT n, name FROM T", "SELECT n, name FROM T ORDER BY name"}) {
    auto query = MakeQuery(db, sql, true);
    query->Open();
    for (int i = 0; i < 5000; ++i) query->Next();
    query->Close();  // the reader waits on a full queue or is mid-result
    query->Open();
    EXPECT_EQ(query->RecNo(), 1);
    query.reset();  // destroyed while open
  }
}

TEST(QueryForward, PostgresRowsMatchTheWholeResult) {
  VDEI_REQUIRE_POSTGRES(cluster);
  cluster->Execute(
      "DROP TABLE IF EXISTS fw;"
      "CREATE TABLE fw (n int4 NOT NULL, name varchar(20), ts timestamp);"
      "INSERT INTO fw SELECT i, 'row ' || i, timestamp '2001-03-15' + i * interval '1 minute'"
      " FROM generate_series(1, 9000) AS i;");
  const std::string sql = "SELECT * FROM fw ORDER BY n DESC";
  auto forward = MakeQuery(cluster->Url(), sql, true);
  auto whole = MakeQuery(cluster->Url(), sql, false);
  forward->Open();
  whole->Open();
  EXPECT_TRUE(forward->FieldByName("n")->Required());
  ExpectSameRecords(*forward, *whole);
  // The server failing in the middle of the rows: the rows before it, then
  // the same error as the query read whole.
  const std::string failing = "SELECT n, 10 / (n - 4000) AS q FROM fw";
  const std::string expected =
      MessageOf<EDatabaseError>([&] { MakeQuery(cluster->Url(), failing, false)->Open(); });
  ASSERT_NE(expected, "no exception");
  auto broken = MakeQuery(cluster->Url(), failing, true);
  int seen = 0;
  EXPECT_EQ(MessageOf<EDatabaseError>([&] {
              for (broken->Open(); !broken->Eof(); broken->Next()) ++seen;
            }),
            expected);
  EXPECT_EQ(seen, 3999);
}

}  // namespace
}  // namespace Vdei
