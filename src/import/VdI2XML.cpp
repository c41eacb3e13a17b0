#include "import/VdI2XML.h"

#include <algorithm>
#include <climits>

#include "core/Properties.h"
#include "import/VdIEntities.h"
#include "import/VdIUtils.h"

namespace VdImport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::Variant;

namespace {

// Element names of the package layouts themselves: a table so named would
// make the package's structure a row.
bool IsPackageElementName(std::string_view name, const XmlScanTags& tags) {
  for (std::string_view own : {"ROWDATA", "RECORDS", "RECORD", "ROW", "FIELDS", "FIELD", "METADATA",
                               "DATAPACKET", "PARAMS", "VFPDATA"}) {
    if (Vdei::SameText(name, own)) return true;
  }
  return Vdei::SameText(name, tags.RecordsTag) || Vdei::SameText(name, tags.RecordTag) ||
         Vdei::SameText(name, tags.RowTag);
}

}  // namespace

// --- TVdIXMLTags -------------------------------------------------------------

const TClassInfo& TVdIXMLTags::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TVdIXMLTags, Vdei::TXMLTagNames>("TVdIXMLTags").Build();
  return info;
}

// --- TVdImportFromXML --------------------------------------------------------

const TClassInfo& TVdImportFromXML::StaticClassInfo() {
  using C = TVdImportFromXML;
  static const TClassInfo info =
      ClassInfoBuilder<C, TVdITextReader>("TVdImportFromXML")
          .Object<TVdIXMLTags>("XMLTags", &C::XMLTags, &C::SetXMLTags)
          .String(
              "SourceFileName", &C::SourceFileName,
              [](C& c, std::string v) { c.SetSourceFileName(std::move(v)); }, Variant(""))
          .Integer("RowFirst", &C::RowFirst, &C::SetRowFirst, Variant(1))
          .Integer("RowLast", &C::RowLast, &C::SetRowLast, Variant(INT_MAX))
          .String(
              "Encoding", &C::Encoding, [](C& c, std::string v) { c.SetEncoding(std::move(v)); },
              Variant(""))
          .Build();
  return info;
}

TVdImportFromXML::TVdImportFromXML(Vdei::TComponent* owner) : TVdITextReader(owner) {
  SetImportKind(kImportKindXML);
  SetDefaultSourceFileName();
}

void TVdImportFromXML::SetXMLTags(const TVdIXMLTags* value) {
  if (value != nullptr) xmlTags_->Assign(*value);
}

std::optional<TXMLFldAttr> TVdImportFromXML::FieldAttr(size_t index) const {
  const XmlField& field = scan_.Fields.at(index);
  if (!field.FromFieldList) return std::nullopt;
  return TXMLFldAttr{field.DataType, field.Width};
}

XmlScanResult TVdImportFromXML::Scan(std::string_view text) const {
  const XmlScanTags tags{xmlTags_->RecordsTag(), xmlTags_->RecordTag(), xmlTags_->RowTag()};
  XmlScanResult scan = ScanXMLText(text, tags, {}, RowFirst(), RowLast());
  if (scan.RowCount > 0) return scan;
  // Records named after the target's table, as some tools write them.
  const std::string table = Vdei::UpperCase(GetDataSetTableName(DataSet()));
  if (table.empty() || IsPackageElementName(table, tags)) return scan;
  return ScanXMLText(text, tags, table, RowFirst(), RowLast());
}

void TVdImportFromXML::OpenSource() {
  scan_ = Scan(LoadSource());
  encoding_ = scan_.Encoding;
  columnIndex_.clear();
  for (size_t i = 0; i < scan_.Fields.size(); ++i) columnIndex_.emplace(scan_.Fields[i].Name, i);
}

void TVdImportFromXML::CloseSource() {
  scan_ = XmlScanResult();
  columnIndex_.clear();
  cells_.clear();
  FreeSource();
}

const std::vector<XmlCell>& TVdImportFromXML::CurrentCells() {
  if (EnterRow()) {
    SplitXMLRow(scan_.Rows[RowIndex()], cells_);
    hint_ = 0;
  }
  return cells_;
}

TVdICellLookup TVdImportFromXML::GetCellValue(const std::string& name, Variant& value) {
  if (RowIndex() < scan_.Rows.size()) {
    if (const auto raw = FindXMLCell(CurrentCells(), name, hint_)) {
      value = std::string(DecodeCell(*raw, scan_.Utf8));
      return clValue;
    }
  }
  value = name;
  return columnIndex_.contains(name) ? clMissing : clNoCell;
}

std::string TVdImportFromXML::GetFileFilter() {
  return "XML file (*.xml)|*.XML|" + TVdImportBaseComponent::GetFileFilter();
}

std::vector<int> TVdImportFromXML::LongestCells() const {
  const std::vector<XmlField>& fields = scan_.Fields;
  TVdICellWidths widths(fields.size(), scan_.Utf8);
  std::vector<XmlCell> cells;
  for (std::string_view row : scan_.Rows) {
    SplitXMLRow(row, cells);
    size_t column = 0;
    for (const XmlCell& cell : cells) {
      // Cells come in column order; a row that skips a Null cell costs a
      // search.
      if (column >= fields.size() || !Vdei::SameText(fields[column].Name, cell.Name)) {
        const auto found = columnIndex_.find(cell.Name);
        column = found != columnIndex_.end() ? found->second : fields.size();
      }
      if (column < fields.size() && fields[column].DataType == itString) {
        widths.Note(column, cell.Value);
      }
      ++column;
    }
  }
  return widths.Widths();
}

void TVdImportFromXML::AddSourceColumns() {
  const std::vector<int> longest = LongestCells();
  for (size_t i = 0; i < scan_.Fields.size(); ++i) {
    const XmlField& field = scan_.Fields[i];
    TVdIColumn* column = Columns()->Add();
    column->SetFieldName(field.Name);
    column->SetCaption(field.Caption);
    column->SetDataType(field.DataType);
    column->SetSize(std::max(field.Width, longest[i]));
  }
}

}  // namespace VdImport
