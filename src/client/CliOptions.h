// The command line of VDEI_CLI.
//
//   VDEI_CLI [--host H] [--port N] [--timeout S] [--format xml|html]
//   VDEI_CLI --fetch xml|html [--print tsv|csv|table] [--host H] [--port N] [--timeout S]
//   VDEI_CLI --help | --version
//
// ParseCliOptions reads the arguments after the program name as the
// command-line tools do (ToolOptions.h: each option's value is the next
// argument). It raises EUsageError, whose message names the argument, for
// anything it does not understand: an unknown option, a missing or bad
// value, --print without --fetch, --format with --fetch (the fetch names
// its own type).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "client/CliRequest.h"
#include "dataset/TablePrinter.h"
#include "tools/ToolOptions.h"

namespace Vdei {

struct TCliOptions {
  TCliConnection Connection;
  // The radio group's choice when the window opens.
  TCliPackageType Format = ptXML;
  // --fetch: no window; one request of this type, printed.
  std::optional<TCliPackageType> Fetch;
  TPrintFormat Print = pfTable;
  bool Help = false;
  bool Version = false;
};

TCliOptions ParseCliOptions(const std::vector<std::string>& args);
// The text --help prints.
const char* CliUsage();

}  // namespace Vdei
