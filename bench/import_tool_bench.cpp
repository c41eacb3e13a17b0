// vdei-import beside `xmllint --stream --noout` over the CUSTOMER package
// of N rows (default 1,000,000; the first argument changes it) that
// vdei-export writes, and vdei-import over the HTML page of the same rows.
// vdei-import prints its table (tsv) to /dev/null. Each program runs once
// as a child process; printed are the wall and CPU time, rows/s, MB/s of
// input, the peak resident memory and its multiple of the input's size,
// and vdei-import's time as a multiple of xmllint's on the same package.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "CustomerDatabase.h"

namespace {

void Report(const char* what, long rows, double inputMiB, const ChildMeasure& m,
            const ChildMeasure* reference) {
  std::printf("%-26s %6.2f s (cpu %5.2f s) %8.0f rows/s %6.1f MB/s  peak %7.1f MB (%.2fx input)",
              what, m.Seconds, m.CpuSeconds, rows / m.Seconds, inputMiB * 1.048576 / m.Seconds,
              m.PeakMB, m.PeakMB / inputMiB);
  if (reference != nullptr) {
    std::printf("  %.2fx xmllint (cpu %.2fx)", m.Seconds / reference->Seconds,
                m.CpuSeconds / reference->CpuSeconds);
  }
  std::printf("\n");
}

double SizeMiB(const std::string& path) {
  return std::filesystem::file_size(path) / double(1 << 20);
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string dir = VDEI_BENCH_DIR;
  const std::string db = CustomerDatabase(rows);
  const std::string package = dir + "/import_bench.xml";
  const std::string page = dir + "/import_bench.htm";
  const std::vector<std::string> exportArgs = {VDEI_EXPORT_TOOL, "--database", "sqlite:" + db};
  std::fflush(stdout);
  RunChild(exportArgs, package);
  std::vector<std::string> htmlArgs = exportArgs;
  htmlArgs.insert(htmlArgs.end(), {"--format", "html"});
  RunChild(htmlArgs, page);
  std::printf("CUSTOMER package of %ld rows: %.1f MB, page %.1f MB\n", rows, SizeMiB(package),
              SizeMiB(page));

  const ChildMeasure xmllint = RunChild({"xmllint", "--stream", "--noout", package}, "/dev/null");
  Report("xmllint --stream --noout", rows, SizeMiB(package), xmllint, nullptr);
  const ChildMeasure xml = RunChild({VDEI_IMPORT_TOOL, "--input", package}, "/dev/null");
  Report("vdei-import (package)", rows, SizeMiB(package), xml, &xmllint);
  const ChildMeasure html = RunChild({VDEI_IMPORT_TOOL, "--input", page}, "/dev/null");
  Report("vdei-import (page)", rows, SizeMiB(page), html, nullptr);
  std::filesystem::remove(package);
  std::filesystem::remove(page);
  return 0;
}
