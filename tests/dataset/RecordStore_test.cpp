// The record store, database value texts and database names.
#include "dataset/RecordStore.h"

#include <gtest/gtest.h>

#include <random>

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
  store.Erase(3);
  ASSERT_EQ(store.Count(), 3u);
  EXPECT_EQ(store.Order().At(0), 1u);
  EXPECT_EQ(store.Order().PositionOf(4), 2u);
  EXPECT_FALSE(store.Order().Contains(3));
  EXPECT_EQ(store.Layout().Slot(store.Row(4), 65), 4u);
  EXPECT_FALSE(RecordLayout::IsNull(store.Row(1), 65));
  EXPECT_TRUE(RecordLayout::IsNull(store.Row(4), 65));
}

// The order against a plain vector of live ids, through removals anywhere
// with positional questions in between and in long runs without them.
TEST(RecordOrder, AgreesWithAPlainListThroughRemovalsAnywhere) {
  RecordOrder order;
  order.Reset(7);
  std::vector<uint32_t> live;
  std::mt19937 random(42);
  for (int round = 0; round < 6; ++round) {
    for (int i = 0; i < 3000; ++i) live.push_back(order.Add());
    const int removals = round % 2 == 0 ? 2500 : 40;  // long runs, and few
    for (int i = 0; i < removals && !live.empty(); ++i) {
      const size_t position = random() % live.size();
      order.Remove(live[position]);
      live.erase(live.begin() + static_cast<std::ptrdiff_t>(position));
      if (i % 97 == 0 && !live.empty()) {
        ASSERT_EQ(order.PositionOf(live[0]), 0u);
      }
    }
    ASSERT_EQ(order.Count(), live.size());
    for (size_t p = 0; p < live.size(); p += 1 + p % 13) {
      ASSERT_EQ(order.At(p), live[p]) << p;
      ASSERT_EQ(order.PositionOf(live[p]), p);
    }
    std::vector<uint32_t> forward, backward;
    for (uint32_t id = order.First(); id != RecordOrder::kNone; id = order.After(id))
      forward.push_back(id);
    for (uint32_t id = order.Last(); id != RecordOrder::kNone; id = order.Before(id))
      backward.insert(backward.begin(), id);
    ASSERT_EQ(forward, live);
    ASSERT_EQ(backward, live);
  }
  for (uint32_t id : live) order.Remove(id);
  EXPECT_EQ(order.First(), RecordOrder::kNone);
  EXPECT_EQ(order.Last(), RecordOrder::kNone);
}

// Replacing and erasing texts gives their space back: an update pass that
// rewrites every text, repeated, stays within what one pass needs.
TEST(RecordStore, ReplacedAndErasedTextsAreReused) {
  RecordStore store;
  store.Reset(2);
  store.SetTextFields({1});
  std::vector<uint32_t> ids;
  auto row = [&](int pass, int i) {
    std::vector<RecordWord> words(store.Layout().Width());
    store.Layout().Reset(words.data());
    const std::string text = std::string(1 + (i * 7 + pass) % 300, 'a' + pass % 26) +
                             (i % 50 == 0 ? std::string(300000, 'L') : std::string());
    store.Layout().SetSlot(words.data(), 1, store.Arena().Add(text));
    RecordLayout::SetNull(words.data(), 1, false);
    return std::make_pair(words, text);
  };
  for (int i = 0; i < 5000; ++i) ids.push_back(store.Append(row(0, i).first.data()));
  size_t afterSecondPass = 0;
  for (int pass = 1; pass <= 8; ++pass) {
    for (int i = 0; i < 5000; ++i) {
      auto [words, text] = row(pass, i);
      store.Overwrite(ids[i], words.data());
      ASSERT_EQ(TextArena::Read(store.Layout().Slot(store.Row(ids[i]), 1)), text);
    }
    if (pass == 2) afterSecondPass = store.Arena().BytesReserved();
  }
  EXPECT_LE(store.Arena().BytesReserved(), afterSecondPass + (1 << 20));
  const size_t inUse = store.Arena().BytesInUse();
  for (int i = 0; i < 5000; i += 2) store.Erase(ids[i]);
  EXPECT_LT(store.Arena().BytesInUse(), inUse * 6 / 10);
  for (int i = 0; i < 2500; ++i) store.Append(row(9, i).first.data());
  EXPECT_LE(store.Arena().BytesReserved(), afterSecondPass + (1 << 20));
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
