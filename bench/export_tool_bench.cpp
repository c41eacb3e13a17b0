// vdei-export beside `sqlite3 -html` over the same CUSTOMER table of N rows
// (default 1,000,000; the first argument changes it): the client-dataset
// package and the HTML page, each query without and with the server's
// ORDER BY COMPANY. Each program runs once, as a child process writing its
// standard output to a file; printed are the wall time, rows/s, MB/s of
// output, the peak resident memory (and its share of the output's size),
// and the time as a multiple of sqlite3's for the same query (wall and CPU
// time, as a busy machine stretches the first).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "CustomerDatabase.h"

namespace {

struct Measure : ChildMeasure {
  double OutputMB = 0;
};

Measure Run(const std::vector<std::string>& args, const std::string& outputPath) {
  Measure measure{RunChild(args, outputPath)};
  measure.OutputMB = std::filesystem::file_size(outputPath) / 1e6;
  std::filesystem::remove(outputPath);
  return measure;
}

void Report(const std::string& what, long rows, const Measure& m, const Measure* sqlite) {
  std::printf("%-30s %6.2f s (cpu %5.2f s) %8.0f rows/s %6.1f MB/s  peak %6.1f MB (%.2fx output)",
              what.c_str(), m.Seconds, m.CpuSeconds, rows / m.Seconds, m.OutputMB / m.Seconds,
              m.PeakMB, m.PeakMB / (m.OutputMB * 1e6 / (1 << 20)));
  if (sqlite != nullptr) {
    std::printf("  %.2fx sqlite3 (cpu %.2fx)", m.Seconds / sqlite->Seconds,
                m.CpuSeconds / sqlite->CpuSeconds);
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string dir = VDEI_BENCH_DIR;
  const std::string db = CustomerDatabase(rows);
  const std::string output = dir + "/export_tool_bench.out";
  std::printf("CUSTOMER table of %ld rows (%s)\n", rows, db.c_str());
  for (const char* order : {"", " ORDER BY COMPANY"}) {
    const std::string sql = std::string("SELECT * FROM CUSTOMER") + order;
    std::printf("-- %s\n", sql.c_str());
    const Measure sqlite = Run({"sqlite3", "-html", db, sql}, output);
    Report("sqlite3 -html", rows, sqlite, nullptr);
    const std::vector<std::string> tool = {VDEI_EXPORT_TOOL, "--database", "sqlite:" + db, "--sql",
                                           sql};
    Report("vdei-export (client-dataset)", rows, Run(tool, output), &sqlite);
    std::vector<std::string> html = tool;
    html.insert(html.end(), {"--format", "html"});
    Report("vdei-export --format html", rows, Run(html, output), &sqlite);
  }
  return 0;
}
