#include "ToolRunner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TestDatabases.h"

namespace VdeiTest {

namespace {

std::string ShellQuoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const ToolRedirect& redirect) {
  const TempDir dir;
  const std::string out = redirect.StdoutPath.empty() ? dir.File("out") : redirect.StdoutPath;
  std::string command = ShellQuoted(std::string(VDEI_BINARY_DIR) + "/" + program);
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  command += " <" + ShellQuoted(redirect.StdinPath.empty() ? "/dev/null" : redirect.StdinPath);
  command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(dir.File("err"));
  const int status = std::system(command.c_str());
  ToolRun run;
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (redirect.StdoutPath.empty()) run.Out = ReadFile(out);
  run.Err = ReadFile(dir.File("err"));
  return run;
}

}  // namespace VdeiTest
