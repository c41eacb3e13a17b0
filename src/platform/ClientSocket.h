// TClientSocket: a blocking TCP client (ctBlocking) over POSIX sockets, and
// TClientWinSocket, its connection, which sends and receives.
//
// Open looks Host up, connects to Port (each address the lookup gave, in
// order, until one takes) and returns once connected or after an error.
// Every call blocks the calling thread; no call waits longer than Timeout
// seconds for the network (0: no limit): a connect, send or receive that
// would wait longer fails like any socket error, with ETIMEDOUT (110).
//
// Events, with the sender (the TClientSocket) first, all on the caller's
// thread, in this order over one connection: OnLookup, OnConnecting,
// OnConnect, OnWrite after each completed SendText, OnRead after each
// ReceiveBuf that got bytes, OnDisconnect when a connected socket closes
// (by Close, or after a send or receive error).
//
// Errors raise OnError(Sender, Socket, ErrorEvent, ErrorCode) with the
// errno of the failure (a failed lookup gives getaddrinfo's code, which
// is negative). A handler that sets ErrorCode to 0 takes the error as
// handled; otherwise (or without a handler) the failing call raises
// Exception "Socket error <code> (<text>), on API '<name>'". After a send
// or receive error the connection is closed (OnDisconnect); after a failed
// Open the socket is not Active. LastError() keeps the first error code
// since Open, whatever the handler did with it.
//
// The socket never shuts down its sending side: a peer that answers only
// until the client closes (the VDEI server) would take that as a client
// that is gone. Writing to a connection the peer reset is an error
// (EPIPE), never a signal.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Component.h"
#include "platform/UniqueFd.h"

struct addrinfo;

namespace Vdei {

enum TClientType { ctNonBlocking, ctBlocking };
enum TErrorEvent { eeGeneral, eeSend, eeReceive, eeConnect, eeDisconnect, eeAccept, eeLookup };

class TClientSocket;

// The connection of a TClientSocket; valid as long as the socket is.
class TClientWinSocket {
 public:
  explicit TClientWinSocket(TClientSocket& owner) : owner_(owner) {}
  TClientWinSocket(const TClientWinSocket&) = delete;
  TClientWinSocket& operator=(const TClientWinSocket&) = delete;

  bool Connected() const { return static_cast<bool>(fd_); }
  // The address connected to ("127.0.0.1", "::1"), empty when not connected.
  const std::string& RemoteAddress() const { return remoteAddress_; }
  // Writes all bytes of text (no terminator); returns the count written,
  // 0 when not connected, -1 after an error (eeSend).
  int64_t SendText(std::string_view text);
  // Blocks until bytes arrive and reads at most count of them into buffer;
  // returns the count read, 0 when the peer has closed the connection or
  // the socket is not connected, -1 after an error (eeReceive).
  int64_t ReceiveBuf(void* buffer, int64_t count);

 private:
  friend class TClientSocket;
  // After a send or recv that failed: 0 when it may be tried again (it
  // was interrupted, or had to wait and the socket became ready for events
  // within Timeout), else the error code (ETIMEDOUT after Timeout).
  int AfterFailure(short events) const;

  TClientSocket& owner_;
  UniqueFd fd_;
  std::string remoteAddress_;
};

class TClientSocket : public TComponent {
 public:
  VDEI_CLASS(TClientSocket)
  explicit TClientSocket(TComponent* owner);
  // Closes a connection still open without raising events: the handlers'
  // objects (a form's controls) may be gone already.
  ~TClientSocket() override;

  // A name or address; "localhost" by default.
  const std::string& Host() const { return host_; }
  void SetHost(std::string host) { host_ = std::move(host); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  TClientType ClientType() const { return clientType_; }
  // Only ctBlocking is built: ctNonBlocking raises Exception.
  void SetClientType(TClientType type);
  // Seconds any one wait for the network may take; 0 waits without limit.
  int Timeout() const { return timeout_; }
  void SetTimeout(int seconds) { timeout_ = seconds; }

  bool Active() const { return socket_.Connected(); }
  void SetActive(bool active) { active ? Open() : Close(); }
  // Looks up and connects (see the top of this file); does nothing when
  // already active.
  void Open();
  // Closes the connection (OnDisconnect); does nothing when not active.
  void Close();

  TClientWinSocket* Socket() { return &socket_; }
  // The first error code since the last Open (0: none).
  int LastError() const { return lastError_; }

  using TSocketNotifyEvent = std::function<void(TObject* Sender, TClientWinSocket* Socket)>;
  using TSocketErrorEvent = std::function<void(TObject* Sender, TClientWinSocket* Socket,
                                               TErrorEvent ErrorEvent, int& ErrorCode)>;
  TSocketNotifyEvent OnLookup;
  TSocketNotifyEvent OnConnecting;
  TSocketNotifyEvent OnConnect;
  TSocketNotifyEvent OnDisconnect;
  TSocketNotifyEvent OnRead;
  TSocketNotifyEvent OnWrite;
  TSocketErrorEvent OnError;

 private:
  friend class TClientWinSocket;
  void Notify(const TSocketNotifyEvent& event);
  // Records the error, raises OnError, and throws unless it was handled.
  void Error(TErrorEvent event, int code, const char* api);
  // Connects to one address; returns 0 or the errno of the failure.
  int ConnectTo(const ::addrinfo& address);

  std::string host_ = "localhost";
  int port_ = 0;
  TClientType clientType_ = ctBlocking;
  int timeout_ = 30;
  int lastError_ = 0;
  TClientWinSocket socket_{*this};
};

}  // namespace Vdei
