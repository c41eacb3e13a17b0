// TVdImportFromHTML: the import component that reads the rows of the
// tables of an HTML page (the export's page, and tables as other tools
// write them) into a dataset.
//
// OpenSource reads the whole source (VdITextReader.h), scans it once with
// ScanHTMLText (VdI2HTMLScan.h) and frees it again (the scan keeps its own
// copy of the rows): every TR of every table is a row,
// counted across the tables; RowFieldNames names the header row (0 or
// less: none, the first row gives the number of columns); RowFirst and
// RowLast choose the rows stored (a header row in that range too, so the
// client reads from row 2). HeaderRow keeps the last header text read.
//
// Columns are positional: column n is keyed "Field" + n. GetCellValue
// resolves a key first and then a header name, both without regard to
// case; a row is split into cells once, when its first cell is asked for.
// An empty cell (no text, blanks, non-breaking spaces or only an image)
// and a cell beyond the row's end are clMissing; a name that is no column
// is clNoCell. Cell texts are converted from UTF-8 when the page declares
// that charset (ReplacedCharacters counts what the active code page
// lacks) and entity-decoded.
//
// CreateColumns: one itString column per key; FieldName the header cell's
// decoded name when there is a header row, else the key; Caption the key;
// Size the longest decoded cell of the column among the stored rows.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "core/StrUtils.h"
#include "import/VdI2HTMLScan.h"
#include "import/VdITextReader.h"

namespace VdImport {

class TVdImportFromHTML : public TVdITextReader {
 public:
  VDEI_CLASS(TVdImportFromHTML)
  explicit TVdImportFromHTML(Vdei::TComponent* owner);

  const std::string& HeaderRow() const { return headerRow_; }
  void SetHeaderRow(std::string value) { headerRow_ = std::move(value); }
  // The scan of the current run (from OpenSource to CloseSource).
  const HtmlScanResult& Scan() const { return scan_; }

  void OpenSource() override;
  void CloseSource() override;
  TVdICellLookup GetCellValue(const std::string& name, Vdei::Variant& value) override;
  std::string GetDefaultExt() override { return ".HTML"; }
  std::string GetFileFilter() override;

 protected:
  void AddSourceColumns() override;
  size_t StoredRows() const override { return scan_.StoredRows(); }

 private:
  // The column of a key ("Field3") or header name; npos when none.
  size_t ColumnOf(std::string_view name) const;
  std::vector<int> LongestCells() const;

  std::string headerRow_;
  HtmlScanResult scan_;
  std::unordered_map<std::string, size_t, Vdei::TextHash, Vdei::TextEqual> nameIndex_;
  std::vector<std::string_view> cells_;  // of the current row
};

}  // namespace VdImport
