// TServerSocket: a non-blocking listening TCP socket whose notifications
// (client connected, data arrived, client disconnected, error) arrive on
// the thread's Qt event loop, and TServerClientWinSocket, one accepted
// connection.
//
// Everything runs on the thread that owns the socket; handlers never run
// at the same time. A handler may close or lose its connection, or close
// the server, without harm: connection objects are owned by the server
// and deleted only after the event (never inside one). After
// OnClientDisconnect a connection object must not be used beyond that
// event. An exception thrown by a handler does not reach Qt: it is shown
// as an error message box through the platform services (logged when
// headless) and the connection stays as it was.
//
// A connection sends one stream at a time: from the stream's position to
// its end, in chunks as the network takes them (never the whole stream in
// one buffer), then closes gracefully once the last byte has left. The
// connection owns the stream and frees it at the end, on an error, or
// when the client goes.
//
// Connections that neither send request bytes nor make sending progress
// for IdleTimeout seconds are closed; beyond MaxConnections, new clients
// are accepted and closed at once. A client that shuts down its sending
// side is taken as gone (Qt sockets have no half-close): it gets no answer.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Exception.h"
#include "core/Stream.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace Vdei {

// The listening socket could not be opened (bad address, port in use...).
class ESocketError : public Exception {
  using Exception::Exception;
};

class TServerSocket;

class TServerClientWinSocket {
 public:
  ~TServerClientWinSocket();
  TServerClientWinSocket(const TServerClientWinSocket&) = delete;
  TServerClientWinSocket& operator=(const TServerClientWinSocket&) = delete;

  TServerSocket& ServerSocket() const { return server_; }
  // Still connected and not closing.
  bool Connected() const;
  std::string RemoteAddress() const;
  int RemotePort() const;

  // All bytes that have arrived and have not been read yet.
  std::string ReceiveText();
  // Takes stream and sends it, then closes the connection. Returns false,
  // and frees stream, while another stream is being sent or when the
  // connection is closing or closed.
  bool SendStream(std::unique_ptr<TStream> stream);
  // A stream is being sent.
  bool Sending() const { return stream_ != nullptr; }
  // Closes at once; what is not sent yet is dropped.
  void Close();

 private:
  friend class TServerSocket;
  TServerClientWinSocket(TServerSocket& server, QTcpSocket* socket);
  void Connect();
  void SendMore();
  void Fail(const std::string& message);
  void Finish();
  void RestartIdleTimer();

  TServerSocket& server_;
  std::unique_ptr<QTcpSocket> socket_;
  std::unique_ptr<QTimer> idleTimer_;
  std::unique_ptr<TStream> stream_;
  bool closing_ = false;   // graceful close asked for
  bool finished_ = false;  // disconnected and reported
};

class TServerSocket : public TComponent {
 public:
  VDEI_CLASS(TServerSocket)
  explicit TServerSocket(TComponent* owner);
  ~TServerSocket() override;  // closes without raising events

  // Settings; a change takes effect at the next Open.
  int Port() const { return port_; }  // 0: any free port
  void SetPort(int port) { port_ = port; }
  // The local address to listen on; empty: all addresses (IPv4 and IPv6).
  const std::string& Address() const { return address_; }
  void SetAddress(std::string address) { address_ = std::move(address); }
  int MaxConnections() const { return maxConnections_; }
  void SetMaxConnections(int value) { maxConnections_ = value; }
  // Seconds; 0 or less: never.
  int IdleTimeout() const { return idleTimeout_; }
  void SetIdleTimeout(int seconds) { idleTimeout_ = seconds; }

  // Starts listening; ESocketError when that fails. Open on an open
  // socket does nothing.
  void Open();
  // Stops listening and closes every connection (OnClientDisconnect for
  // each). Close on a closed socket does nothing.
  void Close();
  bool Active() const;
  void SetActive(bool value) { value ? Open() : Close(); }
  // The port and address actually listened on (0 and "" when closed).
  int LocalPort() const;
  std::string LocalAddress() const;

  int ActiveConnections() const { return static_cast<int>(connections_.size()); }
  TServerClientWinSocket* Connections(int index) const;  // EListError outside

  std::function<void(TObject* Sender, TServerClientWinSocket* Socket)> OnClientConnect;
  std::function<void(TObject* Sender, TServerClientWinSocket* Socket)> OnClientDisconnect;
  std::function<void(TObject* Sender, TServerClientWinSocket* Socket)> OnClientRead;
  std::function<void(TObject* Sender, TServerClientWinSocket* Socket, const std::string& Message)>
      OnClientError;

 private:
  friend class TServerClientWinSocket;
  void AcceptPending();
  // Runs a handler; its exceptions become an error message box.
  template <class Handler, class... Args>
  void Raise(const Handler& handler, Args... args);
  void ConnectionEnded(TServerClientWinSocket* connection);
  void SchedulePurge();
  std::vector<char>& ChunkBuffer() { return chunk_; }

  int port_ = 1024;
  std::string address_;
  int maxConnections_ = 256;
  int idleTimeout_ = 300;
  std::unique_ptr<QTcpServer> server_;
  std::vector<std::unique_ptr<TServerClientWinSocket>> connections_;
  // Ended connections, deleted on the next turn of the event loop.
  std::vector<std::unique_ptr<TServerClientWinSocket>> ended_;
  bool purgeScheduled_ = false;
  std::vector<char> chunk_;
};

}  // namespace Vdei
