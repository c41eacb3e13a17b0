// The message table of the export library: every text the export
// components show or raise, by id. Ids 0 to 47 and 50 to 139 have a text
// (138 entries); 48, 49 and every other id have none.
//
// Components read their texts through GetLanguageString, which lets an
// OnGetLanguageString handler replace any of them; ExportMessage is the
// table itself, for the few places that take a text directly (the data
// engines' id 0, the progress window's failure message 9).
#pragma once

#include <string>
#include <string_view>

#include "core/StrUtils.h"

namespace VdExport {

// Ids of the texts the operations of this library use.
constexpr int SPropertyNotSpecified = 0;     // "Property %s is not specified."
constexpr int SNotSupportedGrid = 1;         // "Assigned DBGrid (%s) is not a supported type"
constexpr int SFileGenerated = 2;            // "The %s file was successfully generated ..."
constexpr int SExportFailed = 3;             // "Error of data export."
constexpr int SHTMLDocumentTitle = 6;        // "Data exported by VdExport generator"
constexpr int SExporting = 8;                // "Exporting..."
constexpr int SCantCreateProcessDialog = 9;  // "Can't create a process dialog"
constexpr int SCancelCaption = 12;           // "&Cancel"
constexpr int SExportCanceled = 16;          // "Data export was canceled by user."

// The text of id; empty for an id without an entry.
std::string_view ExportMessage(int id);

// The number of entries (138).
int ExportMessageCount();

// Message texts are formatted with Vdei::FormatMessageText (core/StrUtils.h).
using Vdei::FormatMessageText;

}  // namespace VdExport
