// vdei-export: exports the result of a query of any database as an XML
// package or an HTML page, with the settings of the server's export
// components, so that `vdei-export --format xml` prints the package the
// server sends for the same database. The options are in ExportOptions.h
// (and --help); the run in ExportRun.h.
//
// Exit status 0 on success (characters the ANSI code page cannot hold
// become "?", and standard error says how many); 1 when the export fails (the error's message
// on standard error, no partial file left under a final name); 2 on a
// usage error (the message and the usage on standard error).
#include <cstdio>
#include <string>
#include <vector>

#include "core/CodePage.h"
#include "core/Exception.h"
#include "tools/ExportOptions.h"
#include "tools/ExportRun.h"

int main(int argc, char** argv) {
  Vdei::ExportOptions options;
  try {
    options = Vdei::ParseExportOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Vdei::EUsageError& e) {
    std::fprintf(stderr, "vdei-export: %s\n%s", e.Message().c_str(), Vdei::ExportUsage());
    return 2;
  }
  if (options.Help) {
    std::fputs(Vdei::ExportUsage(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("vdei-export %s\n", VDEI_VERSION);
    return 0;
  }
  Vdei::TExportReport report;
  try {
    report = Vdei::RunExport(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vdei-export: %s\n", e.what());
    return 1;
  }
  if (report.ReplacedCharacters != 0) {
    std::fprintf(
        stderr, "vdei-export: %llu characters outside code page %d were replaced by \"?\"\n",
        static_cast<unsigned long long>(report.ReplacedCharacters), Vdei::ActiveAnsiCodePage());
  }
  return 0;
}
