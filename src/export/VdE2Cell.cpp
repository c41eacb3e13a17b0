// TVdExportToCellFile: the output side (files, document frame, header and
// footer lines, title rows) and the base behaviour of the writer hooks.
#include "export/VdE2Cell.h"

#include <algorithm>
#include <filesystem>

#include "core/Exception.h"
#include "core/StrUtils.h"
#include "export/VdETextUtils.h"

namespace VdExport {

using Vdei::TClassInfo;
using Vdei::Variant;

const TClassInfo& TVdExportToCellFile::StaticClassInfo() {
  using C = TVdExportToCellFile;
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<C, TVdExportBaseComponent>("TVdExportToCellFile")
          .Enum("ActionAfterExport", ActionAfterExportNames(), &C::ActionAfterExport,
                &C::SetActionAfterExport, Variant(int(aeNone)))
          .String("FileName", &C::FileName,
                  [](C& c, std::string v) { c.SetFileName(std::move(v)); })
          .Boolean("AddTitle", &C::AddTitle, &C::SetAddTitle)
          .Enum("CharacterSet", CharacterSetNames(), &C::CharacterSet, &C::SetCharacterSet,
                Variant(int(csANSI_WINDOWS)))
          .Object<Vdei::TStrings>("Header", &C::Header, &C::SetHeader)
          .Object<Vdei::TStrings>("Footer", &C::Footer, &C::SetFooter)
          .Build();
  return info;
}

TVdExportToCellFile::TVdExportToCellFile(Vdei::TComponent* owner) : TVdExportBaseComponent(owner) {}

TVdExportToCellFile::~TVdExportToCellFile() = default;

std::string NumberedFileName(std::string_view fileName, int number) {
  if (number < 1) return std::string(fileName);
  const char* padding = number < 10 ? "00" : number < 100 ? "0" : "";
  return Vdei::ChangeFileExt(fileName,
                             padding + std::to_string(number) + Vdei::ExtractFileExt(fileName));
}

void TVdExportToCellFile::ExportData() {
  struct OwnStreamScope {
    bool& flag;
    explicit OwnStreamScope(bool& f) : flag(f) { flag = true; }
    ~OwnStreamScope() { flag = false; }
  } scope(ownsStream_);
  ExportToStream(nullptr);
}

void TVdExportToCellFile::Execute() {
  BeginExport();
  ExportData();
  EndExport();
}

// --- output -------------------------------------------------------------------

void TVdExportToCellFile::SetOutputStream(Vdei::TStream* stream) {
  outputStream_ = stream;
  fileOutput_ = dynamic_cast<Vdei::TFileStream*>(stream);
}

void TVdExportToCellFile::ReleaseOwnedStream() {
  if (!ownedStream_) return;
  if (outputStream_ == ownedStream_.get()) SetOutputStream(nullptr);
  ownedStream_.reset();
}

void TVdExportToCellFile::CreateOutputFile(const std::string& fileName) {
  if (!ownsStream_) return;
  ReleaseOwnedStream();
  std::error_code error;
  const bool append =
      HasOption(soMergeData) && std::filesystem::exists(fileName, error) && CanAppendToFile();
  ownedStream_ =
      std::make_unique<Vdei::TFileStream>(fileName, append ? Vdei::fmOpenWrite : Vdei::fmCreate);
  if (append) ownedStream_->Seek(0, Vdei::soEnd);
  SetOutputStream(ownedStream_.get());
}

void TVdExportToCellFile::WriteText(std::string_view s) {
  if (outputStream_ != nullptr)
    outputStream_->WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
}

void TVdExportToCellFile::BeginDocument() {
  flushCounter_ = 0;
  Statistic()->SetCurrentRow(0);
}

void TVdExportToCellFile::EndRow(bool) {
  ++flushCounter_;
  if (fileOutput_ != nullptr && flushCounter_ > 1024) {
    fileOutput_->FlushToDisk();
    flushCounter_ = 0;
  }
  Statistic()->SetCurrentRow(Statistic()->CurrentRow() + 1);
}

void TVdExportToCellFile::WriteCell(Vdei::TField*, TCellType, int, int col, std::string_view,
                                    TAlignment, TFont*, TColor) {
  Statistic()->SetCurrentColumn(col);
}

void TVdExportToCellFile::StartOutputFile(const std::string& fileName, int fileNumber) {
  if (fileNumber > 0) CloseOutput();
  std::string name = NumberedFileName(fileName, fileNumber);
  if (OnGetFileName) OnGetFileName(this, fileNumber, name);
  CreateOutputFile(name);
  outputBegun_ = true;
  BeginDocument();
  WriteDimensions(fileNumber);
  WriteHeader();
  BeginTable();
  WriteTitleRows();
}

void TVdExportToCellFile::CloseOutput() {
  if (outputStream_ != nullptr && outputBegun_) {
    outputBegun_ = false;
    WriteFooter();
  }
  outputBegun_ = false;
  ReleaseOwnedStream();
}

void TVdExportToCellFile::CloseAfterError() noexcept {
  try {
    CloseOutput();
  } catch (...) {
    // The loop's own error is the one the caller hears of.
  }
  ReleaseOwnedStream();
  cellFont_.reset();
}

// --- dimensions ---------------------------------------------------------------

int TVdExportToCellFile::RowsInFile(int fileNumber) const {
  const int rowsPerFile = RowsPerFile();
  if (!writingFiles_ || rowsPerFile <= 0) return titleRows_ + recordCount_;
  const int64_t left = static_cast<int64_t>(recordCount_) - int64_t{fileNumber} * rowsPerFile;
  return titleRows_ + static_cast<int>(std::clamp<int64_t>(left, 0, rowsPerFile));
}

void TVdExportToCellFile::WriteDimensions(int fileNumber) {
  const TVdEColumns& columns = *Columns();
  const int rows = RowsInFile(fileNumber);
  int visible = 0;
  int widest = 0;
  for (int i = 0; i < columns.Count(); ++i) {
    if (!columns[i]->Visible()) continue;
    ++visible;
    widest = std::max(widest, columns[i]->Width());
  }
  switch (Layout()) {
    case elColumnar: {
      SetDimensions(rows, visible + 1);
      int k = 0;
      for (int i = 0; i < columns.Count(); ++i) {
        if (columns[i]->Visible()) SetColumnWidth(k++, columns[i]->Width());
      }
      break;
    }
    case elReversedColumnar:
      SetDimensions(visible, rows + 1);
      for (int n = 0; n <= rows; ++n) SetColumnWidth(n, widest);
      break;
    case elTabularForm:
      SetDimensions(rows * visible, titleRows_ + 1);
      for (int n = 0; n <= titleRows_; ++n) SetColumnWidth(n, widest);
      break;
  }
}

// --- header, footer and title rows --------------------------------------------

void TVdExportToCellFile::ApplyCellParams() {
  if (OnGetCellParams) {
    OnGetCellParams(this, cellField_, cellText_, cellFont_.get(), cellAlignment_, cellBackground_,
                    cellType_);
  }
  if (CharacterSet() == csASCII_MSDOS) cellText_ = ToOemText(true, cellText_);
}

void TVdExportToCellFile::WritePreparedCell(int row, int col) {
  WriteCell(cellField_, cellType_, row, col, cellText_, cellAlignment_, cellFont_.get(),
            cellBackground_);
}

// One header or footer line as a row of one cell in column 1. The cell
// font keeps what it holds from the cell before.
void TVdExportToCellFile::WriteLineCell(const std::string& line, int row, bool colored) {
  BeginRow(true);
  cellField_ = nullptr;
  cellBackground_ = Vdei::clWhite;
  cellAlignment_ = Vdei::taLeftJustify;
  cellText_ = line;
  if (colored) GetRowColor(row, cellBackground_);
  cellType_ = ctString;
  ApplyCellParams();
  WritePreparedCell(row, 1);
  EndRow(true);
}

void TVdExportToCellFile::WriteHeader() {
  const Vdei::TStrings& header = *Header();
  int titleRows = 0;
  if (AddTitle() && Layout() != elTabularForm) {
    titleRows = HasOption(soBlankRowAfterCaptions) ? 2 : 1;
  }
  Statistic()->SetCurrentRow(titleRows + header.Count());
  for (int n = 0; n < header.Count(); ++n) WriteLineCell(header[n], n, true);
}

void TVdExportToCellFile::WriteFooter() {
  EndTable();
  const Vdei::TStrings& footer = *Footer();
  for (int n = 0; n < footer.Count(); ++n) {
    WriteLineCell(footer[n], n + Statistic()->CurrentRow(), false);
  }
  EndDocument();
}

void TVdExportToCellFile::WriteTitleRows() {
  if (!AddTitle() || !HasTitleRow() || Layout() == elTabularForm) return;
  const TVdEColumns& columns = *Columns();
  const bool reversed = Layout() == elReversedColumnar;
  const int headerCount = Header()->Count();
  auto writeAt = [reversed](int k, int line, auto&& write) {
    reversed ? write(k, line) : write(line, k);
  };

  BeginRow(true);
  int k = 0;
  for (int i = 0; i < columns.Count(); ++i) {
    const TVdEColumn& column = *columns[i];
    if (!column.Visible()) continue;
    const TVdEColumnTitle& title = *column.Title();
    cellField_ = nullptr;
    cellBackground_ = title.Color();
    cellFont_->Assign(*title.Font());
    cellAlignment_ = title.Alignment();
    cellText_ = HasOption(soUseFieldNameAsCaption) ? column.FieldName() : title.Caption();
    GetRowColor(headerCount + 1, cellBackground_);
    cellType_ = ctString;
    ApplyCellParams();
    writeAt(k++, headerCount, [this](int row, int col) { WritePreparedCell(row, col); });
  }
  EndRow(true);

  if (!HasOption(soBlankRowAfterCaptions)) return;
  BeginRow(true);
  GetRowColor(headerCount + 2, cellBackground_);
  const int line = Statistic()->CurrentRow() - 1;
  for (int n = 0; n < VisibleColumnCount(); ++n) {
    writeAt(n, line, [this](int row, int col) {
      WriteCell(nullptr, ctBlank, row, col, {}, Vdei::taCenter, nullptr, cellBackground_);
    });
  }
  EndRow(true);
}

}  // namespace VdExport
