// Driving the real VDEI_SRV from tests and benchmarks: starting it (under a
// descriptor limit if asked) and stopping it with a signal, reading its log
// and its memory and CPU figures, and plain POSIX clients on loopback that
// can trickle, half-close, stall or vanish.
//
//   VdeiTest::ServerProcess server({"--database", path});  // adds --headless --port 0
//   VdeiTest::Reply reply = VdeiTest::Request(server.Port(), "%GET DATA%");
//   EXPECT_TRUE(reply.Closed);
//   EXPECT_EQ(server.Stop(SIGTERM), 0);
//
// The server's standard error is read by a thread of its own for the whole
// run, so its log never fills a pipe. Every wait is bounded; a server that
// does not start within its time fails the constructor with its log.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace VdeiTest {

class ServerProcess {
 public:
  // Starts VDEI_SRV --headless --port 0 --bind 127.0.0.1 followed by args
  // and waits for its "listening on ADDRESS:PORT" line. Throws
  // std::runtime_error (with the log) when it ends or stays silent.
  // fileLimit > 0: the process may open at most that many descriptors.
  explicit ServerProcess(const std::vector<std::string>& args = {}, int fileLimit = 0);
  ~ServerProcess();  // Stop(SIGKILL) when still running
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  // Still running (has not exited).
  bool Running();
  // Sends signal and waits for the exit: the exit status, or 128 + the
  // signal that ended it, or -1 when it did not end within timeoutMs (it
  // is then killed).
  int Stop(int signal, int timeoutMs = 10000);
  // Everything the server wrote to standard error so far.
  std::string Log() const;
  // Waits until the log contains text; false after timeoutMs.
  bool WaitForLog(std::string_view text, int timeoutMs = 10000) const;

 private:
  void ReadLog(int fd);

  pid_t pid_ = -1;
  int status_ = 0;
  bool exited_ = false;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::string log_;
  std::thread reader_;
};

// A blocking client connection to 127.0.0.1.
class Connection {
 public:
  // receiveBuffer: SO_RCVBUF in bytes (0: the system's default).
  explicit Connection(int port, int receiveBuffer = 0);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool Connected() const { return connected_; }
  bool Send(std::string_view bytes);
  // Reads until the server closes the connection, limit bytes have come,
  // or nothing arrives for timeoutMs; pauseMicros sleeps after each read
  // of at most piece bytes (a slow reader).
  std::string Read(size_t limit = SIZE_MAX, int timeoutMs = 10000, int pauseMicros = 0,
                   size_t piece = 65536);
  // The server closed the connection (a read returned 0 or a reset).
  bool Closed() const { return closed_; }
  // The server ended the connection with a reset (Closed() is then true).
  bool Reset() const { return reset_; }
  // Shuts down the sending side, as "nc -N" does after its request.
  void ShutdownWrite();
  // Closes with a reset, as a client that vanishes does.
  void Abort();

 private:
  int fd_ = -1;
  bool connected_ = false;
  bool closed_ = false;
  bool reset_ = false;
};

struct Reply {
  std::string Bytes;
  bool Closed = false;  // the server closed the connection after them
  bool Reset = false;   // ... with a reset
};

// Connects, sends request, reads the reply until the server closes (or
// timeoutMs of silence).
Reply Request(int port, std::string_view request, int timeoutMs = 10000);

struct ProgramResult {
  int Status = 0;  // the exit status, or 128 + the signal that ended it
  std::string Output;
  std::string Errors;
};

// Runs a program to its end, with its standard input on /dev/null.
ProgramResult RunToEnd(const std::string& path, const std::vector<std::string>& args);
// RunToEnd, but only its standard output; throws std::runtime_error with its
// standard error when it exits non-zero.
std::string RunProgram(const std::string& path, const std::vector<std::string>& args);

// How often what occurs in text.
size_t Count(const std::string& text, const std::string& what);

// Figures of a running process from /proc: resident memory now and at its
// peak (KiB), and the CPU time it has used (user + system, seconds).
long ResidentKiB(pid_t pid);
long PeakResidentKiB(pid_t pid);
double CpuSeconds(pid_t pid);

// Paths in the build folder.
std::string ServerBinary();
std::string ExportToolBinary();
std::string GenDbBinary();
std::string SampleDatabase();

}  // namespace VdeiTest
