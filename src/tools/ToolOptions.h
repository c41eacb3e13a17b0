// What the command-line tools share: reading options from the arguments
// (EUsageError for anything a tool cannot take), the value forms options
// take, and the progress line on standard error.
//
// ReadOptions walks the arguments after the program name: each must be an
// option of specs; an option that takes a value takes the next argument.
// The value readers raise EUsageError with a one-line message naming the
// option and the value. Values are UTF-8, as given on the command line.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/Exception.h"
#include "core/StrUtils.h"

namespace Vdei {

class EUsageError : public Exception {
  using Exception::Exception;
};

// One option of a tool; Scope is the tool's own restriction (a format the
// option applies to), checked by the tool once all options are read.
template <class Options>
struct ToolOptionSpec {
  const char* Name;
  bool TakesValue;
  int Scope;
  std::function<void(Options&, const std::string&)> Apply;
};

// Applies each argument's option to options; returns the specs given, in
// order.
template <class Options>
std::vector<const ToolOptionSpec<Options>*> ReadOptions(
    const std::vector<std::string>& args, const std::vector<ToolOptionSpec<Options>>& specs,
    Options& options) {
  std::vector<const ToolOptionSpec<Options>*> given;
  for (size_t i = 0; i < args.size(); ++i) {
    const ToolOptionSpec<Options>* spec = nullptr;
    for (const ToolOptionSpec<Options>& candidate : specs) {
      if (args[i] == candidate.Name) spec = &candidate;
    }
    if (spec == nullptr) throw EUsageError("unknown argument: " + args[i]);
    if (spec->TakesValue && i + 1 >= args.size()) throw EUsageError(args[i] + " needs a value");
    spec->Apply(options, spec->TakesValue ? args[++i] : std::string());
    given.push_back(spec);
  }
  return given;
}

[[noreturn]] void RefuseOption(const std::string& option, const std::string& value,
                               const char* what);
// One character of the ANSI code page.
char CharOption(const std::string& option, const std::string& value);
// A whole number >= minimum.
int CountOption(const std::string& option, const std::string& value, int minimum = 0);
// Three non-empty names separated by commas (RECORDS,RECORD,ROW).
std::vector<std::string> TagNamesOption(const std::string& option, const std::string& value);

// The value of names whose name equals value without regard to case.
template <class T>
T NamedOption(const std::string& option, const std::string& value,
              const std::vector<std::pair<const char*, T>>& names) {
  for (const auto& [name, result] : names) {
    if (SameText(value, name)) return result;
  }
  RefuseOption(option, value, "is not one of the values listed in --help");
}

// "<caption>: <done> of <total> <unit>, <rate> <unit>/s" on standard error,
// every half second and once at the end (done >= total); on a terminal the
// line is rewritten in place. A total below 0 is not known yet (a
// forward-only query): the line says "<done> <unit>" without it.
class ProgressLine {
 public:
  ProgressLine(std::string caption, std::string unit);
  void Report(int done, int total);

 private:
  using Clock = std::chrono::steady_clock;
  std::string caption_;
  std::string unit_;
  bool inPlace_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point shown_ = start_;
};

}  // namespace Vdei
