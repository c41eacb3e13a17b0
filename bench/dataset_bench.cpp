// Dataset layer figures: opening and walking a CUSTOMER table of N rows
// through TQuery, beside a plain loop over sqlite3_step / sqlite3_column_*
// on the same query; appending, updating by key (five passes, with the
// memory of the records after the first and the fifth), deleting from the
// middle and by key, and reading by position in a TClientDataSet; printing
// the table as tsv and csv; TTable appending to and updating an SQLite
// table; and the peak memory of the process.
//
//   bench_dataset [ROWS]     (default 1000000; the table is generated once
//                             into the build folder by vdei-gendb)
#include <sqlite3.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "CustomerDatabase.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Fields.h"
#include "dataset/Query.h"
#include "dataset/Table.h"
#include "dataset/TablePrinter.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void Report(const char* what, long rows, double seconds) {
  std::printf("%-44s %9.3f s  %12.0f rows/s\n", what, seconds, rows / seconds);
}

// A checksum over the values so that no reading is optimised away.
size_t PlainSqliteWalk(const std::string& path, const char* sql, long& rows) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)> db(raw, &sqlite3_close_v2);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db.get(), sql, -1, &statement, nullptr);
  std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> owner(statement, &sqlite3_finalize);
  size_t sum = 0;
  rows = 0;
  const int columns = sqlite3_column_count(statement);
  while (sqlite3_step(statement) == SQLITE_ROW) {
    ++rows;
    for (int i = 0; i < columns; ++i) {
      switch (sqlite3_column_type(statement, i)) {
        case SQLITE_INTEGER:
          sum += sqlite3_column_int64(statement, i);
          break;
        case SQLITE_FLOAT:
          sum += static_cast<size_t>(sqlite3_column_double(statement, i));
          break;
        case SQLITE_TEXT:
          sum += sqlite3_column_text(statement, i)[0] + sqlite3_column_bytes(statement, i);
          break;
        default:
          break;
      }
    }
  }
  return sum;
}

size_t WalkDataset(Vdei::TDataSet& data, bool texts) {
  size_t sum = 0;
  std::string buffer;
  for (data.First(); !data.Eof(); data.Next()) {
    for (int i = 0; i < data.FieldCount(); ++i) {
      const Vdei::TField* field = data.Fields(i);
      if (texts) {
        sum += field->AsStringView(buffer).size();
      } else if (field->DataType() == Vdei::ftString) {
        const std::string_view view = field->AsStringView(buffer);
        sum += view.size() + (view.empty() ? 0 : view[0]);
      } else {
        sum += static_cast<size_t>(field->AsFloat());
      }
    }
  }
  return sum;
}

void ReportMemory(const char* what, const Vdei::TDataSet& data) {
  std::printf("%-44s %9.1f MB\n", what, data.RecordBytes() / 1048576.0);
}

// One update pass: every record found by its integer key, its name
// rewritten (texts of another length each pass) and posted.
void UpdatePass(Vdei::TClientDataSet& table, long rows, int pass) {
  Vdei::TField* name = table.Fields(1);
  const std::string text = "updated in pass " + std::string(pass, '#');
  for (long i = 0; i < rows; ++i) {
    table.Locate("No", Vdei::Variant(static_cast<int64_t>(i)));
    table.Edit();
    name->SetAsString(text);
    table.Post();
  }
}

// Appends records No = 0, 1, ..., a name and an amount.
void AppendRecords(Vdei::TDataSet& table, long rows) {
  Vdei::TField* no = table.Fields(0);
  Vdei::TField* name = table.Fields(1);
  Vdei::TField* amount = table.Fields(2);
  for (long i = 0; i < rows; ++i) {
    table.Append();
    no->SetAsInteger(i);
    name->SetAsString("name of a record");
    amount->SetAsFloat(i * 0.5);
    table.Post();
  }
}

void ClientDataSetFigures(long rows) {
  Vdei::TClientDataSet table(nullptr);
  table.FieldDefs()->Add("No", Vdei::ftInteger);
  table.FieldDefs()->Add("Name", Vdei::ftString, 40);
  table.FieldDefs()->Add("Amount", Vdei::ftFloat);
  table.CreateDataSet();
  table.DisableControls();
  Vdei::TField* no = table.Fields(0);
  auto start = Clock::now();
  AppendRecords(table, rows);
  Report("TClientDataSet: append records", rows, Seconds(start));
  ReportMemory("  records after appending", table);

  for (int pass = 1; pass <= 5; ++pass) {
    start = Clock::now();
    UpdatePass(table, rows, pass);
    const std::string what = "  Locate+Edit+Post by key, pass " + std::to_string(pass) +
                             (pass == 1 ? " (builds index)" : "");
    Report(what.c_str(), rows, Seconds(start));
    if (pass == 1 || pass == 5) {
      ReportMemory(("  records after update pass " + std::to_string(pass)).c_str(), table);
    }
  }

  const long middle = rows / 2;
  start = Clock::now();
  table.SetRecNo(static_cast<int>(rows / 4) + 1);
  for (long i = 0; i < middle; ++i) table.Delete();
  Report("TClientDataSet: delete the middle half", middle, Seconds(start));
  start = Clock::now();
  long found = 0;
  for (long i = 0; i < rows; i += 2) {
    if (table.Locate("No", Vdei::Variant(static_cast<int64_t>(i)))) {
      table.Delete();
      ++found;
    }
  }
  Report("TClientDataSet: Locate+Delete every other", found, Seconds(start));
  start = Clock::now();
  long peeked = 0;
  for (int n = 0; n < table.RecordCount(); ++n) {
    Vdei::TRecordPeek peek(table, n);
    peeked += no->AsInteger() & 1;
  }
  Report("TClientDataSet: peek every record by position", table.RecordCount(), Seconds(start));
  start = Clock::now();
  const long left = table.RecordCount();
  for (table.First(); !table.Eof();) table.Delete();
  Report("TClientDataSet: delete all from the first", left, Seconds(start));
  if (peeked == 0) std::printf("(no odd keys left)\n");
}

// TTable over a fresh SQLite table: appending in one transaction, then
// one update pass by key in another.
void TableFigures(long rows) {
  const std::string path = std::string(VDEI_BENCH_DIR) + "/table_bench.db";
  std::filesystem::remove(path);
  sqlite3* raw = nullptr;
  sqlite3_open(path.c_str(), &raw);
  sqlite3_exec(raw, "CREATE TABLE T (No INTEGER PRIMARY KEY, Name VARCHAR(40), Amount DOUBLE)",
               nullptr, nullptr, nullptr);
  sqlite3_close(raw);
  Vdei::TTable table(nullptr);
  table.SetDatabaseName("sqlite:" + path);
  table.SetTableName("T");
  table.Open();
  table.DisableControls();
  Vdei::TField* name = table.Fields(1);
  auto start = Clock::now();
  table.StartTransaction();
  AppendRecords(table, rows);
  table.Commit();
  Report("TTable (SQLite): append records, one commit", rows, Seconds(start));
  start = Clock::now();
  table.StartTransaction();
  for (long i = 0; i < rows; ++i) {
    table.BeginRow();
    table.Locate("No", Vdei::Variant(static_cast<int64_t>(i)));
    table.Edit();
    name->SetAsString("updated");
    table.Post();
    table.ReleaseRow();
  }
  table.Commit();
  Report("  Locate+Edit+Post by key, savepoint per row", rows, Seconds(start));
  table.Close();
  std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string path = CustomerDatabase(rows);
  const char* sql = "SELECT * FROM CUSTOMER";
  std::printf("CUSTOMER table of %ld rows, 13 columns (%s)\n", rows, path.c_str());

  long stepped = 0;
  auto start = Clock::now();
  size_t plain = PlainSqliteWalk(path, sql, stepped);
  Report("plain sqlite3_step + sqlite3_column_*", stepped, Seconds(start));

  Vdei::TQuery query(nullptr);
  query.SetDatabaseName("sqlite:" + path);
  query.SQL()->Add(sql);
  start = Clock::now();
  query.Open();
  const double openSeconds = Seconds(start);
  Report("TQuery: open (read the whole result)", rows, openSeconds);
  start = Clock::now();
  size_t walked = WalkDataset(query, false);
  const double walkSeconds = Seconds(start);
  Report("TQuery: walk, values (AsStringView/AsFloat)", rows, walkSeconds);
  Report("TQuery: open + walk", rows, openSeconds + walkSeconds);
  start = Clock::now();
  walked += WalkDataset(query, true);
  Report("TQuery: walk, texts of every field", rows, Seconds(start));
  for (const auto& [format, name] : {std::pair{Vdei::pfTsv, "TablePrinter: tsv to /dev/null"},
                                     std::pair{Vdei::pfCsv, "TablePrinter: csv to /dev/null"}}) {
    std::ofstream devNull("/dev/null", std::ios::binary);
    start = Clock::now();
    Vdei::PrintTable(query, devNull, {format, true});
    Report(name, rows, Seconds(start));
  }
  query.Close();

  ClientDataSetFigures(rows);
  TableFigures(rows);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory (max RSS): %.1f MB   (checksums %zu %zu)\n", usage.ru_maxrss / 1024.0,
              plain, walked);
  return 0;
}
