// The command line of VDEI_CLI.
//
//   VDEI_CLI [--host H] [--port N] [--timeout S] [--format xml|html]
//   VDEI_CLI --fetch xml|html [--print tsv|csv|table] [--host H] [--port N] [--timeout S]
//   VDEI_CLI --help | --version
//
// Each option takes its value as the next argument or after "="
// (--port=1025). ParseCliOptions raises ECliOptionError, whose message
// names the argument, for anything it does not understand: an unknown
// option, a missing or bad value, --print without --fetch, --format with
// --fetch (the fetch names its own type).
#pragma once

#include <optional>
#include <string>

#include "client/CliRequest.h"
#include "core/Exception.h"
#include "dataset/TablePrinter.h"

namespace Vdei {

class ECliOptionError : public Exception {
  using Exception::Exception;
};

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

TCliOptions ParseCliOptions(int argc, const char* const* argv);
// The text --help prints.
const char* CliUsage();

}  // namespace Vdei
