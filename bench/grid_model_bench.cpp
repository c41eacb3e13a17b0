// The data grid over a large in-memory table: resetting its table model,
// reading a screenful of cells at the start, middle and end, and drawing
// a table view (off screen) scrolled to those places.
//
//   bench_grid_model [ROWS]     (default 1000000)
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "dataset/ClientDataSet.h"
#include "dataset/DataSource.h"
#include "platform/qt/DataSetModel.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kScreenRows = 40;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A CUSTOMER-like table of n records.
void Fill(Vdei::TClientDataSet& table, long n) {
  table.FieldDefs()->Add("CustNo", Vdei::ftInteger);
  table.FieldDefs()->Add("Company", Vdei::ftString, 30);
  table.FieldDefs()->Add("Addr1", Vdei::ftString, 30);
  table.FieldDefs()->Add("City", Vdei::ftString, 15);
  table.FieldDefs()->Add("Phone", Vdei::ftString, 15);
  table.FieldDefs()->Add("TaxRate", Vdei::ftFloat);
  table.FieldDefs()->Add("LastInvoiceDate", Vdei::ftDateTime);
  table.CreateDataSet();
  table.DisableControls();
  for (long i = 0; i < n; ++i) {
    table.Append();
    table.Fields(0)->SetAsInteger(1000 + i);
    table.Fields(1)->SetAsString("Company number " + std::to_string(i));
    table.Fields(2)->SetAsString(std::to_string(i % 977) + " Harbour Street");
    table.Fields(3)->SetAsString("Kapaa Kauai");
    table.Fields(4)->SetAsString("808-555-0" + std::to_string(i % 1000));
    table.Fields(5)->SetAsFloat(static_cast<double>(i % 9) + 0.25);
    table.Fields(6)->SetAsFloat(36000.5 + static_cast<double>(i % 3000));
    table.Post();
  }
  table.EnableControls();
}

// Reads every cell of kScreenRows rows from first, repeats times; returns
// the seconds per screenful.
double ReadScreens(const Vdei::DataSetModel& model, int first, int repeats) {
  size_t sum = 0;
  auto start = Clock::now();
  for (int r = 0; r < repeats; ++r) {
    for (int row = first; row < first + kScreenRows; ++row) {
      for (int column = 0; column < model.columnCount(); ++column) {
        sum += static_cast<size_t>(model.index(row, column).data().toString().size());
      }
    }
  }
  double seconds = Seconds(start) / repeats;
  if (sum == 0) std::printf("(no text read)\n");
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;

  Vdei::TClientDataSet table(nullptr);
  auto start = Clock::now();
  Fill(table, rows);
  std::printf("%-44s %9.3f s\n", "fill the table", Seconds(start));

  Vdei::TDataSource source(nullptr);
  source.SetDataSet(&table);
  Vdei::DataSetModel model;
  start = Clock::now();
  model.SetDataSource(&source);
  std::printf("%-44s %9.3f ms  (%d rows, %d columns)\n", "reset the model", Seconds(start) * 1e3,
              model.rowCount(), model.columnCount());

  const int last = static_cast<int>(rows) - kScreenRows;
  for (int first : {0, last / 2, last}) {
    std::printf("screenful of %d rows at row %-9d data()   %9.1f us\n", kScreenRows, first,
                ReadScreens(model, first, 200) * 1e6);
  }

  QTableView view;
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.setModel(&model);
  view.resize(900, 800);
  start = Clock::now();
  view.show();
  view.grab();
  std::printf("%-44s %9.3f ms\n", "show and draw the table view", Seconds(start) * 1e3);
  for (int row : {last / 2, last}) {
    start = Clock::now();
    view.scrollTo(model.index(row, 0), QAbstractItemView::PositionAtTop);
    view.grab();
    std::printf("scroll to row %-9d and draw                 %9.3f ms\n", row,
                Seconds(start) * 1e3);
  }
  return 0;
}
