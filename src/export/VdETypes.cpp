#include "export/VdETypes.h"

#include <array>

namespace VdExport {

namespace {

constexpr int kFirstDescriptionId = 29;

// Indexed by TExportTableType.
constexpr std::array<const char*, ttLDIF + 1> kExtensions = {
    ".DB",  ".DBF", ".TXT", ".HTM", ".XLS", ".XLS", ".DOC", ".SLK", ".DIF", ".WK1",
    ".WQ1", ".SQL", ".XML", ".MDB", "",     ".RTF", ".SAV", ".PDF", ".LDIF"};

bool IsTableType(TExportTableType type) {
  return type >= ttParadox && type <= ttLDIF;
}

}  // namespace

std::string TableTypeExtension(TExportTableType type) {
  return IsTableType(type) ? kExtensions[type] : "";
}

int TableTypeDescriptionId(TExportTableType type) {
  return IsTableType(type) ? kFirstDescriptionId + type : -1;
}

const std::vector<std::string>& OptionNames() {
  static const std::vector<std::string> names = {
      "soFieldMask",  "soShowMessage",     "soBlankRowAfterCaptions", "soMergeData",
      "soWaitCursor", "soDisableControls", "soUseFieldNameAsCaption", "soColLines",
      "soRowLines",   "soColorsFonts",     "soExportBlankValues"};
  return names;
}

const std::vector<std::string>& ColumnSourceNames() {
  static const std::vector<std::string> names = {"csDBGrid", "csDataSet", "csDataEngine"};
  return names;
}

const std::vector<std::string>& ActionAfterExportNames() {
  static const std::vector<std::string> names = {"aeNone", "aeOpenView", "aeEMail"};
  return names;
}

const std::vector<std::string>& CharacterSetNames() {
  static const std::vector<std::string> names = {"csANSI_WINDOWS", "csASCII_MSDOS"};
  return names;
}

const std::vector<std::string>& LayoutNames() {
  static const std::vector<std::string> names = {"elColumnar", "elReversedColumnar",
                                                 "elTabularForm"};
  return names;
}

}  // namespace VdExport
