// Mapping lines and the entry lists an import run builds from them.
//
// A mapping line is "field name=source expression": the name is the text
// before the first "=", the expression all text after it. Names compare
// trimmed and without regard to case; the expression is trimmed. A line
// with an empty expression (or without "=") is no mapping. When a name
// occurs on several lines the first line's expression serves them all.
//
// Per run the component turns Mappings and DatasetKeys into three lists:
//   mapping entries  one per usable line, in line order;
//   key entries      one per key name that has a usable line, in key order
//                    (made only in the key modes);
//   import entries   the mapping entries, then the key entries whose field
//                    has no mapping entry: what is evaluated per row.
// An entry holds the upper-case field name, the source text, the value of
// the current row (Null until evaluated) and a link: a mapping or key
// entry links to its import entry, an import entry to its dataset field
// (-1 when the dataset has none of that name).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Variant.h"

namespace Vdei {
class TDataSet;
class TStrings;
}  // namespace Vdei

namespace VdImport {

class TVdIColumns;

struct TVdIEntry {
  std::string FieldName;  // upper case
  std::string Source;
  Vdei::Variant Value = Vdei::Variant::Null();
  int Link = -1;
};

using TVdIEntries = std::vector<TVdIEntry>;

// The name part (trimmed) and the expression (trimmed) of one line.
struct TVdIMappingLine {
  std::string_view Name;
  std::string_view Source;
};
TVdIMappingLine SplitMappingLine(std::string_view line);

// With shortNames the sources are cut to their first 10 characters and
// trimmed again.
TVdIEntries MakeMappingEntries(const Vdei::TStrings& mappings, bool shortNames);
// Key entries for the names of datasetKeys (separated by ";", compared in
// upper case, not trimmed; empty names are passed over) that have a usable
// line; names without one are left out and listed in missing.
TVdIEntries MakeKeyEntries(const Vdei::TStrings& mappings, std::string_view datasetKeys,
                           bool shortNames, std::vector<std::string>* missing = nullptr);
// The import entries, each linked to the field of dataSet with its name.
TVdIEntries MakeImportEntries(const TVdIEntries& mappingEntries, const TVdIEntries& keyEntries,
                              const Vdei::TDataSet* dataSet);
// Links each entry to the first import entry with its field name.
void LinkToImportEntries(TVdIEntries& entries, const TVdIEntries& importEntries);

// Mapping lines pairing columns with the fields of dataSet: by field name
// (or display label with useDisplayNames), else, when no name matched at
// all, by position. The expression is the column's name, in square
// brackets when it would not read back as that one cell (see SourceOfName).
void MakeDefaultMappings(const TVdIColumns& columns, const Vdei::TDataSet& dataSet,
                         bool useDisplayNames, Vdei::TStrings& mappings);

// The expression that reads the cell of that name: the name itself when it
// is a plain identifier that names nothing else in the expression language
// (no built-in function, operator word, user function, LOOKUP or
// SUBSTITUTE); otherwise the name in square brackets (in double quotes when
// it holds a "]").
std::string SourceOfName(std::string_view name);

}  // namespace VdImport
