#include "platform/ClientSocket.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "LoopbackServer.h"
#include "core/Exception.h"
#include "core/Stream.h"
#include "platform/ClientRequest.h"

namespace Vdei {
namespace {

using VdeiTest::LoopbackServer;

// Records the socket's events by name; an error as "Error <event> <code>".
// Errors are handled (ErrorCode := 0) unless handleErrors is false.
struct EventLog {
  explicit EventLog(TClientSocket& socket, bool handleErrors = true) {
    auto note = [this](const char* name) {
      return [this, name](TObject*, TClientWinSocket*) { events.push_back(name); };
    };
    socket.OnLookup = note("Lookup");
    socket.OnConnecting = note("Connecting");
    socket.OnConnect = note("Connect");
    socket.OnWrite = note("Write");
    socket.OnRead = note("Read");
    socket.OnDisconnect = note("Disconnect");
    socket.OnError = [this, handleErrors](TObject*, TClientWinSocket*, TErrorEvent event,
                                          int& code) {
      events.push_back("Error " + std::to_string(event) + " " + std::to_string(code));
      if (handleErrors) code = 0;
    };
  }
  // The events without the reads, and the number of reads.
  std::vector<std::string> WithoutReads() const {
    std::vector<std::string> rest;
    for (const std::string& e : events) {
      if (e != "Read") rest.push_back(e);
    }
    return rest;
  }
  size_t Reads() const { return events.size() - WithoutReads().size(); }

  std::vector<std::string> events;
};

std::string Package(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) % 256);
  return bytes;
}

TClientSocket& LoopbackClient(TClientSocket& socket, int port, int timeout = 5) {
  socket.SetHost("127.0.0.1");
  socket.SetPort(port);
  socket.SetTimeout(timeout);
  return socket;
}

std::string Contents(TMemoryStream& stream) {
  return std::string(stream.View());
}

TEST(ClientSocketTest, PackageLargerThanOneReceiveArrivesWholeAndInOrder) {
  const std::string package = Package(300000);
  std::string request;
  bool halfClosed = true;
  int served = 0;
  LoopbackServer server([&](int connection, std::stop_token stop) {
    request = VdeiTest::ReceiveUntil(connection, "%GET DATA%XML%", stop);
    if (++served > 1) return;  // later requests get an empty answer
    halfClosed = VdeiTest::PeerClosedSending(connection, 200);
    VdeiTest::SendAll(connection, package);
  });
  TClientSocket socket(nullptr);
  EventLog log(LoopbackClient(socket, server.Port()));
  TMemoryStream stream;

  FetchResult result = FetchPackage(socket, "%GET DATA%XML%", stream);
  EXPECT_FALSE(result.Failed());
  EXPECT_EQ(result.Received, static_cast<int64_t>(package.size()));
  EXPECT_TRUE(Contents(stream) == package) << "the package arrived changed";
  EXPECT_EQ(request, "%GET DATA%XML%");
  EXPECT_FALSE(halfClosed) << "the client shut down its sending side";
  EXPECT_EQ(log.WithoutReads(),
            (std::vector<std::string>{"Lookup", "Connecting", "Connect", "Write", "Disconnect"}));
  EXPECT_GE(log.Reads(), (package.size() + ReceiveSize - 1) / ReceiveSize);
  EXPECT_EQ(log.events[4], "Read");  // reads come between Write and Disconnect
  EXPECT_FALSE(socket.Active());

  // A server that closes without answering: an empty package, no error.
  TMemoryStream empty;
  result = FetchPackage(socket, "%GET DATA%XML%", empty);
  EXPECT_FALSE(result.Failed());
  EXPECT_EQ(empty.Size(), 0);
}

TEST(ClientSocketTest, RefusedConnectionEndsTheRequestWithItsErrorCode) {
  TClientSocket socket(nullptr);
  EventLog log(LoopbackClient(socket, VdeiTest::UnusedPort()));
  TMemoryStream stream;
  stream.WriteString("kept");

  FetchResult result = FetchPackage(socket, "%GET DATA%XML%", stream);
  EXPECT_TRUE(result.Failed());
  EXPECT_EQ(result.ErrorCode, ECONNREFUSED);
  EXPECT_EQ(Contents(stream), "kept");
  EXPECT_EQ(log.events, (std::vector<std::string>{"Lookup", "Connecting",
                                                  "Error 3 " + std::to_string(ECONNREFUSED)}));
  EXPECT_FALSE(socket.Active());

  // A handler that leaves the code: the error raises, nothing stays open.
  TClientSocket raising(nullptr);
  EventLog unhandled(LoopbackClient(raising, VdeiTest::UnusedPort()), false);
  raising.SetHost("localhost");  // every address of the name is tried
  try {
    raising.Open();
    FAIL() << "a refused connection did not raise";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("Socket error 111"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(raising.Active());
}

TEST(ClientSocketTest, SilentServerEndsEachWaitAfterTheTimeout) {
  LoopbackServer server([](int, std::stop_token stop) { VdeiTest::WaitForStop(stop); });
  TClientSocket socket(nullptr);
  EventLog log(LoopbackClient(socket, server.Port(), 1));
  TMemoryStream stream;
  stream.WriteString("kept");

  auto start = std::chrono::steady_clock::now();
  FetchResult result = FetchPackage(socket, "%GET DATA%XML%", stream);
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.ErrorCode, ETIMEDOUT);
  EXPECT_EQ(Contents(stream), "kept");
  EXPECT_GE(waited, std::chrono::milliseconds(900));
  EXPECT_LT(waited, std::chrono::seconds(4));
  EXPECT_EQ(log.events, (std::vector<std::string>{"Lookup", "Connecting", "Connect", "Write",
                                                  "Error 2 110", "Disconnect"}));

  // Sending more than the network buffers hold to a server that reads
  // nothing: the send times out the same way.
  LoopbackServer deaf([](int, std::stop_token stop) { VdeiTest::WaitForStop(stop); });
  TClientSocket sender(nullptr);
  EventLog sends(LoopbackClient(sender, deaf.Port(), 1));
  sender.Open();
  ASSERT_TRUE(sender.Active());
  EXPECT_EQ(sender.Socket()->SendText(std::string(64 << 20, 'x')), -1);
  EXPECT_EQ(sender.LastError(), ETIMEDOUT);
  EXPECT_EQ(sends.events.back(), "Disconnect");
  EXPECT_EQ(sends.events[sends.events.size() - 2], "Error 1 110");
}

TEST(ClientSocketTest, ConnectionResetMidPackageDiscardsWhatArrived) {
  LoopbackServer server([](int connection, std::stop_token stop) {
    VdeiTest::ReceiveUntil(connection, "%GET DATA%HTML%", stop);
    VdeiTest::SendAll(connection, Package(50000));
    VdeiTest::ResetConnection(connection);
  });
  TClientSocket socket(nullptr);
  EventLog log(LoopbackClient(socket, server.Port()));
  TMemoryStream stream;
  stream.WriteString("kept");

  FetchResult result = FetchPackage(socket, "%GET DATA%HTML%", stream);
  EXPECT_EQ(result.ErrorCode, ECONNRESET);
  EXPECT_EQ(result.Received, 0);
  EXPECT_EQ(Contents(stream), "kept");
  std::vector<std::string> tail(log.events.end() - 2, log.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Error 2 104", "Disconnect"}));

  // Unhandled, the error raises out of the transfer, which still closes
  // the socket and gives the stream back as it was.
  TClientSocket raising(nullptr);
  EventLog unhandled(LoopbackClient(raising, server.Port()), false);
  EXPECT_THROW(FetchPackage(raising, "%GET DATA%HTML%", stream), Exception);
  EXPECT_EQ(Contents(stream), "kept");
  EXPECT_FALSE(raising.Active());

  // Writing on after the server closed and refused the first bytes is an
  // error (EPIPE), not a signal that ends the program.
  LoopbackServer closing([](int, std::stop_token) {});
  TClientSocket sender(nullptr);
  EventLog sends(LoopbackClient(sender, closing.Port()));
  sender.Open();
  char byte;
  EXPECT_EQ(sender.Socket()->ReceiveBuf(&byte, 1), 0);  // the server has closed
  for (int i = 0; i < 1000 && sender.Active(); ++i) {
    sender.Socket()->SendText(std::string(1 << 16, 'x'));
  }
  EXPECT_FALSE(sender.Active());
  EXPECT_EQ(sender.LastError(), EPIPE);
}

}  // namespace
}  // namespace Vdei
