// VDEI_SRV over loopback beside vdei-export writing the same package.
//
// For a CUSTOMER table of N rows (default 1,000,000; the first argument
// changes it): vdei-export's XML package into a pipe, then the first
// request to a fresh server (its query opened by that request) and a
// second one (query open), each split into the export (until the first
// byte) and the transfer; the server's time as a multiple of vdei-export's.
// Then packages per second and MB/s of repeated XML and HTML requests, one
// after another, for the sample table and a 100,000-row table. Figures only;
// nothing is asserted beyond the server's package being vdei-export's.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "SrvProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string CustomerDatabase(long rows) {
  const std::string db = std::string(VDEI_BENCH_DIR) + "/customer_" + std::to_string(rows) + ".db";
  if (!std::filesystem::exists(db)) {
    VdeiTest::RunProgram(VdeiTest::GenDbBinary(), {"--rows", std::to_string(rows), db});
  }
  return db;
}

struct Timed {
  size_t Size = 0;
  bool Same = true;      // the bytes are those of the expected package
  double Seconds = 0;    // request to the server's close
  double FirstByte = 0;  // request to the first byte: the export
};

// One request, read in pieces that are compared with expected (when given)
// and dropped, so the client's own memory does not weigh on the figures.
Timed TimedRequest(int port, const char* request, const std::string* expected = nullptr) {
  VdeiTest::Connection connection(port);
  Timed timed;
  const auto start = Clock::now();
  connection.Send(request);
  while (!connection.Closed()) {
    const std::string piece = connection.Read(4 << 20, 120000, 0, 4 << 20);
    if (piece.empty()) break;
    if (timed.Size == 0) timed.FirstByte = SecondsSince(start);
    if (expected != nullptr) {
      timed.Same = timed.Same && expected->compare(timed.Size, piece.size(), piece) == 0;
    }
    timed.Size += piece.size();
  }
  timed.Seconds = SecondsSince(start);
  if (!connection.Closed() || timed.Size < 2) {
    std::fprintf(stderr, "bench_server: no complete answer to %s\n", request);
    std::exit(1);
  }
  if (expected != nullptr) timed.Same = timed.Same && timed.Size == expected->size();
  return timed;
}

// Best of a few rounds each, as the machine is shared.
void CompareWithTool(long rows, int rounds) {
  const std::string db = CustomerDatabase(rows);
  std::printf("CUSTOMER table of %ld rows (%s), best of %d rounds\n", rows, db.c_str(), rounds);
  double tool = 1e9, first = 1e9, firstExport = 0, second = 1e9, secondExport = 0;
  size_t bytes = 0;
  bool same = true;
  for (int round = 0; round < rounds; ++round) {
    const auto start = Clock::now();
    const std::string expected =
        VdeiTest::RunProgram(VdeiTest::ExportToolBinary(), {"--database", db, "--format", "xml"});
    tool = std::min(tool, SecondsSince(start));
    bytes = expected.size();
    VdeiTest::ServerProcess server({"--database", db});
    const Timed opening = TimedRequest(server.Port(), "%GET DATA%XML%", &expected);
    const Timed again = TimedRequest(server.Port(), "%GET DATA%XML%", &expected);
    server.Stop(SIGTERM);
    same = same && opening.Same && again.Same;
    if (opening.Seconds < first) first = opening.Seconds, firstExport = opening.FirstByte;
    if (again.Seconds < second) second = again.Seconds, secondExport = again.FirstByte;
  }
  const double mb = bytes / 1e6;
  std::printf("  %-41s %6.2f s  %.1f MB, %.1f MB/s\n", "vdei-export --format xml", tool, mb,
              mb / tool);
  const char* format =
      "  VDEI_SRV %-32s %6.2f s  export %5.2f s, transfer %5.3f s  %.2fx vdei-export\n";
  std::printf(format, "first request (opens the query)", first, firstExport, first - firstExport,
              first / tool);
  std::printf(format, "second request (query open)", second, secondExport, second - secondExport,
              second / tool);
  if (!same) std::printf("  THE SERVER'S PACKAGE DIFFERS FROM vdei-export's\n");
}

void Throughput(const std::string& name, const std::string& database, int requests) {
  VdeiTest::ServerProcess server({"--database", database});
  TimedRequest(server.Port(), "%GET DATA%");  // opens the query
  for (const char* request : {"%GET DATA%XML%", "%GET DATA%HTML%"}) {
    size_t bytes = 0;
    const auto start = Clock::now();
    for (int i = 0; i < requests; ++i) bytes += TimedRequest(server.Port(), request).Size;
    const double seconds = SecondsSince(start);
    std::printf("  %-22s %-16s %5d packages  %8.1f packages/s  %7.1f MB/s\n", name.c_str(), request,
                requests, requests / seconds, bytes / 1e6 / seconds);
  }
  server.Stop(SIGTERM);
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  CompareWithTool(rows, 3);
  std::printf("Repeated requests, one after another:\n");
  Throughput("sample (55 rows)", VdeiTest::SampleDatabase(), 500);
  Throughput("CUSTOMER 100,000 rows", CustomerDatabase(100000), 10);
  return 0;
}
