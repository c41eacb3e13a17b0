// VDEI_SRV end to end: the real program, headless on a free port, asked
// over loopback by plain POSIX clients; its packages are compared with
// what vdei-export writes for the same database.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "SrvProcess.h"
#include "TestDatabases.h"

namespace VdeiTest {
namespace {

using Clock = std::chrono::steady_clock;

// The package vdei-export writes for database in format ("xml", "html").
std::string Exported(const std::string& database, const std::string& format) {
  return RunProgram(ExportToolBinary(), {"--database", database, "--format", format});
}

// Nothing comes and the server keeps the connection open.
void ExpectNoAnswer(Connection& connection, const char* what) {
  EXPECT_EQ(connection.Read(SIZE_MAX, 300), "") << what;
  EXPECT_FALSE(connection.Closed()) << what;
}

TEST(VdeiSrv, AnswersEachFormOfTheRequestWithItsPackage) {
  const std::string xml = Exported(SampleDatabase(), "xml");
  const std::string html = Exported(SampleDatabase(), "html");
  // What the server's settings make of the sample table: 55 rows, the
  // stored page pattern with the active code page and the stored generator.
  EXPECT_EQ(Count(xml, "<ROW "), 55u);
  EXPECT_NE(html.find("charset=windows-1252\">"), std::string::npos);
  EXPECT_NE(html.find("<meta name=\"GENERATOR\" content=\"VdExport 4.63\">"), std::string::npos);

  ServerProcess server;
  for (const char* request : {"%GET DATA%XML%", "%GET DATA%", "please %GET DATA% thanks\r\n"}) {
    const Reply reply = Request(server.Port(), request);
    EXPECT_TRUE(reply.Closed) << request;
    EXPECT_TRUE(reply.Bytes == xml) << request << ": " << reply.Bytes.size() << " bytes";
  }
  const Reply page = Request(server.Port(), "%GET DATA%HTML%");
  EXPECT_TRUE(page.Closed);
  EXPECT_TRUE(page.Bytes == html) << page.Bytes.size() << " bytes";

  // A request in two writes is answered once it is whole.
  Connection split(server.Port());
  ASSERT_TRUE(split.Send("%GET DA"));
  ExpectNoAnswer(split, "half a marker");
  ASSERT_TRUE(split.Send("TA%HTML%"));
  EXPECT_TRUE(split.Read() == html);
  EXPECT_TRUE(split.Closed());

  // Lower case and other texts get nothing; the connection stays open.
  Connection lower(server.Port());
  ASSERT_TRUE(lower.Send("%get data%xml%"));
  ExpectNoAnswer(lower, "lower-case marker");
  ASSERT_TRUE(lower.Send("GET DATA"));
  ExpectNoAnswer(lower, "marker without percent signs");

  EXPECT_EQ(server.Stop(SIGTERM), 0);
  // Headless, every status text is a timestamped line.
  const std::string log = server.Log();
  for (const char* status : {"Client connected", "Client requested some info",
                             "Sent the dataset to client", "Client disconnected"}) {
    const std::regex line(std::string("(^|\n)\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d ") + status +
                          "\n");
    EXPECT_TRUE(std::regex_search(log, line)) << status << " in\n" << log;
  }
}

TEST(VdeiSrv, AnEmptyResultIsACompletePackageWithItsColumns) {
  TempDir dir;
  const std::string db = dir.File("empty.db");
  CreateSqliteDatabase(db, "CREATE TABLE CUSTOMER (CustNo REAL, Company VARCHAR(30));");
  ServerProcess server({"--database", db});
  const Reply xml = Request(server.Port(), "%GET DATA%XML%");
  EXPECT_TRUE(xml.Closed);
  EXPECT_TRUE(xml.Bytes == Exported(db, "xml"));
  EXPECT_NE(xml.Bytes.find("<FIELD attrname=\"Company\" fieldtype=\"string\" WIDTH=\"30\"/>"),
            std::string::npos);
  EXPECT_NE(xml.Bytes.find("<ROWDATA></ROWDATA></DATAPACKET>"), std::string::npos);
  const Reply html = Request(server.Port(), "%GET DATA%HTML%");
  EXPECT_TRUE(html.Bytes == Exported(db, "html"));
  EXPECT_NE(html.Bytes.find(">Company</td>"), std::string::npos);
  EXPECT_EQ(server.Stop(SIGINT), 0);
}

TEST(VdeiSrv, ServesAPostgreSQLDatabase) {
  VDEI_REQUIRE_POSTGRES(cluster);
  cluster->Execute(
      "DROP TABLE IF EXISTS customer; CREATE TABLE customer (custno float8, company varchar(30), "
      "lastinvoicedate timestamp); INSERT INTO customer VALUES (2, 'B & Co', '2001-03-15 "
      "14:30:05.123'), (1, 'A <1>', NULL);");
  ServerProcess server({"--database", cluster->Url()});
  for (const char* format : {"xml", "html"}) {
    const Reply reply =
        Request(server.Port(), std::string("%GET DATA%") + (format[0] == 'h' ? "HTML%" : ""));
    EXPECT_TRUE(reply.Closed);
    EXPECT_TRUE(reply.Bytes == Exported(cluster->Url(), format)) << reply.Bytes;
    EXPECT_LT(reply.Bytes.find("A &lt;1&gt;"), reply.Bytes.find("B &amp; Co")) << "ordered";
  }
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

TEST(VdeiSrv, ALargePackageReachesASlowReaderWhileOthersComeAndGo) {
  TempDir dir;
  const std::string db = dir.File("big.db");
  RunProgram(GenDbBinary(), {"--rows", "20000", db});
  const std::string xml = Exported(db, "xml");
  ASSERT_GT(xml.size(), 4u << 20) << "larger than any socket buffer";
  ServerProcess server({"--database", db});

  // A reader with a small buffer that takes its time; a second request on
  // its busy connection gets no second package.
  std::string slow;
  bool slowClosed = false;
  std::thread reader([&] {
    Connection connection(server.Port(), 16384);
    connection.Send("%GET DATA%");
    slow = connection.Read(200000, 10000, 500, 16384);
    connection.Send("%GET DATA%HTML%");
    slow += connection.Read(SIZE_MAX, 10000, 100, 16384);
    slowClosed = connection.Closed();
  });
  // Meanwhile a client that vanishes in the middle of its package, and
  // one that is served after it.
  {
    Connection vanishing(server.Port(), 16384);
    vanishing.Send("%GET DATA%");
    EXPECT_EQ(vanishing.Read(100000).size(), 100000u);
    vanishing.Abort();
  }
  const Reply after = Request(server.Port(), "%GET DATA%");
  reader.join();
  EXPECT_TRUE(after.Closed);
  EXPECT_TRUE(after.Bytes == xml) << after.Bytes.size() << " of " << xml.size();
  EXPECT_TRUE(slowClosed);
  EXPECT_TRUE(slow == xml) << slow.size() << " of " << xml.size();
  EXPECT_TRUE(server.Running());
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

TEST(VdeiSrv, ServesFiftyClientsAtOnce) {
  const std::string xml = Exported(SampleDatabase(), "xml");
  const std::string html = Exported(SampleDatabase(), "html");
  ServerProcess server;
  std::atomic<int> correct{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < 50; ++i) {
    clients.emplace_back([&, i] {
      const bool wantsHTML = i % 5 == 0;
      const Reply reply = Request(server.Port(), wantsHTML ? "%GET DATA%HTML%" : "%GET DATA%");
      if (reply.Closed && reply.Bytes == (wantsHTML ? html : xml)) ++correct;
    });
  }
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(correct, 50);
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

TEST(VdeiSrv, AFailedExportClosesTheConnectionAndTheServerGoesOn) {
  TempDir dir;
  const std::string noTable = dir.File("no-table.db");
  CreateSqliteDatabase(noTable, "CREATE TABLE OTHER (A INT);");
  for (const std::string& database : {dir.File("missing/x.db"), noTable}) {
    ServerProcess server({"--database", database});
    for (int attempt = 0; attempt < 2; ++attempt) {
      const auto start = Clock::now();
      const Reply reply = Request(server.Port(), "%GET DATA%", 5000);
      EXPECT_TRUE(reply.Closed) << database;
      EXPECT_EQ(reply.Bytes, "") << database;
      EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    }
    EXPECT_TRUE(server.WaitForLog("Export failed: "));
    const std::regex failure("\\d\\d:\\d\\d:\\d\\d Export failed: [^\n]+\n");
    EXPECT_TRUE(std::regex_search(server.Log(), failure)) << server.Log();
    EXPECT_EQ(server.Log().find("Sent the dataset to client"), std::string::npos);
    EXPECT_TRUE(server.Running());
    EXPECT_EQ(server.Stop(SIGTERM), 0);
  }
}

TEST(VdeiSrv, BoundsItsConnectionsAndTellsWhyItCannotStart) {
  ServerProcess server({"--max-connections", "2", "--idle-timeout", "1"});
  Connection first(server.Port()), second(server.Port());
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (Count(server.Log(), "Client connected") < 2 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(Count(server.Log(), "Client connected"), 2u);
  // A client beyond the bound takes the slot of the oldest silent one.
  Connection third(server.Port());
  EXPECT_EQ(first.Read(SIZE_MAX, 2000), "");
  EXPECT_TRUE(first.Reset()) << "never an ordinary close that passes for an empty package";
  EXPECT_TRUE(server.WaitForLog("to make room"));
  ASSERT_TRUE(third.Send("%GET DATA%XML%"));
  EXPECT_EQ(Count(third.Read(), "<ROW "), 55u);
  // Silent connections are closed after the idle timeout.
  const auto start = Clock::now();
  EXPECT_EQ(second.Read(SIZE_MAX, 5000), "");
  EXPECT_TRUE(second.Closed());
  EXPECT_GT(Clock::now() - start, std::chrono::milliseconds(300));

  // The port is taken: exit status 1 and the reason.
  const ProgramResult taken = RunToEnd(ServerBinary(), {"--headless", "--bind", "127.0.0.1",
                                                        "--port", std::to_string(server.Port())});
  EXPECT_EQ(taken.Status, 1);
  EXPECT_NE(taken.Errors.find("Cannot listen on port"), std::string::npos) << taken.Errors;
  const ProgramResult badOption = RunToEnd(ServerBinary(), {"--port", "http"});
  EXPECT_EQ(badOption.Status, 2);
  EXPECT_NE(badOption.Errors.find("--port needs a number"), std::string::npos) << badOption.Errors;
  const ProgramResult help = RunToEnd(ServerBinary(), {"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Output.find("--database D"), std::string::npos);
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

}  // namespace
}  // namespace VdeiTest
