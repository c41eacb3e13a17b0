#include "import/VdI2HTML.h"

#include <algorithm>
#include <climits>

#include "core/Properties.h"
#include "import/VdIEntities.h"
#include "import/VdIMarkup.h"

namespace VdImport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::Variant;

const TClassInfo& TVdImportFromHTML::StaticClassInfo() {
  using C = TVdImportFromHTML;
  static const TClassInfo info =
      ClassInfoBuilder<C, TVdITextReader>("TVdImportFromHTML")
          .String(
              "SourceFileName", &C::SourceFileName,
              [](C& c, std::string v) { c.SetSourceFileName(std::move(v)); }, Variant(""))
          .Integer("RowFirst", &C::RowFirst, &C::SetRowFirst, Variant(1))
          .Integer("RowLast", &C::RowLast, &C::SetRowLast, Variant(INT_MAX))
          .Integer("RowFieldNames", &C::RowFieldNames, &C::SetRowFieldNames, Variant(1))
          .String(
              "HeaderRow", &C::HeaderRow, [](C& c, std::string v) { c.SetHeaderRow(std::move(v)); },
              Variant(""))
          .Build();
  return info;
}

TVdImportFromHTML::TVdImportFromHTML(Vdei::TComponent* owner) : TVdITextReader(owner) {
  SetImportKind(kImportKindHTML);
  SetDefaultSourceFileName();
}

void TVdImportFromHTML::OpenSource() {
  scan_ = ScanHTMLText(LoadSource(), RowFieldNames(), RowFirst(), RowLast());
  FreeSource();  // the rows are copies in the scan's arena
  if (!scan_.HeaderRow.empty()) headerRow_ = scan_.HeaderRow;
  nameIndex_.clear();
  // Keys first: a header that reads like another column's key loses.
  for (size_t i = 0; i < scan_.Columns.size(); ++i) nameIndex_.emplace(scan_.Columns[i].Key, i);
  for (size_t i = 0; i < scan_.Columns.size(); ++i) nameIndex_.emplace(scan_.Columns[i].Name, i);
}

void TVdImportFromHTML::CloseSource() {
  scan_ = HtmlScanResult();
  nameIndex_.clear();
  cells_.clear();
  FreeSource();
}

size_t TVdImportFromHTML::ColumnOf(std::string_view name) const {
  const auto found = nameIndex_.find(name);
  return found != nameIndex_.end() ? found->second : std::string_view::npos;
}

TVdICellLookup TVdImportFromHTML::GetCellValue(const std::string& name, Variant& value) {
  value = name;
  const size_t column = ColumnOf(name);
  if (column == std::string_view::npos) return clNoCell;
  if (RowIndex() >= scan_.StoredRows()) return clMissing;
  if (EnterRow()) GetHTMLCells(scan_.Row(RowIndex()), cells_);
  if (column >= cells_.size()) return clMissing;
  // Decoded once: a cell of nothing but blanks and &nbsp; (or an image,
  // which leaves no text) is empty, as IsEmptyHTMLCell has it.
  const std::string_view text = DecodeCell(cells_[column], scan_.Utf8);
  if (std::all_of(text.begin(), text.end(), IsBlank)) return clMissing;
  value = std::string(text);
  return clValue;
}

std::string TVdImportFromHTML::GetFileFilter() {
  return "HTML file (*.htm;*.html)|*.HTM;*.HTML|" + TVdImportBaseComponent::GetFileFilter();
}

std::vector<int> TVdImportFromHTML::LongestCells() const {
  const size_t columns = scan_.Columns.size();
  TVdICellWidths widths(columns, scan_.Utf8);
  std::vector<std::string_view> cells;
  for (size_t row = 0; row < scan_.StoredRows(); ++row) {
    GetHTMLCells(scan_.Row(row), cells);
    for (size_t i = 0; i < std::min(cells.size(), columns); ++i) {
      widths.Note(i, cells[i]);
    }
  }
  return widths.Widths();
}

void TVdImportFromHTML::AddSourceColumns() {
  const std::vector<int> longest = LongestCells();
  for (size_t i = 0; i < scan_.Columns.size(); ++i) {
    const HtmlColumn& source = scan_.Columns[i];
    TVdIColumn* column = Columns()->Add();
    column->SetFieldName(source.Name);
    column->SetCaption(source.Key);
    column->SetSize(longest[i]);
  }
}

}  // namespace VdImport
