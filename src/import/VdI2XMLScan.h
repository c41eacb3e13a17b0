// The parse step of the XML package reader: the whole package text in, its
// columns and rows out, without components.
//
// The scanner is no general XML parser: it knows the records, record and
// row tag names (compared without regard to case), takes values from the
// attributes of row elements or from child elements of record elements,
// and passes every other element over (only its tags are skipped, so rows
// inside wrappers are still found). Any blank ends a tag name; comments,
// CDATA sections and processing instructions never hide the tag after them.
//
// Rows are views into the scanned text, which the caller keeps alive:
// - an attribute row (a row tag with attributes) is the text after the tag
//   name up to and including its closing ">" (` Id="7" Name="x"/>`);
// - an element row (a record element, or a row element without attributes)
//   is the inner markup of the element, up to (not including) its own
//   closing tag. An empty element (`<ROW/>`, `<ROW></ROW>`) is an empty row.
// A record element whose first child is a row element is no row itself;
// its row element is.
//
// Cell lookups never copy or upper-case a row. A missing cell is reported
// as std::nullopt; values are raw (entities not decoded).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/VdIDataType.h"

namespace VdImport {

// The tag names of a records section; an empty name falls back to
// "ROWDATA", "RECORD" and "ROW".
struct XmlScanTags {
  std::string RecordsTag = "RECORDS";
  std::string RecordTag = "RECORD";
  std::string RowTag = "ROW";
};

// One column of a package. From a FIELD element: Name is its attrname,
// Caption its fieldname (entity-decoded) or else the attrname, DataType
// and Width from fieldtype, SUBTYPE and width, FromFieldList true. From
// the child elements of element rows: Name and Caption the element name,
// itString, width 0.
struct XmlField {
  std::string Name;
  std::string Caption;
  TVdIDataType DataType = itString;
  int Width = 0;
  bool FromFieldList = false;
};

struct XmlScanResult {
  std::vector<XmlField> Fields;
  std::vector<std::string_view> Rows;  // the stored rows (RowFirst..RowLast)
  // The XML declaration's encoding attribute; "encoding" when the
  // declaration has none, empty without a declaration.
  std::string Encoding;
  bool Utf8 = false;  // the declared encoding is UTF-8
  int RowCount = 0;   // every row seen, stored or not
};

// Scans text. Rows are counted from 1 over the whole text; those with
// rowFirst <= number <= rowLast are stored. tableName, when not empty,
// names record elements too. Field names come from the FIELDS list, else
// from the child elements of the element rows in order of first
// appearance (a Null value leaves its element out of a row).
XmlScanResult ScanXMLText(std::string_view text, const XmlScanTags& tags,
                          std::string_view tableName = {}, int rowFirst = 1,
                          int rowLast = 2147483647);

// The column type of a fieldtype text (case-sensitive): "i2", "i4", "ui2"
// itInteger; "boolean" itBoolean; "r8" itFloat; "date" itDate; "time"
// itTime; "datetime" itDateTime; "bin.hex" and "blob" itMemo when subType
// is "Text", else itBlob; anything else itString.
TVdIDataType XMLFieldType(std::string_view fieldType, std::string_view subType = {});

// The head of the next tag from pos ("<ROW", "</ROWDATA", "<?xml"): blanks
// and ">" skipped, then everything up to the next "<"; comments and CDATA
// sections are stepped over. The name ends at a blank, "/" (except right
// after "<") or ">"; pos is left on that character. Empty at the end.
std::string_view ReadNextTag(std::string_view text, size_t& pos);

// The rest of the tag from pos up to and including its ">" (quoted values
// may hold ">"); pos is left on the ">". Up to the end when none follows.
std::string_view ReadTagRest(std::string_view text, size_t& pos);

// The raw value of attribute or child element name in a row (attributes
// are walked in order, their quoted values skipped; element values lose one
// pair of surrounding double quotes). std::nullopt when the row has none.
std::optional<std::string_view> GetXMLValue(std::string_view name, std::string_view rowText);

// The cells of a row in their order, for reading all cells of a row with
// one walk: each name with its raw value.
struct XmlCell {
  std::string_view Name;
  std::string_view Value;
};
void SplitXMLRow(std::string_view rowText, std::vector<XmlCell>& cells);

// The value of name among cells; hint is the index to try first and is
// left after the cell found (so columns read in package order cost one
// comparison each).
std::optional<std::string_view> FindXMLCell(const std::vector<XmlCell>& cells,
                                            std::string_view name, size_t& hint);

}  // namespace VdImport
