#include "tools/ExportOptions.h"

#include "core/StrUtils.h"

namespace Vdei {

namespace {

using VdExport::TVdEStyle;
using VdExport::TVdEXMLFormat;

constexpr const char* kUsage =
    "usage: vdei-export [options]\n"
    "Exports the result of a query as an XML package or an HTML page, with the\n"
    "settings the server's export components have unless an option says otherwise.\n"
    "  --database D           an alias (default DBDEMOS), sqlite:PATH or postgresql://...\n"
    "  --sql TEXT             the statement (default: SELECT * FROM CUSTOMER ORDER BY COMPANY)\n"
    "  --format xml|html      the kind of document (default xml)\n"
    "  --layout L             xml: clientdataset (default), ie, iecompact, element, mssql\n"
    "  --output FILE          write FILE (and its numbered files, stylesheet, images)\n"
    "                         instead of standard output (\"-\"); a file name without an\n"
    "                         extension gets .XML or .HTM; a device is written as it is;\n"
    "                         a directory is refused\n"
    "  --no-title             leave out the column list (xml) or title row (html)\n"
    "  --rows-per-file N      xml with --output: a new numbered file every N records\n"
    "  --quote C|none         xml: the character around values (default \")\n"
    "  --blank-values         xml: write empty values too\n"
    "  --blank-if-zero        zero numbers and dates and null values are empty\n"
    "  --field-mask           display texts instead of plain texts\n"
    "  --field-names-as-captions  captions are the field names\n"
    "  --blank-row            a blank row after the title row\n"
    "  --colors-fonts         html: write colours and fonts\n"
    "  --no-lines             html: a table without border\n"
    "  --style NAME           html: normal, pricelist, msmoney, brick, desert, eggplant,\n"
    "                         lilac, maple, marine, rose, spruce, wheat\n"
    "  --header LINE          a line before the data (repeatable)\n"
    "  --footer LINE          a line after the data (repeatable)\n"
    "  --oem                  texts in the OEM code page\n"
    "  --xsl                  xml: also write a stylesheet beside the package\n"
    "  --tags RECORDS,RECORD,ROW  xml: the tag names of the record layouts\n"
    "  --key-generator TEXT   the generator text (xml comment, progress caption)\n"
    "  --decimal-separator C  --thousand-separator C  --date-separator C\n"
    "  --time-separator C     the separators of number and date texts\n"
    "  --currency TEXT        the currency string\n"
    "  --boolean-true T       --boolean-false F   the texts of Boolean values\n"
    "  --progress             a progress line on standard error\n"
    "  --help                 this text\n"
    "  --version              the program's version\n"
    "Exit status: 0 done, 1 the export failed, 2 a usage error.\n";

enum TOptionScope { osAny, osXML, osHTML };

using OptionSpec = ToolOptionSpec<ExportOptions>;

VdExport::TVdEXMLTags TagsValue(const std::string& option, const std::string& value) {
  const std::vector<std::string> names = TagNamesOption(option, value);
  VdExport::TVdEXMLTags tags;
  tags.SetRecordsTag(names[0]);
  tags.SetRecordTag(names[1]);
  tags.SetRowTag(names[2]);
  return tags;
}

const std::vector<OptionSpec>& OptionSpecs() {
  using O = ExportOptions;
  using S = const std::string&;
  static const std::vector<OptionSpec> specs = {
      {"--database", true, osAny, [](O& o, S v) { o.Database = v; }},
      {"--sql", true, osAny, [](O& o, S v) { o.Sql = {v}; }},
      {"--format", true, osAny,
       [](O& o, S v) {
         o.Format =
             NamedOption<TExportFormatKind>("--format", v, {{"xml", efXML}, {"html", efHTML}});
       }},
      {"--layout", true, osXML,
       [](O& o, S v) {
         o.Layout = NamedOption<TVdEXMLFormat>("--layout", v,
                                               {{"clientdataset", VdExport::xmlClientDataset},
                                                {"ie", VdExport::xmlIE},
                                                {"iecompact", VdExport::xmlIECompact},
                                                {"element", VdExport::xmlElement},
                                                {"mssql", VdExport::xmlMSSQL}});
       }},
      {"--output", true, osAny,
       [](O& o, S v) {
         if (v.empty()) RefuseOption("--output", "\"\"", "needs a file name");
         o.Output = v == "-" ? std::string() : v;
       }},
      {"--no-title", false, osAny, [](O& o, S) { o.NoTitle = true; }},
      {"--rows-per-file", true, osXML,
       [](O& o, S v) { o.RowsPerFile = CountOption("--rows-per-file", v); }},
      {"--quote", true, osXML,
       [](O& o, S v) { o.Quote = SameText(v, "none") ? '\0' : CharOption("--quote", v); }},
      {"--blank-values", false, osXML, [](O& o, S) { o.BlankValues = true; }},
      {"--blank-if-zero", false, osAny, [](O& o, S) { o.BlankIfZero = true; }},
      {"--field-mask", false, osAny, [](O& o, S) { o.FieldMask = true; }},
      {"--field-names-as-captions", false, osAny, [](O& o, S) { o.FieldNamesAsCaptions = true; }},
      {"--blank-row", false, osAny, [](O& o, S) { o.BlankRow = true; }},
      {"--colors-fonts", false, osHTML, [](O& o, S) { o.ColorsFonts = true; }},
      {"--no-lines", false, osHTML, [](O& o, S) { o.NoLines = true; }},
      {"--style", true, osHTML,
       [](O& o, S v) {
         o.Style = NamedOption<TVdEStyle>("--style", v,
                                          {{"normal", VdExport::esNormal},
                                           {"pricelist", VdExport::esPriceList},
                                           {"msmoney", VdExport::esMSMoney},
                                           {"brick", VdExport::esBrick},
                                           {"desert", VdExport::esDesert},
                                           {"eggplant", VdExport::esEggplant},
                                           {"lilac", VdExport::esLilac},
                                           {"maple", VdExport::esMaple},
                                           {"marine", VdExport::esMarine},
                                           {"rose", VdExport::esRose},
                                           {"spruce", VdExport::esSpruce},
                                           {"wheat", VdExport::esWheat}});
       }},
      {"--header", true, osAny, [](O& o, S v) { o.Header.push_back(v); }},
      {"--footer", true, osAny, [](O& o, S v) { o.Footer.push_back(v); }},
      {"--oem", false, osAny, [](O& o, S) { o.Oem = true; }},
      {"--xsl", false, osXML, [](O& o, S) { o.Xsl = true; }},
      {"--tags", true, osXML, [](O& o, S v) { o.Tags = TagsValue("--tags", v); }},
      {"--key-generator", true, osAny, [](O& o, S v) { o.KeyGenerator = v; }},
      {"--decimal-separator", true, osAny,
       [](O& o, S v) { o.DecimalSeparator = CharOption("--decimal-separator", v); }},
      {"--thousand-separator", true, osAny,
       [](O& o, S v) { o.ThousandSeparator = CharOption("--thousand-separator", v); }},
      {"--date-separator", true, osAny,
       [](O& o, S v) { o.DateSeparator = CharOption("--date-separator", v); }},
      {"--time-separator", true, osAny,
       [](O& o, S v) { o.TimeSeparator = CharOption("--time-separator", v); }},
      {"--currency", true, osAny, [](O& o, S v) { o.Currency = v; }},
      {"--boolean-true", true, osAny, [](O& o, S v) { o.BooleanTrue = v; }},
      {"--boolean-false", true, osAny, [](O& o, S v) { o.BooleanFalse = v; }},
      {"--progress", false, osAny, [](O& o, S) { o.Progress = true; }},
      {"--help", false, osAny, [](O& o, S) { o.Help = true; }},
      {"--version", false, osAny, [](O& o, S) { o.Version = true; }},
  };
  return specs;
}

// Checks what only makes sense together, once every option is read.
void CheckCombination(const ExportOptions& options, const std::vector<const OptionSpec*>& given) {
  for (const OptionSpec* spec : given) {
    const TOptionScope wrong = options.Format == efXML ? osHTML : osXML;
    if (spec->Scope == wrong) {
      throw EUsageError(std::string(spec->Name) + " does not apply to --format " +
                        (options.Format == efXML ? "xml" : "html"));
    }
  }
  if (options.Xsl && options.Layout == VdExport::xmlMSSQL) {
    throw EUsageError("--xsl does not apply to --layout mssql, which has no stylesheet");
  }
  if (options.RowsPerFile > 0 && options.Output.empty()) {
    throw EUsageError("--rows-per-file needs --output: standard output is one package");
  }
  // The generator text goes into an XML comment, which "--" would end.
  if (options.Format == efXML && options.KeyGenerator &&
      (options.KeyGenerator->find("--") != std::string::npos ||
       (!options.KeyGenerator->empty() && options.KeyGenerator->back() == '-'))) {
    throw EUsageError("--key-generator must not hold \"--\" nor end in \"-\" for --format xml");
  }
}

}  // namespace

ExportOptions ParseExportOptions(const std::vector<std::string>& args) {
  ExportOptions options;
  CheckCombination(options, ReadOptions(args, OptionSpecs(), options));
  return options;
}

const char* ExportUsage() {
  return kUsage;
}

}  // namespace Vdei
