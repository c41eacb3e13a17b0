// The record store, database value texts and database names.
#include "dataset/RecordStore.h"

#include <gtest/gtest.h>

#include "TestDatabases.h"
#include "core/DateTime.h"
#include "core/Exception.h"
#include "dataset/Database.h"
#include "dataset/ValueText.h"

namespace Vdei {
namespace {

TEST(RecordStore, TextsStayPutWhateverIsAddedAfterThem) {
  TextArena arena;
  std::vector<std::pair<RecordWord, std::string>> stored;
  // Small texts fill shared blocks; large ones get blocks of their own
  // between them. Every handle must still read its own text.
  for (int i = 0; i < 40; ++i) {
    std::string text = i % 7 == 3 ? std::string(600000 + i, char('a' + i % 26))
                                  : "text " + std::to_string(i) + std::string(i * 1000, 'x');
    stored.emplace_back(arena.Add(text), std::move(text));
  }
  stored.emplace_back(arena.Add(""), "");
  for (const auto& [handle, text] : stored) EXPECT_EQ(TextArena::Read(handle), text);
}

TEST(RecordStore, OrderIdsAndNulls) {
  RecordStore store;
  store.Reset(70);  // two words of null bits
  for (int i = 0; i < 5; ++i) {
    RecordWord* row = store.Row(store.Append());
    EXPECT_TRUE(RecordLayout::IsNull(row, 69));
    RecordLayout::SetNull(row, 65, i % 2 == 0);
    store.Layout().SetSlot(row, 65, i);
  }
  store.Erase(0);
  store.Erase(2);  // the record with id 3
  ASSERT_EQ(store.Count(), 3u);
  EXPECT_EQ(store.IdAt(0), 1u);
  EXPECT_EQ(store.PositionOf(4), 2);
  EXPECT_EQ(store.PositionOf(3), -1);
  EXPECT_EQ(store.Layout().Slot(store.Row(4), 65), 4u);
  EXPECT_FALSE(RecordLayout::IsNull(store.Row(1), 65));
  EXPECT_TRUE(RecordLayout::IsNull(store.Row(4), 65));
}

TEST(ValueText, IsoDatesAndDecimals) {
  TDateTime value;
  bool hasDate, hasTime;
  ASSERT_TRUE(TryParseIsoDateTime("2001-03-15T14:30:05.5+02", value, hasDate, hasTime));
  EXPECT_TRUE(hasDate && hasTime);
  EXPECT_DOUBLE_EQ(value, EncodeDate(2001, 3, 15) + EncodeTime(14, 30, 5, 500));
  ASSERT_TRUE(TryParseIsoDateTime("14:30", value, hasDate, hasTime));
  EXPECT_TRUE(!hasDate && hasTime);
  for (const char* bad : {"", "2001-13-01", "2001-02-29", "25:00:00", "2001-03-15 x", "15/3/2001"})
    EXPECT_FALSE(TryParseIsoDateTime(bad, value, hasDate, hasTime)) << bad;

  std::string text;
  ASSERT_TRUE(CanonicalDecimal(" -007,250 ", ',', text));
  EXPECT_EQ(text, "-7.25");
  ASSERT_TRUE(CanonicalDecimal("-0.00", '.', text));
  EXPECT_EQ(text, "0");
  ASSERT_TRUE(CanonicalDecimal(".5", '.', text));
  EXPECT_EQ(text, "0.5");
  for (const char* bad : {"", "-", "1e5", "1.2.3", "12a"})
    EXPECT_FALSE(CanonicalDecimal(bad, '.', text)) << bad;
}

TEST(Database, NamesResolveToLocations) {
  VdeiTest::TempDir dir;
  const std::string path = dir.File("plain.db");
  VdeiTest::CreateSqliteDatabase(path, "CREATE TABLE T (A INT);");
  EXPECT_EQ(ResolveDatabaseName(path).Target, path);
  EXPECT_EQ(ResolveDatabaseName("SQLite:/x/y.db").Target, "/x/y.db");
  const TDatabaseLocation pg = ResolveDatabaseName("postgresql://localhost/db");
  EXPECT_EQ(pg.Kind, dkPostgreSQL);
  EXPECT_EQ(pg.Target, "postgresql://localhost/db");
  EXPECT_NE(AliasUrl("dbdemos").find("/data/dbdemos.db"), std::string::npos);

  SetAlias("Mine", "sqlite:" + path);
  EXPECT_EQ(ResolveDatabaseName("MINE").Target, path);
  SetAlias("Mine", "");
  try {
    ResolveDatabaseName("Mine");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Unknown database 'Mine'");
  }
}

}  // namespace
}  // namespace Vdei
