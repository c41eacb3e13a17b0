// The enumerations of the export components: options, sources, actions
// after an export, character sets, layouts and table types, with the
// ordinals in the order given. Also what belongs to each table type (its
// default file extension and the id of its description in the message
// table) and the value names that the published properties use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VdExport {

enum TVdOption {
  soFieldMask,              // texts are display texts, Booleans the DataFormats words
  soShowMessage,            // message box at the end of a run and on mail errors
  soBlankRowAfterCaptions,  // a blank row under the title row
  soMergeData,              // the file writer appends where the format allows it
  soWaitCursor,             // hourglass during the run
  soDisableControls,        // the source's controls are detached during the run
  soUseFieldNameAsCaption,  // titles are field names instead of title captions
  soColLines,
  soRowLines,
  soColorsFonts,
  soExportBlankValues
};

// A set of TVdOption: bit n is option n.
using TVdOptions = uint16_t;
constexpr TVdOptions OptionBit(TVdOption option) {
  return static_cast<TVdOptions>(1u << option);
}
constexpr bool HasOption(TVdOptions options, TVdOption option) {
  return (options & OptionBit(option)) != 0;
}
// soShowMessage, soWaitCursor, soDisableControls, soColLines, soRowLines.
constexpr TVdOptions kDefaultOptions = 434;

enum TColumnSource { csDBGrid, csDataSet, csDataEngine };
enum TActionAfterExport { aeNone, aeOpenView, aeEMail };
enum TCharacterSet { csANSI_WINDOWS, csASCII_MSDOS };
enum TVdELayout { elColumnar, elReversedColumnar, elTabularForm };

enum TExportTableType {
  ttParadox,
  ttDBase,
  ttText,
  ttHTML,
  ttExcelSheet,
  ttExcel,
  ttWord,
  ttSYLK,
  ttDIF,
  ttLotus,
  ttQuattroPro,
  ttSQL,
  ttXML,
  ttAccess,
  ttClipboard,
  ttRTF,
  ttSPSS,
  ttPDF,
  ttLDIF
};

// ".DB", ".DBF", ..., ".XML"; empty for ttClipboard.
std::string TableTypeExtension(TExportTableType type);
// The message id of the type's description (29 for ttParadox ... 47).
int TableTypeDescriptionId(TExportTableType type);

// Value names by ordinal, for the published properties.
const std::vector<std::string>& OptionNames();
const std::vector<std::string>& ColumnSourceNames();
const std::vector<std::string>& ActionAfterExportNames();
const std::vector<std::string>& CharacterSetNames();
const std::vector<std::string>& LayoutNames();

}  // namespace VdExport
