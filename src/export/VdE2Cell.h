// TVdExportToCellFile: the base of every export format that writes a table
// as rows of cells into a byte stream (the XML and HTML writers).
//
// ExportToStream(stream) runs a whole export into a caller's stream (which
// stays the caller's, positioned after the last byte written): BeginExport,
// the record loop, EndExport. Execute() exports into the component's own
// file (FileName), split into numbered files (VdExport001.XML, ...) every
// RowsPerFile accepted records. Either way an error ends the run as
// FailRun describes (Statistic.Result erFailed, the run's changes undone)
// after the output was closed, and then reaches the caller.
//
// The record loop calls the writer hooks below; a format overrides them to
// produce its markup, and every override first runs the base version. The
// base writes nothing itself except what WriteText is given. In one run:
//   StartOutputFile(FileName, 0): CreateOutputFile, BeginDocument,
//     SetDimensions / SetColumnWidth, WriteHeader (header lines), BeginTable,
//     the title row (and a blank row under soBlankRowAfterCaptions)
//   per accepted record: BeginRow(false), WriteCell per visible column,
//     EndRow(false) (in elTabularForm one row per column instead)
//   every RowsPerFile records, writing files: StartOutputFile(FileName, n),
//     which first runs CloseOutput on the current file
//   CloseOutput: WriteFooter (EndTable, footer lines, EndDocument); an own
//     file is closed. Also after an error or a cancel.
// With no records and ExportIfEmpty off nothing at all is written.
// Statistic.CurrentRow counts the rows ended (EndRow) in the current file,
// from the value WriteHeader gives it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/Properties.h"
#include "core/Stream.h"
#include "export/ExportDS.h"

namespace VdExport {

class TVdExportToCellFile : public TVdExportBaseComponent {
 public:
  VDEI_CLASS(TVdExportToCellFile)
  explicit TVdExportToCellFile(Vdei::TComponent* owner);
  ~TVdExportToCellFile() override;

  // With a stream: the whole run into it. Without one: only the record
  // loop into the component's own files, inside a run the caller opened
  // with BeginExport (raises Exception outside a run).
  void ExportToStream(Vdei::TStream* stream);
  // The record loop into the component's own files.
  void ExportData() override;
  // BeginExport, ExportData, EndExport.
  void Execute();

 protected:
  // --- writer hooks, in slot order ---
  virtual bool CanAppendToFile() { return false; }
  virtual bool HasTitleRow() { return true; }
  // Writing own files: creates the file (or, with soMergeData, an existing
  // file and CanAppendToFile, opens it at its end) as the output; a file
  // that cannot be created raises EFOpenError. Otherwise nothing.
  virtual void CreateOutputFile(const std::string& fileName);
  virtual void WriteHeader();
  virtual void WriteFooter();
  // Writes the bytes of s to the output, when there is one.
  virtual void WriteText(std::string_view s);
  virtual void BeginDocument();
  virtual void EndDocument() {}
  virtual void SetDimensions(int rowCount, int colCount) { (void)rowCount, (void)colCount; }
  virtual void SetColumnWidth(int col, int width) { (void)col, (void)width; }
  virtual void BeginTable() { inData_ = true; }
  virtual void EndTable() { inData_ = false; }
  virtual void BeginRow(bool isTitle) { (void)isTitle; }
  virtual void EndRow(bool isTitle);
  virtual void WriteCell(Vdei::TField* field, TCellType cellType, int row, int col,
                         std::string_view text, TAlignment alignment, TFont* font,
                         TColor background);
  virtual void StartOutputFile(const std::string& fileName, int fileNumber);
  virtual void CloseOutput();

  // --- state the formats read ---
  Vdei::TStream* OutputStream() const { return outputStream_; }
  // True only while ExportData runs.
  bool OwnsStream() const { return ownsStream_; }
  // 0, 1 or 2: the title row and the blank row under it.
  int TitleRows() const { return titleRows_; }
  // The engine's record count at the start of the loop.
  int RecordCount() const { return recordCount_; }
  // True from BeginTable to EndTable.
  bool InData() const { return inData_; }

 private:
  void RunRecordLoop(Vdei::TStream* stream);
  // The engine of the run; raises Exception when it was destroyed.
  TVdECustomDataEngine& EngineOfRun() const;
  void WriteRecords();
  void WriteRecord(TVdECustomDataEngine& engine, int& done, int& tabularRow, int& fileNumber);
  void WriteDataCell(TVdECustomDataEngine& engine, TVdEColumn& column, int done, int visibleIndex,
                     int& tabularRow);
  void TakeCellValue(TVdECustomDataEngine& engine, TVdEColumn& column, int done);
  void WriteTabularCells(const TVdEColumn& column, int& tabularRow);
  void WriteDimensions(int fileNumber);
  int RowsInFile(int fileNumber) const;
  void WriteTitleRows();
  void WriteLineCell(const std::string& line, int row, bool colored);
  // OnGetCellParams, then the OEM conversion under csASCII_MSDOS.
  void ApplyCellParams();
  void WritePreparedCell(int row, int col);
  void SetOutputStream(Vdei::TStream* stream);
  void ReleaseOwnedStream();
  void CloseAfterError() noexcept;

  Vdei::TStream* outputStream_ = nullptr;
  std::unique_ptr<Vdei::TFileStream> ownedStream_;
  Vdei::TFileStream* fileOutput_ = nullptr;  // the output when it is a file
  bool ownsStream_ = false;
  bool writingFiles_ = false;
  bool outputBegun_ = false;
  int titleRows_ = 0;
  int recordCount_ = 0;
  bool inData_ = false;
  int flushCounter_ = 0;

  Vdei::TField* cellField_ = nullptr;
  std::string cellText_;
  TCellType cellType_ = ctString;
  TAlignment cellAlignment_ = Vdei::taLeftJustify;
  std::unique_ptr<TFont> cellFont_;
  TColor cellBackground_ = Vdei::clWhite;
};

// fileName with number inserted before its extension: "00" in front for 1
// to 9, "0" for 10 to 99 (VdExport.XML, 1: VdExport001.XML; 100:
// VdExport100.XML). A number below 1 leaves fileName unchanged.
std::string NumberedFileName(std::string_view fileName, int number);

// Publishes RowsPerFile and Layout in the class information of a format
// that offers them (the HTML format does not):
//   ClassInfoBuilder<TMyFormat, TVdExportToCellFile> builder("TMyFormat");
//   PublishRowsPerFileAndLayout(builder).Boolean(...)...Build();
template <class C, class P>
Vdei::ClassInfoBuilder<C, P>& PublishRowsPerFileAndLayout(Vdei::ClassInfoBuilder<C, P>& builder) {
  return builder
      .Integer(
          "RowsPerFile", [](const C& c) { return c.RowsPerFile(); },
          [](C& c, int value) { c.SetRowsPerFile(value); }, Vdei::Variant(0))
      .Enum(
          "Layout", LayoutNames(), [](const C& c) { return c.Layout(); },
          [](C& c, TVdELayout value) { c.SetLayout(value); }, Vdei::Variant(int(elColumnar)));
}

}  // namespace VdExport
