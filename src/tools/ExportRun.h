// One run of vdei-export: opens the query, sets up the export component of
// the format with the server's stored settings (SrvSettings.h) and what
// the options change, and exports. The query is opened forward-only
// (Query.h): its rows are read on a second thread while the document is
// written, a few batches at a time, and the document is the same bytes as
// from a query read whole.
//
// Without Output the document goes to standard output
// as it is written (ExportToStream over a buffered stream); so it goes to
// an Output that exists and is neither a file nor a directory (a device,
// a pipe), without an extension added. An Output that names a directory
// is refused with EFOpenError. With any other Output the component
// writes its own files (Execute): FileName is Output, so numbered files,
// the stylesheet and images land beside it. Each document file is written
// under a temporary name in its folder and renamed to its own name only
// when the whole export succeeded; after a failure the temporary files, a
// stylesheet and images that the run created are removed, so no partial
// file is left under a final name.
//
// Texts that go into the document (header and footer lines, the generator
// text, currency and Boolean words) are converted from UTF-8 to the ANSI
// code page. A failure raises the Exception that caused it. The report
// says how many characters the code page could not hold (each became "?").
#pragma once

#include <cstdint>

#include "tools/ExportOptions.h"

namespace Vdei {

struct TExportReport {
  uint64_t ReplacedCharacters = 0;
};

TExportReport RunExport(const ExportOptions& options);

}  // namespace Vdei
