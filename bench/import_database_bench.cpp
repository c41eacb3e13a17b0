// vdei-import --database over the CUSTOMER package of N rows (default
// 1,000,000; the first argument changes it) that vdei-export writes, each
// beside the database's own bulk loader of the same rows as CSV, in one
// run:
//   imAppend into an empty SQLite table      beside sqlite3's .import;
//   imAppendUpdate of the same rows into the filled table (every row an
//   update by the primary key);
//   imAppend into an empty PostgreSQL table  beside psql's \copy (on a
//   throwaway cluster, as the tests start one).
// Each program runs once as a child process; printed are the wall and CPU
// time, rows/s, peak resident memory and the time as a multiple of the
// loader's.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "CustomerDatabase.h"
#include "TestDatabases.h"

namespace {

constexpr const char* kCustomerColumns =
    "(\"CustNo\" DOUBLE PRECISION PRIMARY KEY, \"Company\" VARCHAR(30), \"Addr1\" VARCHAR(30),"
    " \"Addr2\" VARCHAR(30), \"City\" VARCHAR(15), \"State\" VARCHAR(20), \"Zip\" VARCHAR(10),"
    " \"Country\" VARCHAR(20), \"Phone\" VARCHAR(15), \"FAX\" VARCHAR(15),"
    " \"TaxRate\" DOUBLE PRECISION, \"Contact\" VARCHAR(20), \"LastInvoiceDate\" TIMESTAMP)";

void Report(const char* what, long rows, const ChildMeasure& m, const ChildMeasure* reference,
            const char* referenceName) {
  std::printf("%-34s %6.2f s (cpu %5.2f s) %8.0f rows/s  peak %7.1f MB", what, m.Seconds,
              m.CpuSeconds, rows / m.Seconds, m.PeakMB);
  if (reference != nullptr) {
    std::printf("  %.2fx %s (cpu %.2fx)", m.Seconds / reference->Seconds, referenceName,
                m.CpuSeconds / reference->CpuSeconds);
  }
  std::printf("\n");
  std::fflush(stdout);
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

// A new SQLite file holding an empty CUSTOMER table.
std::string EmptySqliteTable(const std::string& path) {
  std::filesystem::remove(path);
  Shell("sqlite3 '" + path + "' 'CREATE TABLE CUSTOMER " + kCustomerColumns + "'");
  return path;
}

std::vector<std::string> ImportArgs(const std::string& package, const std::string& database,
                                    const char* mode) {
  return {VDEI_IMPORT_TOOL, "--input",  package,  "--database", database,
          "--table",        "CUSTOMER", "--mode", mode};
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string dir = VDEI_BENCH_DIR;
  const std::string db = CustomerDatabase(rows);
  const std::string package = dir + "/import_database_bench.xml";
  const std::string csv = dir + "/import_database_bench.csv";
  RunChild({VDEI_EXPORT_TOOL, "--database", "sqlite:" + db}, package);
  RunChild({"sqlite3", "-csv", db, "SELECT * FROM CUSTOMER"}, csv);
  std::printf("CUSTOMER package of %ld rows: %.1f MB; CSV %.1f MB\n", rows,
              std::filesystem::file_size(package) / 1048576.0,
              std::filesystem::file_size(csv) / 1048576.0);

  const std::string loaded = EmptySqliteTable(dir + "/import_database_sqlite3.db");
  const ChildMeasure sqlite3 = RunChild(
      {"sqlite3", loaded, "-cmd", ".mode csv", ".import '" + csv + "' CUSTOMER"}, "/dev/null");
  Report("sqlite3 .import (CSV)", rows, sqlite3, nullptr, nullptr);
  const std::string target = EmptySqliteTable(dir + "/import_database_vdei.db");
  const ChildMeasure append = RunChild(ImportArgs(package, target, "append"), "/dev/null");
  Report("vdei-import append (SQLite)", rows, append, &sqlite3, "sqlite3");
  const ChildMeasure update = RunChild(ImportArgs(package, target, "appendupdate"), "/dev/null");
  Report("vdei-import appendupdate (SQLite)", rows, update, &append, "append");

  std::string whyNot;
  VdeiTest::PostgresCluster* cluster = VdeiTest::PostgresCluster::Shared(whyNot);
  if (cluster == nullptr) {
    std::printf("PostgreSQL: %s\n", whyNot.c_str());
  } else {
    cluster->Execute("CREATE DATABASE copied");
    cluster->Execute("CREATE DATABASE imported");
    cluster->Execute(std::string("CREATE TABLE \"CUSTOMER\" ") + kCustomerColumns, "copied");
    cluster->Execute(std::string("CREATE TABLE \"CUSTOMER\" ") + kCustomerColumns, "imported");
    const ChildMeasure copy = RunChild(
        {"psql", "-q", cluster->Url("copied"), "-c", "\\copy \"CUSTOMER\" FROM '" + csv + "' CSV"},
        "/dev/null");
    Report("psql \\copy (CSV)", rows, copy, nullptr, nullptr);
    const ChildMeasure pg =
        RunChild(ImportArgs(package, cluster->Url("imported"), "append"), "/dev/null");
    Report("vdei-import append (PostgreSQL)", rows, pg, &copy, "psql");
  }
  for (const std::string& file : {package, csv, loaded, target}) std::filesystem::remove(file);
  return 0;
}
