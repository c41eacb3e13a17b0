// One run of vdei-import: reads the package or page, imports it into an
// in-memory table built as the client builds it (VdIStructure.h) and
// prints the table, or with --database into a table of a database
// (ImportTable.h).
//
// The input is read into memory once: a file by the reader (an HTML
// reader frees the text once scanned), standard input here, viewed in
// place by the reader. The reader starts from the client's settings
// and takes what the options change; it shows no window and no message.
// --map lines are applied on top of the client's mappings: a line replaces
// the mapping of its field, and a FIELD that is no column of the package
// becomes a text field at the end of the table; a mapped string field holds
// texts of any length (its value is computed, so no cell tells its size).
//
// Every rejected row (reading, evaluating or storing it failed) is counted
// and, with --rejects, written as one line: row number, field, value and
// message, separated by tabs, in UTF-8 with backslash, tab, LF and CR
// escaped as \\, \t, \n, \r (field and value empty when the error names
// none). The statistic goes to standard error at the end.
//
// A table import is one transaction: it maps the package's columns to the
// table's fields by name (--map lines replace or add mappings of fields of
// the table), and fails, keeping nothing, on the rejected row after
// --max-errors of them; its statistic adds updates, deletes and the time.
//
// RunImport returns 0 when every row was stored and 3 when some were
// rejected; a failed run raises Exception with the reason (the statistic
// is printed first, the table is not printed); an option that does not fit
// the input (--tags on a page) raises EUsageError.
#pragma once

#include <string_view>

#include "tools/ImportOptions.h"

namespace Vdei {

// XML or HTML by the name's extension (.xml; .htm, .html), else by the
// text's first element (html, head, body, table or an HTML doctype: HTML).
TImportFormatKind DetectImportFormat(std::string_view fileName, std::string_view text);

int RunImport(const ImportOptions& options);

}  // namespace Vdei
