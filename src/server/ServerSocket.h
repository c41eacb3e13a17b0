// TServerSocket: a non-blocking listening TCP socket whose notifications
// (client connected, data arrived, client paused, package sent, client
// disconnected, error) arrive on the thread's Qt event loop, and
// TServerClientWinSocket, one accepted connection. Both work on plain
// POSIX descriptors watched by QSocketNotifier, so that a connection can
// half-close, drain what its client still sends, and reset a transfer it
// gives up on.
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
// A connection lives through these phases:
//  - request: it must complete a request (RequestReceived) within
//    RequestTimeout seconds of connecting, whatever it sends meanwhile;
//    OnClientPause follows bytes after which the client paused;
//  - waiting: the request is complete, no stream handed over yet;
//  - sending: one stream at a time, from its position to its end, in
//    chunks as the network takes them; a transfer that makes no progress
//    for NoProgressTimeout seconds is aborted;
//  - draining: after the last byte (OnClientSent) the sending side is
//    shut down and whatever the client still sends is read and dropped
//    until it closes or a short linger time passes, so unread bytes never
//    make the kernel reset a complete package.
// A connection that ends before the last byte of a request it received
// has gone out (an abort, an error, Close, the idle timeout) ends with a
// reset, never an ordinary close, and OnClientError says how many of how
// many bytes went out. A client that shuts down its sending side
// (InputEnded) is still answered.
//
// Connections that neither send bytes nor make sending progress for
// IdleTimeout seconds are closed. With MaxConnections connections open,
// a new client takes the slot of the oldest connection that has not
// completed a request; when every connection has one, the new client is
// refused. Both the evicted and the refused client get a reset, never an
// ordinary close that could pass for an empty package. Refusals, evictions and pauses of accepting
// (the process ran out of descriptors: accepting resumes after a moment or as soon as a connection
// ends) go to OnServerNotice.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Exception.h"
#include "core/Stream.h"
#include "platform/UniqueFd.h"

class QObject;
class QSocketNotifier;
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
  // Still connected and neither draining nor closed.
  bool Connected() const;
  std::string RemoteAddress() const { return remoteAddress_; }
  int RemotePort() const { return remotePort_; }

  // The bytes of the current read event (empty outside one).
  std::string ReceiveText();
  // The client has shut down its sending side: no more bytes will come.
  bool InputEnded() const { return inputEnded_; }
  // The client has completed its request: the request deadline is over
  // and the connection keeps its slot.
  void RequestReceived();
  bool Requested() const { return phase_ != phRequest; }

  // Takes stream and sends it, then shuts the connection down. Returns
  // false, and frees stream, while another stream is being sent or when
  // the connection is draining or closed.
  bool SendStream(std::unique_ptr<TStream> stream);
  // A stream is being sent.
  bool Sending() const { return stream_ != nullptr; }
  // Closes at once; a request not fully answered ends with a reset.
  void Close() { End("closed by the server"); }

 private:
  friend class TServerSocket;
  enum TPhase { phRequest, phWaiting, phSending, phDraining, phEnded };

  TServerClientWinSocket(TServerSocket& server, UniqueFd fd);
  void Connect();
  void Readable();
  // Reads what has arrived; false when the connection failed.
  bool ReadAvailable(std::string& into);
  void SendMore();
  void SentAll();
  void ReleaseStream();
  void WaitForWritable(bool on);
  void PhaseTimedOut();
  void StartPhaseTimer(int milliseconds);
  void RestartIdleTimer();
  // Ends the connection; reason says why when a transfer is cut short.
  // A request not fully answered, or reset, ends with a reset.
  void End(const std::string& reason, bool reset = false);
  // Makes the close of fd a reset.
  static void ResetOnClose(int fd);

  TServerSocket& server_;
  UniqueFd fd_;
  std::unique_ptr<QSocketNotifier> readNotifier_;
  std::unique_ptr<QSocketNotifier> writeNotifier_;
  std::unique_ptr<QTimer> phaseTimer_;  // request deadline, progress, linger
  std::unique_ptr<QTimer> idleTimer_;
  std::unique_ptr<QTimer> pauseTimer_;
  std::unique_ptr<TStream> stream_;
  TPhase phase_ = phRequest;
  bool inputEnded_ = false;
  std::string received_;    // the bytes of the current read event
  int64_t streamSize_ = 0;  // bytes of the stream being sent
  int64_t sent_ = 0;        // of them, gone out
  std::string remoteAddress_;
  int remotePort_ = 0;
};

class TServerSocket : public TComponent {
 public:
  VDEI_CLASS(TServerSocket)
  explicit TServerSocket(TComponent* owner);
  ~TServerSocket() override;  // closes without raising events

  // Settings; a change takes effect at the next Open (the timeouts for
  // connections that start after the change).
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
  int RequestTimeout() const { return requestTimeout_; }
  void SetRequestTimeout(int seconds) { requestTimeout_ = seconds; }
  int NoProgressTimeout() const { return noProgressTimeout_; }
  void SetNoProgressTimeout(int seconds) { noProgressTimeout_ = seconds; }

  // Starts listening; ESocketError when that fails. Open on an open
  // socket does nothing.
  void Open();
  // Stops listening and closes every connection (OnClientDisconnect for
  // each). Close on a closed socket does nothing.
  void Close();
  // Stops listening, closes the connections that are not sending, lets
  // transfers in flight finish for at most graceSeconds, then closes the
  // rest; calls done once no connection is left.
  void CloseGracefully(int graceSeconds, std::function<void()> done);
  bool Active() const { return static_cast<bool>(listener_); }
  void SetActive(bool value) { value ? Open() : Close(); }
  // The port and address actually listened on (0 and "" when closed).
  int LocalPort() const { return Active() ? localPort_ : 0; }
  std::string LocalAddress() const { return Active() ? localAddress_ : ""; }

  int ActiveConnections() const { return static_cast<int>(connections_.size()); }
  TServerClientWinSocket* Connections(int index) const;  // EListError outside
  // Bytes held by the streams of the connections (sent or not).
  int64_t PendingBytes() const { return pendingBytes_; }

  std::function<void(TObject* Sender, TServerClientWinSocket* Socket)> OnClientConnect;
  std::function<void(TObject* Sender, TServerClientWinSocket* Socket)> OnClientDisconnect;
  std::function<void(TObject* Sender, TServerClientWinSocket* Socket)> OnClientRead;
  std::function<void(TObject* Sender, TServerClientWinSocket* Socket)> OnClientPause;
  std::function<void(TObject* Sender, TServerClientWinSocket* Socket)> OnClientSent;
  std::function<void(TObject* Sender, TServerClientWinSocket* Socket, const std::string& Message)>
      OnClientError;
  std::function<void(TObject* Sender, const std::string& Message)> OnServerNotice;

 private:
  friend class TServerClientWinSocket;
  void AcceptPending();
  // An accept failed for want of resources: stop watching for a moment.
  void PauseAccepting(int error);
  void ResumeAccepting();
  // Makes room for one more connection; false when there is none to take.
  bool MakeRoom();
  void Admit(UniqueFd fd);
  // Runs a handler; its exceptions become an error message box.
  template <class Handler, class... Args>
  void Raise(const Handler& handler, Args... args);
  static void ShowHandlerError(const std::string& message);
  void ConnectionEnded(TServerClientWinSocket* connection);
  void SchedulePurge();
  void FinishGracefulClose();
  std::vector<char>& ChunkBuffer() { return chunk_; }

  int port_ = 1024;
  std::string address_;
  int maxConnections_ = 256;
  int idleTimeout_ = 300;
  int requestTimeout_ = 10;
  int noProgressTimeout_ = 30;
  UniqueFd listener_;
  int localPort_ = 0;
  std::string localAddress_;
  std::unique_ptr<QSocketNotifier> acceptNotifier_;
  std::unique_ptr<QTimer> acceptRetry_;
  bool acceptPaused_ = false;
  std::vector<std::unique_ptr<TServerClientWinSocket>> connections_;
  // Ended connections, deleted on the next turn of the event loop.
  std::vector<std::unique_ptr<TServerClientWinSocket>> ended_;
  bool purgeScheduled_ = false;
  int64_t pendingBytes_ = 0;
  std::function<void()> gracefulDone_;  // set while closing gracefully
  std::unique_ptr<QTimer> graceTimer_;
  std::unique_ptr<QObject> context_;  // receiver of deferred calls
  std::vector<char> chunk_;
};

template <class Handler, class... Args>
void TServerSocket::Raise(const Handler& handler, Args... args) {
  if (!handler) return;
  Handler call = handler;  // a copy: the handler may replace itself
  try {
    call(args...);
  } catch (const Exception& e) {
    ShowHandlerError(e.Message());
  } catch (const std::exception& e) {
    ShowHandlerError(e.what());
  }
}

}  // namespace Vdei
