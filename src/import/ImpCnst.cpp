#include "import/ImpCnst.h"

#include <array>

#include "core/StrUtils.h"

namespace VdImport {

namespace {

constexpr std::array<std::string_view, 20> kMessages = {
    "Append: add records to the destination table",
    "Update: update record in destination with matching record from source",
    "Append/Update: if record exists in destination, update it. Otherwise, add it",
    "Delete: delete records in destination that match records in source",
    "Copy: delete all records in destination, repopulate from the source",
    "Importing...",
    "Property %s wasn't specified.",
    "An error has occurred during the data import process.",
    "Processed:",
    "Errors:",
    "Added:",
    "Updated:",
    "Deleted:",
    "&Cancel",
    "The data import process was canceled by the user.",
    "The data import process has completed successfully.",
    "Can't create a process dialog",
    "The data import process has completed with %d error(s).",
    "An import is already running on this component.",
    "All files (*.*)|*.*",
};

}  // namespace

std::string_view ImportMessage(int id) {
  if (id < 0 || id >= ImportMessageCount()) return {};
  return kMessages[id];
}

int ImportMessageCount() {
  return static_cast<int>(kMessages.size());
}

std::string ImportMessage(int id, std::string_view argument) {
  std::string text(ImportMessage(id));
  const size_t number = text.find("%d");
  if (number != std::string::npos) return text.replace(number, 2, argument);
  return Vdei::FormatMessageText(text, argument);
}

}  // namespace VdImport
