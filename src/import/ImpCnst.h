// The message table of the import library: every text the import
// components show or raise, by id, in one place so that the texts can be
// replaced as a whole. Ids run from 0 without gaps.
#pragma once

#include <string>
#include <string_view>

namespace VdImport {

constexpr int SModeAppend = 0;            // "Append: add records to the destination table"
constexpr int SModeUpdate = 1;            // "Update: update record in destination ..."
constexpr int SModeAppendUpdate = 2;      // "Append/Update: if record exists ..."
constexpr int SModeDelete = 3;            // "Delete: delete records in destination ..."
constexpr int SModeCopy = 4;              // "Copy: delete all records in destination ..."
constexpr int SImporting = 5;             // "Importing..."
constexpr int SPropertyNotSpecified = 6;  // "Property %s wasn't specified."
constexpr int SImportFailed = 7;          // "An error has occurred during the data import process."
constexpr int SProcessedCaption = 8;      // "Processed:"
constexpr int SErrorsCaption = 9;         // "Errors:"
constexpr int SAddedCaption = 10;         // "Added:"
constexpr int SUpdatedCaption = 11;       // "Updated:"
constexpr int SDeletedCaption = 12;       // "Deleted:"
constexpr int SCancelCaption = 13;        // "&Cancel"
constexpr int SImportCanceled = 14;       // "The data import process was canceled by the user."
constexpr int SImportCompleted = 15;      // "The data import process has completed successfully."
constexpr int SCantCreateProcessDialog = 16;    // "Can't create a process dialog"
constexpr int SImportCompletedWithErrors = 17;  // "... has completed with %d error(s)."
constexpr int SImportAlreadyRunning = 18;       // "An import is already running on this component."
constexpr int SDefaultFileFilter = 19;          // "All files (*.*)|*.*"

std::string_view ImportMessage(int id);
int ImportMessageCount();

// The text of id with its first "%s" (or "%d") replaced by argument.
std::string ImportMessage(int id, std::string_view argument);

}  // namespace VdImport
