// TVdExportBaseComponent: sources, columns and the frame of a run.
#include <unistd.h>

#include <climits>

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/DataSet.h"
#include "export/ExCnst.h"
#include "export/ExportDS.h"
#include "export/VdEEngDB.h"
#include "export/VdEStat.h"
#include "platform/Platform.h"

namespace VdExport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::TComponent;
using Vdei::TPersistent;
using Vdei::Variant;

namespace {

// The folder of the running program, with its trailing '/'.
std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) return "";
  return Vdei::ExtractFilePath(std::string_view(path, static_cast<size_t>(length)));
}

}  // namespace

const TClassInfo& TVdExportBaseComponent::StaticClassInfo() {
  using C = TVdExportBaseComponent;
  static const TClassInfo info =
      ClassInfoBuilder<C, TVdECustomBaseComponent>("TVdExportBaseComponent")
          .Object<TVdEColumns>("Columns", &C::Columns, &C::SetColumns)
          .Object<TCustomControl>("DBGrid", &C::DBGrid, &C::SetDBGrid)
          .Object<Vdei::TDataSet>("DataSet", &C::DataSet, &C::SetDataSet)
          .Object<TVdECustomDataEngine>("DataEngine", &C::DataEngine, &C::SetDataEngine)
          .Enum("ColumnSource", ColumnSourceNames(), &C::ColumnSource, &C::SetColumnSource,
                Variant(int(csDBGrid)))
          .String("SpecificationDir", &C::SpecificationDir,
                  [](C& c, std::string v) { c.SetSpecificationDir(std::move(v)); })
          .Build();
  return info;
}

TVdExportBaseComponent::TVdExportBaseComponent(TComponent* owner)
    : TVdECustomBaseComponent(owner), columns_(std::make_unique<TVdEColumns>(this)) {
  if (TableType() != ttClipboard) fileName_ = ProgramFolder() + "VdExport" + GetDefaultExtension();
}

TVdExportBaseComponent::~TVdExportBaseComponent() {
  FailRun();
}

void TVdExportBaseComponent::Assign(const TPersistent& source) {
  TVdECustomBaseComponent::Assign(source);
  const auto* other = dynamic_cast<const TVdExportBaseComponent*>(&source);
  if (other == nullptr || other == this) return;
  actionAfterExport_ = other->actionAfterExport_;
  fileName_ = other->fileName_;
  columns_->Assign(*other->columns_);
  SetDBGrid(other->dbGrid_);
  SetDataSet(other->dataSet_);
  SetDataEngine(other->dataEngine_);
  columnSource_ = other->columnSource_;
  OnGetNextSelected = other->OnGetNextSelected;
  OnGetSelectedCount = other->OnGetSelectedCount;
  OnBeforeLoadSpecification = other->OnBeforeLoadSpecification;
  OnAfterLoadSpecification = other->OnAfterLoadSpecification;
  OnBeforeSaveSpecification = other->OnBeforeSaveSpecification;
  OnAfterSaveSpecification = other->OnAfterSaveSpecification;
  layout_ = other->layout_;
  SetExportIfEmpty(other->ExportIfEmpty());
}

void TVdExportBaseComponent::SetColumns(const TVdEColumns* value) {
  if (value != nullptr) columns_->Assign(*value);
}

void TVdExportBaseComponent::SetDBGrid(TCustomControl* value) {
  bool selectedKind = gridIsSelectedKind_;
  bool fieldsKind = gridIsFieldsKind_;
  if (value == nullptr) {
    selectedKind = fieldsKind = false;
  } else if (!IsSupportedGrid(value, selectedKind, fieldsKind)) {
    throw Vdei::Exception(FormatMessageText(GetLanguageString(SNotSupportedGrid), value->Name()));
  }
  dbGrid_ = value;
  gridIsSelectedKind_ = selectedKind;
  gridIsFieldsKind_ = fieldsKind;
  if (value != nullptr) value->FreeNotification(this);
}

void TVdExportBaseComponent::SetDataSet(Vdei::TDataSet* value) {
  dataSet_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

void TVdExportBaseComponent::SetDataEngine(TVdECustomDataEngine* value) {
  dataEngine_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

void TVdExportBaseComponent::SetTableType(TExportTableType value) {
  if (!fileName_.empty()) fileName_ = Vdei::ChangeFileExt(fileName_, TableTypeExtension(value));
  TVdECustomBaseComponent::SetTableType(value);
}

void TVdExportBaseComponent::Notification(TComponent* component, Vdei::TOperation operation) {
  TVdECustomBaseComponent::Notification(component, operation);
  if (operation != Vdei::opRemove) return;
  if (component == dbGrid_) {
    dbGrid_ = nullptr;
    gridIsSelectedKind_ = gridIsFieldsKind_ = false;
  }
  if (component == dataSet_) dataSet_ = nullptr;
  if (component == dataEngine_) dataEngine_ = nullptr;
  // An engine of the current run that goes away (a user's engine, or an
  // owned one destroyed by someone else) is no longer there to use or free.
  if (component == activeEngine_) {
    activeEngine_ = nullptr;
    ownsActiveEngine_ = false;
  }
}

// --- engines ------------------------------------------------------------------

template <class Engine>
Engine* TVdExportBaseComponent::CreateOwnedEngine() {
  auto* engine = new Engine(this);
  activeEngine_ = engine;
  ownsActiveEngine_ = true;
  return engine;
}

void TVdExportBaseComponent::CreateDataEngine() {
  auto missing = [this](const char* property) {
    return Vdei::Exception(FormatMessageText(GetLanguageString(SPropertyNotSpecified), property));
  };
  switch (columnSource_) {
    case csDBGrid:
      if (dbGrid_ == nullptr) throw missing("DBGrid");
      if (gridIsSelectedKind_) {
        CreateOwnedEngine<TVdEwwDBGridDataEngine>()->SetDBGrid(dbGrid_);
      } else if (gridIsFieldsKind_) {
        CreateOwnedEngine<TVdEDBAdvStringGridDataEngine>()->SetDBGrid(dbGrid_);
      } else {
        Vdei::TDBGrid* grid = Vdei::As<Vdei::TDBGrid>(dbGrid_);
        CreateOwnedEngine<TVdEDBGridDataEngine>()->SetDBGrid(grid);
      }
      break;
    case csDataSet:
      if (dataSet_ == nullptr) throw missing("Dataset");
      CreateOwnedEngine<TVdEDatasetDataEngine>()->SetDataset(dataSet_);
      break;
    case csDataEngine:
      if (dataEngine_ == nullptr) throw missing("DataEngine");
      activeEngine_ = dataEngine_;
      ownsActiveEngine_ = false;
      break;
  }
  activeEngine_->SetSelectedOnly(SelectedRecord());
}

void TVdExportBaseComponent::FreeDataEngine() {
  TVdECustomDataEngine* engine = activeEngine_;
  const bool owned = ownsActiveEngine_;
  activeEngine_ = nullptr;
  ownsActiveEngine_ = false;
  if (owned) delete engine;
}

// --- the run ------------------------------------------------------------------

void TVdExportBaseComponent::BeginExport() {
  if (InRun()) throw Vdei::Exception("An export run of this component is already in progress");
  Statistic()->SetResult(erInProgress);
  Statistic()->SetCurrentRow(0);
  Statistic()->SetCurrentColumn(0);
  // A cancel left from an earlier run must not end this one.
  canceled_ = false;
  if (OnBeforeExecute) OnBeforeExecute(this);
  try {
    CreateDataEngine();
  } catch (...) {
    FreeDataEngine();
    throw;
  }
  running_ = true;
  try {
    PrepareRun();
  } catch (...) {
    FailRun();
    throw;
  }
}

void TVdExportBaseComponent::PrepareRun() {
  recordCountAtStart_ = activeEngine_->GetRecordCount();
  if (DataFormats()->UseRegionalSettings()) DataFormats()->SetDefaults();
  formatSwap_ = std::make_unique<TVdEFormatSwap>(*DataFormats());
  if (HasOption(soDisableControls)) {
    activeEngine_->DisableSourceControls();
    controlsDisabled_ = true;
  }
  if (HasOption(soWaitCursor)) {
    Vdei::Platform().SetCursor(Vdei::crHourGlass);
    waitCursorSet_ = true;
  }
  if (AnimatedStatus()) {
    if (recordCountAtStart_ < 0) recordCountAtStart_ = 0;
    ShowProgressWindow(KeyGenerator(), GetLanguageString(SExporting),
                       GetLanguageString(SCancelCaption), 0, recordCountAtStart_, 0);
  }
  userColumns_ = columns_->Count() > 0;
  if (!userColumns_) activeEngine_->FillColumns(*columns_, RightToLeft());
  Statistic()->SetTotalCount(0);
  visibleColumnCount_ = 0;
  for (int i = 0; i < columns_->Count(); ++i) {
    if (columns_->Items(i)->Visible()) ++visibleColumnCount_;
  }
  ApplyDefaultExtension();
}

void TVdExportBaseComponent::ApplyDefaultExtension() {
  if (Vdei::ExtractFileExt(fileName_).empty()) fileName_ += TableTypeExtension(TableType());
}

void TVdExportBaseComponent::EndExport() {
  if (!InRun()) return;
  try {
    FinishRun();
  } catch (...) {
    FailRun();
    throw;
  }
  RestoreRunState();
  if (OnAfterExecute) OnAfterExecute(this);
}

void TVdExportBaseComponent::FinishRun() {
  // A forward-only dataset knows its record count once it has been read.
  if (recordCountAtStart_ < 0 && activeEngine_ != nullptr)
    recordCountAtStart_ = activeEngine_->GetRecordCount();
  RemoveEngineColumns();
  TVdEStatistic& statistic = *Statistic();
  // A run a handler marked as failed says so (the table's message 3).
  std::string message;
  if (statistic.Result() == erFailed) {
    message = GetLanguageString(SExportFailed);
  } else {
    if (Canceled()) {
      message = GetLanguageString(SExportCanceled);
      statistic.SetResult(erCanceled);
    } else {
      statistic.SetResult(erCompleted);
      message = FormatMessageText(GetLanguageString(SFileGenerated), FileName());
    }
  }
  if (OnProgress) {
    bool abort = false;
    OnProgress(this, recordCountAtStart_, recordCountAtStart_, abort);
  }
  if (AnimatedStatus()) {
    UpdateProgress(message, recordCountAtStart_);
    CloseProgressWindow();
  }
  if (HasOption(soShowMessage) && (!AnimatedStatus() || statistic.Result() == erFailed)) {
    Vdei::Platform().MessageBox(message, "", Vdei::mtInformation, Vdei::MsgButton(Vdei::mbOK));
  }
  if (statistic.Result() != erFailed) RunActionAfterExport();
}

void TVdExportBaseComponent::RemoveEngineColumns() {
  if (!userColumns_) columns_->Clear();
}

void TVdExportBaseComponent::RestoreRunState() {
  running_ = false;
  formatSwap_.reset();
  if (waitCursorSet_) {
    waitCursorSet_ = false;
    Vdei::Platform().SetCursor(Vdei::crDefault);
  }
  // The engine goes even when re-attaching the controls fails.
  struct EngineRelease {
    TVdExportBaseComponent& component;
    ~EngineRelease() { component.FreeDataEngine(); }
  } release{*this};
  if (controlsDisabled_ && activeEngine_ != nullptr) activeEngine_->EnableSourceControls();
  controlsDisabled_ = false;
}

void TVdExportBaseComponent::FailRun() noexcept {
  if (!InRun()) return;
  Statistic()->SetResult(erFailed);
  RemoveEngineColumns();
  CloseProgressWindow();
  try {
    RestoreRunState();
  } catch (...) {
    // The run's own error is the one the caller hears of.
  }
}

void TVdExportBaseComponent::RunActionAfterExport() {
  switch (actionAfterExport_) {
    case aeOpenView:
      Vdei::Platform().ShellOpen(FileName());
      break;
    case aeEMail:
      SendMail(FileName(), "");
      break;
    case aeNone:
      break;
  }
}

}  // namespace VdExport
