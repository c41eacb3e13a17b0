#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/UniqueFd.h"

extern char** environ;

namespace Vdei {

namespace {

struct FileActionsDestroyer {
  void operator()(posix_spawn_file_actions_t* actions) const {
    posix_spawn_file_actions_destroy(actions);
  }
};

// argv for exec: the path, then args; the pointers refer into the strings.
std::vector<char*> MakeArgv(const std::string& path, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 2);
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  return argv;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

std::string SearchPath() {
  if (const char* path = std::getenv("PATH")) return path;
  size_t length = ::confstr(_CS_PATH, nullptr, 0);
  std::string path(length, '\0');
  if (length > 0) ::confstr(_CS_PATH, path.data(), length);
  path.resize(length > 0 ? length - 1 : 0);
  return path;
}

int WaitForExit(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// Marks every descriptor from 3 up close-on-exec. Runs between fork and
// exec, so it uses only async-signal-safe calls.
void CloseOthersOnExec() {
  if (::close_range(3, UINT_MAX, CLOSE_RANGE_CLOEXEC) == 0) return;
  long last = ::sysconf(_SC_OPEN_MAX);
  if (last < 0 || last > 65536) last = 65536;
  for (int fd = 3; fd < last; ++fd) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

// The grandchild of SpawnDetached: standard streams to /dev/null, then
// exec; when exec fails, errno goes up the error pipe.
[[noreturn]] void ExecDetached(const char* path, char* const* argv, int errorPipe) {
  int devNull = ::open("/dev/null", O_RDWR);
  if (devNull >= 0) {
    for (int fd = 0; fd <= 2; ++fd) ::dup2(devNull, fd);
    if (devNull > 2) ::close(devNull);
  }
  CloseOthersOnExec();
  ::execve(path, argv, environ);
  int error = errno;
  ssize_t written = ::write(errorPipe, &error, sizeof error);
  (void)written;
  ::_exit(127);
}

bool SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

}  // namespace

std::string FindProgram(std::string_view name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string_view::npos) {
    std::string path(name);
    return IsExecutableFile(path) ? path : "";
  }
  std::string folders = SearchPath();
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    if (folder.empty()) folder = ".";
    std::string candidate = std::move(folder);
    candidate += '/';
    candidate.append(name);
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return "";
}

bool SpawnDetached(const std::string& path, const std::vector<std::string>& args) {
  std::vector<char*> argv = MakeArgv(path, args);
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  UniqueFd readEnd = OwnFd(pipeFds[0]);
  UniqueFd writeEnd = OwnFd(pipeFds[1]);

  pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    // The intermediate child: a new session, one more fork, and out at
    // once, so that the program is adopted by init.
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild == 0) ExecDetached(path.c_str(), argv.data(), FdOf(writeEnd));
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  writeEnd.reset();
  if (WaitForExit(child) != 0) return false;
  // The pipe closes on a successful exec; a failed one sends errno first.
  int error = 0;
  ssize_t got;
  do {
    got = ::read(FdOf(readEnd), &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  return got == 0;
}

int RunProgram(const std::string& path, const std::vector<std::string>& args,
               std::string_view input) {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return -1;
  UniqueFd ours = OwnFd(pair[0]);
  UniqueFd theirs = OwnFd(pair[1]);

  posix_spawn_file_actions_t actionsStorage;
  if (posix_spawn_file_actions_init(&actionsStorage) != 0) return -1;
  std::unique_ptr<posix_spawn_file_actions_t, FileActionsDestroyer> actions(&actionsStorage);
  posix_spawn_file_actions_adddup2(actions.get(), FdOf(theirs), 0);
  posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(actions.get(), 3);

  std::vector<char*> argv = MakeArgv(path, args);
  pid_t pid;
  if (posix_spawn(&pid, path.c_str(), actions.get(), nullptr, argv.data(), environ) != 0) return -1;
  theirs.reset();
  // A program that stops reading early ends the writing, not this process
  // (MSG_NOSIGNAL: no SIGPIPE); its exit status tells what happened.
  SendAll(FdOf(ours), input);
  ours.reset();
  return WaitForExit(pid);
}

}  // namespace Vdei
