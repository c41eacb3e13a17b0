// One accepted connection of TServerSocket (ServerSocket.h): its phases,
// reading, sending and ending.
#include <netinet/in.h>
#include <sys/socket.h>

#include <QHostAddress>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "core/StrUtils.h"
#include "server/ServerSocket.h"

namespace Vdei {

namespace {

// A chunk of a stream handed to the kernel at a time, and how much one
// turn of the event loop sends to one connection before the others.
constexpr int64_t kChunkSize = 64 * 1024;
constexpr int64_t kSendPerTurn = 1 << 20;
// How much one read event takes from the kernel at most.
constexpr size_t kReadPerTurn = 1 << 20;
// The pause after which bytes of a request are taken as all there is.
constexpr int kPauseMs = 200;
// How long a finished connection drains what its client still sends.
constexpr int kLingerMs = 2000;

void RemoteOf(int fd, std::string& address, int& port) {
  sockaddr_storage storage{};
  socklen_t length = sizeof storage;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&storage), &length) != 0) return;
  QHostAddress peer(reinterpret_cast<const sockaddr*>(&storage));
  bool mapped = false;
  const quint32 v4 = peer.toIPv4Address(&mapped);
  if (mapped) peer = QHostAddress(v4);
  address = peer.toString().toStdString();
  port = ntohs(storage.ss_family == AF_INET6
                   ? reinterpret_cast<const sockaddr_in6*>(&storage)->sin6_port
                   : reinterpret_cast<const sockaddr_in*>(&storage)->sin_port);
}

std::unique_ptr<QTimer> SingleShotTimer() {
  auto timer = std::make_unique<QTimer>();
  timer->setSingleShot(true);
  return timer;
}

}  // namespace

TServerClientWinSocket::TServerClientWinSocket(TServerSocket& server, UniqueFd fd)
    : server_(server),
      fd_(std::move(fd)),
      phaseTimer_(SingleShotTimer()),
      idleTimer_(SingleShotTimer()),
      pauseTimer_(SingleShotTimer()) {
  RemoteOf(FdOf(fd_), remoteAddress_, remotePort_);
}

TServerClientWinSocket::~TServerClientWinSocket() = default;

void TServerClientWinSocket::Connect() {
  const int fd = FdOf(fd_);
  readNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  writeNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
  writeNotifier_->setEnabled(false);
  QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, readNotifier_.get(),
                   [this] { Readable(); });
  QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, writeNotifier_.get(),
                   [this] { SendMore(); });
  QObject::connect(phaseTimer_.get(), &QTimer::timeout, phaseTimer_.get(),
                   [this] { PhaseTimedOut(); });
  QObject::connect(idleTimer_.get(), &QTimer::timeout, idleTimer_.get(),
                   [this] { End(Format("idle for %d s", server_.IdleTimeout())); });
  QObject::connect(pauseTimer_.get(), &QTimer::timeout, pauseTimer_.get(), [this] {
    if (phase_ == phRequest) server_.Raise(server_.OnClientPause, &server_, this);
  });
  StartPhaseTimer(server_.RequestTimeout() * 1000);
  RestartIdleTimer();
}

bool TServerClientWinSocket::Connected() const {
  return phase_ != phDraining && phase_ != phEnded;
}

std::string TServerClientWinSocket::ReceiveText() {
  return std::move(received_);
}

void TServerClientWinSocket::RequestReceived() {
  if (phase_ != phRequest) return;
  phase_ = phWaiting;
  phaseTimer_->stop();
  pauseTimer_->stop();
}

// ---- reading ----

bool TServerClientWinSocket::ReadAvailable(std::string& into) {
  char buffer[64 * 1024];
  while (into.size() < kReadPerTurn) {
    const ssize_t got = ::recv(FdOf(fd_), buffer, sizeof buffer, 0);
    if (got > 0) {
      into.append(buffer, static_cast<size_t>(got));
    } else if (got == 0) {
      inputEnded_ = true;
      readNotifier_->setEnabled(false);
      return true;
    } else if (errno != EINTR) {
      return errno == EAGAIN || errno == EWOULDBLOCK;
    }
  }
  return true;
}

void TServerClientWinSocket::Readable() {
  const bool endedBefore = inputEnded_;
  std::string bytes;
  if (!ReadAvailable(bytes)) {
    End(Format("the client reset the connection (%s)", std::strerror(errno)));
    return;
  }
  if (!bytes.empty()) RestartIdleTimer();
  if (phase_ == phDraining) {
    if (inputEnded_) End("");
    return;
  }
  if (bytes.empty() && inputEnded_ == endedBefore) return;
  if (phase_ == phRequest && !bytes.empty()) pauseTimer_->start(kPauseMs);
  received_ = std::move(bytes);
  server_.Raise(server_.OnClientRead, &server_, this);
  received_.clear();
  // Gone without a complete request: nobody is left to answer.
  if (phase_ == phRequest && inputEnded_) End("");
}

// ---- sending ----

bool TServerClientWinSocket::SendStream(std::unique_ptr<TStream> stream) {
  if (!stream || Sending() || !Connected()) return false;
  RequestReceived();
  phase_ = phSending;
  streamSize_ = stream->Size() - stream->Position();
  sent_ = 0;
  server_.pendingBytes_ += stream->Size();
  stream_ = std::move(stream);
  StartPhaseTimer(server_.NoProgressTimeout() * 1000);
  SendMore();
  return true;
}

void TServerClientWinSocket::SendMore() {
  std::vector<char>& chunk = server_.ChunkBuffer();
  chunk.resize(kChunkSize);
  for (int64_t turn = 0; stream_ && turn < kSendPerTurn;) {
    int64_t got;
    try {
      got = stream_->Read(chunk.data(), kChunkSize);
    } catch (const std::exception& e) {
      End(std::string("the package could not be read: ") + e.what());
      return;
    }
    if (got <= 0) return SentAll();
    const ssize_t put = ::send(FdOf(fd_), chunk.data(), static_cast<size_t>(got), MSG_NOSIGNAL);
    const int error = put < 0 ? errno : 0;
    if (error != 0 && error != EINTR && error != EAGAIN && error != EWOULDBLOCK) {
      End(std::strerror(error));
      return;
    }
    const int64_t taken = put > 0 ? put : 0;
    if (taken > 0) {
      sent_ += taken;
      turn += taken;
      StartPhaseTimer(server_.NoProgressTimeout() * 1000);
      RestartIdleTimer();
    }
    if (taken < got) {
      stream_->Seek(taken - got, soCurrent);
      if (error == EINTR) continue;
      break;  // the kernel's buffer is full
    }
  }
  WaitForWritable(stream_ != nullptr);
}

void TServerClientWinSocket::SentAll() {
  ReleaseStream();
  WaitForWritable(false);
  ::shutdown(FdOf(fd_), SHUT_WR);
  phase_ = phDraining;
  phaseTimer_->stop();
  server_.Raise(server_.OnClientSent, &server_, this);
  if (phase_ != phDraining) return;  // the handler closed it
  if (inputEnded_) {
    End("");
  } else {
    StartPhaseTimer(kLingerMs);
  }
}

void TServerClientWinSocket::ReleaseStream() {
  if (!stream_) return;
  server_.pendingBytes_ -= stream_->Size();
  stream_.reset();
}

void TServerClientWinSocket::WaitForWritable(bool on) {
  if (writeNotifier_) writeNotifier_->setEnabled(on);
}

// ---- timers and the end ----

void TServerClientWinSocket::PhaseTimedOut() {
  switch (phase_) {
    case phRequest:
      server_.Raise(server_.OnServerNotice, &server_,
                    Format("Closed the connection from %s:%d: no request within %d s",
                           remoteAddress_.c_str(), remotePort_, server_.RequestTimeout()));
      End("");
      break;
    case phSending:
      End(Format("no progress for %d s", server_.NoProgressTimeout()));
      break;
    case phDraining:
      End("");
      break;
    default:
      break;
  }
}

void TServerClientWinSocket::StartPhaseTimer(int milliseconds) {
  if (milliseconds > 0) {
    phaseTimer_->start(milliseconds);
  } else {
    phaseTimer_->stop();
  }
}

void TServerClientWinSocket::RestartIdleTimer() {
  const int seconds = server_.IdleTimeout();
  if (seconds > 0 && phase_ != phEnded) {
    idleTimer_->start(seconds * 1000);
  } else {
    idleTimer_->stop();
  }
}

void TServerClientWinSocket::ResetOnClose(int fd) {
  const linger hard{1, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
}

void TServerClientWinSocket::End(const std::string& reason, bool reset) {
  if (phase_ == phEnded) return;
  const bool cutShort = phase_ == phWaiting || phase_ == phSending;
  const TPhase phase = phase_;
  phase_ = phEnded;
  phaseTimer_->stop();
  idleTimer_->stop();
  pauseTimer_->stop();
  // The notifiers go with the object, after this event: one of them may
  // be the sender of the signal that got here.
  if (readNotifier_) readNotifier_->setEnabled(false);
  WaitForWritable(false);
  // A reset, so that the client sees an error rather than a clean end.
  if (cutShort || reset) ResetOnClose(FdOf(fd_));
  if (cutShort) {
    const std::string what =
        phase == phWaiting
            ? std::string("Request not answered")
            : Format("Package cut short after %lld of %lld bytes", static_cast<long long>(sent_),
                     static_cast<long long>(streamSize_));
    server_.Raise(server_.OnClientError, &server_, this,
                  what + " (" + reason + "); the connection was reset");
  }
  ReleaseStream();
  fd_.reset();
  server_.ConnectionEnded(this);
}

}  // namespace Vdei
