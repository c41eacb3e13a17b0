// The real VDEI_CLI: --fetch against the real server, its exit statuses and
// its command line.
#include <gtest/gtest.h>

#include "ClientFormSupport.h"
#include "LoopbackServer.h"
#include "SrvProcess.h"
#include "TestDatabases.h"

namespace {

using VdeiTest::RunToEnd;

const std::string kClient = VDEI_BINARY_DIR "/src/client/VDEI_CLI";

std::vector<std::string> FetchArgs(int port, const std::string& type, const std::string& print) {
  return {"--fetch", type, "--print", print, "--host", "127.0.0.1", "--port", std::to_string(port)};
}

TEST(VdeiCliProgram, FetchPrintsTheServersTable) {
  VdeiTest::ServerProcess server;
  const VdeiTest::ProgramResult tsv = RunToEnd(kClient, FetchArgs(server.Port(), "xml", "tsv"));
  EXPECT_EQ(tsv.Status, 0) << tsv.Errors;
  EXPECT_EQ(tsv.Output, VdeiTest::CustomerTsv());
  EXPECT_EQ(tsv.Errors, "");

  const VdeiTest::ProgramResult csv = RunToEnd(kClient, FetchArgs(server.Port(), "html", "csv"));
  EXPECT_EQ(csv.Status, 0) << csv.Errors;
  EXPECT_EQ(csv.Output.substr(0, csv.Output.find("\r\n")),
            "CustNo,Company,Addr1,Addr2,City,State,Zip,Country,Phone,FAX,TaxRate,Contact,"
            "LastInvoiceDate");
  EXPECT_NE(csv.Output.find(",Barnacle & Bream Supply,"), std::string::npos);
  size_t lines = 0;
  for (size_t at = 0; (at = csv.Output.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 56u);

  const VdeiTest::ProgramResult table =
      RunToEnd(kClient, {"--fetch", "xml", "--port", std::to_string(server.Port())});
  EXPECT_EQ(table.Status, 0) << table.Errors;
  EXPECT_EQ(table.Output.rfind("CustNo", 0), 0u) << table.Output.substr(0, 200);
}

TEST(VdeiCliProgram, FetchesATableOfManyReceivesWhole) {
  VdeiTest::TempDir dir;
  const std::string database = dir.File("customer.db");
  VdeiTest::RunProgram(VdeiTest::GenDbBinary(), {"--rows", "5000", database});
  VdeiTest::ServerProcess server({"--database", database});
  const VdeiTest::ProgramResult tsv = RunToEnd(kClient, FetchArgs(server.Port(), "xml", "tsv"));
  EXPECT_EQ(tsv.Status, 0) << tsv.Errors;
  EXPECT_EQ(tsv.Output, VdeiTest::CustomerTsv(database));
}

TEST(VdeiCliProgram, FailedFetchesExitWithTheReason) {
  const VdeiTest::ProgramResult refused =
      RunToEnd(kClient, FetchArgs(VdeiTest::UnusedPort(), "xml", "tsv"));
  EXPECT_EQ(refused.Status, 1);
  EXPECT_EQ(refused.Output, "");
  EXPECT_NE(refused.Errors.find("Socket error:111 (Connection refused)"), std::string::npos)
      << refused.Errors;

  VdeiTest::LoopbackServer silent([](int connection, std::stop_token stop) {
    VdeiTest::ReceiveUntil(connection, "%GET DATA%", stop);
    VdeiTest::WaitForStop(stop);
  });
  std::vector<std::string> args = FetchArgs(silent.Port(), "html", "table");
  args.insert(args.end(), {"--timeout", "1"});
  const VdeiTest::ProgramResult timedOut = RunToEnd(kClient, args);
  EXPECT_EQ(timedOut.Status, 1);
  EXPECT_NE(timedOut.Errors.find("Socket error:110"), std::string::npos) << timedOut.Errors;
}

TEST(VdeiCliProgram, RefusesBadCommandLines) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--port", "0"},
                                             {"--port", "70000"},
                                             {"--timeout", "-1"},
                                             {"--timeout", "86401"},
                                             {"--fetch", "json"},
                                             {"--print", "csv"},
                                             {"--fetch", "xml", "--format", "html"},
                                             {"--host"},
                                             {"--print", "json", "--fetch", "xml"},
                                             {"extra"}}) {
    const VdeiTest::ProgramResult result = RunToEnd(kClient, args);
    EXPECT_EQ(result.Status, 2) << args[0];
    EXPECT_NE(result.Errors.find("usage: VDEI_CLI"), std::string::npos) << args[0];
  }
  const VdeiTest::ProgramResult help = RunToEnd(kClient, {"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Output.find("--fetch xml|html"), std::string::npos);
  EXPECT_EQ(RunToEnd(kClient, {"--version"}).Output.rfind("VDEI_CLI ", 0), 0u);
}

}  // namespace
