// The settings that VDEI_SRV stores with its two export components, and
// what its start changes in them: no progress window, no message box and
// no wait cursor per request. The server and vdei-export both apply them,
// so that the packages they write for the same query are the same bytes.
//
// Stored for both: DataFormats with the separators "/" ":" "," "." and the
// currency "$", four-digit years and leading zeros, "True" / "False", no
// regional reload; KeyGenerator "VdExport 4.63"; no selected-record,
// blank-if-zero or right-to-left; no user columns (each run fills them from
// the dataset); AddTitle; the ANSI character set; Options the default less
// soShowMessage and soWaitCursor (so soDisableControls, soColLines and
// soRowLines). XML: FileName "VdExport.XML", layout xmlClientDataset, no
// stylesheet, the default tags, DateOrder doYMD and the custom date-time
// format "yyyymmddThhnnsszzz". HTML: FileName "VdExport.HTM", texts
// escaped, style esNormal with black colours, and the stored page pattern
// (ServerHTMLPatternItem of the active ANSI code page).
//
// The data set and the column source are the caller's to set.
#pragma once

#include <string>

namespace VdExport {
class TVdExportToHTML;
class TVdExportToXML;
}  // namespace VdExport

namespace Vdei {

// The server's page pattern: one item, lines joined by CR LF, no CR LF
// after the last, declaring charset=windows-<codePage>.
std::string ServerHTMLPatternItem(int codePage);

void ApplyServerSettings(VdExport::TVdExportToXML& xml);
void ApplyServerSettings(VdExport::TVdExportToHTML& html);

}  // namespace Vdei
