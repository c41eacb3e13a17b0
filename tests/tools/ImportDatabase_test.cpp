// vdei-import --database end to end: the real program loads packages into
// SQLite and PostgreSQL tables in every mode, and a run that fails or is a
// dry run leaves the table as it was.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

#include "TestDatabases.h"
#include "ToolRunner.h"
#include "dataset/Query.h"
#include "dataset/TablePrinter.h"

namespace Vdei {
namespace {

using VdeiTest::ReadFile;
using VdeiTest::TempDir;
using VdeiTest::ToolRun;
using VdeiTest::WriteFile;
using Args = std::vector<std::string>;

// A database of one backend: its name for --database and a way to run
// statements in it.
struct Database {
  std::string Name;
  std::function<void(const std::string&)> Execute;
};

class ImportDatabase : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (std::string(GetParam()) == "sqlite") {
      const std::string path = dir_.File("target.db");
      VdeiTest::CreateSqliteDatabase(path, "PRAGMA user_version = 1;");
      db_ = {path, [path](const std::string& sql) { VdeiTest::CreateSqliteDatabase(path, sql); }};
      return;
    }
    VDEI_REQUIRE_POSTGRES(cluster);
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string database = "imp" + std::to_string(std::hash<std::string>()(name) % 100000);
    cluster->Execute("CREATE DATABASE " + database);
    db_ = {cluster->Url(database),
           [cluster, database](const std::string& sql) { cluster->Execute(sql, database); }};
  }

  // An XML package: fields as "Name:fieldtype" (a WIDTH for strings, "!"
  // after the type for a required field), rows as attribute lists.
  std::string Package(const Args& fields, const Args& rows) {
    std::string text =
        "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\">"
        "<METADATA><FIELDS>";
    for (const std::string& field : fields) {
      const size_t colon = field.find(':');
      std::string type = field.substr(colon + 1);
      const bool required = type.ends_with('!');
      if (required) type.pop_back();
      text += "<FIELD attrname=\"" + field.substr(0, colon) + "\" fieldtype=\"" + type + "\"" +
              (type == "string" ? " WIDTH=\"10\"" : "") + (required ? " required=\"true\"" : "") +
              "/>";
    }
    text += "</FIELDS><PARAMS/></METADATA><ROWDATA>";
    for (const std::string& row : rows) text += "<ROW " + row + "/>";
    const std::string path = dir_.File("p" + std::to_string(++packages_) + ".xml");
    WriteFile(path, text + "</ROWDATA></DATAPACKET>");
    return path;
  }

  ToolRun Import(const std::string& package, const std::string& table, const Args& more = {}) {
    Args args = {"--input", package, "--database", db_.Name, "--table", table};
    args.insert(args.end(), more.begin(), more.end());
    return VdeiTest::RunProgram("src/tools/vdei-import", args);
  }

  // The rows of the query as tsv, without a header.
  std::string Rows(const std::string& sql) {
    TQuery query(nullptr);
    query.SetDatabaseName(db_.Name);
    query.SQL()->Add(sql);
    query.Open();
    std::ostringstream out;
    PrintTable(query, out, {pfTsv, false});
    return out.str();
  }

  TempDir dir_;
  Database db_;
  int packages_ = 0;
};

const Args kKeyFields = {"Region:string", "No:i4", "Name:string"};

TEST_P(ImportDatabase, EveryModeWithATwoFieldKeyDuplicatesAndNullKeys) {
  db_.Execute(
      "CREATE TABLE \"T\" (\"Region\" VARCHAR(10), \"No\" INTEGER, \"Name\" VARCHAR(10));"
      "INSERT INTO \"T\" VALUES ('A', 2, 'old'), ('B', 1, 'keep');");
  const std::string order =
      "SELECT * FROM \"T\" ORDER BY \"Region\" IS NULL, \"Region\", \"No\", \"Name\"";
  // (A,1) twice: appended, then updated by the second; no Region: a Null
  // key matches no row, so it is appended each time.
  const std::string source =
      Package(kKeyFields, {R"(Region="A" No="1" Name="first")", R"(Region="A" No="2" Name="new")",
                           R"(Region="A" No="1" Name="second")", R"(No="2" Name="nokey")"});
  const Args keys = {"--keys", "Region;No"};
  auto run = [&](const char* mode) {
    Args args = {"--mode", mode};
    args.insert(args.end(), keys.begin(), keys.end());
    return Import(source, "T", args);
  };

  ToolRun result = run("appendupdate");
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_NE(result.Err.find("4 rows processed, 2 added, 2 updated, 0 deleted, 0 rejected"),
            std::string::npos)
      << result.Err;
  EXPECT_EQ(Rows(order), "A\t1\tsecond\nA\t2\tnew\nB\t1\tkeep\n\\N\t2\tnokey\n");

  result = run("appendnewonly");  // only the Null-key row is new
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM \"T\" WHERE \"Region\" IS NULL"), "2\n");

  db_.Execute("UPDATE \"T\" SET \"Name\" = 'x'");
  result = run("update");
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(Rows(order), "A\t1\tsecond\nA\t2\tnew\nB\t1\tx\n\\N\t2\tx\n\\N\t2\tx\n");

  result = run("delete");
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(Rows(order), "B\t1\tx\n\\N\t2\tx\n\\N\t2\tx\n");

  result = Import(source, "T", {"--mode", "copy"});
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM \"T\""), "4\n");

  // Without --keys the table's primary key is the key; none: a usage error.
  result = run("append");
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM \"T\""), "8\n");
  result = Import(source, "T", {"--mode", "update"});
  EXPECT_EQ(result.Status, 2);
  EXPECT_NE(result.Err.find("--mode update needs --keys"), std::string::npos) << result.Err;
  db_.Execute(
      "CREATE TABLE \"K\" (\"Region\" VARCHAR(10), \"No\" INTEGER, \"Name\" VARCHAR(10),"
      " PRIMARY KEY (\"Region\", \"No\")); INSERT INTO \"K\" VALUES ('A', 1, 'old');");
  result = Import(Package(kKeyFields, {R"(Region="A" No="1" Name="upd")"}), "K",
                  {"--mode", "appendupdate"});
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(Rows("SELECT * FROM \"K\""), "A\t1\tupd\n");
}

TEST_P(ImportDatabase, RejectedRowsKeepNothingUnlessMaxErrorsAllowsThem) {
  db_.Execute(
      "CREATE TABLE \"R\" (\"No\" INTEGER NOT NULL, \"Code\" VARCHAR(3), \"Count\" SMALLINT);"
      "INSERT INTO \"R\" VALUES (100, 'old', 0);");
  const std::string before = Rows("SELECT * FROM \"R\"");
  const std::string source =
      Package({"No:i4", "Code:string", "Count:i4"},
              {R"(No="1" Code="abc" Count="1")", R"(No="2" Code="abcdef" Count="2")",
               R"(Code="x" Count="3")", R"(No="4" Code="y" Count="70000")",
               R"(No="5" Code="z" Count="5")"});
  // The first rejected row fails the run: nothing kept, in every mode,
  // imCopy's deletes included; the message names row, field and value.
  for (const char* mode : {"append", "copy"}) {
    const ToolRun run = Import(source, "R", {"--mode", mode});
    EXPECT_EQ(run.Status, 1) << mode;
    EXPECT_NE(run.Err.find("row 2, field Code, value \"abcdef\""), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("nothing was imported"), std::string::npos) << run.Err;
    EXPECT_EQ(Rows("SELECT * FROM \"R\""), before) << mode;
  }
  // Three rejected rows (too long, Null into NOT NULL, out of range) with
  // room for two: the run fails too.
  ToolRun run = Import(source, "R", {"--max-errors", "2", "--mode", "copy"});
  EXPECT_EQ(run.Status, 1) << run.Err;
  EXPECT_NE(run.Err.find("more than 2 rows rejected"), std::string::npos) << run.Err;
  EXPECT_EQ(Rows("SELECT * FROM \"R\""), before);

  // A dry run does it all and keeps nothing.
  run = Import(source, "R", {"--max-errors", "3", "--mode", "copy", "--dry-run"});
  EXPECT_EQ(run.Status, 3) << run.Err;
  EXPECT_NE(run.Err.find("dry run: 5 rows processed, 2 added"), std::string::npos) << run.Err;
  EXPECT_EQ(Rows("SELECT * FROM \"R\""), before);

  const std::string rejects = dir_.File("rejects");
  run = Import(source, "R", {"--max-errors", "3", "--mode", "copy", "--rejects", rejects});
  EXPECT_EQ(run.Status, 3) << run.Err;
  EXPECT_NE(run.Err.find("2 added, 0 updated, 1 deleted, 3 rejected"), std::string::npos)
      << run.Err;
  EXPECT_EQ(Rows("SELECT * FROM \"R\" ORDER BY \"No\""), "1\tabc\t1\n5\tz\t5\n");
  const std::string lines = ReadFile(rejects);
  EXPECT_TRUE(lines.starts_with("2\tCode\tabcdef\t")) << lines;
  EXPECT_NE(lines.find("\n3\t"), std::string::npos) << lines;
  EXPECT_NE(lines.find("\n4\tCount\t70000\t"), std::string::npos) << lines;
}

TEST_P(ImportDatabase, CreateQuotesNamesAndTheCreatedTableTakesASecondImport) {
  const std::string table = "My \"T\" ROWDATA";
  const Args fields = {"Full Name:string!", "Qty:i4", "Price:r8", "Day:date", "Ok:boolean"};
  const std::string source = Package(fields, {R"(Qty="1" Price="1.5" Day="20010315" Ok="TRUE")"});
  // No attribute can carry a name with a blank: the field is mapped (to a
  // name that is no cell, which is its own text).
  const Args map = {"--map", "Full Name=Ann"};
  const std::string quoted = "\"My \"\"T\"\" ROWDATA\"";

  // A dry run or a failed run drops the table it created.
  Args args = {"--create", "--dry-run"};
  args.insert(args.end(), map.begin(), map.end());
  ToolRun run = Import(source, table, args);
  ASSERT_EQ(run.Status, 0) << run.Err;
  run = Import(source, table, {"--mode", "append"});  // Null into NOT NULL, no --create
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("does not exist"), std::string::npos) << run.Err;
  run = Import(source, table, {"--create"});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("Full Name"), std::string::npos) << run.Err;
  EXPECT_NE(Import(source, table, {"--mode", "append"}).Err.find("does not exist"),
            std::string::npos);

  args = {"--create"};
  args.insert(args.end(), map.begin(), map.end());
  run = Import(source, table, args);
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(Rows("SELECT * FROM " + quoted), "Ann\t1\t1.5\t2001-03-15\ttrue\n");

  // The second import finds the table and its types: an update by key.
  const std::string second = Package(
      fields, {R"(Qty="1" Price="2.25" Day="20011231" Ok="FALSE")", R"(Qty="2" Price="3")"});
  args = {"--create", "--mode", "appendupdate", "--keys", "Qty"};
  args.insert(args.end(), map.begin(), map.end());
  run = Import(second, table, args);
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(Rows("SELECT * FROM " + quoted + " ORDER BY \"Qty\""),
            "Ann\t1\t2.25\t2001-12-31\tfalse\nAnn\t2\t3\t\\N\t\\N\n");
}

// A table named like a tag of the package is no records section: an empty
// package brings no rows into it, a full one its own rows.
TEST_P(ImportDatabase, TablesNamedLikeTagsOfThePackage) {
  const Args fields = {"ROW:string", "FIELDS:i4"};
  const std::string empty = Package(fields, {});
  const std::string full = Package(fields, {R"(ROW="a" FIELDS="1")", R"(ROW="b" FIELDS="2")"});
  for (const std::string table : {"ROW", "ROWDATA", "FIELDS", "DATAPACKET"}) {
    ToolRun run = Import(empty, table, {"--create"});
    ASSERT_EQ(run.Status, 0) << table << run.Err;
    EXPECT_NE(run.Err.find(" 0 rows processed"), std::string::npos) << table << run.Err;
    run = Import(full, table, {"--create"});
    ASSERT_EQ(run.Status, 0) << table << run.Err;
    EXPECT_EQ(Rows("SELECT * FROM \"" + table + "\" ORDER BY 2"), "a\t1\nb\t2\n") << table;
  }
}

TEST(ImportDatabaseOptions, TableOptionsAndPrintedFormsDoNotMix) {
  const std::pair<Args, std::string> cases[] = {
      {{"--mode", "copy"}, "--mode needs --database"},
      {{"--database", "DBDEMOS"}, "--database needs --table"},
      {{"--database", "DBDEMOS", "--table", "T", "--print", "csv"}, "--print does not apply"},
      {{"--database", "DBDEMOS", "--table", "T", "--max-errors", "-1"}, "--max-errors -1"},
  };
  for (const auto& [args, message] : cases) {
    const ToolRun run = VdeiTest::RunProgram("src/tools/vdei-import", args);
    EXPECT_EQ(run.Status, 2) << message;
    EXPECT_TRUE(run.Err.starts_with("vdei-import: " + message)) << run.Err;
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, ImportDatabase, testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace Vdei
