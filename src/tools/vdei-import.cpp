// vdei-import: imports an XML package or an HTML page into an in-memory
// table built from the package's columns as VDEI_CLI builds it, and prints
// the table (tsv, csv or an aligned table). The options are in
// ImportOptions.h (and --help); the run in ImportRun.h.
//
// Exit status 0 when every row was stored; 3 when some rows were rejected
// (counted in the statistic, listed with --rejects); 1 when the import
// failed (the reason on standard error); 2 on a usage error (the message
// and the usage on standard error).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "tools/ImportOptions.h"
#include "tools/ImportRun.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  Vdei::ImportOptions options;
  try {
    options = Vdei::ParseImportOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Vdei::EUsageError& e) {
    std::fprintf(stderr, "vdei-import: %s\n%s", e.Message().c_str(), Vdei::ImportUsage());
    return 2;
  }
  if (options.Help) {
    std::fputs(Vdei::ImportUsage(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("vdei-import %s\n", VDEI_VERSION);
    return 0;
  }
  try {
    return Vdei::RunImport(options);
  } catch (const Vdei::EUsageError& e) {
    std::fprintf(stderr, "vdei-import: %s\n%s", e.Message().c_str(), Vdei::ImportUsage());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vdei-import: %s\n", e.what());
    return 1;
  }
}
