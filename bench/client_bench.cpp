// VDEI_CLI --fetch xml over loopback beside the two halves of its work done
// apart: the server's export of a CUSTOMER table of N rows (default
// 1,000,000; the first argument changes it, the second the rounds) and
// vdei-import of the same package, printed as a table.
//
// One VDEI_SRV serves the generated database; a first request opens its
// query. Each round then times a plain request (until the first byte: the
// server's export; until the close: export and transfer), saving the
// package; `vdei-import --print table` of that package and
// `VDEI_CLI --fetch xml` (table), both printing to /dev/null. Best of the
// rounds, as the machine is shared; peak resident memory of both programs.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ChildProcess.h"
#include "CustomerDatabase.h"
#include "SrvProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Export {
  double FirstByte = 0;  // the server's export
  double Seconds = 0;    // export and transfer
  size_t Bytes = 0;
};

// One request; the package goes to path.
Export Request(int port, const std::string& path) {
  VdeiTest::Connection connection(port);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  Export timed;
  const auto start = Clock::now();
  connection.Send("%GET DATA%XML%");
  while (!connection.Closed()) {
    const std::string piece = connection.Read(4 << 20, 120000, 0, 4 << 20);
    if (piece.empty()) break;
    if (timed.Bytes == 0) timed.FirstByte = SecondsSince(start);
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    timed.Bytes += piece.size();
  }
  timed.Seconds = SecondsSince(start);
  if (!connection.Closed() || !out) {
    std::fprintf(stderr, "bench_client: no complete package\n");
    std::exit(1);
  }
  return timed;
}

void Print(const char* what, double seconds, long rows, const ChildMeasure* measure = nullptr) {
  std::printf("  %-48s %6.2f s %9.0f rows/s", what, seconds, rows / seconds);
  if (measure != nullptr) {
    std::printf("  cpu %6.2f s  peak %7.1f MB", measure->CpuSeconds, measure->PeakMB);
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 2;
  const std::string db = CustomerDatabase(rows);
  const std::string package = std::string(VDEI_BENCH_DIR) + "/client_bench.xml";
  VdeiTest::ServerProcess server({"--database", db});
  Request(server.Port(), package);  // opens the query
  Export best;
  best.Seconds = best.FirstByte = 1e9;
  ChildMeasure import{1e9, 0, 0}, client{1e9, 0, 0};
  for (int round = 0; round < rounds; ++round) {
    const Export timed = Request(server.Port(), package);
    if (timed.Seconds < best.Seconds) best = timed;
    const ChildMeasure i = RunChild(
        {VDEI_IMPORT_TOOL, "--input", package, "--format", "xml", "--print", "table"}, "/dev/null");
    if (i.Seconds < import.Seconds) import = i;
    const ChildMeasure c = RunChild({VDEI_CLIENT, "--fetch", "xml", "--host", "127.0.0.1", "--port",
                                     std::to_string(server.Port())},
                                    "/dev/null");
    if (c.Seconds < client.Seconds) client = c;
  }
  server.Stop(SIGTERM);
  std::remove(package.c_str());

  std::printf("CUSTOMER table of %ld rows (%s), XML package of %.1f MB, best of %d rounds\n", rows,
              db.c_str(), best.Bytes / 1e6, rounds);
  Print("VDEI_SRV export (request to first byte)", best.FirstByte, rows);
  Print("VDEI_SRV export and transfer (to close)", best.Seconds, rows);
  Print("vdei-import --print table of the package", import.Seconds, rows, &import);
  Print("VDEI_CLI --fetch xml > /dev/null", client.Seconds, rows, &client);
  const double parts = best.FirstByte + import.Seconds;
  std::printf("  VDEI_CLI / (export + import) = %.2f (%.2f s / %.2f s); with the transfer %.2f\n",
              client.Seconds / parts, client.Seconds, parts,
              client.Seconds / (best.Seconds + import.Seconds));
  return 0;
}
