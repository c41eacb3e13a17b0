#include "client/CliOptions.h"

namespace Vdei {

namespace {

constexpr const char* kUsage =
    "usage: VDEI_CLI [options]\n"
    "Asks VDEI_SRV for its table as an XML package or an HTML page, loads it into an\n"
    "in-memory table and shows it in a window (or prints it with --fetch).\n"
    "  --host H               the server's host name or address (default localhost)\n"
    "  --port N               the server's TCP port (default 1024)\n"
    "  --timeout S            seconds any one wait for the network may take (default 30;\n"
    "                         0: no limit; at most 86400)\n"
    "  --format xml|html      the package type chosen when the window opens (default xml)\n"
    "  --fetch xml|html       no window: request the package once, import it and print\n"
    "                         the table on standard output\n"
    "  --print tsv|csv|table  with --fetch: how the table is printed (default table)\n"
    "  --help                 this text\n"
    "  --version              the program's version\n"
    "Exit status: 0 done; 1 the request or the import failed (message on standard\n"
    "error), or there is no display for the window; 2 a usage error.\n";

// The scopes of the options: either mode, or --fetch only, or the window only.
enum TCliOptionScope { osAny, osFetch, osWindow };

// A whole number from low (0 or 1) to high.
int BoundedOption(const std::string& option, const std::string& value, int low, int high) {
  const int number = CountOption(option, value, low);
  if (number > high) {
    const std::string range =
        "needs a number from " + std::to_string(low) + " to " + std::to_string(high);
    RefuseOption(option, value, range.c_str());
  }
  return number;
}

TCliPackageType PackageTypeOption(const std::string& option, const std::string& value) {
  return NamedOption<TCliPackageType>(option, value, {{"xml", ptXML}, {"html", ptHTML}});
}

const std::vector<ToolOptionSpec<TCliOptions>>& Specs() {
  using O = TCliOptions;
  using S = const std::string&;
  static const std::vector<ToolOptionSpec<TCliOptions>> specs = {
      {"--host", true, osAny,
       [](O& o, S v) {
         if (v.empty()) RefuseOption("--host", "\"\"", "needs a host name or address");
         o.Connection.Host = v;
       }},
      {"--port", true, osAny,
       [](O& o, S v) { o.Connection.Port = BoundedOption("--port", v, 1, 65535); }},
      {"--timeout", true, osAny,
       [](O& o, S v) { o.Connection.Timeout = BoundedOption("--timeout", v, 0, 86400); }},
      {"--format", true, osWindow, [](O& o, S v) { o.Format = PackageTypeOption("--format", v); }},
      {"--fetch", true, osAny, [](O& o, S v) { o.Fetch = PackageTypeOption("--fetch", v); }},
      {"--print", true, osFetch,
       [](O& o, S v) {
         o.Print = NamedOption<TPrintFormat>("--print", v,
                                             {{"tsv", pfTsv}, {"csv", pfCsv}, {"table", pfTable}});
       }},
      {"--help", false, osAny, [](O& o, S) { o.Help = true; }},
      {"--version", false, osAny, [](O& o, S) { o.Version = true; }},
  };
  return specs;
}

}  // namespace

TCliOptions ParseCliOptions(const std::vector<std::string>& args) {
  TCliOptions options;
  for (const ToolOptionSpec<TCliOptions>* spec : ReadOptions(args, Specs(), options)) {
    if (spec->Scope == osFetch && !options.Fetch) {
      throw EUsageError(std::string(spec->Name) + " needs --fetch");
    }
    if (spec->Scope == osWindow && options.Fetch) {
      throw EUsageError(std::string(spec->Name) + " is for the window, not --fetch");
    }
  }
  return options;
}

const char* CliUsage() {
  return kUsage;
}

}  // namespace Vdei
