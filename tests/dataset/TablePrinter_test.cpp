#include "dataset/TablePrinter.h"

#include <gtest/gtest.h>

#include <sstream>

#include "AllTypesTable.h"
#include "core/CodePage.h"
#include "dataset/ClientDataSet.h"

namespace Vdei {
namespace {

std::string Print(TDataSet& table, TPrintFormat format, bool header = true) {
  std::ostringstream out;
  PrintTable(table, out, {format, header});
  return out.str();
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

class TablePrinterTest : public ::testing::Test {
 protected:
  TablePrinterTest() { SetActiveAnsiCodePage(1252); }
  TComponent form{nullptr};
  TClientDataSet* table = VdeiTest::MakeAllTypesTable(&form);
};

// The third record's name gets a backslash, a tab and a comma.
TEST_F(TablePrinterTest, TsvAndCsvComeOutExactly) {
  table->Last();
  table->Edit();
  table->FieldByName("Name")->SetAsString("a\\b\tc,d");
  table->Post();
  const std::string header =
      "Name\tSmall\tInt\tWord\tFlag\tUnit Price (%)\tMoney\tExact\tDay\tClock\tStamp\tId\tBytes\t"
      "Note\tPicture\n";
  const std::string records =
      "A & B <\"q\"> 'x' |\\r\\n\u2122\u00A9\u00B0\u00B1\u00B6\t-5\t17\t65535\ttrue\t1.5\t1234.5\t"
      "12345678901234567890.25\t2001-03-15\t07:05:09\t2001-03-15 14:30:05.123\t1\t"
      "\\\\x000102424dff\ttwo\\r\\nlines & more\t\\\\x474946383961\n"
      "\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t2\t\\N\t\\N\t\\N\n"
      "a\\\\b\\tc,d\t0\t0\t0\tfalse\t0\t0\t0\t1899-12-30\t00:00:00\t2001-03-15 00:00:00\t3\t"
      "\\N\t\\N\t\\N\n";
  EXPECT_EQ(Print(*table, pfTsv), header + records);
  EXPECT_EQ(Print(*table, pfTsv, false), records);

  EXPECT_EQ(Print(*table, pfCsv),
            "Name,Small,Int,Word,Flag,Unit Price (%),Money,Exact,Day,Clock,Stamp,Id,Bytes,Note,"
            "Picture\r\n"
            "\"A & B <\"\"q\"\"> 'x' |\r\n\u2122\u00A9\u00B0\u00B1\u00B6\",-5,17,65535,true,1.5,"
            "1234.5,12345678901234567890.25,2001-03-15,07:05:09,2001-03-15 14:30:05.123,1,"
            "\\x000102424dff,\"two\r\nlines & more\",\\x474946383961\r\n"
            "\"\",,,,,,,,,,,2,,,\r\n"
            "\"a\\b\tc,d\",0,0,0,false,0,0,0,1899-12-30,00:00:00,2001-03-15 00:00:00,3,,,\r\n");
}

TEST_F(TablePrinterTest, FloatsReadBackAndTheTableAlignsDisplayTexts) {
  auto* numbers = new TClientDataSet(&form);
  numbers->FieldDefs()->Add("X", ftFloat);
  numbers->FieldDefs()->Add("Label", ftString, 10);
  numbers->CreateDataSet();
  for (const double x : {0.1, 1e300, -2.5e-8, 123456789012345.67}) {
    numbers->Append();
    numbers->Fields(0)->SetAsFloat(x);
    numbers->Fields(1)->SetAsString("\xE9t\xE9");
    numbers->Post();
  }
  EXPECT_EQ(Print(*numbers, pfTsv, false),
            "0.1\t\u00E9t\u00E9\n1e+300\t\u00E9t\u00E9\n-2.5e-08\t\u00E9t\u00E9\n"
            "123456789012345.67\t\u00E9t\u00E9\n");

  // Widths count characters, not bytes; numbers are right-aligned; line
  // breaks show as blanks; the last column is not padded.
  const std::string aligned = Print(*table, pfTable);
  std::istringstream lines(aligned);
  std::string line;
  std::getline(lines, line);
  EXPECT_TRUE(StartsWith(line, "Name                     | Small | Int | Word  | Flag  |")) << line;
  std::getline(lines, line);
  EXPECT_TRUE(StartsWith(line, "-------------------------+-------+-----+")) << line;
  std::getline(lines, line);
  EXPECT_TRUE(StartsWith(
      line, "A & B <\"q\"> 'x' |  \u2122\u00A9\u00B0\u00B1\u00B6 |    -5 |  17 | 65535 | True  |"))
      << line;
  EXPECT_NE(line.find(" | \\x000102424dff | two  lines & more | \\x474946383961"),
            std::string::npos);
  std::getline(lines, line);
  EXPECT_TRUE(StartsWith(line, "                         |       |")) << line;
  EXPECT_EQ(Print(*table, pfTable, false).substr(0, 2), "A ");
}

}  // namespace
}  // namespace Vdei
