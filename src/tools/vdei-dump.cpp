// vdei-dump: prints the result of a query through the dataset layer.
//
//   vdei-dump [--database D] [--sql TEXT] [--aligned]
//
// A header line of field names, then one line per record of the fields'
// display texts, separated by tabs (or padded to columns with --aligned).
// Tabs and line breaks inside values print as blanks; text is written as
// UTF-8. Exit 0; 1 with the message on stderr when the query fails; 2 on
// a usage error.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/CodePage.h"
#include "core/Exception.h"
#include "dataset/Query.h"

namespace {

constexpr const char* kUsage =
    "usage: vdei-dump [--database D] [--sql TEXT] [--aligned]\n"
    "  --database D  an alias (default DBDEMOS), a URL (sqlite:PATH, postgresql://...)\n"
    "                or the path of a SQLite file\n"
    "  --sql TEXT    the statement (default: SELECT * FROM CUSTOMER)\n"
    "  --aligned     pad the values to columns instead of separating them with tabs\n";

struct Options {
  std::string Database = "DBDEMOS";
  std::string Sql = "SELECT * FROM CUSTOMER";
  bool Aligned = false;
  bool Help = false;
};

// False (with a message) for arguments that are not understood.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
    } else if (arg == "--aligned") {
      options.Aligned = true;
    } else if ((arg == "--database" || arg == "--sql") && i + 1 < argc) {
      (arg == "--database" ? options.Database : options.Sql) = argv[++i];
    } else {
      error = arg == "--database" || arg == "--sql" ? arg + " needs a value"
                                                    : "unknown argument: " + arg;
      return false;
    }
  }
  return true;
}

std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return Vdei::AnsiToUtf8(text);
}

// Display width of UTF-8 text: its characters.
size_t Width(const std::string& text) {
  return std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
}

void PrintRow(const std::vector<std::string>& cells, const std::vector<size_t>& widths) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += widths.empty() ? "\t" : "  ";
    line += cells[i];
    if (!widths.empty() && i + 1 < cells.size()) line.append(widths[i] - Width(cells[i]), ' ');
  }
  std::puts(line.c_str());
}

void Dump(const Options& options) {
  Vdei::TQuery query(nullptr);
  query.SetDatabaseName(options.Database);
  query.SQL()->SetText(options.Sql);
  query.Open();
  std::vector<std::vector<std::string>> rows(1);
  for (int i = 0; i < query.FieldCount(); ++i)
    rows[0].push_back(OneLine(query.Fields(i)->FieldName()));
  for (query.First(); !query.Eof(); query.Next()) {
    std::vector<std::string>& row = rows.emplace_back();
    for (int i = 0; i < query.FieldCount(); ++i)
      row.push_back(OneLine(query.Fields(i)->DisplayText()));
  }
  std::vector<size_t> widths;
  if (options.Aligned) {
    widths.assign(rows[0].size(), 0);
    for (const auto& row : rows)
      for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(row[i]));
  }
  for (const auto& row : rows) PrintRow(row, widths);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "vdei-dump: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (options.Help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  try {
    Dump(options);
  } catch (const Vdei::Exception& e) {
    std::fprintf(stderr, "vdei-dump: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
