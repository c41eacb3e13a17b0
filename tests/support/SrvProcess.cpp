#include "SrvProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace VdeiTest {

namespace {

using Clock = std::chrono::steady_clock;

int ElapsedMs(Clock::time_point since) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// Starts path with args; its standard output and error go to the given
// descriptors (-1: /dev/null); fileLimit > 0 bounds its descriptors.
// Returns the child's pid.
pid_t Spawn(const std::string& path, const std::vector<std::string>& args, int outFd, int errFd,
            int fileLimit = 0) {
  std::vector<char*> argv{const_cast<char*>(path.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(devNull, 0);
    ::dup2(outFd >= 0 ? outFd : devNull, 1);
    ::dup2(errFd >= 0 ? errFd : devNull, 2);
    if (fileLimit > 0) {
      const rlimit limit{static_cast<rlim_t>(fileLimit), static_cast<rlim_t>(fileLimit)};
      ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    ::execv(path.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

void MakePipe(int fds[2]) {
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
}

std::string ReadAllFrom(int fd) {
  std::string data;
  char buffer[65536];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
    if (got > 0) data.append(buffer, static_cast<size_t>(got));
  }
  return data;
}

int ExitCode(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

// ---- the server ----

ServerProcess::ServerProcess(const std::vector<std::string>& args, int fileLimit) {
  std::vector<std::string> all{"--headless", "--port", "0", "--bind", "127.0.0.1"};
  all.insert(all.end(), args.begin(), args.end());
  int fds[2];
  MakePipe(fds);
  pid_ = Spawn(ServerBinary(), all, -1, fds[1], fileLimit);
  ::close(fds[1]);
  reader_ = std::thread([this, fd = fds[0]] { ReadLog(fd); });

  static const std::regex listening("listening on .*:([0-9]+)\n");
  const auto start = Clock::now();
  std::smatch match;
  while (ElapsedMs(start) < 10000) {
    const std::string log = Log();
    if (std::regex_search(log, match, listening)) {
      port_ = std::stoi(match[1]);
      return;
    }
    if (!Running()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Stop(SIGKILL);
  throw std::runtime_error("VDEI_SRV did not start:\n" + Log());
}

ServerProcess::~ServerProcess() {
  if (Running()) Stop(SIGKILL);
  if (reader_.joinable()) reader_.join();
}

void ServerProcess::ReadLog(int fd) {
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
    if (got <= 0) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    log_.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
}

bool ServerProcess::Running() {
  if (exited_) return false;
  if (::waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
  return !exited_;
}

int ServerProcess::Stop(int signal, int timeoutMs) {
  if (Running()) ::kill(pid_, signal);
  const auto start = Clock::now();
  while (Running() && ElapsedMs(start) < timeoutMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (Running()) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status_, 0);
    exited_ = true;
    return -1;
  }
  return ExitCode(status_);
}

std::string ServerProcess::Log() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

bool ServerProcess::WaitForLog(std::string_view text, int timeoutMs) const {
  const auto start = Clock::now();
  while (Log().find(text) == std::string::npos) {
    if (ElapsedMs(start) >= timeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// ---- a client ----

Connection::Connection(int port, int receiveBuffer) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
  if (receiveBuffer > 0) {
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

Connection::~Connection() {
  if (fd_ >= 0) ::close(fd_);
}

bool Connection::Send(std::string_view bytes) {
  return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
         static_cast<ssize_t>(bytes.size());
}

std::string Connection::Read(size_t limit, int timeoutMs, int pauseMicros, size_t piece) {
  std::string data;
  std::vector<char> buffer(piece);
  while (data.size() < limit && !closed_) {
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, timeoutMs) <= 0) break;  // silence: the server keeps it open
    const ssize_t got = ::recv(fd_, buffer.data(), std::min(piece, limit - data.size()), 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      reset_ = got < 0 && errno == ECONNRESET;
      closed_ = got == 0 || reset_;
      break;
    }
    data.append(buffer.data(), static_cast<size_t>(got));
    if (pauseMicros > 0) std::this_thread::sleep_for(std::chrono::microseconds(pauseMicros));
  }
  return data;
}

void Connection::ShutdownWrite() {
  ::shutdown(fd_, SHUT_WR);
}

void Connection::Abort() {
  linger hard{1, 0};
  ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  ::close(fd_);
  fd_ = -1;
}

Reply Request(int port, std::string_view request, int timeoutMs) {
  Connection connection(port);
  if (!connection.Connected() || !connection.Send(request)) return {};
  Reply reply;
  reply.Bytes = connection.Read(SIZE_MAX, timeoutMs);
  reply.Closed = connection.Closed();
  reply.Reset = connection.Reset();
  return reply;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// ---- figures of a process ----

namespace {

// The number after "name:" in /proc/PID/status (0 when absent).
long StatusField(pid_t pid, const std::string& name) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, name.size() + 1, name + ":") == 0) {
      return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
    }
  }
  return 0;
}

}  // namespace

long ResidentKiB(pid_t pid) {
  return StatusField(pid, "VmRSS");
}

long PeakResidentKiB(pid_t pid) {
  return StatusField(pid, "VmHWM");
}

double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The fields after the command name (in parentheses, may hold blanks);
  // utime and stime are the 12th and 13th of them.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int i = 1; i <= 13 && fields >> field; ++i) {
    if (i >= 12) ticks += std::stod(field);
  }
  return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// ---- programs of the build ----

ProgramResult RunToEnd(const std::string& path, const std::vector<std::string>& args) {
  int out[2], err[2];
  MakePipe(out);
  MakePipe(err);
  const pid_t pid = Spawn(path, args, out[1], err[1]);
  ::close(out[1]);
  ::close(err[1]);
  ProgramResult result;
  std::thread errorReader([&] { result.Errors = ReadAllFrom(err[0]); });
  result.Output = ReadAllFrom(out[0]);
  errorReader.join();
  ::close(out[0]);
  ::close(err[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.Status = ExitCode(status);
  return result;
}

std::string RunProgram(const std::string& path, const std::vector<std::string>& args) {
  ProgramResult result = RunToEnd(path, args);
  if (result.Status != 0) {
    throw std::runtime_error(path + " failed (" + std::to_string(result.Status) +
                             "): " + result.Errors);
  }
  return std::move(result.Output);
}

std::string ServerBinary() {
  return VDEI_BINARY_DIR "/src/server/VDEI_SRV";
}
std::string ExportToolBinary() {
  return VDEI_BINARY_DIR "/src/tools/vdei-export";
}
std::string GenDbBinary() {
  return VDEI_BINARY_DIR "/data/vdei-gendb";
}
std::string SampleDatabase() {
  return VDEI_BINARY_DIR "/data/dbdemos.db";
}

}  // namespace VdeiTest
