#include "platform/ClientSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

using Clock = std::chrono::steady_clock;

struct AddrInfoDeleter {
  void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoDeleter>;

std::string ErrorText(int code) {
  return code < 0 ? ::gai_strerror(code) : std::strerror(code);
}

std::string AddressText(const sockaddr* address) {
  char text[INET6_ADDRSTRLEN] = "";
  const void* raw =
      address->sa_family == AF_INET6
          ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr)
          : &reinterpret_cast<const sockaddr_in*>(address)->sin_addr;
  ::inet_ntop(address->sa_family, raw, text, sizeof text);
  return text;
}

// Waits for events on fd until the deadline (none: without limit).
int PollUntil(int fd, short events, std::optional<Clock::time_point> deadline) {
  for (;;) {
    int waitMs = -1;
    if (deadline) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
      if (left.count() <= 0) return ETIMEDOUT;
      waitMs = static_cast<int>(left.count());
    }
    pollfd entry{fd, events, 0};
    int ready = ::poll(&entry, 1, waitMs);
    if (ready > 0) return 0;  // readiness or a pending error: the next call tells
    if (ready == 0) return ETIMEDOUT;
    if (errno != EINTR) return errno;
  }
}

std::optional<Clock::time_point> DeadlineAfter(int seconds) {
  if (seconds <= 0) return std::nullopt;
  return Clock::now() + std::chrono::seconds(seconds);
}

}  // namespace

const TClassInfo& TClientSocket::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TClientSocket, TComponent>("TClientSocket")
          .String("Host", &TClientSocket::Host,
                  [](TClientSocket& s, std::string v) { s.SetHost(std::move(v)); })
          .Integer("Port", &TClientSocket::Port, &TClientSocket::SetPort, 0)
          .Enum("ClientType", {"ctNonBlocking", "ctBlocking"}, &TClientSocket::ClientType,
                &TClientSocket::SetClientType, ctBlocking)
          .Integer("Timeout", &TClientSocket::Timeout, &TClientSocket::SetTimeout, 30)
          .Boolean("Active", &TClientSocket::Active, &TClientSocket::SetActive, false)
          .Build();
  return info;
}

TClientSocket::TClientSocket(TComponent* owner) : TComponent(owner) {}

TClientSocket::~TClientSocket() = default;  // the descriptor closes with socket_

void TClientSocket::SetClientType(TClientType type) {
  if (type != ctBlocking) throw Exception("Only blocking client sockets are supported");
  clientType_ = type;
}

void TClientSocket::Notify(const TSocketNotifyEvent& event) {
  auto handler = event;  // a copy: the handler may replace the event
  if (handler) handler(this, &socket_);
}

void TClientSocket::Error(TErrorEvent event, int code, const char* api) {
  if (code == 0) code = EIO;  // an error must never read as success
  if (lastError_ == 0) lastError_ = code;
  int errorCode = code;
  auto handler = OnError;
  if (handler) handler(this, &socket_, event, errorCode);
  if (event == eeSend || event == eeReceive) Close();
  if (errorCode != 0) {
    throw Exception(
        Format("Socket error %d (%s), on API '%s'", errorCode, ErrorText(errorCode).c_str(), api));
  }
}

void TClientSocket::Close() {
  if (!socket_.fd_) return;
  socket_.fd_.reset();
  socket_.remoteAddress_.clear();
  Notify(OnDisconnect);
}

void TClientSocket::Open() {
  if (Active()) return;
  lastError_ = 0;
  Notify(OnLookup);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port_);
  if (int code = ::getaddrinfo(host_.c_str(), service.c_str(), &hints, &found); code != 0) {
    Error(eeLookup, code == EAI_SYSTEM ? errno : code, "getaddrinfo");
    return;
  }
  AddrInfoList addresses(found);
  Notify(OnConnecting);
  int code = 0;
  for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
    code = ConnectTo(*address);
    if (code == 0) {
      socket_.remoteAddress_ = AddressText(address->ai_addr);
      Notify(OnConnect);
      return;
    }
  }
  Error(eeConnect, code, "connect");
}

int TClientSocket::ConnectTo(const addrinfo& address) {
  UniqueFd fd = OwnFd(::socket(
      address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol));
  if (!fd) return errno;
  if (::connect(FdOf(fd), address.ai_addr, address.ai_addrlen) != 0) {
    if (errno != EINPROGRESS) return errno;
    if (int code = PollUntil(FdOf(fd), POLLOUT, DeadlineAfter(timeout_)); code != 0) return code;
    int code = 0;
    socklen_t length = sizeof code;
    if (::getsockopt(FdOf(fd), SOL_SOCKET, SO_ERROR, &code, &length) != 0) return errno;
    if (code != 0) return code;
  }
  socket_.fd_ = std::move(fd);
  return 0;
}

// ---- the connection ----

int TClientWinSocket::AfterFailure(short events) const {
  const int code = errno;
  if (code == EINTR) return 0;
  if (code == EAGAIN || code == EWOULDBLOCK) {
    return PollUntil(FdOf(fd_), events, DeadlineAfter(owner_.Timeout()));
  }
  return code;
}

int64_t TClientWinSocket::SendText(std::string_view text) {
  if (!Connected()) return 0;
  size_t sent = 0;
  while (sent < text.size()) {
    ssize_t count = ::send(FdOf(fd_), text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (count >= 0) {
      sent += static_cast<size_t>(count);
      continue;
    }
    if (int code = AfterFailure(POLLOUT); code != 0) {
      owner_.Error(eeSend, code, "send");
      return -1;
    }
  }
  owner_.Notify(owner_.OnWrite);
  return static_cast<int64_t>(sent);
}

int64_t TClientWinSocket::ReceiveBuf(void* buffer, int64_t count) {
  if (!Connected() || count <= 0) return 0;
  for (;;) {
    ssize_t received = ::recv(FdOf(fd_), buffer, static_cast<size_t>(count), 0);
    if (received > 0) {
      owner_.Notify(owner_.OnRead);
      return received;
    }
    if (received == 0) return 0;
    if (int code = AfterFailure(POLLIN); code != 0) {
      owner_.Error(eeReceive, code, "recv");
      return -1;
    }
  }
}

}  // namespace Vdei
