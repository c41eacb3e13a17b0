#include "platform/qt/DataSetModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <memory>
#include <string>
#include <vector>

#include "dataset/ClientDataSet.h"
#include "dataset/DataSource.h"

namespace Vdei {
namespace {

std::vector<std::string> warnings;

void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtDebugMsg && type != QtInfoMsg) warnings.push_back(message.toStdString());
}

// A table with a hidden column, a model over it, and Qt's model checker
// watching every signal and answer of the model.
struct Grid {
  Grid() : table(nullptr), source(nullptr) {
    table.FieldDefs()->Add("Company", ftString, 30);
    table.FieldDefs()->Add("Secret", ftString, 10);
    table.FieldDefs()->Add("Qty", ftInteger);
    table.CreateDataSet();
    table.FieldByName("Secret")->SetVisible(false);
    table.FieldByName("Qty")->SetDisplayLabel("Quantity");
    for (auto [company, qty] :
         {std::pair{"Caf\xE9 Lumi\xE8re", 3}, {"Blue Sports", 12}, {"Kirk Enterprises", 7}}) {
      Add(company, qty);
    }
    table.First();
    source.SetDataSet(&table);
    model.SetDataSource(&source);
    warnings.clear();
    previousHandler = qInstallMessageHandler(CollectWarnings);
    tester = std::make_unique<QAbstractItemModelTester>(
        &model, QAbstractItemModelTester::FailureReportingMode::Warning);
  }
  ~Grid() {
    tester.reset();
    qInstallMessageHandler(previousHandler);
  }
  void Add(const char* company, int qty) {
    table.Append();
    table.FieldByName("Company")->SetAsString(company);
    table.FieldByName("Qty")->SetAsInteger(qty);
    table.Post();
  }
  QString Cell(int row, int column) const { return model.index(row, column).data().toString(); }
  QString Title(int column) const { return model.headerData(column, Qt::Horizontal).toString(); }

  TClientDataSet table;
  TDataSource source;
  DataSetModel model;
  QtMessageHandler previousHandler = nullptr;
  std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST(DataSetModelTest, ShowsVisibleFieldsReadInPlace) {
  Grid g;
  ASSERT_EQ(g.model.rowCount(), 3);
  ASSERT_EQ(g.model.columnCount(), 2);
  EXPECT_EQ(g.Title(0), "Company");
  EXPECT_EQ(g.Title(1), "Quantity");
  EXPECT_EQ(g.model.headerData(2, Qt::Vertical).toInt(), 3);

  g.table.Next();  // the cursor on the second record stays there
  EXPECT_EQ(g.Cell(0, 0), QString::fromUtf8("Caf\xC3\xA9 Lumi\xC3\xA8re"));
  EXPECT_EQ(g.Cell(2, 0), "Kirk Enterprises");
  EXPECT_EQ(g.Cell(1, 1), "12");
  EXPECT_EQ(g.table.RecNo(), 2);
  EXPECT_EQ(g.table.FieldByName("Qty")->AsInteger(), 12);

  auto alignment = [&](int column) {
    return g.model.index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
  };
  EXPECT_TRUE(alignment(1) & Qt::AlignRight);
  EXPECT_TRUE(alignment(0) & Qt::AlignLeft);
  EXPECT_EQ(warnings, std::vector<std::string>{});
}

TEST(DataSetModelTest, FollowsChangesWhileControlsAreEnabled) {
  Grid g;
  QSignalSpy changed(&g.model, &QAbstractItemModel::dataChanged);
  g.Add("Norton Hardware", 1);
  EXPECT_EQ(g.model.rowCount(), 4);
  EXPECT_EQ(g.Cell(3, 0), "Norton Hardware");

  g.table.First();
  g.table.Next();
  g.table.Edit();
  g.table.FieldByName("Qty")->SetAsInteger(99);
  EXPECT_EQ(g.Cell(0, 0), "");  // nothing is read while a record is being changed
  g.table.Post();
  EXPECT_EQ(g.Cell(1, 1), "99");
  ASSERT_FALSE(changed.isEmpty());
  EXPECT_EQ(changed.last().at(0).toModelIndex().row(), 1);

  g.table.Delete();
  EXPECT_EQ(g.model.rowCount(), 3);
  EXPECT_EQ(g.Cell(1, 0), "Kirk Enterprises");
  g.table.Close();
  EXPECT_EQ(g.model.rowCount(), 0);
  EXPECT_EQ(g.model.columnCount(), 0);
  g.table.Open();
  EXPECT_EQ(g.model.rowCount(), 3);
  g.model.SetDataSource(nullptr);
  EXPECT_EQ(g.model.rowCount(), 0);
  EXPECT_EQ(warnings, std::vector<std::string>{});
}

// An import replaces the records (and may rebuild the table) with the
// controls disabled; a repaint in the middle must not read what is gone.
TEST(DataSetModelTest, AnswersFromItsLastResetWhileControlsAreDisabled) {
  Grid g;
  QSignalSpy resets(&g.model, &QAbstractItemModel::modelReset);
  g.table.DisableControls();
  g.table.First();
  g.table.Delete();
  g.table.Delete();
  EXPECT_EQ(g.model.rowCount(), 3);
  EXPECT_EQ(g.Cell(0, 0), "Kirk Enterprises");  // what is there now
  EXPECT_EQ(g.Cell(1, 0), "");                  // rows that are gone
  EXPECT_EQ(g.Cell(2, 1), "");

  // The table rebuilt with other fields: the old fields are gone.
  g.table.Close();
  g.table.FieldDefs()->Clear();
  g.table.FieldDefs()->Add("Item", ftString, 10);
  g.table.CreateDataSet();
  g.table.Append();
  g.table.Fields(0)->SetAsString("Lamp");
  g.table.Post();
  EXPECT_EQ(g.Cell(0, 0), "");
  EXPECT_EQ(g.Title(0), "Company");
  EXPECT_EQ(resets.count(), 0);

  g.table.EnableControls();
  EXPECT_GE(resets.count(), 1);
  EXPECT_EQ(g.model.columnCount(), 1);
  EXPECT_EQ(g.Title(0), "Item");
  EXPECT_EQ(g.model.rowCount(), 1);
  EXPECT_EQ(g.Cell(0, 0), "Lamp");
  EXPECT_EQ(warnings, std::vector<std::string>{});
}

TEST(DataSetModelTest, OutlivesItsDataSetAndDataSource) {
  Grid g;
  DataSetModel model;
  auto table = std::make_unique<TClientDataSet>(nullptr);
  table->FieldDefs()->Add("Name", ftString, 10);
  table->CreateDataSet();
  table->Append();
  table->Fields(0)->SetAsString("one");
  table->Post();
  {
    TDataSource source(nullptr);
    source.SetDataSet(table.get());
    model.SetDataSource(&source);
    EXPECT_EQ(model.rowCount(), 1);
    table.reset();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);

    source.SetDataSet(&g.table);
    EXPECT_EQ(model.rowCount(), 3);
  }
  // The source went without a word: the model keeps its shape, reads nothing.
  EXPECT_EQ(model.DataSource(), nullptr);
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_FALSE(model.index(0, 0).data().isValid());
}

}  // namespace
}  // namespace Vdei

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
