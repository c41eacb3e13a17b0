#include "tools/ExportOptions.h"

#include <gtest/gtest.h>

namespace Vdei {
namespace {

using Args = std::vector<std::string>;

std::string UsageError(const Args& args) {
  try {
    ParseExportOptions(args);
  } catch (const EUsageError& e) {
    return e.Message();
  }
  return "(accepted)";
}

TEST(ExportOptions, DefaultsAreTheServersQueryAndPackage) {
  const ExportOptions options = ParseExportOptions({});
  EXPECT_EQ(options.Database, "DBDEMOS");
  EXPECT_EQ(options.Sql, (Args{"SELECT *", "FROM CUSTOMER", "ORDER BY COMPANY"}));
  EXPECT_EQ(options.Format, efXML);
  EXPECT_EQ(options.Layout, VdExport::xmlClientDataset);
  EXPECT_TRUE(options.Output.empty());
  EXPECT_FALSE(options.Quote.has_value());
  EXPECT_FALSE(options.Style.has_value());
}

TEST(ExportOptions, ValuesRepeatsAndCharacters) {
  const ExportOptions options = ParseExportOptions({"--database",
                                                    "sqlite:/x.db",
                                                    "--sql",
                                                    "SELECT 1",
                                                    "--layout",
                                                    "IECompact",
                                                    "--output",
                                                    "o.xml",
                                                    "--rows-per-file",
                                                    "10",
                                                    "--quote",
                                                    "none",
                                                    "--header",
                                                    "a",
                                                    "--header",
                                                    "b",
                                                    "--footer",
                                                    "c",
                                                    "--tags",
                                                    "R,E,W",
                                                    "--decimal-separator",
                                                    ",",
                                                    "--date-separator",
                                                    "\xC2\xA7",
                                                    "--boolean-true",
                                                    "Ja",
                                                    "--key-generator",
                                                    "Gen 1",
                                                    "--xsl",
                                                    "--blank-values"});
  EXPECT_EQ(options.Database, "sqlite:/x.db");
  EXPECT_EQ(options.Sql, Args{"SELECT 1"});
  EXPECT_EQ(options.Layout, VdExport::xmlIECompact) << "layout names in any case";
  EXPECT_EQ(options.RowsPerFile, 10);
  EXPECT_EQ(options.Quote, '\0');
  EXPECT_EQ(options.Header, (Args{"a", "b"}));
  EXPECT_EQ(options.Footer, Args{"c"});
  EXPECT_EQ(options.Tags->RecordsTag() + options.Tags->RecordTag() + options.Tags->RowTag(), "REW");
  EXPECT_EQ(options.DecimalSeparator, ',');
  EXPECT_EQ(options.DateSeparator, '\xA7') << "one character of the ANSI code page";
  EXPECT_EQ(options.BooleanTrue, "Ja");
  EXPECT_TRUE(options.Xsl && options.BlankValues);

  const ExportOptions html = ParseExportOptions(
      {"--format", "html", "--style", "Brick", "--no-lines", "--colors-fonts", "--no-title"});
  EXPECT_EQ(html.Format, efHTML);
  EXPECT_EQ(html.Style, VdExport::esBrick);
  EXPECT_TRUE(html.NoLines && html.ColorsFonts && html.NoTitle);
}

TEST(ExportOptions, RefusesWhatCannotBeDone) {
  EXPECT_EQ(UsageError({"--frobnicate"}), "unknown argument: --frobnicate");
  EXPECT_EQ(UsageError({"--sql"}), "--sql needs a value");
  EXPECT_EQ(UsageError({"--format", "pdf"}),
            "--format pdf: is not one of the values listed in --help");
  EXPECT_EQ(UsageError({"--quote", "ab"}), "--quote ab: needs exactly one character");
  EXPECT_EQ(UsageError({"--rows-per-file", "-1", "--output", "x"}),
            "--rows-per-file -1: needs a count >= 0");
  EXPECT_EQ(UsageError({"--rows-per-file", "2x", "--output", "x"}),
            "--rows-per-file 2x: needs a count >= 0");
  EXPECT_EQ(UsageError({"--tags", "A,,C"}), "--tags A,,C: needs three names: RECORDS,RECORD,ROW");
  EXPECT_EQ(UsageError({"--output", ""}), "--output \"\": needs a file name");
  // Options of the other format are refused whatever their order.
  EXPECT_EQ(UsageError({"--layout", "ie", "--format", "html"}),
            "--layout does not apply to --format html");
  EXPECT_EQ(UsageError({"--style", "rose"}), "--style does not apply to --format xml");
  EXPECT_EQ(UsageError({"--layout", "mssql", "--xsl"}),
            "--xsl does not apply to --layout mssql, which has no stylesheet");
  EXPECT_EQ(UsageError({"--rows-per-file", "3"}),
            "--rows-per-file needs --output: standard output is one package");
  EXPECT_EQ(UsageError({"--key-generator", "a--b"}),
            "--key-generator must not hold \"--\" nor end in \"-\" for --format xml");
  EXPECT_EQ(UsageError({"--key-generator", "a--b", "--format", "html"}), "(accepted)");
}

}  // namespace
}  // namespace Vdei
