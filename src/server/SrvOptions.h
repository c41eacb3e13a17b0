// The command line of VDEI_SRV.
//
//   VDEI_SRV [--port N] [--bind ADDRESS] [--database D] [--headless]
//            [--max-connections N] [--idle-timeout S] [--request-timeout S]
//            [--no-progress-timeout S] [--max-pending-mb N] [--shutdown-grace S]
//            [--help] [--version]
//
// Each option takes its value as the next argument or after "=" (--port=0).
// ParseSrvOptions raises ESrvOptionError, whose message names the argument,
// for anything it does not understand; nothing is half applied.
#pragma once

#include <string>

#include "core/Exception.h"

namespace Vdei {

class ESrvOptionError : public Exception {
  using Exception::Exception;
};

struct TSrvOptions {
  int Port = 1024;   // 0: any free port
  std::string Bind;  // empty: all local addresses
  // What the alias DBDEMOS names; empty: the sample database.
  std::string Database;
  bool Headless = false;
  int MaxConnections = 256;
  int IdleTimeout = 300;       // seconds; 0: never
  int RequestTimeout = 10;     // seconds; 0: never
  int NoProgressTimeout = 30;  // seconds; 0: never
  int MaxPendingMb = 1024;     // MiB
  int ShutdownGrace = 10;      // seconds
  bool Help = false;
  bool Version = false;
};

TSrvOptions ParseSrvOptions(int argc, const char* const* argv);
// The text --help prints.
std::string SrvUsage();
// The database URL for --database D: D itself when it is a URL
// ("sqlite:..." or "postgresql://..." / "postgres://..."), else "sqlite:" + D,
// so that a missing file is reported as a file that cannot be opened.
std::string DatabaseUrl(const std::string& database);

}  // namespace Vdei
