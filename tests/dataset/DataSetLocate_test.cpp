// Locate through the key indexes, deleting anywhere, and the memory of
// texts that edits replace.
#include <gtest/gtest.h>

#include <random>

#include "core/DateTime.h"
#include "core/Exception.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Fields.h"

namespace Vdei {
namespace {

constexpr int kNullId = -1;

struct ModelRow {
  int Id;  // kNullId: null
  std::string Name;
  double Amount;
};

std::unique_ptr<TClientDataSet> MakeKeyTable() {
  auto table = std::make_unique<TClientDataSet>(nullptr);
  table->FieldDefs()->Add("Id", ftInteger);
  table->FieldDefs()->Add("Name", ftString, 20);
  table->FieldDefs()->Add("Amount", ftFloat);
  table->CreateDataSet();
  return table;
}

void WriteRow(TDataSet& table, const ModelRow& row) {
  if (row.Id == kNullId) {
    table.FieldByName("Id")->Clear();
  } else {
    table.FieldByName("Id")->SetAsInteger(row.Id);
  }
  table.FieldByName("Name")->SetAsString(row.Name);
  table.FieldByName("Amount")->SetAsFloat(row.Amount);
}

// The first position (from 0) of the model whose key equals, or -1.
template <class Equal>
int FirstMatch(const std::vector<ModelRow>& model, Equal equal) {
  for (size_t i = 0; i < model.size(); ++i)
    if (equal(model[i])) return static_cast<int>(i);
  return -1;
}

// Random appends, key edits, deletes anywhere, closes and empties, each
// followed by Locates on three key lists whose answer must be the first
// matching record of a plain list.
TEST(DataSetLocate, IndexesFollowEveryChange) {
  auto table = MakeKeyTable();
  std::vector<ModelRow> model;
  std::mt19937 random(7);
  auto randomRow = [&] {
    ModelRow row;
    row.Id = random() % 10 == 0 ? kNullId : static_cast<int>(random() % 40);
    row.Name = "n" + std::to_string(random() % 25);
    row.Amount = static_cast<double>(random() % 30);
    return row;
  };
  auto checkLocates = [&] {
    const int id = random() % 8 == 0 ? kNullId : static_cast<int>(random() % 40);
    const std::string name = "n" + std::to_string(random() % 25);
    const int amount = static_cast<int>(random() % 30);
    const Variant idKey = id == kNullId ? Variant::Null() : Variant(id);
    const int byId = FirstMatch(model, [&](const ModelRow& r) { return r.Id == id; });
    const int byPair =
        FirstMatch(model, [&](const ModelRow& r) { return r.Name == name && r.Id == id; });
    const int byAmount = FirstMatch(model, [&](const ModelRow& r) { return r.Amount == amount; });
    const int before = table->RecNo();
    ASSERT_EQ(table->Locate("Id", idKey), byId >= 0);
    ASSERT_EQ(table->RecNo(), byId >= 0 ? byId + 1 : before);
    ASSERT_EQ(table->Locate("Name;Id", Variant::Array({Variant(name), idKey})), byPair >= 0);
    if (byPair >= 0) {
      ASSERT_EQ(table->RecNo(), byPair + 1);
    }
    // An integer key finds the float field's equal value.
    ASSERT_EQ(table->Locate("Amount", Variant(amount)), byAmount >= 0);
    if (byAmount >= 0) {
      ASSERT_EQ(table->FieldByName("Amount")->AsFloat(), amount);
    }
  };
  for (int step = 0; step < 3000; ++step) {
    const unsigned action = random() % 100;
    if (action < 45 || model.empty()) {
      model.push_back(randomRow());
      table->Append();
      WriteRow(*table, model.back());
      table->Post();
    } else if (action < 70) {
      const int position = static_cast<int>(random() % model.size());
      table->SetRecNo(position + 1);
      table->Edit();
      model[position] = randomRow();
      WriteRow(*table, model[position]);
      table->Post();
    } else if (action < 97) {
      const int position = static_cast<int>(random() % model.size());
      table->SetRecNo(position + 1);
      table->Delete();
      model.erase(model.begin() + position);
    } else if (action < 99) {
      table->Close();
      table->Open();
    } else {
      table->EmptyDataSet();
      model.clear();
    }
    ASSERT_EQ(table->RecordCount(), static_cast<int>(model.size()));
    ASSERT_NO_FATAL_FAILURE(checkLocates());
  }
}

TEST(DataSetLocate, EveryFieldKindMatchesByItsRules) {
  TClientDataSet table(nullptr);
  table.FieldDefs()->Add("Int", ftInteger);
  table.FieldDefs()->Add("Dec", ftBCD);
  table.FieldDefs()->Add("Day", ftDate);
  table.FieldDefs()->Add("Flag", ftBoolean);
  table.FieldDefs()->Add("Memo", ftMemo);
  table.FieldDefs()->Add("Real", ftFloat);
  table.CreateDataSet();
  for (int i = 0; i < 3; ++i) {
    table.Append();
    table.FieldByName("Int")->SetAsInteger(i * 6);
    table.FieldByName("Dec")->SetAsString(i == 1 ? "12.50" : "-0");
    table.FieldByName("Day")->SetAsDateTime(EncodeDate(2001, 3, 15 + i));
    table.FieldByName("Flag")->SetAsBoolean(i == 2);
    if (i > 0) table.FieldByName("Memo")->SetAsString(std::string(i, 'm'));
    table.FieldByName("Real")->SetAsFloat(i == 0 ? -0.0 : i + 0.25);
    table.Post();
  }
  EXPECT_TRUE(table.Locate("Int", Variant(6.0)) && table.RecNo() == 2);
  EXPECT_TRUE(table.Locate("Int", Variant::Currency(12)) && table.RecNo() == 3);
  EXPECT_TRUE(table.Locate("Int", Variant("6")) && table.RecNo() == 2);  // a number text
  EXPECT_FALSE(table.Locate("Int", Variant(6.5)));
  EXPECT_TRUE(table.Locate("Dec", Variant(12.5)) && table.RecNo() == 2);
  EXPECT_TRUE(table.Locate("Dec", Variant(0)) && table.RecNo() == 1);
  EXPECT_TRUE(table.Locate("Day", Variant::DateTime(EncodeDate(2001, 3, 17))) &&
              table.RecNo() == 3);
  EXPECT_TRUE(table.Locate("Flag", Variant(true)) && table.RecNo() == 3);
  EXPECT_TRUE(table.Locate("Memo", Variant("m")) && table.RecNo() == 2);
  EXPECT_TRUE(table.Locate("Memo", Variant::Null()) && table.RecNo() == 1);
  EXPECT_FALSE(table.Locate("Memo", Variant("M")));
  EXPECT_TRUE(table.Locate("Real", Variant(0)) && table.RecNo() == 1);  // -0 equals 0
  EXPECT_TRUE(table.Locate("Real", Variant(2.25)) && table.RecNo() == 3);
  EXPECT_THROW(table.Locate("Int;Nope", Variant::Array({Variant(0), Variant(0)})), EDatabaseError);
}

// 200,000 records located and changed one by one, then the middle half
// deleted by key: quadratic work here would take hours.
TEST(DataSetLocate, LargeRunsStayLinear) {
  const int count = 200000;
  auto table = MakeKeyTable();
  table->DisableControls();
  for (int i = 0; i < count; ++i) {
    table->Append();
    WriteRow(*table, {i, "name " + std::to_string(i), i * 0.5});
    table->Post();
  }
  for (int i = count - 1; i >= 0; --i) {
    ASSERT_TRUE(table->Locate("Id", Variant(i)));
    table->Edit();
    table->FieldByName("Name")->SetAsString("changed " + std::to_string(i));
    table->Post();
  }
  for (int i = count / 4; i < count * 3 / 4; ++i) {
    ASSERT_TRUE(table->Locate("Id", Variant(i)));
    table->Delete();
  }
  ASSERT_EQ(table->RecordCount(), count / 2);
  EXPECT_FALSE(table->Locate("Id", Variant(count / 2)));
  ASSERT_TRUE(table->Locate("Id", Variant(count * 3 / 4)));
  EXPECT_EQ(table->RecNo(), count / 4 + 1);
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "changed " + std::to_string(count * 3 / 4));
  {
    TRecordPeek peek(*table, count / 4 - 1);
    EXPECT_EQ(table->FieldByName("Id")->AsInteger(), count / 4 - 1);
  }
  table->SetRecNo(count / 4 + 2);
  EXPECT_EQ(table->FieldByName("Id")->AsInteger(), count * 3 / 4 + 1);
  table->Prior();
  table->Prior();
  EXPECT_EQ(table->FieldByName("Id")->AsInteger(), count / 4 - 1);
  EXPECT_EQ(table->RecNo(), count / 4);
}

// Update passes that rewrite every text, edits cancelled after writing a
// text twice, and a close in the middle of an edit leave the memory of
// the records where one pass put it.
TEST(DataSetLocate, ReplacedTextsDoNotAccumulate) {
  auto table = MakeKeyTable();
  const int count = 20000;
  for (int i = 0; i < count; ++i) {
    table->Append();
    WriteRow(*table, {i, "first " + std::to_string(i), 0});
    table->Post();
  }
  size_t afterFirstPass = 0;
  for (int pass = 1; pass <= 5; ++pass) {
    for (int i = 0; i < count; ++i) {
      table->Locate("Id", Variant(i));
      table->Edit();
      table->FieldByName("Name")->SetAsString("pass " + std::to_string(pass * 1000 + i % 7));
      if (i % 3 == 0) {
        table->FieldByName("Name")->SetAsString("again");
        table->Cancel();
      } else {
        table->Post();
      }
    }
    if (pass == 1) afterFirstPass = table->RecordBytes();
  }
  table->Edit();
  table->FieldByName("Name")->SetAsString("left open");
  table->Close();
  table->Open();
  EXPECT_LE(table->RecordBytes(), afterFirstPass + (1 << 20));
  // No text was given back while a record still held it.
  int i = 0;
  for (table->First(); !table->Eof(); table->Next(), ++i) {
    const std::string expected =
        i % 3 != 0 ? "pass " + std::to_string(5000 + i % 7) : "first " + std::to_string(i);
    ASSERT_EQ(table->FieldByName("Name")->AsString(), expected) << i;
  }
}

}  // namespace
}  // namespace Vdei
