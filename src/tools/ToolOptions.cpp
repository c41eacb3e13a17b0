#include "tools/ToolOptions.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "core/CodePage.h"

namespace Vdei {

void RefuseOption(const std::string& option, const std::string& value, const char* what) {
  throw EUsageError(option + " " + value + ": " + what);
}

char CharOption(const std::string& option, const std::string& value) {
  const std::string ansi = Utf8ToAnsi(value);
  if (ansi.size() != 1) RefuseOption(option, value, "needs exactly one character");
  return ansi[0];
}

int CountOption(const std::string& option, const std::string& value, int minimum) {
  int count = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, error] = std::from_chars(value.data(), end, count);
  if (error != std::errc() || ptr != end || count < minimum) {
    RefuseOption(option, value, minimum == 0 ? "needs a count >= 0" : "needs a number >= 1");
  }
  return count;
}

std::vector<std::string> TagNamesOption(const std::string& option, const std::string& value) {
  const std::vector<std::string> names = Split(value, ',');
  const bool anyEmpty =
      std::any_of(names.begin(), names.end(), [](const std::string& n) { return n.empty(); });
  if (names.size() != 3 || anyEmpty) {
    RefuseOption(option, value, "needs three names: RECORDS,RECORD,ROW");
  }
  return names;
}

ProgressLine::ProgressLine(std::string caption, std::string unit)
    : caption_(std::move(caption)), unit_(std::move(unit)), inPlace_(isatty(STDERR_FILENO) != 0) {}

void ProgressLine::Report(int done, int total) {
  const auto now = Clock::now();
  const bool last = total >= 0 && done >= total;  // a total below 0 is not known yet
  if (!last && now - shown_ < std::chrono::milliseconds(500)) return;
  shown_ = now;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = seconds > 0 ? done / seconds : 0;
  const std::string of = total >= 0 ? " of " + std::to_string(total) : std::string();
  std::fprintf(stderr, "%s%s: %d%s %s, %.0f %s/s%s", inPlace_ ? "\r" : "", caption_.c_str(), done,
               of.c_str(), unit_.c_str(), rate, unit_.c_str(), inPlace_ && !last ? "" : "\n");
  std::fflush(stderr);
}

}  // namespace Vdei
