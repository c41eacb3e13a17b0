// LoopbackServer: a small TCP server of the test's own on 127.0.0.1 (a
// free port), for testing clients against servers that misbehave.
//
//   VdeiTest::LoopbackServer server([](int connection, std::stop_token stop) {
//     VdeiTest::ReceiveUntil(connection, "%GET DATA%", stop);
//     VdeiTest::SendAll(connection, package);
//   });                       // the connection is closed when the handler returns
//   client.SetPort(server.Port());
//
// Connections are accepted and handled one after another on the server's
// own thread. The destructor asks the handler to stop (stop token), waits
// for it and closes everything. Every wait here ends when stop is asked.
#pragma once

#include <atomic>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>

namespace VdeiTest {

class LoopbackServer {
 public:
  using Handler = std::function<void(int connection, std::stop_token stop)>;
  explicit LoopbackServer(Handler handler);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port_; }
  // Connections accepted so far.
  int Accepted() const { return accepted_; }

 private:
  void Serve(std::stop_token stop);

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<int> accepted_{0};
  std::jthread thread_;
};

// Reads until the text read contains marker, the peer closes its sending
// side, or stop is asked; returns what was read.
std::string ReceiveUntil(int connection, std::string_view marker, std::stop_token stop);
// Whether the peer shut down its sending side (or closed) within waitMs.
bool PeerClosedSending(int connection, int waitMs);
void SendAll(int connection, std::string_view bytes);
// Makes the close that follows the handler a reset (RST) instead of an
// orderly close; the handler returns right after it.
void ResetConnection(int connection);
// Blocks until stop is asked.
void WaitForStop(std::stop_token stop);
// A loopback port on which nothing listens (connections are refused).
int UnusedPort();

}  // namespace VdeiTest
