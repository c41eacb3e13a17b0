// TVdExportToCellFile: the record loop and the pipeline of one data cell.
#include "core/Exception.h"
#include "dataset/Field.h"
#include "export/ExCnst.h"
#include "export/VdE2Cell.h"

namespace VdExport {

using Vdei::Variant;

void TVdExportToCellFile::ExportToStream(Vdei::TStream* stream) {
  if (stream != nullptr) BeginExport();
  if (!InRun()) {
    throw Vdei::Exception("Export into the component's own files needs BeginExport first");
  }
  try {
    RunRecordLoop(stream);
  } catch (...) {
    FailRun();
    throw;
  }
  if (stream != nullptr) EndExport();
}

void TVdExportToCellFile::RunRecordLoop(Vdei::TStream* stream) {
  SetOutputStream(stream);
  writingFiles_ = stream == nullptr;
  outputBegun_ = false;
  titleRows_ = 0;
  cellFont_ = std::make_unique<TFont>();
  try {
    TVdECustomDataEngine& engine = EngineOfRun();
    engine.SavePosition();
    engine.MoveFirst();
    recordCount_ = engine.GetRecordCount();
    // Only a forward-only dataset does not know its count before its end.
    if (recordCount_ < 0 && Layout() == elReversedColumnar)
      throw Vdei::Exception(
          "A reversed columnar layout needs the record count, which a forward-only dataset does "
          "not know before its end");
    if (recordCount_ != 0 || ExportIfEmpty()) {
      if (AddTitle() && HasTitleRow()) titleRows_ = HasOption(soBlankRowAfterCaptions) ? 2 : 1;
      Statistic()->SetTotalCount(Header()->Count() + titleRows_ + recordCount_ + Footer()->Count());
      StartOutputFile(FileName(), 0);
      WriteRecords();
    }
    EngineOfRun().RestorePosition();
  } catch (...) {
    CloseAfterError();
    throw;
  }
  CloseOutput();
  cellFont_.reset();
}

TVdECustomDataEngine& TVdExportToCellFile::EngineOfRun() const {
  if (ActiveEngine() == nullptr)
    throw Vdei::Exception("The data engine of the export was destroyed");
  return *ActiveEngine();
}

// The engine is looked up again after each event, whose handler may have
// destroyed it.
void TVdExportToCellFile::WriteRecords() {
  const std::string status = AnimatedStatus() ? GetLanguageString(SExporting) : std::string();
  int tabularRow = Statistic()->CurrentRow();
  int done = 0;  // records accepted so far
  int fileNumber = 0;
  while (!Canceled() && !EngineOfRun().IsEof()) {
    if (AnimatedStatus()) UpdateProgress(status, done);
    bool accept = true;
    if (OnBeforeRecord) OnBeforeRecord(this, accept);
    if (accept) WriteRecord(EngineOfRun(), done, tabularRow, fileNumber);
    EngineOfRun().MoveNext();
    ++tabularRow;
    bool abort = false;
    if (OnAfterRecord) OnAfterRecord(this, abort);
    if (abort) SetCanceled(true);
  }
}

void TVdExportToCellFile::WriteRecord(TVdECustomDataEngine& engine, int& done, int& tabularRow,
                                      int& fileNumber) {
  if (OnProgress) {
    bool abort = false;
    OnProgress(this, done, engine.GetRecordCount(), abort);
    if (abort) SetCanceled(true);  // this record is still written
  }
  if (RowsPerFile() > 0 && done > 0 && done % RowsPerFile() == 0) {
    ++fileNumber;
    if (writingFiles_) StartOutputFile(FileName(), fileNumber);
  }
  ++done;
  const bool tabular = Layout() == elTabularForm;
  if (!tabular) BeginRow(false);
  const TVdEColumns& columns = *Columns();
  int visibleIndex = 0;
  for (int i = 0; i < columns.Count(); ++i) {
    TVdEColumn& column = *columns[i];
    if (column.Visible()) WriteDataCell(engine, column, done, visibleIndex++, tabularRow);
  }
  if (!tabular) {
    EndRow(false);
  } else if (HasOption(soBlankRowAfterCaptions) &&
             (TableType() == ttText || TableType() == ttClipboard)) {
    BeginRow(false);
    EndRow(false);
    ++tabularRow;
  }
}

void TVdExportToCellFile::TakeCellValue(TVdECustomDataEngine& engine, TVdEColumn& column,
                                        int done) {
  cellField_ = nullptr;
  if (column.ColumnKind() == ckField && engine.IsFieldRow(done - 1)) {
    cellField_ = engine.FindColumnField(column);
  }
  if (cellField_ != nullptr) {
    GetFieldText(cellField_, cellText_);
    cellType_ = GetCellType(cellField_, BlankIfZero());
  } else if (column.ColumnKind() == ckConstant) {
    cellText_ = column.FieldName();
    cellType_ = column.DataType();
  } else {
    // A column without a field of the source: the engine's value.
    cellText_ = engine.GetValue(column).AsString();
    cellType_ = MapCellType(engine.GetColumnFieldType(column), Variant(cellText_), BlankIfZero());
  }
}

void TVdExportToCellFile::WriteDataCell(TVdECustomDataEngine& engine, TVdEColumn& column, int done,
                                        int visibleIndex, int& tabularRow) {
  cellBackground_ = column.Color();
  *cellFont_ = *column.Font();
  cellAlignment_ = column.Alignment();
  TakeCellValue(engine, column, done);
  GetRowColor(Header()->Count() + titleRows_ + done, cellBackground_);
  ApplyCellParams();
  switch (Layout()) {
    case elColumnar: {
      const int row = Statistic()->CurrentRow();
      engine.GetCellParams(row - GetTitleRowOffset() + 1, visibleIndex, cellBackground_, *cellFont_,
                           cellAlignment_);
      WritePreparedCell(row, visibleIndex);
      break;
    }
    case elReversedColumnar:
      WritePreparedCell(visibleIndex, Statistic()->CurrentRow());
      break;
    case elTabularForm:
      WriteTabularCells(column, tabularRow);
      break;
  }
}

// One output row for one value: the caption (and the blank cell under
// soBlankRowAfterCaptions) with AddTitle, then the value.
void TVdExportToCellFile::WriteTabularCells(const TVdEColumn& column, int& tabularRow) {
  BeginRow(false);
  const TVdEColumnTitle& title = *column.Title();
  if (AddTitle()) {
    const std::string& caption =
        HasOption(soUseFieldNameAsCaption) ? column.FieldName() : title.Caption();
    WriteCell(nullptr, ctString, tabularRow, 0, caption, title.Alignment(), title.Font(),
              title.Color());
    if (HasOption(soBlankRowAfterCaptions)) {
      WriteCell(nullptr, ctBlank, tabularRow, 1, {}, title.Alignment(), title.Font(),
                title.Color());
    }
  }
  WritePreparedCell(tabularRow, titleRows_);
  EndRow(false);
  ++tabularRow;
}

}  // namespace VdExport
