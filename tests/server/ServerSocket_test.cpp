#include "server/ServerSocket.h"

#include "SrvProcess.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace Vdei {
namespace {

// Package bytes that tell their position and their request apart.
std::string Package(size_t size, int seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed * 13 + i / 251) & 0xFF);
  return bytes;
}

// A memory stream that counts the live ones, to see that the server frees them.
std::atomic<int> liveStreams{0};
class CountedStream : public TMemoryStream {
 public:
  explicit CountedStream(const std::string& bytes) {
    ++liveStreams;
    WriteString(bytes);
    SetPosition(0);
  }
  ~CountedStream() override { --liveStreams; }
};

// A blocking POSIX client, used from its own thread.
using Client = VdeiTest::Connection;

// Runs the event loop until done() or the time is up.
bool RunUntil(const std::function<bool()>& done, int milliseconds = 10000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// A server with a fake request handler: "GET <size> <seed>" is answered
// with Package(size, seed).
class ServerSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.SetPort(0);
    server.SetAddress("127.0.0.1");
    server.OnClientConnect = [this](TObject* sender, TServerClientWinSocket*) {
      EXPECT_EQ(sender, &server);
      ++connects;
    };
    server.OnClientDisconnect = [this](TObject*, TServerClientWinSocket* socket) {
      ++disconnects;
      if (seeds.count(socket)) endedSeeds.push_back(seeds[socket]);
    };
    server.OnClientRead = [this](TObject*, TServerClientWinSocket* socket) {
      std::string text = socket->ReceiveText();
      size_t size = 0;
      int seed = 0;
      if (std::sscanf(text.c_str(), "GET %zu %d", &size, &seed) != 2) return;
      seeds[socket] = seed;
      accepted.push_back(socket->SendStream(std::make_unique<CountedStream>(Package(size, seed))));
    };
    server.Open();
    port = server.LocalPort();
    ASSERT_GT(port, 0);
  }
  void TearDown() override {
    server.Close();
    EXPECT_TRUE(RunUntil([] { return liveStreams == 0; }));
  }

  // Runs clients on threads while the event loop turns here.
  void RunClients(std::vector<std::function<void()>> clients) {
    std::atomic<size_t> finished{0};
    std::vector<std::thread> threads;
    for (auto& client : clients) {
      threads.emplace_back([&finished, client] {
        client();
        ++finished;
      });
    }
    EXPECT_TRUE(RunUntil([&] { return finished == clients.size(); }));
    for (auto& t : threads) t.join();
  }

  TServerSocket server{nullptr};
  int port = 0;
  int connects = 0, disconnects = 0;
  std::vector<bool> accepted;
  std::map<TServerClientWinSocket*, int> seeds;  // the request of each connection
  std::vector<int> endedSeeds;                   // requests whose connection ended, in order
};

TEST_F(ServerSocketTest, SendsALargePackageToASlowReaderInOrder) {
  const std::string expected = Package(6 << 20, 1);
  std::string received;
  bool ended = false;
  RunClients({[&] {
    Client client(port, 32768);
    client.Send("GET " + std::to_string(expected.size()) + " 1");
    received = client.Read(SIZE_MAX, 5000, 300, 32768);
    ended = client.Closed();
  }});
  EXPECT_TRUE(ended);
  EXPECT_EQ(received.size(), expected.size());
  EXPECT_TRUE(received == expected);
  EXPECT_TRUE(RunUntil([&] { return disconnects == 1; }));
  EXPECT_EQ(connects, 1);
  EXPECT_EQ(server.ActiveConnections(), 0);
  EXPECT_EQ(liveStreams, 0);
}

TEST_F(ServerSocketTest, ServesFiftyClientsAtOnce) {
  std::vector<std::function<void()>> clients;
  std::atomic<int> correct{0};
  for (int i = 0; i < 50; ++i) {
    clients.push_back([&, i] {
      Client client(port);
      client.Send("GET 200000 " + std::to_string(i));
      if (client.Read() == Package(200000, i) && client.Closed()) ++correct;
    });
  }
  RunClients(std::move(clients));
  EXPECT_EQ(correct, 50);
  EXPECT_TRUE(RunUntil([&] { return disconnects == 50; }));
  EXPECT_EQ(server.ActiveConnections(), 0);
}

TEST_F(ServerSocketTest, AClientVanishingMidTransferDoesNotStopTheOthers) {
  std::string second;
  RunClients({[&] {
                Client client(port, 16384);
                client.Send("GET 16000000 3");
                client.Read(100000);
                client.Abort();
              },
              [&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                Client client(port);
                client.Send("GET 1000000 4");
                second = client.Read();
              }});
  EXPECT_TRUE(second == Package(1000000, 4));
  EXPECT_TRUE(RunUntil([&] { return disconnects == 2 && liveStreams == 0; }));
  EXPECT_EQ(server.ActiveConnections(), 0);
}

TEST_F(ServerSocketTest, ABusyConnectionRefusesASecondStream) {
  std::string received;
  RunClients({[&] {
    Client client(port, 16384);
    // Larger than the kernel's buffers can hold: still being sent when
    // the second request comes.
    client.Send("GET 12000000 5");
    std::string data = client.Read(50000);
    client.Send("GET 10 6");  // a second request while the first is being sent
    data += client.Read(SIZE_MAX, 5000, 0, 16384);
    received = data;
  }});
  EXPECT_EQ(accepted, (std::vector<bool>{true, false}));
  EXPECT_TRUE(received == Package(12000000, 5));
  EXPECT_EQ(liveStreams, 0);  // the refused stream was freed at once
}

TEST_F(ServerSocketTest, LimitsAndCloseEndConnections) {
  server.Close();
  server.SetMaxConnections(2);
  server.SetIdleTimeout(1);
  server.Open();
  port = server.LocalPort();
  std::vector<bool> ended(3);
  std::vector<int> seconds(3);
  std::vector<std::function<void()>> clients;
  for (int i = 0; i < 3; ++i) {
    clients.push_back([&, i] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100 * i));
      auto start = std::chrono::steady_clock::now();
      Client client(port);
      client.Read();
      ended[i] = client.Closed();
      seconds[i] = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
    });
  }
  RunClients(std::move(clients));
  EXPECT_EQ(ended, (std::vector<bool>{true, true, true}));
  EXPECT_LT(seconds[0], 500);  // its slot went to the third client
  EXPECT_GE(seconds[1], 900);  // idle for a second
  EXPECT_LT(seconds[1], 2500);
  EXPECT_GE(seconds[2], 900);
  EXPECT_EQ(connects, 3);

  // Close ends the connections that are left, and the socket reopens.
  server.SetIdleTimeout(0);
  bool closedByServer = false;
  std::atomic<bool> connected{false};
  std::thread client([&] {
    Client c(port);
    c.Send("hello");  // not a request
    connected = true;
    c.Read();
    closedByServer = c.Closed();
  });
  EXPECT_TRUE(RunUntil([&] { return connected && server.ActiveConnections() == 1; }));
  server.Close();
  client.join();
  EXPECT_TRUE(closedByServer);
  EXPECT_FALSE(server.Active());
  EXPECT_EQ(server.LocalPort(), 0);
  server.Open();
  EXPECT_TRUE(server.Active());
}

TEST_F(ServerSocketTest, OnlyAStalledTransferTimesOut) {
  server.SetIdleTimeout(1);
  QElapsedTimer clock;
  clock.start();
  std::atomic<bool> release{false};
  std::thread stalled([&] {
    Client c(port, 16384);
    c.Send("GET 16000000 7");
    c.Read(100000);
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(10));  // reads no more
  });
  std::string slow;
  std::thread progressing([&] {  // keeps reading, for longer than the timeout
    Client c(port, 16384);
    c.Send("GET 12000000 8");
    slow = c.Read(SIZE_MAX, 5000, 2000, 16384);
  });
  auto ended = [&](int seed) {
    return std::find(endedSeeds.begin(), endedSeeds.end(), seed) != endedSeeds.end();
  };
  EXPECT_TRUE(RunUntil([&] { return ended(7); }, 3000));
  EXPECT_GE(clock.elapsed(), 950);
  EXPECT_TRUE(RunUntil([&] { return ended(8); }, 8000));
  EXPECT_GT(clock.elapsed(), 1100);  // the server was still sending after the timeout
  release = true;
  stalled.join();
  progressing.join();
  EXPECT_TRUE(slow == Package(12000000, 8));
}

TEST_F(ServerSocketTest, HandlerErrorsAreShownAndOpeningErrorsRaised) {
  server.OnClientRead = [](TObject*, TServerClientWinSocket* socket) {
    socket->ReceiveText();
    throw EDatabaseError("Table CUSTOMER not found");
  };
  testing::internal::CaptureStderr();
  std::atomic<bool> sent{false};
  std::thread client([&] {
    Client c(port);
    c.Send("%GET DATA%");
    sent = true;
    c.Read();
  });
  EXPECT_TRUE(RunUntil([&] { return sent && connects == 1; }));
  QElapsedTimer settle;
  settle.start();
  RunUntil([&] { return settle.elapsed() > 200; });
  std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(log, "Error: Table CUSTOMER not found\n");
  EXPECT_EQ(server.ActiveConnections(), 1);  // the connection stays open
  server.Close();
  client.join();

  server.Open();
  TServerSocket second(nullptr);
  second.SetAddress("127.0.0.1");
  second.SetPort(server.LocalPort());
  EXPECT_THROW(second.Open(), ESocketError);  // the port is taken
  EXPECT_FALSE(second.Active());
  second.SetPort(0);
  second.SetAddress("not an address");
  EXPECT_THROW(second.Open(), ESocketError);
}

}  // namespace
}  // namespace Vdei

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
