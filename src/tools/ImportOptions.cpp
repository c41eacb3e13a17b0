#include "tools/ImportOptions.h"

namespace Vdei {

namespace {

using namespace VdImport;

constexpr const char* kUsage =
    "usage: vdei-import [options]\n"
    "Imports an XML package or an HTML page into an in-memory table built from\n"
    "the package's columns, as VDEI_CLI does, and prints the table; with\n"
    "--database, into a table of that database, in one transaction.\n"
    "  --input FILE           the package or page (default: standard input)\n"
    "  --format xml|html      default: by the file's extension, else by its first tag\n"
    "  --map FIELD=EXPRESSION the field's value from an expression of the row's\n"
    "                         cells (repeatable); a new FIELD becomes a text field\n"
    "  --load-when EXPR       import only the rows for which EXPR is true\n"
    "  --skip-if EXPR         leave out the rows for which EXPR is true\n"
    "  --keep-empty-rows      import rows whose cells are all empty too\n"
    "  --trim none|left|right|both   blanks cut from the cells (default none)\n"
    "  --row-first N          the first row imported (xml default 1, html 2: the\n"
    "                         page's first row holds the names)\n"
    "  --row-last N           the last row imported\n"
    "  --tags RECORDS,RECORD,ROW  xml: the tag names (default ROWDATA,RECORD,ROW)\n"
    "  --date-order mdy|dmy|ymd|ydm|dym|myd\n"
    "  --date-separator C     --time-separator C   (default / and :)\n"
    "  --decimal-separator C  --thousand-separator C   (default . and ,)\n"
    "  --currency TEXT        (default $)\n"
    "  --boolean-true T       --boolean-false F   (default True and False)\n"
    "  --datetime-format MASK the date-time form, such as yyyymmddThhnnsszzz (the\n"
    "                         xml default, the form the export writes)\n"
    "  --oem                  the texts are in the OEM code page\n"
    "  --print tsv|csv|table  the printed form (default tsv)\n"
    "  --no-header            no line of field names\n"
    "  --database D           import into a table of D (an alias such as DBDEMOS, a\n"
    "                         SQLite path, sqlite:PATH or a postgresql:// URL)\n"
    "  --table T              the table (with --database)\n"
    "  --mode append|update|appendupdate|delete|copy|appendnewonly   (default append)\n"
    "  --keys K1;K2           the key fields of the key modes (default: the table's\n"
    "                         primary key)\n"
    "  --create               create the table from the package's columns when it\n"
    "                         does not exist\n"
    "  --dry-run              run the import and roll it back: what would happen\n"
    "  --max-errors N         rejected rows skipped before the import fails and\n"
    "                         keeps nothing (default 0)\n"
    "  --rejects FILE         one line per rejected row: row, field, value, message\n"
    "  --progress             rows done and rows/s on standard error\n"
    "  --help                 this text\n"
    "  --version              the program's version\n"
    "Without --database the table is printed to standard output.\n"
    "Exit status: 0 every row stored, 3 some rows rejected, 1 the import failed,\n"
    "2 a usage error.\n";

enum TOptionScope { osAny, osXML, osPrinted, osTable };

using OptionSpec = ToolOptionSpec<ImportOptions>;

std::string MapValue(const std::string& value) {
  const size_t equals = value.find('=');
  if (equals == std::string::npos || Trim(value.substr(0, equals)).empty() ||
      Trim(value.substr(equals + 1)).empty()) {
    RefuseOption("--map", value, "needs FIELD=EXPRESSION");
  }
  return value;
}

const std::string& NonEmpty(const char* option, const std::string& value,
                            const char* what = "needs a name") {
  if (value.empty()) RefuseOption(option, "\"\"", what);
  return value;
}

// Whether spec goes with the options read.
void CheckScope(const OptionSpec& spec, const ImportOptions& options) {
  const std::string name = spec.Name;
  if (spec.Scope == osXML && options.Format == ifHTML) {
    throw EUsageError(name + " does not apply to --format html");
  }
  if (spec.Scope == osPrinted && !options.Database.empty()) {
    throw EUsageError(name + " does not apply to --database: the table is not printed");
  }
  if (spec.Scope == osTable && options.Database.empty()) {
    throw EUsageError(name + " needs --database");
  }
}

const std::vector<OptionSpec>& OptionSpecs() {
  using O = ImportOptions;
  using S = const std::string&;
  static const std::vector<OptionSpec> specs = {
      {"--input", true, osAny, [](O& o, S v) { o.Input = v; }},
      {"--format", true, osAny,
       [](O& o, S v) {
         o.Format =
             NamedOption<TImportFormatKind>("--format", v, {{"xml", ifXML}, {"html", ifHTML}});
       }},
      {"--map", true, osAny, [](O& o, S v) { o.Maps.push_back(MapValue(v)); }},
      {"--load-when", true, osAny, [](O& o, S v) { o.LoadWhen = v; }},
      {"--skip-if", true, osAny, [](O& o, S v) { o.SkipIf = v; }},
      {"--keep-empty-rows", false, osAny, [](O& o, S) { o.KeepEmptyRows = true; }},
      {"--trim", true, osAny,
       [](O& o, S v) {
         o.Trim = NamedOption<TVdITrimSpaces>("--trim", v,
                                              {{"none", tsNoTrim},
                                               {"left", tsTrimLeft},
                                               {"right", tsTrimRight},
                                               {"both", tsTrimLeftRight}});
       }},
      {"--row-first", true, osAny,
       [](O& o, S v) { o.RowFirst = CountOption("--row-first", v, 1); }},
      {"--row-last", true, osAny, [](O& o, S v) { o.RowLast = CountOption("--row-last", v, 1); }},
      {"--tags", true, osXML, [](O& o, S v) { o.Tags = TagNamesOption("--tags", v); }},
      {"--date-order", true, osAny,
       [](O& o, S v) {
         o.DateOrder = NamedOption<TVdIDateOrder>("--date-order", v,
                                                  {{"mdy", doMDY},
                                                   {"dmy", doDMY},
                                                   {"ymd", doYMD},
                                                   {"ydm", doYDM},
                                                   {"dym", doDYM},
                                                   {"myd", doMYD}});
       }},
      {"--date-separator", true, osAny,
       [](O& o, S v) { o.DateSeparator = CharOption("--date-separator", v); }},
      {"--time-separator", true, osAny,
       [](O& o, S v) { o.TimeSeparator = CharOption("--time-separator", v); }},
      {"--decimal-separator", true, osAny,
       [](O& o, S v) { o.DecimalSeparator = CharOption("--decimal-separator", v); }},
      {"--thousand-separator", true, osAny,
       [](O& o, S v) { o.ThousandSeparator = CharOption("--thousand-separator", v); }},
      {"--currency", true, osAny, [](O& o, S v) { o.Currency = v; }},
      {"--boolean-true", true, osAny, [](O& o, S v) { o.BooleanTrue = v; }},
      {"--boolean-false", true, osAny, [](O& o, S v) { o.BooleanFalse = v; }},
      {"--datetime-format", true, osAny, [](O& o, S v) { o.DateTimeFormat = v; }},
      {"--oem", false, osAny, [](O& o, S) { o.Oem = true; }},
      {"--print", true, osPrinted,
       [](O& o, S v) {
         o.Print = NamedOption<TPrintFormat>("--print", v,
                                             {{"tsv", pfTsv}, {"csv", pfCsv}, {"table", pfTable}});
       }},
      {"--no-header", false, osPrinted, [](O& o, S) { o.NoHeader = true; }},
      {"--rejects", true, osAny,
       [](O& o, S v) { o.Rejects = NonEmpty("--rejects", v, "needs a file name"); }},
      {"--database", true, osAny, [](O& o, S v) { o.Database = NonEmpty("--database", v); }},
      {"--table", true, osTable, [](O& o, S v) { o.Table = NonEmpty("--table", v); }},
      {"--mode", true, osTable,
       [](O& o, S v) {
         o.Mode = NamedOption<TImportMode>("--mode", v,
                                           {{"append", imAppend},
                                            {"update", imUpdate},
                                            {"appendupdate", imAppendUpdate},
                                            {"delete", imDelete},
                                            {"copy", imCopy},
                                            {"appendnewonly", imAppendNewOnly}});
       }},
      {"--keys", true, osTable, [](O& o, S v) { o.Keys = NonEmpty("--keys", v); }},
      {"--create", false, osTable, [](O& o, S) { o.Create = true; }},
      {"--dry-run", false, osTable, [](O& o, S) { o.DryRun = true; }},
      {"--max-errors", true, osTable,
       [](O& o, S v) { o.MaxErrors = CountOption("--max-errors", v); }},
      {"--progress", false, osAny, [](O& o, S) { o.Progress = true; }},
      {"--help", false, osAny, [](O& o, S) { o.Help = true; }},
      {"--version", false, osAny, [](O& o, S) { o.Version = true; }},
  };
  return specs;
}

}  // namespace

ImportOptions ParseImportOptions(const std::vector<std::string>& args) {
  ImportOptions options;
  for (const OptionSpec* spec : ReadOptions(args, OptionSpecs(), options)) {
    CheckScope(*spec, options);
  }
  if (!options.Database.empty() && options.Table.empty()) {
    throw EUsageError("--database needs --table");
  }
  if (options.RowFirst && options.RowLast && *options.RowLast < *options.RowFirst) {
    throw EUsageError("--row-last must not be below --row-first");
  }
  return options;
}

const char* ImportUsage() {
  return kUsage;
}

}  // namespace Vdei
