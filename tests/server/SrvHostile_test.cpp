// VDEI_SRV under clients that trickle, half-close, stall or never speak,
// and under faults: the real program over loopback. A clean close must
// always mean a complete package; whatever is cut short ends in a reset
// and a log line that says how far it got. Every wait is bounded.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SrvProcess.h"
#include "TestDatabases.h"

namespace VdeiTest {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

int MsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<milliseconds>(Clock::now() - start).count());
}

// A 20,000-row CUSTOMER table (a package of some 5 MB, larger than any
// socket buffer) and its two packages, made once for all tests.
class SrvHostile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    db_ = dir_->File("big.db");
    RunProgram(GenDbBinary(), {"--rows", "20000", db_});
    xml_ = RunProgram(ExportToolBinary(), {"--database", db_, "--format", "xml"});
    html_ = RunProgram(ExportToolBinary(), {"--database", db_, "--format", "html"});
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static ServerProcess* Start(std::vector<std::string> args = {}, int fileLimit = 0) {
    args.insert(args.begin(), {"--database", db_});
    return new ServerProcess(args, fileLimit);
  }

  static TempDir* dir_;
  static std::string db_, xml_, html_;
};

TempDir* SrvHostile::dir_ = nullptr;
std::string SrvHostile::db_, SrvHostile::xml_, SrvHostile::html_;

// The whole package and an ordinary close, or what went wrong.
::testing::AssertionResult Whole(const std::string& got, const Connection& connection,
                                 const std::string& expected) {
  if (connection.Reset()) return ::testing::AssertionFailure() << "reset after " << got.size();
  if (!connection.Closed()) return ::testing::AssertionFailure() << "not closed";
  if (got != expected) {
    return ::testing::AssertionFailure() << got.size() << " bytes of " << expected.size();
  }
  return ::testing::AssertionSuccess();
}

TEST_F(SrvHostile, EveryFormOfARequestGetsItsWholePackage) {
  std::unique_ptr<ServerProcess> server(Start());
  {
    // The request in two writes and a line end that comes late, when the
    // server has written its last byte: the bytes it has not read must
    // not turn its close into a reset that drops the rest.
    Connection client(server->Port(), 16384);
    ASSERT_TRUE(client.Send("%GET DATA%"));
    ASSERT_TRUE(client.Send("XML%"));
    std::string got = client.Read(xml_.size() - (1 << 20), 10000, 0, 16384);
    std::this_thread::sleep_for(milliseconds(300));
    ASSERT_TRUE(client.Send("\r\n"));
    std::this_thread::sleep_for(milliseconds(100));
    got += client.Read(SIZE_MAX, 10000, 0, 16384);
    EXPECT_TRUE(Whole(got, client, xml_)) << "request with a tail";
  }
  {
    // Trickled a byte at a time: still the HTML page.
    Connection client(server->Port());
    for (char c : std::string("%GET DATA%HTML%")) {
      ASSERT_TRUE(client.Send(std::string(1, c)));
      std::this_thread::sleep_for(milliseconds(15));
    }
    const std::string got = client.Read();
    EXPECT_TRUE(Whole(got, client, html_)) << "trickled request";
  }
  {
    // The marker at the start of one write far larger than the request
    // bound, and no "%" after it: answered after the pause.
    Connection client(server->Port());
    ASSERT_TRUE(client.Send("%GET DATA%" + std::string(100 * 1024, 'x')));
    const std::string got = client.Read();
    EXPECT_TRUE(Whole(got, client, xml_)) << "marker before 100 KiB";
  }
  {
    // A client that shuts down its sending side after the request.
    Connection client(server->Port());
    ASSERT_TRUE(client.Send("%GET DATA%HTML%"));
    client.ShutdownWrite();
    const std::string got = client.Read();
    EXPECT_TRUE(Whole(got, client, html_)) << "half-closed client";
  }
  EXPECT_EQ(server->Stop(SIGTERM), 0);
  EXPECT_EQ(Count(server->Log(), "Sent the dataset to client"), 4u) << server->Log();
  EXPECT_EQ(server->Log().find("cut short"), std::string::npos) << server->Log();
}

TEST_F(SrvHostile, AStalledTransferIsResetAndNewRequestsWaitWhilePackagesFillTheBound) {
  // One package is more than the 1 MiB bound: a second request waits
  // until the stalled first transfer is given up after a second.
  std::unique_ptr<ServerProcess> server(
      Start({"--max-pending-mb", "1", "--no-progress-timeout", "1"}));
  Connection stalled(server->Port(), 16384);
  ASSERT_TRUE(stalled.Send("%GET DATA%XML%"));
  const std::string head = stalled.Read(100000);
  ASSERT_EQ(head.size(), 100000u);
  const auto start = Clock::now();
  const Reply waiting = Request(server->Port(), "%GET DATA%HTML%");
  EXPECT_GE(MsSince(start), 700) << "it waited for the stalled transfer";
  EXPECT_TRUE(waiting.Closed && !waiting.Reset);
  EXPECT_TRUE(waiting.Bytes == html_) << waiting.Bytes.size();

  const std::string rest = stalled.Read();
  EXPECT_TRUE(stalled.Reset()) << "a cut-short package never ends cleanly";
  EXPECT_LT(head.size() + rest.size(), xml_.size());
  EXPECT_TRUE(server->WaitForLog("Request waits"));
  EXPECT_TRUE(
      server->WaitForLog("of " + std::to_string(xml_.size()) + " bytes (no progress for 1 s)"))
      << server->Log();
  EXPECT_EQ(Count(server->Log(), "Sent the dataset to client"), 1u) << server->Log();
  EXPECT_EQ(server->Stop(SIGTERM), 0);
}

TEST_F(SrvHostile, SigtermLetsTransfersFinishWithinTheGraceAndResetsTheRest) {
  std::unique_ptr<ServerProcess> server(Start({"--shutdown-grace", "2"}));
  Connection steady(server->Port(), 16384), stalled(server->Port(), 16384);
  ASSERT_TRUE(steady.Send("%GET DATA%"));
  ASSERT_TRUE(stalled.Send("%GET DATA%"));
  const std::string steadyHead = steady.Read(50000);
  ASSERT_EQ(stalled.Read(50000).size(), 50000u);
  const Connection silent(server->Port());  // no request: closed at once

  const auto start = Clock::now();
  std::thread stop([&] { EXPECT_EQ(server->Stop(SIGTERM), 0); });
  // The steady reader gets it all, over about a second.
  const std::string steadyRest = steady.Read(SIZE_MAX, 5000, 3000, 16384);
  EXPECT_TRUE(Whole(steadyHead + steadyRest, steady, xml_));
  EXPECT_FALSE(Connection(server->Port()).Connected()) << "no new clients once stopping";
  stop.join();
  EXPECT_GE(MsSince(start), 1500);
  EXPECT_LT(MsSince(start), 6000);
  stalled.Read(SIZE_MAX, 2000);
  EXPECT_TRUE(stalled.Reset());
  EXPECT_NE(server->Log().find("Package cut short after"), std::string::npos) << server->Log();
}

TEST_F(SrvHostile, SilentAndChatteringClientsLoseTheirSlotsAndRefusalsAreLogged) {
  std::unique_ptr<ServerProcess> server(
      Start({"--request-timeout", "1", "--max-connections", "2", "--shutdown-grace", "0"}));
  {
    // Garbage does not extend the request deadline.
    Connection silent(server->Port()), chattering(server->Port());
    const auto start = Clock::now();
    while (!chattering.Closed() && MsSince(start) < 4000) {
      chattering.Send("x");
      chattering.Read(SIZE_MAX, 100);
    }
    EXPECT_TRUE(chattering.Closed());
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_EQ(silent.Read(SIZE_MAX, 2000), "");
    EXPECT_TRUE(silent.Closed());
  }
  EXPECT_TRUE(server->WaitForLog("no request within 1 s"));
  // Both slots hold transfers to clients that do not read: a third client
  // is refused, and the log says so.
  Connection first(server->Port(), 16384), second(server->Port(), 16384);
  ASSERT_TRUE(first.Send("%GET DATA%XML%"));
  ASSERT_TRUE(second.Send("%GET DATA%XML%"));
  ASSERT_EQ(first.Read(1000).size(), 1000u);
  ASSERT_EQ(second.Read(1000).size(), 1000u);
  Connection third(server->Port());
  EXPECT_EQ(third.Read(SIZE_MAX, 3000), "");
  EXPECT_TRUE(third.Reset());
  EXPECT_TRUE(server->WaitForLog("Refused a client: all 2 connections are being served"));
  EXPECT_EQ(server->Stop(SIGTERM), 0);
}

TEST_F(SrvHostile, OutOfDescriptorsItPausesAcceptingAndRecovers) {
  std::unique_ptr<ServerProcess> server(Start({}, 40));
  std::vector<std::unique_ptr<Connection>> holders;
  for (int i = 0; i < 50; ++i) holders.push_back(std::make_unique<Connection>(server->Port()));
  ASSERT_TRUE(server->WaitForLog("Cannot accept connections: Too many open files"))
      << server->Log();
  Connection waiting(server->Port());
  ASSERT_TRUE(waiting.Send("%GET DATA%HTML%"));
  // It neither spins nor answers while the descriptors are taken...
  const double cpu = CpuSeconds(server->Pid());
  EXPECT_EQ(waiting.Read(SIZE_MAX, 1000), "");
  EXPECT_LT(CpuSeconds(server->Pid()) - cpu, 0.3);
  // ... and serves again once they are free.
  holders.clear();
  const std::string got = waiting.Read();
  EXPECT_TRUE(Whole(got, waiting, html_));
  EXPECT_EQ(Count(server->Log(), "Cannot accept connections"), 1u) << "logged once";
  EXPECT_TRUE(server->WaitForLog("Accepting connections again"));
  EXPECT_EQ(server->Stop(SIGTERM), 0);
}

TEST(VdeiSrvData, EachRequestSeesTheTableAsItIsAndCountsWhatTheCodePageLacks) {
  TempDir dir;
  const std::string db = dir.File("live.db");
  CreateSqliteDatabase(db,
                       "CREATE TABLE CUSTOMER (CustNo REAL, Company VARCHAR(30));"
                       "INSERT INTO CUSTOMER VALUES (1, 'First');");
  ServerProcess server({"--database", db});
  const Reply before = Request(server.Port(), "%GET DATA%XML%");
  EXPECT_EQ(Count(before.Bytes, "<ROW "), 1u);
  CreateSqliteDatabase(db, "INSERT INTO CUSTOMER VALUES (2, 'Second \xCE\xA9\xCE\xA9');");
  const Reply after = Request(server.Port(), "%GET DATA%XML%");
  EXPECT_EQ(Count(after.Bytes, "<ROW "), 2u);
  EXPECT_NE(after.Bytes.find("Company=\"Second ??\""), std::string::npos) << after.Bytes;
  EXPECT_TRUE(server.WaitForLog("2 characters outside code page 1252 were replaced by \"?\""));
  CreateSqliteDatabase(db, "DELETE FROM CUSTOMER WHERE CustNo = 1;");
  const Reply last = Request(server.Port(), "%GET DATA%HTML%");
  EXPECT_EQ(last.Bytes.find("First"), std::string::npos);
  EXPECT_NE(last.Bytes.find("Second ??"), std::string::npos);
  EXPECT_EQ(server.Stop(SIGTERM), 0);
  EXPECT_EQ(Count(server.Log(), "were replaced"), 2u) << "once per request";
}

}  // namespace
}  // namespace VdeiTest
