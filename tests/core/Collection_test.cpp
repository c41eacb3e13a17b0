#include "core/Collection.h"

#include <gtest/gtest.h>

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {
namespace {

class TTestItem : public TCollectionItem {
 public:
  VDEI_CLASS(TTestItem)
  using TCollectionItem::TCollectionItem;
  std::string Caption;
  void Assign(const TPersistent& source) override {
    if (const auto* item = dynamic_cast<const TTestItem*>(&source)) {
      Caption = item->Caption;
      return;
    }
    TCollectionItem::Assign(source);
  }
};

const TClassInfo& TTestItem::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TTestItem, TCollectionItem>("TTestItem")
          .String(
              "Caption", [](const TTestItem& i) { return i.Caption; },
              [](TTestItem& i, std::string c) { i.Caption = std::move(c); })
          .Build();
  return info;
}

class TCountingCollection : public TOwnedCollection<TTestItem> {
 public:
  using TOwnedCollection::TOwnedCollection;
  int Changes = 0;

 protected:
  void Changed() override { ++Changes; }
};

std::string Captions(const TOwnedCollection<TTestItem>& c) {
  std::string s;
  for (int i = 0; i < c.Count(); ++i) s += c[i]->Caption + (i + 1 < c.Count() ? "," : "");
  return s;
}

TEST(Collection, ItemsKnowTheirIndex) {
  TOwnedCollection<TTestItem> c(nullptr);
  EXPECT_EQ(c.ItemClass().ClassName, "TTestItem");
  EXPECT_NE(c.ItemClass().FindProperty("caption"), nullptr);  // known while empty
  for (const char* caption : {"a", "b", "c", "d"}) c.Add()->Caption = caption;
  EXPECT_EQ(c[2]->Index(), 2);
  EXPECT_EQ(c[2]->Collection(), &c);
  static_cast<TTestItem*>(c.Insert(0))->Caption = "first";
  EXPECT_EQ(Captions(c), "first,a,b,c,d");
  EXPECT_EQ(c[1]->Index(), 1);
  c.Move(0, 4);
  EXPECT_EQ(Captions(c), "a,b,c,d,first");
  c.Move(3, 1);
  EXPECT_EQ(Captions(c), "a,d,b,c,first");
  c.Delete(1);
  EXPECT_EQ(Captions(c), "a,b,c,first");
  EXPECT_EQ(c[3]->Index(), 3);
  TTestItem loose(nullptr);
  EXPECT_EQ(loose.Index(), -1);
}

TEST(Collection, IndexErrors) {
  TOwnedCollection<TTestItem> c(nullptr);
  c.Add();
  try {
    c.Items(1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (1)");
  }
  EXPECT_THROW(c.Items(-1), EListError);
  EXPECT_THROW(c.Delete(1), EListError);
  EXPECT_THROW(c.Insert(2), EListError);
  EXPECT_THROW(c.Move(0, 1), EListError);
  EXPECT_EQ(c.Count(), 1);
}

TEST(Collection, AssignCopiesEveryItemAndNotifiesOnce) {
  TOwnedCollection<TTestItem> source(nullptr);
  for (const char* caption : {"x", "y", "z"}) source.Add()->Caption = caption;
  TCountingCollection dest(nullptr);
  dest.Add()->Caption = "old";
  dest.Changes = 0;
  dest.Assign(source);
  EXPECT_EQ(Captions(dest), "x,y,z");
  EXPECT_EQ(dest.Changes, 1);
  EXPECT_NE(dest[0], source[0]);
  source[0]->Caption = "changed";
  EXPECT_EQ(dest[0]->Caption, "x");
  dest.Assign(dest);
  EXPECT_EQ(Captions(dest), "x,y,z");
  dest.BeginUpdate();
  dest.Add();
  dest.Clear();
  EXPECT_EQ(dest.Changes, 1);
  dest.EndUpdate();
  EXPECT_EQ(dest.Changes, 2);
  TPersistent other;
  try {
    dest.Assign(other);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TCollection");
  }
}

}  // namespace
}  // namespace Vdei
