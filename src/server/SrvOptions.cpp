#include "server/SrvOptions.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "core/StrUtils.h"

namespace Vdei {

namespace {

constexpr const char* kUsage =
    "usage: VDEI_SRV [options]\n"
    "Serves the CUSTOMER table of the DBDEMOS database as an XML package (or an HTML\n"
    "page) to every client that sends \"%GET DATA%\" (\"%GET DATA%HTML%\" for HTML).\n"
    "  --port N               TCP port to listen on (default 1024; 0 picks a free port)\n"
    "  --bind ADDRESS         local address to listen on (default: all addresses)\n"
    "  --database D           what the alias DBDEMOS names: a SQLite file, sqlite:PATH\n"
    "                         or postgresql://... (default: the sample database)\n"
    "  --headless             no window; status lines go to standard error (the default\n"
    "                         when there is no display)\n"
    "  --max-connections N    connections served at once; more are closed (default 256)\n"
    "  --idle-timeout S       seconds a connection may stay silent (default 300; 0: never)\n"
    "  --request-timeout S    seconds from connecting to a complete request; whatever\n"
    "                         else comes meanwhile does not extend it (default 10; 0: never)\n"
    "  --no-progress-timeout S\n"
    "                         seconds a transfer may take no byte before it is reset\n"
    "                         (default 30; 0: never)\n"
    "  --max-pending-mb N     MiB that packages being sent may hold; beyond it, requests\n"
    "                         wait for transfers to end (default 1024)\n"
    "  --shutdown-grace S     on SIGTERM or SIGINT, seconds transfers in flight may take\n"
    "                         to finish before they are reset (default 10)\n"
    "  --help                 this text\n"
    "  --version              the program's version\n";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// A whole decimal number in [low, high].
int ParseNumber(const std::string& option, const std::string& text, int low, int high) {
  char* end = nullptr;
  errno = 0;
  const long value =
      text.empty() || text[0] == '-' || text[0] == '+' ? -1 : std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == nullptr || *end != '\0' || value < low || value > high) {
    throw ESrvOptionError(Format("%s needs a number from %d to %d, not '%s'", option.c_str(), low,
                                 high, text.c_str()));
  }
  return static_cast<int>(value);
}

// Reads the options one by one; a value comes after "=" or as the next argument.
class OptionReader {
 public:
  OptionReader(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}

  bool Next() {
    if (++index_ >= argc_) return false;
    std::string arg = argv_[index_];
    const size_t equals = arg.find('=');
    inlineValue_ = StartsWith(arg, "--") && equals != std::string::npos;
    name_ = inlineValue_ ? arg.substr(0, equals) : arg;
    value_ = inlineValue_ ? arg.substr(equals + 1) : std::string();
    return true;
  }
  const std::string& Name() const { return name_; }
  bool Is(const char* name) const { return name_ == name; }
  std::string Value() {
    if (inlineValue_) return value_;
    if (index_ + 1 >= argc_) throw ESrvOptionError(name_ + " needs a value");
    return argv_[++index_];
  }
  void NoValue() const {
    if (inlineValue_) throw ESrvOptionError(name_ + " takes no value");
  }

 private:
  int argc_;
  const char* const* argv_;
  int index_ = 0;
  std::string name_, value_;
  bool inlineValue_ = false;
};

}  // namespace

TSrvOptions ParseSrvOptions(int argc, const char* const* argv) {
  TSrvOptions options;
  OptionReader reader(argc, argv);
  while (reader.Next()) {
    if (reader.Is("--port")) {
      options.Port = ParseNumber(reader.Name(), reader.Value(), 0, 65535);
    } else if (reader.Is("--bind")) {
      options.Bind = reader.Value();
      if (options.Bind.empty()) throw ESrvOptionError("--bind needs an address");
    } else if (reader.Is("--database")) {
      options.Database = reader.Value();
      if (options.Database.empty()) throw ESrvOptionError("--database needs a database");
    } else if (reader.Is("--max-connections")) {
      options.MaxConnections = ParseNumber(reader.Name(), reader.Value(), 1, 100000);
    } else if (reader.Is("--idle-timeout")) {
      options.IdleTimeout = ParseNumber(reader.Name(), reader.Value(), 0, 2000000);
    } else if (reader.Is("--request-timeout")) {
      options.RequestTimeout = ParseNumber(reader.Name(), reader.Value(), 0, 2000000);
    } else if (reader.Is("--no-progress-timeout")) {
      options.NoProgressTimeout = ParseNumber(reader.Name(), reader.Value(), 0, 2000000);
    } else if (reader.Is("--max-pending-mb")) {
      options.MaxPendingMb = ParseNumber(reader.Name(), reader.Value(), 1, 1 << 24);
    } else if (reader.Is("--shutdown-grace")) {
      options.ShutdownGrace = ParseNumber(reader.Name(), reader.Value(), 0, 2000000);
    } else if (reader.Is("--headless") || reader.Is("--help") || reader.Is("-h") ||
               reader.Is("--version")) {
      reader.NoValue();
      bool& flag = reader.Is("--headless")  ? options.Headless
                   : reader.Is("--version") ? options.Version
                                            : options.Help;
      flag = true;
    } else {
      throw ESrvOptionError("unknown argument: " + reader.Name());
    }
  }
  return options;
}

std::string SrvUsage() {
  return kUsage;
}

std::string DatabaseUrl(const std::string& database) {
  if (StartsWith(database, "sqlite:") || StartsWith(database, "postgresql://") ||
      StartsWith(database, "postgres://")) {
    return database;
  }
  return "sqlite:" + database;
}

}  // namespace Vdei
