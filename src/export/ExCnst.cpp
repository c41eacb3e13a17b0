#include "export/ExCnst.h"

#include <array>

namespace VdExport {

namespace {

struct MessageEntry {
  int Id;
  std::string_view Text;
};

constexpr MessageEntry kMessages[] = {
    {0, "Property %s is not specified."},
    {1, "Assigned DBGrid (%s) is not a supported type"},
    {2, "The %s file was successfully generated with exported data."},
    {3, "Error of data export."},
    {4, "Data export was successfully completed."},
    {5, "Could not create the %s file."},
    {6, "Data exported by VdExport generator"},
    {7, "File %s already exists. Do you want to replace it?"},
    {8, "Exporting..."},
    {9, "Can't create a process dialog"},
    {10, "Data Export Setup"},
    {11, "&OK"},
    {12, "&Cancel"},
    {13, "< &Back"},
    {14, "&Next >"},
    {15, "&Execute"},
    {16, "Data export was canceled by user."},
    {17, "Export Wizard"},
    {18, "Step %d of %d"},
    {19,
     "Wizard is incomplete. If you quit the Wizard now, the new export will not be created. Abort "
     "wizard?"},
    {20,
     "This wizard allows you to specify details of how to export your data. Which export format "
     "would you like?"},
    {21, "Specify custom options for data exporting"},
    {22, "Select the appropriate delimiter to separate your fields."},
    {23, "You can define custom properties for the exported columns."},
    {24, "You can add a custom header and/or footer."},
    {25, "That's all of the information the wizard needs to export your data."},
    {26, "Header"},
    {27, "Footer"},
    {28, " Table type "},
    {29, "Paradox file (*.db)"},
    {30, "DBase file (*.dbf)"},
    {31, "Text file (*.txt)"},
    {32, "HTML file (*.htm)"},
    {33, "Excel spreadsheet (*.xls)"},
    {34, "Excel file (*.xls)"},
    {35, "Word file (*.doc)"},
    {36, "SYLK (Symbolic Link) (*.slk)"},
    {37, "DIF (Data Interchange Format) (*.dif)"},
    {38, "Lotus 1-2-3 file (*.wk1)"},
    {39, "QuattroPro file (*.wq1)"},
    {40, "SQL script file (*.sql)"},
    {41, "XML file (*.xml)"},
    {42, "MS Access database (*.mdb)"},
    {43, "MS Windows clipboard"},
    {44, "Rich Text format (*.rtf)"},
    {45, "SPSS format (*.sav)"},
    {46, "Adobe Acrobat Document (*.pdf)"},
    {47, "LDAP DataInterchangeFormat (*.ldif)"},
    {50, "File Origin:"},
    {51, "Selected records only"},
    {52, "Include column titles"},
    {53, "Put field titles on the first row"},
    {54, "Blank if zero"},
    {55, "Action after exporting"},
    {56, "None"},
    {57, "open for file view"},
    {58, "e-mail with file attachment"},
    {59, " Field delimiter "},
    {60, "Tab"},
    {61, "Semicolon"},
    {62, "Comma"},
    {63, "Space"},
    {64, "Other symbol:"},
    {65, "Fixed column length"},
    {66, "&Delimited - Characters such as commas or tabs separate each field"},
    {67, "Fixed &Width - Fields are aligned in columns with spaces between each field"},
    {68, "Export to a File:"},
    {69, "Export to"},
    {70, "All files (*.*)|*.*"},
    {71, "Table name:"},
    {72, " Title "},
    {73, " Data "},
    {74, "Caption:"},
    {75, "Alignment:"},
    {76, "Background:"},
    {77, "Font:"},
    {78, "Width:"},
    {79, "characters"},
    {80, "left"},
    {81, "right"},
    {82, "center"},
    {83, "Specifications..."},
    {84, "Record separator:"},
    {85, "Text qualifier:"},
    {86, "none"},
    {87, "Records per each file"},
    {88, "You can select desired layout of exported data"},
    {89, " Layout "},
    {90, "columnar"},
    {91, "reversed columnar"},
    {92, "tabular form"},
    {93, "Color Style:"},
    {94, "Select &All"},
    {95, "&Unselect All"},
    {96, "&Revert selection"},
    {97, "add a blank row after field names"},
    {98, "Preview"},
    {99, " Dates, Times and Numbers "},
    {100, "Date &Order:"},
    {101, "MDY"},
    {102, "DMY"},
    {103, "YMD"},
    {104, "YDM"},
    {105, "DYM"},
    {106, "MYD"},
    {107, "Date De&limiter:"},
    {108, "Time Deli&miter:"},
    {109, "Four Digit &Years"},
    {110, "Leading &Zeros in Dates"},
    {111, "Decimal Sym&bol:"},
    {112, "&Thousand Separator:"},
    {113, "&Currency Symbol:"},
    {114, "Logical values:"},
    {115, "You can define any custom data formats."},
    {116, "Merge existing file"},
    {117, "File Format"},
    {118, "Data Origin"},
    {119, "Text Settings"},
    {120, "Data Formats"},
    {121, "Columns"},
    {122, "Header and Footer"},
    {123, "Layout"},
    {124, "File Name"},
    {125, "export data and colors/fonts"},
    {126, "export data only"},
    {127, "export the original value types"},
    {128, "Sheet name:"},
    {129, " Orientation "},
    {130, "Default"},
    {131, "Portrait"},
    {132, "Landscape"},
    {133, " Default &Margins "},
    {134, "Left"},
    {135, "Top"},
    {136, "Right"},
    {137, "Bottom"},
    {138, "Page Setup"},
    {139, "Customize settings for page"},
};

constexpr int kHighestId = 139;

// The texts indexed by id (empty where an id has no entry).
constexpr std::array<std::string_view, kHighestId + 1> MakeTextsById() {
  std::array<std::string_view, kHighestId + 1> texts{};
  for (const MessageEntry& entry : kMessages) texts[entry.Id] = entry.Text;
  return texts;
}

constexpr std::array<std::string_view, kHighestId + 1> kTextsById = MakeTextsById();

}  // namespace

std::string_view ExportMessage(int id) {
  if (id < 0 || id > kHighestId) return {};
  return kTextsById[id];
}

int ExportMessageCount() {
  return static_cast<int>(std::size(kMessages));
}

}  // namespace VdExport
