// TVdExportToXML: properties, cell texts, cells and rows.
#include "export/VdE2XML.h"

#include "core/DateTime.h"
#include "core/Properties.h"
#include "dataset/Field.h"
#include "export/VdETextUtils.h"
#include "export/VdEXMLText.h"

namespace VdExport {

using Vdei::TClassInfo;
using Vdei::TField;
using Vdei::Variant;

namespace {

bool IsDateTimeType(TFieldType type) {
  return type == Vdei::ftDate || type == Vdei::ftTime || type == Vdei::ftDateTime;
}

void AppendDate(std::string& out, int year, int month, int day) {
  AppendPadNumber(out, year, 4);
  AppendPadNumber(out, month, 2);
  AppendPadNumber(out, day, 2);
}

}  // namespace

const TClassInfo& TVdExportToXML::StaticClassInfo() {
  using C = TVdExportToXML;
  static const TClassInfo info = [] {
    Vdei::ClassInfoBuilder<C, TVdExportToCellFile> builder("TVdExportToXML");
    return PublishRowsPerFileAndLayout(builder)
        .Enum("Format", XMLFormatNames(), &C::Format, &C::SetFormat, Variant(int(xmlIE)))
        .Boolean("GenerateXSL", &C::GenerateXSL, &C::SetGenerateXSL, Variant(false))
        .Object<TVdEXMLTags>("XMLTags", &C::XMLTags, &C::SetXMLTags)
        .Char("QuoteTerm", &C::QuoteTerm, &C::SetQuoteTerm, Variant("\""))
        .Build();
  }();
  return info;
}

TVdExportToXML::TVdExportToXML(Vdei::TComponent* owner)
    : TVdExportToCellFile(owner), xmlTags_(std::make_unique<TVdEXMLTags>()) {
  SetTableType(ttXML);
  TVdEDataFormats& formats = *DataFormats();
  formats.SetDateOrder(doYMD);
  formats.SetFourDigitYear(true);
  formats.SetLeadingZerosInDate(true);
  formats.SetCustomDateTimeFormat("yyyymmddThhnnsszzz");
}

TVdExportToXML::~TVdExportToXML() = default;

void TVdExportToXML::Assign(const Vdei::TPersistent& source) {
  TVdExportToCellFile::Assign(source);
  const auto* other = dynamic_cast<const TVdExportToXML*>(&source);
  if (other == nullptr || other == this) return;
  format_ = other->format_;
  generateXSL_ = other->generateXSL_;
  xmlTags_->Assign(*other->xmlTags_);
  quoteTerm_ = other->quoteTerm_;
}

void TVdExportToXML::SetXMLTags(const TVdEXMLTags* value) {
  if (value != nullptr) xmlTags_->Assign(*value);
}

// --- cell texts ---------------------------------------------------------------

// Booleans and dates get texts of their own, so their base texts are never
// made. A Null Boolean is written like any Null (empty, so no attribute or
// element), never as False; under BlankIfZero a zero (or null) date stays
// empty instead of coming back as 18991230.
void TVdExportToXML::GetFieldText(TField* field, std::string& text) {
  text.clear();
  if (field == nullptr) return;
  const TFieldType type = field->DataType();
  if (type == Vdei::ftBoolean) {
    if (field->IsNull()) return;
    EscapeTextTo(field->AsBoolean() ? DataFormats()->BooleanTrue() : DataFormats()->BooleanFalse(),
                 text);
    return;
  }
  if (IsDateTimeType(type)) {
    if (!field->IsNull() && !(BlankIfZero() && field->AsDateTime() == 0)) {
      AppendDateTimeText(type, field->AsDateTime(), text);
    }
    return;
  }
  // The plain text is read in place unless an option changes it.
  std::string_view source;
  if (HasOption(soFieldMask) || BlankIfZero()) {
    TVdExportToCellFile::GetFieldText(field, baseText_);
    source = baseText_;
  } else {
    source = field->AsStringView(baseText_);
  }
  if (!field->IsBlobField()) {
    EscapeTextTo(source, text);
  } else if (!source.empty()) {
    // Base64 text in the package's form: bare in xmlClientDataset, else
    // between "[CDATA[" and "]]" (no markup of a CDATA section).
    if (format_ != xmlClientDataset) text = "[CDATA[";
    AppendBase64(text, source);
    if (format_ != xmlClientDataset) text += "]]";
  }
}

// Dates yyyymmdd, times hhnnss, date-times yyyymmdd and, unless the time
// of day is 0, "T" hh:nn:ss and the milliseconds without a separator.
void TVdExportToXML::AppendDateTimeText(TFieldType type, Vdei::TDateTime value, std::string& text) {
  int year, month, day, hour, minute, second, msec;
  Vdei::DecodeDateTime(value, year, month, day, hour, minute, second, msec);
  if (type == Vdei::ftTime) {
    AppendPadNumber(text, hour, 2);
    AppendPadNumber(text, minute, 2);
    AppendPadNumber(text, second, 2);
    return;
  }
  AppendDate(text, year, month, day);
  if (type == Vdei::ftDate || (hour | minute | second | msec) == 0) return;
  text += 'T';
  AppendPadNumber(text, hour, 2);
  text += ':';
  AppendPadNumber(text, minute, 2);
  text += ':';
  AppendPadNumber(text, second, 2);
  AppendPadNumber(text, msec, 3);
}

// --- cells --------------------------------------------------------------------

void TVdExportToXML::BuildFrame(CellFrame& frame, std::string_view name) const {
  const std::string tag = SanitizeXMLName(name);
  const std::string quote = quoteTerm_ != 0 ? std::string(1, quoteTerm_) : std::string();
  switch (format_) {
    case xmlIE:
      frame.Prefix = "\r\n      " + tag + "=" + quote;
      frame.Suffix = quote;
      break;
    case xmlIECompact:
    case xmlClientDataset:
      frame.Prefix = " " + tag + "=" + quote;
      frame.Suffix = quote;
      break;
    case xmlElement:
      frame.Prefix = "\r\n      <" + tag + ">" + quote;
      frame.Suffix = quote + "</" + tag + ">";
      break;
    case xmlMSSQL:
      frame.Prefix = "\r\n\t\t<" + tag + ">" + quote;
      frame.Suffix = quote + "</" + tag + ">";
      break;
  }
}

// A cell without a field in the data part is named after the visible
// column at col (the position the record loop counts), so that a hidden
// column before it does not lend it another column's name.
std::string_view TVdExportToXML::ColumnCellName(int col) const {
  const TVdEColumns& columns = *Columns();
  int visible = 0;
  for (int i = 0; i < columns.Count(); ++i) {
    const TVdEColumn& column = *columns[i];
    if (!column.Visible()) continue;
    if (visible++ == col) {
      return HasOption(soUseFieldNameAsCaption) ? column.Title()->Caption() : column.FieldName();
    }
  }
  return columns.Items(col)->FieldName();  // raises the collection's index error
}

// Frames of field cells are kept by the field's position in its dataset,
// so a run builds each one once.
const TVdExportToXML::CellFrame& TVdExportToXML::FrameOf(const TField* field, int row, int col) {
  if (field == nullptr) {
    BuildFrame(looseFrame_,
               InData() ? std::string(ColumnCellName(col)) : "LINE" + std::to_string(row));
    return looseFrame_;
  }
  const std::string& label = field->DisplayLabel();
  const int index = field->Index();
  CellFrame* frame = &looseFrame_;
  if (index >= 0) {
    if (static_cast<size_t>(index) >= frames_.size()) frames_.resize(index + 1);
    frame = &frames_[index];
    if (frame->Field == field && frame->Label == label) return *frame;
  }
  frame->Field = field;
  frame->Label = label;
  BuildFrame(*frame, label);
  return *frame;
}

void TVdExportToXML::WriteCell(TField* field, TCellType cellType, int row, int col,
                               std::string_view text, TAlignment alignment, TFont* font,
                               TColor background) {
  TVdExportToCellFile::WriteCell(field, cellType, row, col, text, alignment, font, background);
  if (text.empty() && !HasOption(soExportBlankValues)) return;
  const CellFrame& frame = FrameOf(field, row, col);
  WriteText(frame.Prefix);
  if (field != nullptr) {
    WriteText(text);  // escaped by GetFieldText
  } else {
    EscapeTextTo(text, scratch_);
    WriteText(scratch_);
  }
  WriteText(frame.Suffix);
}

// --- rows ---------------------------------------------------------------------

void TVdExportToXML::BuildRowFrames() {
  const std::string& record = xmlTags_->RecordTag();
  const std::string& row = xmlTags_->RowTag();
  switch (format_) {
    case xmlIE:
      rowStart_ = "  <" + record + ">\r\n    <" + row;
      rowEnd_ = "\r\n    />\r\n  </" + record + ">\r\n";
      break;
    case xmlIECompact:
      rowStart_ = "<" + record + "><" + row;
      rowEnd_ = "/></" + record + ">";
      break;
    case xmlClientDataset:
      rowStart_ = "<" + row;
      rowEnd_ = "/>";
      break;
    case xmlElement:
      rowStart_ = "<" + record + ">";
      rowEnd_ = "\r\n</" + record + ">\r\n";
      break;
    case xmlMSSQL:
      rowStart_ = "\t<" + record + ">";
      rowEnd_ = "\r\n\t</" + record + ">\r\n";
      break;
  }
}

void TVdExportToXML::BeginRow(bool isTitle) {
  TVdExportToCellFile::BeginRow(isTitle);
  WriteText(rowStart_);
}

void TVdExportToXML::EndRow(bool isTitle) {
  TVdExportToCellFile::EndRow(isTitle);
  WriteText(rowEnd_);
}

}  // namespace VdExport
