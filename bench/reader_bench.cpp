// The parse steps of the readers over the CUSTOMER package and page of N
// rows (default 1,000,000; the first argument changes it), made once with
// vdei-export from a generated database: the XML scan alone, the scan with
// every cell of every row looked up and decoded, and the same for the HTML
// page. Printed are the time, rows/s and MB/s of source text.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CustomerDatabase.h"
#include "import/VdI2HTMLScan.h"
#include "import/VdI2XMLScan.h"
#include "import/VdIEntities.h"

namespace {

using namespace VdImport;
using Clock = std::chrono::steady_clock;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// The package in format made from db by vdei-export, once.
std::string Package(const std::string& db, const std::string& format) {
  const std::string path = db + "." + format;
  if (!std::filesystem::exists(path)) {
    const std::string command = std::string(VDEI_EXPORT_TOOL) + " --database sqlite:" + db +
                                " --format " + format + " > " + path;
    if (std::system(command.c_str()) != 0) std::exit(1);
  }
  return ReadFile(path);
}

void Report(const char* what, size_t rows, size_t bytes, Clock::time_point start, size_t checksum) {
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%-36s %6.3f s %10.0f rows/s %7.1f MB/s  (%zu rows, check %zu)\n", what, seconds,
              rows / seconds, bytes / 1e6 / seconds, rows, checksum);
}

void BenchXML(const std::string& text) {
  const XmlScanTags tags{"ROWDATA", "", "ROW"};
  auto start = Clock::now();
  XmlScanResult scan = ScanXMLText(text, tags);
  Report("XML scan", scan.Rows.size(), text.size(), start, scan.Fields.size());

  start = Clock::now();
  scan = ScanXMLText(text, tags);
  std::vector<XmlCell> cells;
  std::string buffer;
  int replaced = 0;
  size_t checksum = 0;
  for (std::string_view row : scan.Rows) {
    SplitXMLRow(row, cells);
    size_t hint = 0;
    for (const XmlField& field : scan.Fields) {
      if (const auto raw = FindXMLCell(cells, field.Name, hint)) {
        checksum += DecodeCellText(*raw, scan.Utf8, buffer, replaced).size();
      }
    }
  }
  Report("XML scan + every cell decoded", scan.Rows.size(), text.size(), start, checksum);
}

void BenchHTML(const std::string& text) {
  auto start = Clock::now();
  HtmlScanResult scan = ScanHTMLText(text, 1, 2);
  Report("HTML scan", scan.StoredRows(), text.size(), start, scan.Columns.size());

  start = Clock::now();
  scan = ScanHTMLText(text, 1, 2);
  std::vector<std::string_view> cells;
  std::string buffer;
  int replaced = 0;
  size_t checksum = 0;
  for (size_t i = 0; i < scan.StoredRows(); ++i) {
    GetHTMLCells(scan.Row(i), cells);
    for (std::string_view cell : cells) {
      if (!IsEmptyHTMLCell(cell))
        checksum += DecodeCellText(cell, scan.Utf8, buffer, replaced).size();
    }
  }
  Report("HTML scan + every cell decoded", scan.StoredRows(), text.size(), start, checksum);
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string db = CustomerDatabase(rows);
  const std::string xml = Package(db, "xml");
  const std::string html = Package(db, "html");
  std::printf("CUSTOMER package of %ld rows: XML %.1f MB, HTML %.1f MB\n", rows, xml.size() / 1e6,
              html.size() / 1e6);
  BenchXML(xml);
  BenchHTML(html);
  return 0;
}
