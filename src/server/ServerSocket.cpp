#include "server/ServerSocket.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <QHostAddress>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/Properties.h"
#include "core/StrUtils.h"
#include "platform/Platform.h"

namespace Vdei {

namespace {

constexpr int kListenBacklog = 128;
// Accepts per notification, so that a flood of clients cannot starve the
// connections already open.
constexpr int kAcceptBurst = 64;
// How long accepting pauses after the process ran out of descriptors.
constexpr int kAcceptRetryMs = 250;

struct SocketAddress {
  sockaddr_storage Storage{};
  socklen_t Length = 0;
  const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&Storage); }
};

// The address to bind: address (or all IPv6 and IPv4 addresses) and port.
SocketAddress BindAddress(const QHostAddress& address, int port, bool any) {
  SocketAddress result;
  if (!any && address.protocol() == QAbstractSocket::IPv4Protocol) {
    auto* in = reinterpret_cast<sockaddr_in*>(&result.Storage);
    in->sin_family = AF_INET;
    in->sin_port = htons(static_cast<uint16_t>(port));
    in->sin_addr.s_addr = htonl(address.toIPv4Address());
    result.Length = sizeof *in;
  } else {
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&result.Storage);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = htons(static_cast<uint16_t>(port));
    if (!any) {
      const Q_IPV6ADDR bytes = address.toIPv6Address();
      std::memcpy(&in6->sin6_addr, bytes.c, sizeof bytes.c);
    }
    result.Length = sizeof *in6;
  }
  return result;
}

UniqueFd ListeningSocket(const SocketAddress& where) {
  UniqueFd fd =
      OwnFd(::socket(where.Storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd) return fd;
  const int on = 1, off = 0;
  ::setsockopt(FdOf(fd), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (where.Storage.ss_family == AF_INET6) {
    ::setsockopt(FdOf(fd), IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
  }
  if (::bind(FdOf(fd), where.Get(), where.Length) != 0 || ::listen(FdOf(fd), kListenBacklog) != 0) {
    return UniqueFd();
  }
  return fd;
}

}  // namespace

const TClassInfo& TServerSocket::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TServerSocket, TComponent>("TServerSocket")
          .Boolean("Active", &TServerSocket::Active, &TServerSocket::SetActive, false)
          .Integer("Port", &TServerSocket::Port, &TServerSocket::SetPort, 1024)
          .String("Address", &TServerSocket::Address,
                  [](TServerSocket& s, std::string v) { s.SetAddress(std::move(v)); })
          .Integer("MaxConnections", &TServerSocket::MaxConnections,
                   &TServerSocket::SetMaxConnections, 256)
          .Integer("IdleTimeout", &TServerSocket::IdleTimeout, &TServerSocket::SetIdleTimeout, 300)
          .Integer("RequestTimeout", &TServerSocket::RequestTimeout,
                   &TServerSocket::SetRequestTimeout, 10)
          .Integer("NoProgressTimeout", &TServerSocket::NoProgressTimeout,
                   &TServerSocket::SetNoProgressTimeout, 30)
          .Build();
  return info;
}

TServerSocket::TServerSocket(TComponent* owner)
    : TComponent(owner),
      acceptRetry_(std::make_unique<QTimer>()),
      graceTimer_(std::make_unique<QTimer>()),
      context_(std::make_unique<QObject>()) {
  acceptRetry_->setSingleShot(true);
  QObject::connect(acceptRetry_.get(), &QTimer::timeout, context_.get(),
                   [this] { ResumeAccepting(); });
  graceTimer_->setSingleShot(true);
  QObject::connect(graceTimer_.get(), &QTimer::timeout, context_.get(), [this] { Close(); });
}

TServerSocket::~TServerSocket() {
  OnClientConnect = nullptr;
  OnClientDisconnect = nullptr;
  OnClientRead = nullptr;
  OnClientPause = nullptr;
  OnClientSent = nullptr;
  OnClientError = nullptr;
  OnServerNotice = nullptr;
  gracefulDone_ = nullptr;
  Close();
  ended_.clear();
}

void TServerSocket::Open() {
  if (Active()) return;
  if (port_ < 0 || port_ > 65535) throw ESocketError(Format("Invalid port %d", port_));
  QHostAddress address;
  const bool any = address_.empty();
  if (!any && !address.setAddress(QString::fromStdString(address_))) {
    throw ESocketError(Format("Invalid address: %s", address_.c_str()));
  }
  UniqueFd fd = ListeningSocket(BindAddress(address, port_, any));
  if (!fd && any && errno == EAFNOSUPPORT) {
    fd = ListeningSocket(BindAddress(QHostAddress(QHostAddress::AnyIPv4), port_, false));
  }
  if (!fd) {
    throw ESocketError(Format("Cannot listen on port %d: %s", port_, std::strerror(errno)));
  }
  SocketAddress local;
  local.Length = sizeof local.Storage;
  ::getsockname(FdOf(fd), reinterpret_cast<sockaddr*>(&local.Storage), &local.Length);
  const QHostAddress bound(local.Get());
  localAddress_ = bound.toString().toStdString();
  localPort_ = ntohs(local.Storage.ss_family == AF_INET6
                         ? reinterpret_cast<const sockaddr_in6*>(&local.Storage)->sin6_port
                         : reinterpret_cast<const sockaddr_in*>(&local.Storage)->sin_port);
  acceptNotifier_ = std::make_unique<QSocketNotifier>(FdOf(fd), QSocketNotifier::Read);
  QObject::connect(acceptNotifier_.get(), &QSocketNotifier::activated, context_.get(),
                   [this] { AcceptPending(); });
  listener_ = std::move(fd);
  acceptPaused_ = false;
}

void TServerSocket::Close() {
  graceTimer_->stop();
  acceptRetry_->stop();
  acceptNotifier_.reset();
  listener_.reset();
  // Each connection's end removes it from the list.
  while (!connections_.empty()) connections_.back()->Close();
  FinishGracefulClose();
}

void TServerSocket::CloseGracefully(int graceSeconds, std::function<void()> done) {
  gracefulDone_ = std::move(done);
  acceptRetry_->stop();
  acceptNotifier_.reset();
  listener_.reset();
  std::vector<TServerClientWinSocket*> idle;
  for (const auto& connection : connections_) {
    if (!connection->Sending() && connection->phase_ != TServerClientWinSocket::phDraining) {
      idle.push_back(connection.get());
    }
  }
  for (TServerClientWinSocket* connection : idle) connection->End("the server is shutting down");
  if (connections_.empty()) {
    QTimer::singleShot(0, context_.get(), [this] { FinishGracefulClose(); });
  } else {
    graceTimer_->start(std::max(graceSeconds, 0) * 1000);
  }
}

void TServerSocket::FinishGracefulClose() {
  if (!gracefulDone_ || !connections_.empty()) return;
  graceTimer_->stop();
  std::function<void()> done = std::move(gracefulDone_);
  gracefulDone_ = nullptr;
  done();
}

TServerClientWinSocket* TServerSocket::Connections(int index) const {
  if (index < 0 || index >= ActiveConnections()) ThrowListIndexError(index);
  return connections_[static_cast<size_t>(index)].get();
}

void TServerSocket::AcceptPending() {
  for (int i = 0; i < kAcceptBurst && listener_; ++i) {
    UniqueFd fd = OwnFd(::accept4(FdOf(listener_), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (fd) {
      Admit(std::move(fd));
      continue;
    }
    const int error = errno;
    if (error == EAGAIN || error == EWOULDBLOCK) {
      // Caught up with every waiting client: a shortage is over.
      if (acceptPaused_) {
        acceptPaused_ = false;
        Raise(OnServerNotice, this, std::string("Accepting connections again"));
      }
      return;
    }
    if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM) {
      PauseAccepting(error);
      return;
    }
    // ECONNABORTED, EINTR, EPROTO...: that one client is gone; go on.
  }
}

void TServerSocket::PauseAccepting(int error) {
  if (!acceptPaused_) {
    acceptPaused_ = true;
    Raise(OnServerNotice, this,
          Format("Cannot accept connections: %s; retrying while serving the %d open ones",
                 std::strerror(error), ActiveConnections()));
  }
  acceptNotifier_->setEnabled(false);
  acceptRetry_->start(kAcceptRetryMs);
}

void TServerSocket::ResumeAccepting() {
  if (!acceptNotifier_ || acceptNotifier_->isEnabled()) return;
  acceptRetry_->stop();
  acceptNotifier_->setEnabled(true);
  AcceptPending();
}

bool TServerSocket::MakeRoom() {
  if (ActiveConnections() < maxConnections_) return true;
  // connections_ is in the order of arrival: the first without a request
  // is the oldest.
  auto oldest = std::find_if(connections_.begin(), connections_.end(),
                             [](const auto& c) { return !c->Requested(); });
  if (oldest == connections_.end()) {
    Raise(OnServerNotice, this,
          Format("Refused a client: all %d connections are being served", maxConnections_));
    return false;
  }
  TServerClientWinSocket* evicted = oldest->get();
  Raise(OnServerNotice, this,
        Format("Closed the connection from %s:%d, which had sent no request, to make room",
               evicted->RemoteAddress().c_str(), evicted->RemotePort()));
  evicted->End("", true);
  return true;
}

void TServerSocket::Admit(UniqueFd fd) {
  if (!MakeRoom()) {
    TServerClientWinSocket::ResetOnClose(FdOf(fd));
    return;  // fd closes here
  }
  connections_.push_back(
      std::unique_ptr<TServerClientWinSocket>(new TServerClientWinSocket(*this, std::move(fd))));
  TServerClientWinSocket* connection = connections_.back().get();
  connection->Connect();
  Raise(OnClientConnect, this, connection);
}

void TServerSocket::ShowHandlerError(const std::string& message) {
  Platform().MessageBox(message, "", mtError, MsgButton(mbOK));
}

void TServerSocket::ConnectionEnded(TServerClientWinSocket* connection) {
  auto it = std::find_if(connections_.begin(), connections_.end(),
                         [connection](const auto& c) { return c.get() == connection; });
  if (it == connections_.end()) return;
  ended_.push_back(std::move(*it));
  connections_.erase(it);
  SchedulePurge();
  Raise(OnClientDisconnect, this, connection);
  // A descriptor is free again.
  if (acceptPaused_) QTimer::singleShot(0, context_.get(), [this] { ResumeAccepting(); });
  FinishGracefulClose();
}

void TServerSocket::SchedulePurge() {
  if (purgeScheduled_) return;
  purgeScheduled_ = true;
  QTimer::singleShot(0, context_.get(), [this] {
    purgeScheduled_ = false;
    ended_.clear();
  });
}

}  // namespace Vdei
