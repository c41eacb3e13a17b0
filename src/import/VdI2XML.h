// TVdImportFromXML: the import component that reads an XML package (the
// export's five layouts, and packages of other tools that use the same
// record, row and FIELDS elements) into a dataset.
//
// OpenSource reads the whole source (VdITextReader.h) and scans it once
// with ScanXMLText (VdI2XMLScan.h) under XMLTags (an empty tag name falls
// back to "ROWDATA", "RECORD", "ROW"); RowFirst and RowLast choose the row
// elements that are stored. The target dataset's table name
// (GetDataSetTableName) names record elements only when the tags find no
// row at all, and never when it is one of the package's own element names
// (ROWDATA, ROW, FIELDS, METADATA...), so a table named like a tag cannot
// turn the package's structure into rows.
//
// GetCellValue answers a cell of the current row by name (without regard
// to case) in constant time for columns read in package order: the row is
// split once when its first cell is asked for. The text is converted from
// UTF-8 when the package declares it (ReplacedCharacters counts the
// characters the active code page lacks, over the cells read) and
// entity-decoded. A column the row has no value for is clMissing; a name
// that is no column clNoCell.
//
// CreateColumns makes one column per package field: FieldName the
// attrname (or element name), Caption the fieldname, DataType by
// fieldtype and SUBTYPE (memo and blob columns included), and Size the
// larger of the declared width and the longest decoded cell of a string
// column among the stored rows, so a string field built from it never cuts
// a value.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Object.h"
#include "core/StrUtils.h"
#include "core/XMLTagNames.h"
#include "import/VdI2XMLScan.h"
#include "import/VdITextReader.h"

namespace VdImport {

// The records section's element names of the XML reader
// (core/XMLTagNames.h).
class TVdIXMLTags : public Vdei::TXMLTagNames {
 public:
  VDEI_CLASS(TVdIXMLTags)
};

// What a FIELDS entry of the package says of its column.
struct TXMLFldAttr {
  TVdIDataType DataType = itString;
  int Width = 0;
};

class TVdImportFromXML : public TVdITextReader {
 public:
  VDEI_CLASS(TVdImportFromXML)
  explicit TVdImportFromXML(Vdei::TComponent* owner);

  TVdIXMLTags* XMLTags() const { return xmlTags_.get(); }
  void SetXMLTags(const TVdIXMLTags* value);  // copies
  // The encoding attribute of the last scanned package's XML declaration
  // ("encoding" when the declaration has none).
  const std::string& Encoding() const { return encoding_; }
  void SetEncoding(std::string value) { encoding_ = std::move(value); }

  // The scan of the current run (from OpenSource to CloseSource).
  const std::vector<XmlField>& FieldList() const { return scan_.Fields; }
  const std::vector<std::string_view>& RowList() const { return scan_.Rows; }
  // The FIELDS entry's attributes of field index; none for a field named
  // by an element of the rows.
  std::optional<TXMLFldAttr> FieldAttr(size_t index) const;
  void OpenSource() override;
  void CloseSource() override;
  TVdICellLookup GetCellValue(const std::string& name, Vdei::Variant& value) override;
  bool AllowsCData() override { return true; }
  std::string GetDefaultExt() override { return ".XML"; }
  std::string GetFileFilter() override;

 protected:
  void AddSourceColumns() override;
  size_t StoredRows() const override { return scan_.Rows.size(); }
  const char* RowText(size_t index) const override { return scan_.Rows[index].data(); }

 private:
  XmlScanResult Scan(std::string_view text) const;
  const std::vector<XmlCell>& CurrentCells();
  std::vector<int> LongestCells() const;

  std::unique_ptr<TVdIXMLTags> xmlTags_ = std::make_unique<TVdIXMLTags>();
  std::string encoding_;
  XmlScanResult scan_;
  // Field name -> index in FieldList.
  std::unordered_map<std::string, size_t, Vdei::TextHash, Vdei::TextEqual> columnIndex_;
  // The current row split into cells, and where the next lookup starts.
  std::vector<XmlCell> cells_;
  size_t hint_ = 0;
};

}  // namespace VdImport
