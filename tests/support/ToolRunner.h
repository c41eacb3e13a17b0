// Runs a program of the build as a user runs it, for the tests of the
// command-line tools: arguments passed through a shell with quoting,
// standard input from a file when given, standard output and error read
// back.
#pragma once

#include <string>
#include <vector>

namespace VdeiTest {

struct ToolRun {
  int Status = -1;  // the exit status; -1 when the program did not exit
  std::string Out;
  std::string Err;
};

struct ToolRedirect {
  std::string StdinPath;   // empty: no input (/dev/null)
  std::string StdoutPath;  // set: standard output goes there, Out stays empty
};

// program is a path relative to the build folder ("src/tools/vdei-export").
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const ToolRedirect& redirect = {});

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

}  // namespace VdeiTest
