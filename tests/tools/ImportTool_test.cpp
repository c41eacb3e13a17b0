// vdei-import end to end: packages and pages of vdei-export read back by
// the real program, with its options, printed forms, rejects and exit
// statuses.
#include <gtest/gtest.h>

#include <sstream>

#include "TestDatabases.h"
#include "ToolRunner.h"
#include "dataset/Query.h"
#include "dataset/TablePrinter.h"

namespace Vdei {
namespace {

using VdeiTest::ReadFile;
using VdeiTest::RunProgram;
using VdeiTest::TempDir;
using VdeiTest::ToolRun;
using VdeiTest::WriteFile;
using Args = std::vector<std::string>;

ToolRun Import(const Args& args, const std::string& stdinPath = "") {
  return RunProgram("src/tools/vdei-import", args, {stdinPath, ""});
}

// What vdei-export writes for the query, in file.
void Export(const std::string& file, const Args& args) {
  const ToolRun run = RunProgram("src/tools/vdei-export", args, {"", file});
  ASSERT_EQ(run.Status, 0) << run.Err;
}

std::string PrintedQuery(const std::string& database, const std::string& sql, TPrintFormat format) {
  TComponent form(nullptr);
  auto* query = new TQuery(&form);
  query->SetDatabaseName(database);
  query->SQL()->Add(sql);
  query->Open();
  std::ostringstream out;
  PrintTable(*query, out, {format, true});
  return out.str();
}

// The cells of an aligned table, trimmed, line by line (rule left out).
std::vector<std::vector<std::string>> TableCells(const std::string& printed) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("-")) continue;
    std::vector<std::string> cells;
    for (const std::string& cell : Split(line, '|')) cells.emplace_back(Trim(cell));
    rows.push_back(cells);
  }
  return rows;
}

TEST(ImportTool, SampleDatabaseTravelsThroughPackageAndPage) {
  const TempDir dir;
  const std::string sql = "SELECT * FROM CUSTOMER ORDER BY COMPANY";
  Export(dir.File("c.xml"), {});
  ToolRun run = Import({"--input", dir.File("c.xml")});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, PrintedQuery("DBDEMOS", sql, pfTsv));
  EXPECT_EQ(run.Err, "vdei-import: 55 rows processed, 55 added, 0 rejected\n");

  // The page, from standard input, found to be HTML by its first tag: the
  // texts it shows.
  Export(dir.File("page"), {"--format", "html"});
  run = Import({"--print", "table"}, dir.File("page"));
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(TableCells(run.Out), TableCells(PrintedQuery("DBDEMOS", sql, pfTable)));
}

TEST(ImportTool, HardValuesOfEveryTypeReadBackExactly) {
  const TempDir dir;
  const std::string db = dir.File("hard.db");
  VdeiTest::CreateSqliteDatabase(
      db,
      "CREATE TABLE T (Id INTEGER, Name VARCHAR(40), Price DOUBLE, Cost MONEY, Ok BOOLEAN,"
      " Day DATE, Clock TIME, Stamp DATETIME, Note MEMO, Data BLOB);"
      "INSERT INTO T VALUES (1, 'A & B <\"q\"> ''x'' |' || char(13) || char(10) || 'caf'"
      " || char(233) || ' \\ tab' || char(9) || 'end', 1.5, 1234.5, 1, '2001-03-15',"
      " '14:30:05.123', '2001-03-15 14:30:05.123', 'two' || char(10) || 'lines &amp;',"
      " X'41FF0A42');"
      "INSERT INTO T VALUES (2, '', 0, 0, 0, '1899-12-30', '00:00:00',"
      " '9999-12-31 23:59:59.999', '', X'');"
      "INSERT INTO T VALUES (3, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);"
      "INSERT INTO T VALUES (4, '   lead', -0.000015, -1234567.25, 0, '0100-01-01', '23:59:59',"
      " '2000-02-29 12:00:00', 'x', NULL);");
  // A time's milliseconds are not in the package; empty texts read as Null.
  const std::string expected =
      "Id\tName\tPrice\tCost\tOk\tDay\tClock\tStamp\tNote\tData\n"
      "1\tA & B <\"q\"> 'x' |\\r\\ncaf\xC3\xA9 \\\\ tab\\tend\t1.5\t1234.5\tTrue\t2001-03-15\t"
      "14:30:05\t2001-03-15 14:30:05.123\ttwo\\nlines &amp;\tA\xC3\xBF\\nB\n"
      "2\t\\N\t0\t0\tFalse\t1899-12-30\t00:00:00\t9999-12-31 23:59:59.999\t\\N\t\\N\n"
      "3\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\n"
      "4\t   lead\t-1.5e-05\t-1234567.25\tFalse\t0100-01-01\t23:59:59\t2000-02-29 12:00:00\tx\t"
      "\\N\n";
  for (const char* layout : {"clientdataset", "ie", "iecompact", "element"}) {
    Export(dir.File("t.xml"),
           {"--database", "sqlite:" + db, "--sql", "SELECT * FROM T", "--layout", layout});
    Args args = {"--input", dir.File("t.xml")};
    if (layout != std::string("clientdataset"))
      args.insert(args.end(), {"--tags", "RECORDS,RECORD,ROW"});
    const ToolRun run = Import(args);
    ASSERT_EQ(run.Status, 0) << layout << run.Err;
    EXPECT_EQ(run.Out, expected) << layout;
  }
}

TEST(ImportTool, OptionsShapeTheRowsAndTheirValues) {
  const TempDir dir;
  const std::string package = dir.File("p.xml");
  WriteFile(package,
            "<ROWDATA><ROW Id=\"1\" Name=\" Ann \" Born=\"15.03.2001 14:30\" Paid=\"1.234,5\"/>"
            "<ROW Id=\"2\" Name=\"Bob\" Born=\"29.02.2000 00:00\" Paid=\"0\"/>"
            "<ROW/><ROW Id=\"4\" Name=\"Cy\"/></ROWDATA>");
  // Without a column list every column is a text; --map computes fields.
  ToolRun run = Import({"--input", package, "--trim", "both", "--map", "Id=Id * 10", "--map",
                        "Label=Name + '#' + Id", "--skip-if", "Id = 2", "--print", "csv"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out,
            "Id,Name,Born,Paid,Label\r\n10,Ann,15.03.2001 14:30,\"1.234,5\",Ann#1\r\n"
            "40,Cy,,,Cy#4\r\n");
  EXPECT_EQ(run.Err, "vdei-import: 4 rows processed, 2 added, 0 rejected\n");

  run = Import({"--input", package, "--row-first", "2", "--row-last", "3", "--keep-empty-rows",
                "--no-header", "--load-when", "Id <> 4"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "2\tBob\t29.02.2000 00:00\t0\n\\N\t\\N\t\\N\t\\N\n");

  // OEM texts: 0x82 is the OEM code page's e acute.
  WriteFile(package, "<ROWDATA><ROW A=\"caf\x82\"/></ROWDATA>");
  run = Import({"--input", package, "--oem", "--no-header"});
  EXPECT_EQ(run.Out, "caf\xC3\xA9\n") << run.Err;

  // Typed columns read under the data format options.
  WriteFile(
      package,
      "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Born\" fieldtype=\"datetime\"/>"
      "<FIELD attrname=\"Paid\" fieldtype=\"r8\"/><FIELD attrname=\"Ok\" fieldtype=\"boolean\"/>"
      "</FIELDS></METADATA><ROWDATA><ROW Born=\"15.03.2001 14:30\" Paid=\"EUR1.234,5\""
      " Ok=\"ja\"/></ROWDATA></DATAPACKET>");
  run = Import({"--input", package, "--datetime-format", "dd.mm.yyyy hh:nn", "--decimal-separator",
                ",", "--thousand-separator", ".", "--currency", "EUR", "--boolean-true", "ja",
                "--no-header"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "2001-03-15 14:30:00\t1234.5\ttrue\n");
}

TEST(ImportTool, RejectedRowsAreListedAndFailuresReported) {
  const TempDir dir;
  const std::string package = dir.File("p.xml");
  WriteFile(package,
            "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"N\" fieldtype=\"i4\"/>"
            "<FIELD attrname=\"D\" fieldtype=\"date\"/></FIELDS></METADATA><ROWDATA>"
            "<ROW N=\"1\" D=\"20010315\"/><ROW N=\"two\tthree\"/><ROW N=\"3\" D=\"20010231\"/>"
            "<ROW N=\"4\"/></ROWDATA></DATAPACKET>");
  ToolRun run = Import({"--input", package, "--rejects", dir.File("rejects"), "--progress"});
  EXPECT_EQ(run.Status, 3) << run.Err;
  EXPECT_EQ(run.Out, "N\tD\n1\t2001-03-15\n4\t\\N\n");
  const std::string rejects = ReadFile(dir.File("rejects"));
  EXPECT_TRUE(rejects.starts_with("2\tN\ttwo\\tthree\t")) << rejects;
  EXPECT_NE(rejects.find("\n3\tD\t20010231\t"), std::string::npos) << rejects;
  EXPECT_EQ(std::count(rejects.begin(), rejects.end(), '\n'), 2);
  EXPECT_NE(run.Err.find("vdei-import: 4 of 4 rows, "), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("4 rows processed, 2 added, 2 rejected"), std::string::npos);

  // A package whose columns cannot make a table fails the run.
  WriteFile(package,
            "<FIELDS><FIELD attrname=\"A\"/><FIELD attrname=\"a\"/></FIELDS><ROWDATA><ROW A=\"1\"/>"
            "</ROWDATA>");
  run = Import({"--input", package});
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_NE(run.Err.find("Duplicate field name"), std::string::npos) << run.Err;

  run = Import({"--input", dir.File("missing.xml")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("missing.xml"), std::string::npos) << run.Err;
}

TEST(ImportTool, UsageErrorsHelpAndVersion) {
  for (const Args& args :
       {Args{"--bogus"}, Args{"--row-first", "0"}, Args{"--print", "json"},
        Args{"--map", "NoExpression"}, Args{"--format", "html", "--tags", "A,B,C"}, Args{"--input"},
        Args{"--row-first", "5", "--row-last", "2"}}) {
    const ToolRun run = Import(args);
    EXPECT_EQ(run.Status, 2) << args[0];
    EXPECT_NE(run.Err.find("usage: vdei-import"), std::string::npos) << args[0];
  }
  const TempDir dir;
  WriteFile(dir.File("p.htm"), "<table><tr><td>x</td></tr></table>");
  ToolRun run = Import({"--input", dir.File("p.htm"), "--tags", "A,B,C"});
  EXPECT_EQ(run.Status, 2) << run.Err;
  run = Import({"--help"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_TRUE(run.Out.starts_with("usage: vdei-import")) << run.Out;
  run = Import({"--version"});
  EXPECT_EQ(run.Status, 0);
  EXPECT_TRUE(run.Out.starts_with("vdei-import ")) << run.Out;
}

}  // namespace
}  // namespace Vdei
