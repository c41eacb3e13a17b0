#include "export/VdE2HTML.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "core/CodePage.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/Field.h"
#include "export/ExCnst.h"
#include "export/VdEBitmap.h"
#include "export/VdEHTMLText.h"
#include "export/VdETextUtils.h"

namespace VdExport {

using Vdei::TClassInfo;
using Vdei::TField;
using Vdei::Variant;

namespace {

constexpr std::string_view kCRLF = "\r\n";
constexpr std::string_view kBodyEnd = "</BODY>";

std::string DefaultPatternItem(int codePage, std::string_view generator, std::string_view title) {
  std::string item = "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\"\r\n";
  item += "content=\"text/html; charset=windows-" + std::to_string(codePage) + "\">\r\n";
  item += "<meta name=\"GENERATOR\" content=\"";
  item += generator;
  item += "\">\r\n<title>";
  item += title;
  item += "</title>\r\n</head>\r\n\r\n<body bgcolor=\"#FFFFFF\">\r\n</body>\r\n</html>";
  return item;
}

bool IsGraphicValue(const TField* field) {
  return field != nullptr && field->IsBlobField() && field->DataType() == Vdei::ftGraphic &&
         !field->IsNull();
}

void AppendNumber(std::string& out, int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

}  // namespace

const TClassInfo& TVdExportToHTML::StaticClassInfo() {
  using C = TVdExportToHTML;
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<C, TVdExportToCellFile>("TVdExportToHTML")
          .Object<Vdei::TStrings>("HTMLPattern", &C::HTMLPattern, &C::SetHTMLPattern)
          .Boolean("HeaderFooterWithHTML", &C::HeaderFooterWithHTML, &C::SetHeaderFooterWithHTML,
                   Variant(false))
          .Object<TVdExportStyle>("ExportStyle", &C::ExportStyle, &C::SetExportStyle)
          .Build();
  return info;
}

TVdExportToHTML::TVdExportToHTML(Vdei::TComponent* owner)
    : TVdExportToCellFile(owner), htmlPattern_(std::make_unique<Vdei::TStringList>()) {
  SetAddTitle(true);
  SetTableType(ttHTML);
  htmlPattern_->Add(DefaultPatternItem(Vdei::ActiveAnsiCodePage(), KeyGenerator(),
                                       GetLanguageString(SHTMLDocumentTitle)));
}

TVdExportToHTML::~TVdExportToHTML() = default;

void TVdExportToHTML::Assign(const Vdei::TPersistent& source) {
  TVdExportToCellFile::Assign(source);
  const auto* other = dynamic_cast<const TVdExportToHTML*>(&source);
  if (other == nullptr || other == this) return;
  htmlPattern_->Assign(*other->htmlPattern_);
  headerFooterWithHTML_ = other->headerFooterWithHTML_;
  OnGetExtHTMLTableParamsEvent = other->OnGetExtHTMLTableParamsEvent;
  OnGetExtHTMLCellParamsEvent = other->OnGetExtHTMLCellParamsEvent;
}

void TVdExportToHTML::SetHTMLPattern(const Vdei::TStrings* value) {
  if (value != nullptr) htmlPattern_->Assign(*value);
}

// --- the page -----------------------------------------------------------------

void TVdExportToHTML::WritePattern(std::string_view text) {
  if (OutputStream() != nullptr) {
    OutputStream()->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  }
}

void TVdExportToHTML::StartOutputFile(const std::string& fileName, int fileNumber) {
  if (fileNumber < 1) imageCounter_ = 1;
  TVdExportToCellFile::StartOutputFile(fileName, fileNumber);
}

void TVdExportToHTML::BeginDocument() {
  TVdExportToCellFile::BeginDocument();
  const Vdei::TStrings& pattern = *htmlPattern_;
  for (patternLine_ = 0; patternLine_ < pattern.Count(); ++patternLine_) {
    const std::string_view item = pattern[patternLine_];
    const size_t bodyPos = Vdei::PosText(kBodyEnd, item);
    WritePattern(item.substr(0, bodyPos));
    WritePattern(kCRLF);
    if (bodyPos != std::string_view::npos) break;
  }
}

void TVdExportToHTML::EndDocument() {
  TVdExportToCellFile::EndDocument();
  const Vdei::TStrings& pattern = *htmlPattern_;
  for (int i = patternLine_; i < pattern.Count(); ++i) {
    std::string_view item = pattern[i];
    if (i == patternLine_) {
      const size_t bodyPos = Vdei::PosText(kBodyEnd, item);
      if (bodyPos != std::string_view::npos) item.remove_prefix(bodyPos);
    }
    WritePattern(item);
    WritePattern(kCRLF);
  }
}

// --- the table ----------------------------------------------------------------

void TVdExportToHTML::SetDimensions(int rowCount, int colCount) {
  TVdExportToCellFile::SetDimensions(rowCount, colCount);
  widthAttributes_.assign(static_cast<size_t>(std::max(colCount, 0)), std::string());
}

void TVdExportToHTML::SetColumnWidth(int col, int width) {
  TVdExportToCellFile::SetColumnWidth(col, width);
  if (col < 0 || col >= static_cast<int>(widthAttributes_.size())) return;
  std::string& attribute = widthAttributes_[static_cast<size_t>(col)];
  attribute.clear();
  if (width <= 0) return;
  attribute = "width=\"";
  AppendNumber(attribute, int64_t{16} * width);
  attribute += '"';
}

void TVdExportToHTML::BeginTable() {
  TVdExportToCellFile::BeginTable();
  visibleColumns_.clear();
  const TVdEColumns& columns = *Columns();
  for (int i = 0; i < columns.Count(); ++i) {
    if (columns[i]->Visible()) visibleColumns_.push_back(columns[i]);
  }
  std::string attributes =
      HasOption(soColLines) || HasOption(soRowLines) ? "border=\"1\"" : "border=\"0\"";
  if (OnGetExtHTMLTableParamsEvent) OnGetExtHTMLTableParamsEvent(this, attributes);
  WriteText("<table " + attributes + ">\r\n");
}

void TVdExportToHTML::EndTable() {
  TVdExportToCellFile::EndTable();
  WriteText("</table>\r\n\r\n");
}

void TVdExportToHTML::BeginRow(bool isTitle) {
  TVdExportToCellFile::BeginRow(isTitle);
  if (InData()) WriteText("<tr>\r\n");
}

void TVdExportToHTML::EndRow(bool isTitle) {
  TVdExportToCellFile::EndRow(isTitle);
  if (InData()) WriteText("</tr>\r\n");
}

// --- cells --------------------------------------------------------------------

TVdEColumn* TVdExportToHTML::CellColumn(int col) const {
  if (!InData() || col < 0 || col >= static_cast<int>(visibleColumns_.size())) return nullptr;
  return visibleColumns_[static_cast<size_t>(col)];
}

void TVdExportToHTML::BuildAttributes(int col, TColor background) {
  attributes_.clear();
  if (background != -1 && HasOption(soColorsFonts)) {
    AppendHTMLColor(attributes_, background, true);
    attributes_ += ' ';
  }
  if (InData() && col >= 0 && col < static_cast<int>(widthAttributes_.size())) {
    attributes_ += widthAttributes_[static_cast<size_t>(col)];
  }
  if (OnGetExtHTMLCellParamsEvent) OnGetExtHTMLCellParamsEvent(this, CellColumn(col), attributes_);
}

void TVdExportToHTML::AppendBody(std::string_view text, const TFont* font) {
  if (headerFooterWithHTML_) {
    line_ += text;
    return;
  }
  const bool markup = font != nullptr && HasOption(soColorsFonts);
  if (markup) AppendFontStart(line_, *font);
  if (text.empty()) {
    line_ += "&nbsp";
  } else {
    EscapeTextTo(text, escaped_);
    line_ += escaped_;
  }
  if (markup) AppendFontEnd(line_, *font);
}

void TVdExportToHTML::AppendImage(std::string_view bitmap, int width, int height) {
  const std::string name = MakeImageFileName(FileName(), imageCounter_, bitmap);
  {
    Vdei::TFileStream file(name, Vdei::fmCreate);
    file.WriteBuffer(bitmap.data(), static_cast<int64_t>(bitmap.size()));
    file.Flush();
  }
  ++imageCounter_;
  line_ += "<img src=\"";
  EscapeTextTo(name, escaped_);
  line_ += escaped_;
  line_ += "\" width=\"";
  AppendNumber(line_, width);
  line_ += "\" height=\"";
  AppendNumber(line_, height);
  line_ += "\">";
}

void TVdExportToHTML::WriteCell(TField* field, TCellType cellType, int row, int col,
                                std::string_view text, TAlignment alignment, TFont* font,
                                TColor background) {
  TVdExportToCellFile::WriteCell(field, cellType, row, col, text, alignment, font, background);
  std::string_view bitmap;
  std::optional<TVdEBitmapSize> bitmapSize;
  if (InData() && IsGraphicValue(field)) {
    bitmap = field->AsStringView(pictureBuffer_);
    bitmapSize = ReadBitmapSize(bitmap);
    if (!bitmapSize) text = {};  // bytes that are no picture are not written as text
  }
  BuildAttributes(col, background);

  line_.clear();
  if (!InData() && headerFooterWithHTML_) {
    line_ += text;
  } else {
    line_ += InData() ? "  <td " : "<p ";
    line_ += attributes_;
    line_ += AlignmentAttribute(alignment);
    line_ += '>';
    if (bitmapSize) {
      AppendImage(bitmap, bitmapSize->Width, bitmapSize->Height);
    } else {
      AppendBody(text, font);
    }
    line_ += InData() ? "</td>" : "</p>";
  }
  line_ += kCRLF;
  WriteText(line_);
}

}  // namespace VdExport
