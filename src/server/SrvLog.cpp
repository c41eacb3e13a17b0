#include "server/SrvLog.h"

#include <algorithm>
#include <cstdio>

#include "core/CodePage.h"

namespace Vdei {

std::string StatusLogLine(std::time_t time, std::string_view text) {
  std::tm local{};
  localtime_r(&time, &local);
  char stamp[32];
  const size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", &local);
  std::string line = AnsiToUtf8(text);
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return std::string(stamp, length) + line;
}

void LogStatus(std::string_view text) {
  const std::string line = StatusLogLine(std::time(nullptr), text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace Vdei
