// TablePrinter: prints the records of a dataset, from its first record, as
// text for programs (tsv, csv) or for a person (table).
//
// - tsv: PostgreSQL's COPY text form. A header line of field names, then
//   one line per record; fields separated by a tab, lines ended by LF. Null
//   is \N; in texts a backslash, tab, LF and CR are written \\, \t, \n, \r.
// - csv: RFC 4180 (lines ended by CR LF; a field holding a comma, quote, CR
//   or LF is quoted, quotes doubled) with the same value texts; Null is an
//   empty field and an empty text "".
// - table: aligned columns of the fields' display texts under a header and
//   a rule; numbers right-aligned; Null empty; line breaks and tabs shown
//   as blanks.
// Value texts of tsv and csv: integers in decimal; floats and currency the
// shortest text that reads back to the same double; Booleans true/false;
// dates YYYY-MM-DD, times HH:MM:SS, date-times YYYY-MM-DD HH:MM:SS, a time
// with .mmm when its milliseconds are not 0; BCD its exact decimal text;
// blob, graphic and byte contents \x and lower-case hexadecimal. Texts are
// converted from the active code page to UTF-8.
//
// The dataset must be open; its cursor is left after the last record.
#pragma once

#include <ostream>

#include "dataset/DataSet.h"

namespace Vdei {

enum TPrintFormat { pfTsv, pfCsv, pfTable };

struct TablePrintOptions {
  TPrintFormat Format = pfTsv;
  bool Header = true;  // the line of field names first
};

void PrintTable(TDataSet& dataSet, std::ostream& out, const TablePrintOptions& options = {});

}  // namespace Vdei
