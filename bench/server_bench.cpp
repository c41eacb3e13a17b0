// VDEI_SRV over loopback beside vdei-export writing the same package.
//
// For a CUSTOMER table of N rows (default 1,000,000; the first argument
// changes it): vdei-export's XML package into a pipe, then the first
// request to a fresh server (its query opened by that request) and a
// second one, each split into the export (until the first byte) and the
// transfer; the server's time as a multiple of vdei-export's. Then
// packages per second and MB/s of repeated XML and HTML requests, one after
// another, for the sample table and a 100,000-row table. Then the server
// under load: 256 and 300 clients at once (what each got), 5,000 requests
// one after another with the server's resident memory before and after,
// and 256 clients that ask for the 100,000-row package and never read,
// with the server's peak memory and how long a well-behaved client waited.
// Figures only; nothing is asserted beyond the server's package being
// vdei-export's.
//
//   bench_server [ROWS] [compare] [repeat] [load] [nonreaders]   (default: all)
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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
Timed TimedRequest(int port, const char* request, const std::string* expected = nullptr,
                   int silenceMs = 120000) {
  VdeiTest::Connection connection(port);
  Timed timed;
  const auto start = Clock::now();
  connection.Send(request);
  while (!connection.Closed()) {
    const std::string piece = connection.Read(4 << 20, silenceMs, 0, 4 << 20);
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

// count clients ask for the package of database and never read; the
// server's memory is sampled until it has given up on every one of them.
// Meanwhile one client that reads is timed.
void NonReaders(const std::string& database, int count) {
  const int maxPendingMb = 1024;
  VdeiTest::ServerProcess server({"--database", database, "--no-progress-timeout", "2",
                                  "--max-pending-mb", std::to_string(maxPendingMb)});
  std::vector<std::unique_ptr<VdeiTest::Connection>> idle;
  for (int i = 0; i < count; ++i) {
    idle.push_back(std::make_unique<VdeiTest::Connection>(server.Port(), 16384));
    idle.back()->Send("%GET DATA%XML%");
  }
  std::atomic<bool> served{false};
  Timed polite;
  std::thread reader([&] {
    polite = TimedRequest(server.Port(), "%GET DATA%XML%", nullptr, 900000);
    served = true;
  });
  const auto start = Clock::now();
  long peak = 0;
  // Every connection, the reader's too, has ended once as many have
  // disconnected.
  while (SecondsSince(start) < 900 &&
         (!served ||
          VdeiTest::Count(server.Log(), "Client disconnected") < static_cast<size_t>(count) + 1)) {
    peak = std::max(peak, VdeiTest::PeakResidentKiB(server.Pid()));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  reader.join();
  peak = std::max(peak, VdeiTest::PeakResidentKiB(server.Pid()));
  std::printf(
      "  %d clients that never read a %.1f MB package (CUSTOMER 100,000 rows, "
      "--max-pending-mb %d, --no-progress-timeout 2): all given up after %.1f s, peak "
      "resident %.0f MiB (bound + %.0f MiB); a reading client got its %.1f MB after %.1f s; "
      "%zu transfers reset, %zu silent clients closed to make room\n",
      count, polite.Size / 1e6, maxPendingMb, SecondsSince(start), peak / 1024.0,
      peak / 1024.0 - maxPendingMb, polite.Size / 1e6, polite.Seconds,
      VdeiTest::Count(server.Log(), "Package cut short"),
      VdeiTest::Count(server.Log(), "to make room"));
  server.Stop(SIGTERM);
}

// What clients that ask at the same time get.
struct Outcomes {
  std::atomic<int> Whole{0}, Empty{0}, Reset{0}, Partial{0};
};

void ClientsAtOnce(int port, int clients, const std::string& expected) {
  Outcomes got;
  std::atomic<int> ready{0};
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  const auto start = Clock::now();
  for (int i = 0; i < clients; ++i) {
    threads.emplace_back([&] {
      VdeiTest::Connection connection(port);
      ++ready;
      while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      connection.Send("%GET DATA%XML%");
      const std::string bytes = connection.Read(SIZE_MAX, 60000);
      if (connection.Reset()) {
        ++got.Reset;
      } else if (bytes.empty()) {
        ++got.Empty;
      } else if (connection.Closed() && bytes == expected) {
        ++got.Whole;
      } else {
        ++got.Partial;
      }
    });
  }
  while (ready < clients) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  go = true;
  for (std::thread& t : threads) t.join();
  std::printf(
      "  %3d clients at once (%d slots): %d whole packages, %d closed empty, %d reset, "
      "%d cut short, %.2f s\n",
      clients, 256, got.Whole.load(), got.Empty.load(), got.Reset.load(), got.Partial.load(),
      SecondsSince(start));
}

void Load() {
  std::printf("Under load (sample table unless said otherwise):\n");
  const std::string sample =
      VdeiTest::RunProgram(VdeiTest::ExportToolBinary(), {"--format", "xml"});
  {
    VdeiTest::ServerProcess server;
    ClientsAtOnce(server.Port(), 256, sample);
    ClientsAtOnce(server.Port(), 300, sample);
    server.Stop(SIGTERM);
  }
  {
    VdeiTest::ServerProcess server;
    TimedRequest(server.Port(), "%GET DATA%XML%", &sample);
    const long before = VdeiTest::ResidentKiB(server.Pid());
    const auto start = Clock::now();
    bool same = true;
    for (int i = 0; i < 5000; ++i)
      same = TimedRequest(server.Port(), "%GET DATA%XML%", &sample).Same && same;
    std::printf(
        "  5,000 requests one after another: %.1f s, resident %ld KiB after the first, "
        "%ld KiB after the last%s\n",
        SecondsSince(start), before, VdeiTest::ResidentKiB(server.Pid()),
        same ? "" : "; SOME PACKAGES DIFFERED");
    server.Stop(SIGTERM);
  }
}

}  // namespace

int main(int argc, char** argv) {
  long rows = 1000000;
  std::vector<std::string> sections;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (std::isdigit(static_cast<unsigned char>(arg[0]))) {
      rows = std::atol(arg.c_str());
    } else {
      sections.push_back(arg);
    }
  }
  auto wanted = [&](const char* section) {
    return sections.empty() ||
           std::find(sections.begin(), sections.end(), section) != sections.end();
  };
  if (wanted("compare")) CompareWithTool(rows, 3);
  if (wanted("repeat")) {
    std::printf("Repeated requests, one after another (each runs the query afresh):\n");
    Throughput("sample (55 rows)", VdeiTest::SampleDatabase(), 500);
    Throughput("CUSTOMER 100,000 rows", CustomerDatabase(100000), 10);
  }
  if (wanted("load")) Load();
  if (wanted("nonreaders")) NonReaders(CustomerDatabase(100000), 256);
  return 0;
}
