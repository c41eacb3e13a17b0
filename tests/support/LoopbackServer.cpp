#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <stdexcept>

namespace VdeiTest {

namespace {

constexpr int kPollSliceMs = 50;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A socket bound to a free loopback port; the port through port.
int BoundSocket(int& port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot bind a loopback socket");
  }
  port = ntohs(address.sin_port);
  return fd;
}

// Waits in short slices until fd has events or stop is asked.
bool PollUnlessStopped(int fd, short events, const std::stop_token& stop) {
  while (!stop.stop_requested()) {
    pollfd entry{fd, events, 0};
    if (::poll(&entry, 1, kPollSliceMs) > 0) return true;
  }
  return false;
}

}  // namespace

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = BoundSocket(port_);
  if (::listen(listener_, 16) != 0) throw std::runtime_error("cannot listen on loopback");
  thread_ = std::jthread([this](std::stop_token stop) { Serve(stop); });
}

LoopbackServer::~LoopbackServer() {
  thread_.request_stop();
  thread_.join();
  ::close(listener_);
}

void LoopbackServer::Serve(std::stop_token stop) {
  while (PollUnlessStopped(listener_, POLLIN, stop)) {
    int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    ++accepted_;
    handler_(connection, stop);
    ::close(connection);
  }
}

std::string ReceiveUntil(int connection, std::string_view marker, std::stop_token stop) {
  std::string text;
  char buffer[4096];
  while (text.find(marker) == std::string::npos && PollUnlessStopped(connection, POLLIN, stop)) {
    ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
    if (count <= 0) break;
    text.append(buffer, static_cast<size_t>(count));
  }
  return text;
}

bool PeerClosedSending(int connection, int waitMs) {
  pollfd entry{connection, POLLIN, 0};
  if (::poll(&entry, 1, waitMs) <= 0) return false;
  char byte;
  return ::recv(connection, &byte, 1, MSG_PEEK) == 0;
}

void SendAll(int connection, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t count = ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return;  // the client went: the test sees it from its side
    bytes.remove_prefix(static_cast<size_t>(count));
  }
}

void ResetConnection(int connection) {
  linger immediately{1, 0};
  ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &immediately, sizeof immediately);
}

void WaitForStop(std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any stopped;
  std::unique_lock lock(mutex);
  stopped.wait(lock, stop, [] { return false; });
}

int UnusedPort() {
  int port = 0;
  ::close(BoundSocket(port));
  return port;
}

}  // namespace VdeiTest
