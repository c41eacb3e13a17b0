#include "server/ServerSocket.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "core/Properties.h"
#include "core/StrUtils.h"
#include "platform/Platform.h"

namespace Vdei {

namespace {

// A chunk of a stream handed to Qt at a time, and how much may wait in
// Qt's write buffer before the next chunk waits for bytesWritten.
constexpr int64_t kChunkSize = 64 * 1024;
constexpr qint64 kWriteBufferBound = 256 * 1024;
constexpr int kListenBacklog = 128;

std::string ToStd(const QString& text) {
  return text.toStdString();
}

}  // namespace

// ---- one connection ----

TServerClientWinSocket::TServerClientWinSocket(TServerSocket& server, QTcpSocket* socket)
    : server_(server), socket_(socket), idleTimer_(std::make_unique<QTimer>()) {
  socket_->setParent(nullptr);
  idleTimer_->setSingleShot(true);
}

TServerClientWinSocket::~TServerClientWinSocket() {
  // The socket's destructor may still signal (it aborts a live
  // connection); nothing of that may reach this half-destroyed object.
  QObject::disconnect(socket_.get(), nullptr, nullptr, nullptr);
  QObject::disconnect(idleTimer_.get(), nullptr, nullptr, nullptr);
}

void TServerClientWinSocket::Connect() {
  QTcpSocket* s = socket_.get();
  QObject::connect(s, &QTcpSocket::readyRead, s, [this] {
    if (finished_) return;
    RestartIdleTimer();
    server_.Raise(server_.OnClientRead, &server_, this);
  });
  QObject::connect(s, &QTcpSocket::bytesWritten, s, [this] {
    RestartIdleTimer();
    SendMore();
  });
  QObject::connect(s, &QTcpSocket::disconnected, s, [this] { Finish(); });
  QObject::connect(s, &QTcpSocket::errorOccurred, s, [this](QAbstractSocket::SocketError error) {
    // The peer closing is the normal end of a connection, not an error.
    if (error != QAbstractSocket::RemoteHostClosedError) Fail(ToStd(socket_->errorString()));
  });
  QObject::connect(idleTimer_.get(), &QTimer::timeout, s, [this] { Close(); });
  RestartIdleTimer();
}

bool TServerClientWinSocket::Connected() const {
  return !finished_ && !closing_ && socket_->state() == QAbstractSocket::ConnectedState;
}

std::string TServerClientWinSocket::RemoteAddress() const {
  return ToStd(socket_->peerAddress().toString());
}

int TServerClientWinSocket::RemotePort() const {
  return socket_->peerPort();
}

std::string TServerClientWinSocket::ReceiveText() {
  QByteArray bytes = socket_->readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool TServerClientWinSocket::SendStream(std::unique_ptr<TStream> stream) {
  if (!stream || Sending() || !Connected()) return false;
  stream_ = std::move(stream);
  SendMore();
  return true;
}

void TServerClientWinSocket::SendMore() {
  std::vector<char>& chunk = server_.ChunkBuffer();
  while (stream_ && socket_->bytesToWrite() < kWriteBufferBound) {
    chunk.resize(kChunkSize);
    int64_t got;
    try {
      got = stream_->Read(chunk.data(), kChunkSize);
    } catch (const std::exception& e) {
      Fail(e.what());
      return;
    }
    if (got <= 0) {
      // The end: Qt closes once its buffer has gone out.
      stream_.reset();
      closing_ = true;
      socket_->disconnectFromHost();
      return;
    }
    if (socket_->write(chunk.data(), got) != got) {
      Fail(ToStd(socket_->errorString()));
      return;
    }
  }
}

void TServerClientWinSocket::Fail(const std::string& message) {
  if (finished_) return;
  stream_.reset();
  server_.Raise(server_.OnClientError, &server_, this, message);
  Close();
}

void TServerClientWinSocket::Close() {
  if (finished_) return;
  stream_.reset();
  if (socket_->state() != QAbstractSocket::UnconnectedState) socket_->abort();
  Finish();  // abort signals disconnected only for a connected socket
}

void TServerClientWinSocket::Finish() {
  if (finished_) return;
  finished_ = true;
  stream_.reset();
  idleTimer_->stop();
  server_.ConnectionEnded(this);
}

void TServerClientWinSocket::RestartIdleTimer() {
  int seconds = server_.IdleTimeout();
  if (seconds > 0 && !finished_) {
    idleTimer_->start(seconds * 1000);
  } else {
    idleTimer_->stop();
  }
}

// ---- the listening socket ----

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
          .Build();
  return info;
}

TServerSocket::TServerSocket(TComponent* owner)
    : TComponent(owner), server_(std::make_unique<QTcpServer>()) {
  QObject::connect(server_.get(), &QTcpServer::newConnection, server_.get(),
                   [this] { AcceptPending(); });
}

TServerSocket::~TServerSocket() {
  OnClientConnect = nullptr;
  OnClientDisconnect = nullptr;
  OnClientRead = nullptr;
  OnClientError = nullptr;
  Close();
  ended_.clear();
}

void TServerSocket::Open() {
  if (Active()) return;
  if (port_ < 0 || port_ > 65535) throw ESocketError(Format("Invalid port %d", port_));
  QHostAddress address(QHostAddress::Any);
  if (!address_.empty() && !address.setAddress(QString::fromStdString(address_))) {
    throw ESocketError(Format("Invalid address: %s", address_.c_str()));
  }
  server_->setListenBacklogSize(kListenBacklog);
  if (!server_->listen(address, static_cast<quint16>(port_))) {
    throw ESocketError(
        Format("Cannot listen on port %d: %s", port_, ToStd(server_->errorString()).c_str()));
  }
}

void TServerSocket::Close() {
  server_->close();
  // Each Close removes the connection from the list.
  while (!connections_.empty()) connections_.back()->Close();
}

bool TServerSocket::Active() const {
  return server_->isListening();
}

int TServerSocket::LocalPort() const {
  return Active() ? server_->serverPort() : 0;
}

std::string TServerSocket::LocalAddress() const {
  return Active() ? ToStd(server_->serverAddress().toString()) : "";
}

TServerClientWinSocket* TServerSocket::Connections(int index) const {
  if (index < 0 || index >= ActiveConnections()) ThrowListIndexError(index);
  return connections_[static_cast<size_t>(index)].get();
}

void TServerSocket::AcceptPending() {
  while (QTcpSocket* socket = server_->nextPendingConnection()) {
    if (ActiveConnections() >= maxConnections_) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    connections_.push_back(
        std::unique_ptr<TServerClientWinSocket>(new TServerClientWinSocket(*this, socket)));
    TServerClientWinSocket* connection = connections_.back().get();
    connection->Connect();
    Raise(OnClientConnect, this, connection);
  }
}

template <class Handler, class... Args>
void TServerSocket::Raise(const Handler& handler, Args... args) {
  if (!handler) return;
  Handler call = handler;  // a copy: the handler may replace itself
  try {
    call(args...);
  } catch (const Exception& e) {
    Platform().MessageBox(e.Message(), "", mtError, MsgButton(mbOK));
  } catch (const std::exception& e) {
    Platform().MessageBox(e.what(), "", mtError, MsgButton(mbOK));
  }
}

void TServerSocket::ConnectionEnded(TServerClientWinSocket* connection) {
  auto it = std::find_if(connections_.begin(), connections_.end(),
                         [connection](const auto& c) { return c.get() == connection; });
  if (it == connections_.end()) return;
  ended_.push_back(std::move(*it));
  connections_.erase(it);
  SchedulePurge();
  Raise(OnClientDisconnect, this, connection);
}

void TServerSocket::SchedulePurge() {
  if (purgeScheduled_) return;
  purgeScheduled_ = true;
  QTimer::singleShot(0, server_.get(), [this] {
    purgeScheduled_ = false;
    ended_.clear();
  });
}

}  // namespace Vdei
