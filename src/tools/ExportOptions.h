// The command line of vdei-export: what each option asks for, read into
// ExportOptions, and the usage text.
//
// ParseExportOptions reads the arguments after the program name. Options
// take their value from the next argument ("--sql TEXT"); --header and
// --footer may be given many times, every other option once (the last one
// given counts). A value that does not fit its option, an unknown option,
// a missing value, and an option of the other format (--layout with
// --format html, --style with --format xml, ...) raise EUsageError with a
// one-line message. Texts stay as given (UTF-8); the caller converts what
// goes into the package.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/VdEStyle.h"
#include "export/VdEXMLTags.h"
#include "tools/ToolOptions.h"

namespace Vdei {

enum TExportFormatKind { efXML, efHTML };

struct ExportOptions {
  std::string Database = "DBDEMOS";
  // The server's query, line by line.
  std::vector<std::string> Sql = {"SELECT *", "FROM CUSTOMER", "ORDER BY COMPANY"};
  TExportFormatKind Format = efXML;
  VdExport::TVdEXMLFormat Layout = VdExport::xmlClientDataset;
  std::string Output;  // empty ("-" on the command line): standard output
  bool NoTitle = false;
  int RowsPerFile = 0;
  std::optional<char> Quote;  // '\0': no quoting
  bool BlankValues = false;
  bool BlankIfZero = false;
  bool FieldMask = false;
  bool FieldNamesAsCaptions = false;
  bool BlankRow = false;
  bool ColorsFonts = false;
  bool NoLines = false;
  std::optional<VdExport::TVdEStyle> Style;
  std::vector<std::string> Header;
  std::vector<std::string> Footer;
  bool Oem = false;
  bool Xsl = false;
  std::optional<VdExport::TVdEXMLTags> Tags;
  std::optional<std::string> KeyGenerator;
  std::optional<char> DecimalSeparator;
  std::optional<char> ThousandSeparator;
  std::optional<char> DateSeparator;
  std::optional<char> TimeSeparator;
  std::optional<std::string> Currency;
  std::optional<std::string> BooleanTrue;
  std::optional<std::string> BooleanFalse;
  bool Progress = false;
  bool Help = false;
  bool Version = false;
};

ExportOptions ParseExportOptions(const std::vector<std::string>& args);

// The usage text, one line per option, ending in a line break.
const char* ExportUsage();

}  // namespace Vdei
