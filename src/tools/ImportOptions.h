// The command line of vdei-import: what each option asks for, read into
// ImportOptions, and the usage text.
//
// ParseImportOptions reads the arguments after the program name. Options
// take their value from the next argument; --map may be given many times,
// every other option once (the last one given counts). Options left out
// keep the client's reader settings (VdIStructure.h SetClientReaderSettings).
// A value that does not fit its option, an unknown option, a missing value
// and --tags with --format html raise EUsageError with a one-line message.
//
// With --database and --table the rows go into that table instead of
// being printed: the options of a table import (--mode, --keys, --create,
// --dry-run, --max-errors) need --database, the printed forms (--print,
// --no-header) do not go with it, and --database needs --table.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dataset/TablePrinter.h"
#include "import/VdIBase.h"
#include "import/VdIDataFormats.h"
#include "tools/ToolOptions.h"

namespace Vdei {

enum TImportFormatKind { ifXML, ifHTML };

struct ImportOptions {
  std::string Input;                        // empty: standard input
  std::optional<TImportFormatKind> Format;  // none: by extension, else first tag
  std::vector<std::string> Maps;            // FIELD=EXPRESSION
  std::string LoadWhen;
  std::string SkipIf;
  bool KeepEmptyRows = false;
  VdImport::TVdITrimSpaces Trim = VdImport::tsNoTrim;
  std::optional<int> RowFirst;
  std::optional<int> RowLast;
  std::vector<std::string> Tags;  // RECORDS, RECORD, ROW; empty: the client's
  std::optional<VdImport::TVdIDateOrder> DateOrder;
  std::optional<char> DateSeparator;
  std::optional<char> TimeSeparator;
  std::optional<char> DecimalSeparator;
  std::optional<char> ThousandSeparator;
  std::optional<std::string> Currency;
  std::optional<std::string> BooleanTrue;
  std::optional<std::string> BooleanFalse;
  std::optional<std::string> DateTimeFormat;
  bool Oem = false;
  TPrintFormat Print = pfTsv;
  bool NoHeader = false;
  std::string Rejects;  // empty: none written
  bool Progress = false;
  // A table import (empty Database: the in-memory table, printed).
  std::string Database;  // alias, SQLite path, sqlite:PATH or postgresql:// URL
  std::string Table;
  VdImport::TImportMode Mode = VdImport::imAppend;
  std::string Keys;  // K1;K2; empty: the table's primary key
  bool Create = false;
  bool DryRun = false;
  int MaxErrors = 0;  // rejected rows skipped before the run fails
  bool Help = false;
  bool Version = false;
};

ImportOptions ParseImportOptions(const std::vector<std::string>& args);

// The usage text, one line per option, ending in a line break.
const char* ImportUsage();

}  // namespace Vdei
