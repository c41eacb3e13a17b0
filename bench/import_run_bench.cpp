// Speed of the import run itself: synthetic CUSTOMER rows (13 columns) from
// a reader of the benchmark's own, which costs no parsing, into an
// in-memory table. Each case runs in a child process so that its peak
// memory is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/StrUtils.h"
#include "dataset/ClientDataSet.h"
#include "import/VdIBase.h"

namespace {

using VdImport::TVdICellLookup;

const std::array<std::string, 13> kColumns = {
    "CustNo",  "Company", "Addr1", "Addr2",   "City",    "State",          "Zip",
    "Country", "Phone",   "FAX",   "TaxRate", "Contact", "LastInvoiceDate"};

// Rows of cell texts, made once and kept in one text; cells are found by
// column name.
class TBenchReader : public VdImport::TVdImportBaseComponent {
 public:
  TBenchReader(int rows) : TVdImportBaseComponent(nullptr), rows_(rows) {
    SetAnimatedStatus(false);
    SetOptions(VdImport::kAllImportOptions & ~(1 << VdImport::soShowMessage));
    for (size_t c = 0; c < kColumns.size(); ++c) index_[kColumns[c]] = c;
    ends_.reserve(size_t(rows) * kColumns.size());
    for (int r = 0; r < rows; ++r) {
      const std::string n = std::to_string(r + 1);
      const std::array<std::string, kColumns.size()> row = {n,
                                                            "Company " + n,
                                                            n + " Main Street",
                                                            "",
                                                            "Springfield",
                                                            "CA",
                                                            "9" + n,
                                                            "US",
                                                            "555-01" + n,
                                                            "555-02" + n,
                                                            "8.25",
                                                            "Contact " + n,
                                                            "19880113T000000000"};
      for (const std::string& cell : row) {
        text_ += cell;
        ends_.push_back(text_.size());
      }
    }
  }
  void FirstRecord() override { row_ = 0; }
  void NextRecord() override { ++row_; }
  bool HasRecord() override { return row_ < rows_; }
  int RecordCount() override { return rows_; }
  void OpenSource() override {}
  TVdICellLookup GetCellValue(const std::string& name, Vdei::Variant& value) override {
    // Names come in column order: try the column after the last one first.
    size_t column = name == kColumns[next_] ? next_ : kColumns.size();
    if (column == kColumns.size()) {
      const auto found = index_.find(name);
      if (found == index_.end()) {
        value = name;
        return VdImport::clNoCell;
      }
      column = found->second;
    }
    next_ = column + 1 == kColumns.size() ? 0 : column + 1;
    const size_t cell = size_t(row_) * kColumns.size() + column;
    const size_t begin = cell == 0 ? 0 : ends_[cell - 1];
    value = std::string_view(text_).substr(begin, ends_[cell] - begin);
    return VdImport::clValue;
  }
  void CreateColumns() override {
    for (const std::string& name : kColumns) Columns()->Add()->SetFieldName(name);
  }

 private:
  int rows_;
  int row_ = 0;
  size_t next_ = 0;  // the column most likely asked for next
  std::unordered_map<std::string, size_t, Vdei::TextHash, Vdei::TextEqual> index_;
  std::string text_;          // every cell, one after the other
  std::vector<size_t> ends_;  // where each cell ends in text_
};

std::unique_ptr<Vdei::TClientDataSet> MakeCustomerTable() {
  auto table = std::make_unique<Vdei::TClientDataSet>(nullptr);
  Vdei::TFieldDefs& defs = *table->FieldDefs();
  defs.Add("CustNo", Vdei::ftInteger);
  for (const char* name :
       {"Company", "Addr1", "Addr2", "City", "State", "Zip", "Country", "Phone", "FAX"}) {
    defs.Add(name, Vdei::ftString, 30);
  }
  defs.Add("TaxRate", Vdei::ftFloat);
  defs.Add("Contact", Vdei::ftString, 30);
  defs.Add("LastInvoiceDate", Vdei::ftDateTime);
  table->CreateDataSet();
  return table;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

void Report(const char* what, int rows, double seconds) {
  std::printf("%-46s %8d rows %7.2f s %10.0f rows/s  peak %6.0f MiB\n", what, rows, seconds,
              rows / seconds, PeakMiB());
  std::fflush(stdout);
}

// imCopy of the rows into an empty table, by default mappings.
void CopyCase(int rows) {
  auto table = MakeCustomerTable();
  TBenchReader reader(rows);
  reader.DataFormats()->SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
  reader.SetDataSet(table.get());
  reader.SetMode(VdImport::imCopy);
  const auto start = std::chrono::steady_clock::now();
  reader.Execute();
  Report("imCopy, default mappings", reader.Statistic()->TotalAdded(), Seconds(start));
}

// imAppendUpdate of the rows into a table that holds them, keyed on CustNo.
void AppendUpdateCase(int rows) {
  auto table = MakeCustomerTable();
  TBenchReader reader(rows);
  reader.DataFormats()->SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
  reader.SetDataSet(table.get());
  reader.SetMode(VdImport::imCopy);
  reader.Execute();
  for (const std::string& name : kColumns) reader.Mappings()->Add(name + "=" + name);
  reader.SetMode(VdImport::imAppendUpdate);
  reader.SetDatasetKeys("CustNo");
  const auto start = std::chrono::steady_clock::now();
  reader.Execute();
  std::string what = "imAppendUpdate keyed on CustNo";
  if (reader.Statistic()->TotalUpdated() != rows) what += " (NOT ALL UPDATED)";
  Report(what.c_str(), reader.Statistic()->TotalUpdated(), Seconds(start));
}

void InChild(void (*run)(int), int rows) {
  const pid_t pid = fork();
  if (pid == 0) {
    run(rows);
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
}

}  // namespace

// Without arguments every case; "copy N" or "update N" runs one case in
// this process (for profilers).
int main(int argc, char** argv) {
  if (argc == 3) {
    const std::string which = argv[1];
    (which == "copy" ? CopyCase : AppendUpdateCase)(std::stoi(argv[2]));
    return 0;
  }
  InChild(CopyCase, 1'000'000);
  InChild(CopyCase, 2'000'000);
  InChild(AppendUpdateCase, 1'000'000);
  InChild(AppendUpdateCase, 2'000'000);
  return 0;
}
