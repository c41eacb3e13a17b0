#include "client/CliOptions.h"

#include <charconv>
#include <string_view>

namespace Vdei {

namespace {

constexpr const char* kUsage =
    "usage: VDEI_CLI [options]\n"
    "Asks VDEI_SRV for its table as an XML package or an HTML page, loads it into an\n"
    "in-memory table and shows it in a window (or prints it with --fetch).\n"
    "  --host H               the server's host name or address (default localhost)\n"
    "  --port N               the server's TCP port (default 1024)\n"
    "  --timeout S            seconds any one wait for the network may take (default 30;\n"
    "                         0: no limit)\n"
    "  --format xml|html      the package type chosen when the window opens (default xml)\n"
    "  --fetch xml|html       no window: request the package once, import it and print\n"
    "                         the table on standard output\n"
    "  --print tsv|csv|table  with --fetch: how the table is printed (default table)\n"
    "  --help                 this text\n"
    "  --version              the program's version\n"
    "Exit status: 0 done; 1 the request or the import failed (message on standard\n"
    "error), or there is no display for the window; 2 a usage error.\n";

// A whole decimal number in [low, high].
int ParseNumber(std::string_view option, std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    throw ECliOptionError(std::string(option) + " needs a number from " + std::to_string(low) +
                          " to " + std::to_string(high) + ", not '" + std::string(text) + "'");
  }
  return value;
}

// The choice of names that text is (its index), case-sensitive.
template <size_t N>
int ParseChoice(std::string_view option, std::string_view text, const char* const (&names)[N]) {
  for (size_t i = 0; i < N; ++i) {
    if (text == names[i]) return static_cast<int>(i);
  }
  std::string choices;
  for (const char* name : names) choices += (choices.empty() ? "" : "|") + std::string(name);
  throw ECliOptionError(std::string(option) + " needs " + choices + ", not '" + std::string(text) +
                        "'");
}

constexpr const char* kPackageTypes[] = {"xml", "html"};          // TCliPackageType order
constexpr const char* kPrintFormats[] = {"tsv", "csv", "table"};  // TPrintFormat order

}  // namespace

TCliOptions ParseCliOptions(int argc, const char* const* argv) {
  TCliOptions options;
  bool formatGiven = false, printGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const size_t equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
    const std::string_view name = arg.substr(0, equals);
    std::string_view inlineValue;
    if (equals != std::string_view::npos) inlineValue = arg.substr(equals + 1);
    auto value = [&]() -> std::string_view {
      if (equals != std::string_view::npos) return inlineValue;
      if (i + 1 >= argc) throw ECliOptionError(std::string(name) + " needs a value");
      return argv[++i];
    };
    if (name == "--host") {
      options.Connection.Host = value();
      if (options.Connection.Host.empty()) throw ECliOptionError("--host needs a host name");
    } else if (name == "--port") {
      options.Connection.Port = ParseNumber(name, value(), 1, 65535);
    } else if (name == "--timeout") {
      options.Connection.Timeout = ParseNumber(name, value(), 0, 86400);
    } else if (name == "--format") {
      options.Format = static_cast<TCliPackageType>(ParseChoice(name, value(), kPackageTypes));
      formatGiven = true;
    } else if (name == "--fetch") {
      options.Fetch = static_cast<TCliPackageType>(ParseChoice(name, value(), kPackageTypes));
    } else if (name == "--print") {
      options.Print = static_cast<TPrintFormat>(ParseChoice(name, value(), kPrintFormats));
      printGiven = true;
    } else if (name == "--help" || name == "-h" || name == "--version") {
      if (equals != std::string_view::npos)
        throw ECliOptionError(std::string(name) + " takes no value");
      (name == "--version" ? options.Version : options.Help) = true;
    } else {
      throw ECliOptionError("unknown argument: " + std::string(name));
    }
  }
  if (printGiven && !options.Fetch) throw ECliOptionError("--print needs --fetch");
  if (formatGiven && options.Fetch)
    throw ECliOptionError("--format is for the window, not --fetch");
  return options;
}

const char* CliUsage() {
  return kUsage;
}

}  // namespace Vdei
