// The two base classes of every export component.
//
// TVdECustomBaseComponent holds the settings of an export (options, data
// formats, style, statistic, e-mail settings, header and footer lines), the
// message texts (GetLanguageString), the conversion of a field to the text
// and type of a cell, the row colouring, and SendMail.
//
// TVdExportBaseComponent adds the source (a grid, a dataset or a data
// engine), the column list and the frame of a run: BeginExport creates the
// data engine, fills the columns when the user defined none, puts the data
// formats into the process regional settings, sets the wait cursor,
// detaches the source's controls and shows the progress window; EndExport
// sets Statistic.Result, shows the final message, runs the action after the
// export and undoes all of it. A run that fails after BeginExport changed
// anything is undone in the same way (FailRun), with Result erFailed, and
// the error goes on to the caller. The record loop between the two belongs
// to the cell-file writer (VdE2Cell.h).
//
// Owned sub-objects are created with the component and freed with it;
// setting one copies the given object's settings. DBGrid, DataSet and
// DataEngine are references, cleared when the referenced component goes.
// Everything runs on the user-interface thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/Component.h"
#include "core/Strings.h"
#include "export/VdEDataFormats.h"
#include "export/VdEEngWW.h"
#include "export/VdEEngine.h"
#include "export/VdEPageSetup.h"
#include "export/VdESendTo.h"
#include "export/VdEStatistic.h"
#include "export/VdEStyle.h"
#include "export/VdETypes.h"

namespace Vdei {
class TDataSet;
class TField;
}  // namespace Vdei

namespace VdExport {

class TfrmVdEProcess;

using TVdEGetLanguageString = std::function<void(TObject* Sender, int id, std::string& Text)>;
using TVdEBeforeRecord = std::function<void(TObject* Sender, bool& Accept)>;
using TVdEAfterRecord = std::function<void(TObject* Sender, bool& Abort)>;
using TVdEGetFileName =
    std::function<void(TObject* Sender, int CurFileNumber, std::string& AFileName)>;
using TVdEProgress = std::function<void(TObject* Sender, int CurValue, int MaxValue, bool& Abort)>;
using TVdEGetCellParams =
    std::function<void(TObject* Sender, Vdei::TField* Field, std::string& Text, TFont* AFont,
                       TAlignment& Alignment, TColor& Background, TCellType& CellType)>;
using TVdEGetNextSelected = std::function<void(TObject* Sender, int Index, void*& Selected)>;
using TVdEGetSelectedCount = std::function<void(TObject* Sender, int& Count)>;
using TVdESpecificationEvent = std::function<void(TObject* Sender, std::string& AFileName)>;

class TVdECustomBaseComponent : public Vdei::TComponent {
 public:
  VDEI_CLASS(TVdECustomBaseComponent)
  explicit TVdECustomBaseComponent(Vdei::TComponent* owner);
  ~TVdECustomBaseComponent() override;

  // From another export component: its settings and events (see the
  // class comment of each level); any other source as TComponent does.
  void Assign(const Vdei::TPersistent& source) override;

  // --- published ---
  bool AnimatedStatus() const { return animatedStatus_; }
  void SetAnimatedStatus(bool value) { animatedStatus_ = value; }
  TVdEDataFormats* DataFormats() const { return dataFormats_.get(); }
  void SetDataFormats(const TVdEDataFormats* value);  // copies
  const std::string& KeyGenerator() const { return keyGenerator_; }
  void SetKeyGenerator(std::string value) { keyGenerator_ = std::move(value); }
  bool SelectedRecord() const { return selectedRecord_; }
  void SetSelectedRecord(bool value) { selectedRecord_ = value; }
  bool BlankIfZero() const { return blankIfZero_; }
  void SetBlankIfZero(bool value) { blankIfZero_ = value; }
  TVdOptions Options() const { return options_; }
  void SetOptions(TVdOptions value) { options_ = value; }
  bool HasOption(TVdOption option) const { return VdExport::HasOption(options_, option); }
  bool RightToLeft() const { return rightToLeft_; }
  void SetRightToLeft(bool value) { rightToLeft_ = value; }
  TVdESendTo* SendTo() const { return sendTo_.get(); }
  void SetSendTo(const TVdESendTo* value);  // copies
  bool ExportIfEmpty() const { return exportIfEmpty_; }
  void SetExportIfEmpty(bool value) { exportIfEmpty_ = value; }
  TVdEStatistic* Statistic() const { return statistic_.get(); }
  void SetStatistic(const TVdEStatistic* value);  // copies

  // --- held here, published by the cell-file writer and the formats ---
  bool AddTitle() const { return addTitle_; }
  void SetAddTitle(bool value) { addTitle_ = value; }
  TCharacterSet CharacterSet() const { return characterSet_; }
  void SetCharacterSet(TCharacterSet value) { characterSet_ = value; }
  Vdei::TStrings* Header() const { return header_.get(); }
  void SetHeader(const Vdei::TStrings* value);  // copies the lines
  Vdei::TStrings* Footer() const { return footer_.get(); }
  void SetFooter(const Vdei::TStrings* value);  // copies the lines
  int RowsPerFile() const { return rowsPerFile_; }
  void SetRowsPerFile(int value) { rowsPerFile_ = value; }
  TVdExportStyle* ExportStyle() const { return exportStyle_.get(); }
  void SetExportStyle(const TVdExportStyle* value);  // copies
  TVdEPageSetup* PageSetup() const { return pageSetup_.get(); }
  void SetPageSetup(const TVdEPageSetup* value);  // copies

  TExportTableType TableType() const { return tableType_; }
  virtual void SetTableType(TExportTableType value) { tableType_ = value; }
  // Kept for components of other systems; nothing here calls it.
  virtual int ReservedQuery() { return 0; }
  // Writes the export into the component's own output; nothing here.
  virtual void ExportData() {}
  // The text of field for a cell (empty without a field): the plain text,
  // or with soFieldMask the display text and, for a Boolean, the
  // DataFormats word; with BlankIfZero empty for a zero number or date
  // and for a null value of another type. text's buffer is reused.
  virtual void GetFieldText(Vdei::TField* field, std::string& text);
  virtual std::string GetDefaultExtension() const { return ".EXP"; }

  // The message text of id (empty for an id without one) after
  // OnGetLanguageString had its say.
  std::string GetLanguageString(int id);
  // ctString without a field, else MapCellType of its type and value.
  TCellType GetCellType(Vdei::TField* field, bool blankIfZero) const;
  // Unless the style is esNormal: OddColor for an odd row, else EvenColor.
  void GetRowColor(int row, TColor& color) const;
  // Header lines + 1, + 2 with AddTitle, + 3 with AddTitle and
  // soBlankRowAfterCaptions.
  int GetTitleRowOffset() const;
  // Mails fileName as an attachment (text empty) or text followed by the
  // body (no attachment) through the platform's mail. Returns -1 when no
  // mail program is there, else the mail program's result; a non-zero
  // result is shown with soShowMessage.
  int SendMail(const std::string& fileName, const std::string& text);

  TVdEGetLanguageString OnGetLanguageString;
  TVdEBeforeRecord OnBeforeRecord;
  TVdEAfterRecord OnAfterRecord;
  TVdENotifyEvent OnBeforeExecute;
  TVdENotifyEvent OnAfterExecute;
  TVdEGetFileName OnGetFileName;
  TVdEProgress OnProgress;
  TVdEGetCellParams OnGetCellParams;

 private:
  std::unique_ptr<Vdei::TStringList> header_;
  std::unique_ptr<Vdei::TStringList> footer_;
  std::unique_ptr<TVdESendTo> sendTo_;
  std::unique_ptr<TVdExportStyle> exportStyle_;
  std::unique_ptr<TVdEPageSetup> pageSetup_;
  std::unique_ptr<TVdEStatistic> statistic_;
  std::unique_ptr<TVdEDataFormats> dataFormats_;
  bool animatedStatus_ = true;
  std::string keyGenerator_ = "VdExport 4.64";
  bool selectedRecord_ = false;
  bool blankIfZero_ = false;
  TVdOptions options_ = kDefaultOptions;
  bool rightToLeft_ = false;
  bool exportIfEmpty_ = true;
  bool addTitle_ = false;
  TCharacterSet characterSet_ = csANSI_WINDOWS;
  int rowsPerFile_ = 0;
  TExportTableType tableType_ = ttParadox;
};

class TVdExportBaseComponent : public TVdECustomBaseComponent {
 public:
  VDEI_CLASS(TVdExportBaseComponent)
  explicit TVdExportBaseComponent(Vdei::TComponent* owner);
  ~TVdExportBaseComponent() override;

  void Assign(const Vdei::TPersistent& source) override;

  // --- published ---
  TVdEColumns* Columns() const { return columns_.get(); }
  void SetColumns(const TVdEColumns* value);  // copies
  TCustomControl* DBGrid() const { return dbGrid_; }
  // Accepts none or a control that IsSupportedGrid accepts; otherwise
  // raises Exception with message 1 and keeps the previous grid.
  void SetDBGrid(TCustomControl* value);
  Vdei::TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(Vdei::TDataSet* value);
  TVdECustomDataEngine* DataEngine() const { return dataEngine_; }
  void SetDataEngine(TVdECustomDataEngine* value);
  TColumnSource ColumnSource() const { return columnSource_; }
  void SetColumnSource(TColumnSource value) { columnSource_ = value; }
  // Stored only.
  const std::string& SpecificationDir() const { return specificationDir_; }
  void SetSpecificationDir(std::string value) { specificationDir_ = std::move(value); }

  // --- held here, published by the cell-file writer ---
  TActionAfterExport ActionAfterExport() const { return actionAfterExport_; }
  void SetActionAfterExport(TActionAfterExport value) { actionAfterExport_ = value; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string value) { fileName_ = std::move(value); }
  TVdELayout Layout() const { return layout_; }
  void SetLayout(TVdELayout value) { layout_ = value; }

  // Replaces the extension of a non-empty FileName by the new type's.
  void SetTableType(TExportTableType value) override;

  // --- the run ---
  // The engine of the current run; none outside a run.
  TVdECustomDataEngine* ActiveEngine() const { return activeEngine_; }
  bool UserColumns() const { return userColumns_; }
  int VisibleColumnCount() const { return visibleColumnCount_; }
  int RecordCountAtStart() const { return recordCountAtStart_; }
  bool GridIsSelectedKind() const { return gridIsSelectedKind_; }
  bool GridIsFieldsKind() const { return gridIsFieldsKind_; }
  // Whether BeginExport has run and neither EndExport nor FailRun since.
  bool InRun() const { return running_; }

  // Raises Exception with message 0 for a missing source.
  virtual void CreateDataEngine();
  virtual void FreeDataEngine();
  virtual void BeginExport();
  // Does nothing outside a run.
  virtual void EndExport();
  virtual void RunActionAfterExport();
  // Undoes a run that failed after BeginExport: Result := erFailed, the
  // engine's columns removed, the progress window closed, the regional
  // settings, the cursor and the source's controls restored, the engine
  // freed. Does nothing outside a run; never raises.
  void FailRun() noexcept;

  // --- the progress window ---
  bool ShowProgressWindow(const std::string& caption, const std::string& statusText,
                          const std::string& cancelCaption, int minimum, int maximum, int position);
  bool UpdateProgress(const std::string& statusText, int value);
  bool CloseProgressWindow();
  // The window's cancel flag while a window exists, else the component's.
  bool Canceled() const;
  void SetCanceled(bool value);
  // The window of the current run; none without one.
  TfrmVdEProcess* ProgressWindow() const { return progressWindow_.get(); }

  // Stored; never raised here.
  TVdEGetNextSelected OnGetNextSelected;
  TVdEGetSelectedCount OnGetSelectedCount;
  TVdESpecificationEvent OnBeforeLoadSpecification;
  TVdESpecificationEvent OnAfterLoadSpecification;
  TVdESpecificationEvent OnBeforeSaveSpecification;
  TVdESpecificationEvent OnAfterSaveSpecification;

 protected:
  void Notification(Vdei::TComponent* component, Vdei::TOperation operation) override;

 private:
  // Steps of BeginExport after the engine exists.
  void PrepareRun();
  // Steps of EndExport up to the action after the export.
  void FinishRun();
  // Puts back the regional settings, the cursor and the source's
  // controls, and frees the engine.
  void RestoreRunState();
  void RemoveEngineColumns();
  template <class Engine>
  Engine* CreateOwnedEngine();
  void ApplyDefaultExtension();

  std::unique_ptr<TVdEColumns> columns_;
  TCustomControl* dbGrid_ = nullptr;
  Vdei::TDataSet* dataSet_ = nullptr;
  TVdECustomDataEngine* dataEngine_ = nullptr;
  TColumnSource columnSource_ = csDBGrid;
  std::string specificationDir_;
  TActionAfterExport actionAfterExport_ = aeNone;
  std::string fileName_;
  TVdELayout layout_ = elColumnar;

  bool running_ = false;
  TVdECustomDataEngine* activeEngine_ = nullptr;
  bool ownsActiveEngine_ = false;
  bool userColumns_ = false;
  int visibleColumnCount_ = 0;
  int recordCountAtStart_ = 0;
  bool gridIsSelectedKind_ = false;
  bool gridIsFieldsKind_ = false;
  bool canceled_ = false;
  std::unique_ptr<TVdEFormatSwap> formatSwap_;
  bool waitCursorSet_ = false;
  bool controlsDisabled_ = false;
  std::unique_ptr<TfrmVdEProcess> progressWindow_;
};

}  // namespace VdExport
