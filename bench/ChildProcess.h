// Runs a program of a benchmark as a child process with its standard output
// in a file, and measures it: wall and CPU time (user and system; less
// disturbed by a busy machine than the wall time) and peak resident memory
// (wait4's rusage of the child).
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct ChildMeasure {
  double Seconds = 0;
  double CpuSeconds = 0;
  double PeakMB = 0;  // MiB
};

// Runs args (args[0] found on the PATH) with standard output into
// outputPath; exits the benchmark when the program cannot run or fails.
inline ChildMeasure RunChild(const std::vector<std::string>& args, const std::string& outputPath) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0) _exit(127);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "benchmark: %s failed\n", args[0].c_str());
    std::exit(1);
  }
  ChildMeasure measure;
  measure.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  measure.CpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  measure.PeakMB = usage.ru_maxrss / 1024.0;
  return measure;
}
