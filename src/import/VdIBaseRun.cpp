// TVdImportBaseComponent: the run. Execute frames it (checks, source,
// structure, final report); ImportRecords is the record loop; each row is
// evaluated (VdIBaseRow.cpp), located by its key in the key modes, and
// stored by the action its mode chooses.
#include <algorithm>
#include <chrono>

#include "core/StrUtils.h"
#include "dataset/DataSet.h"
#include "dataset/Field.h"
#include "import/ImpCnst.h"
#include "import/VdIBase.h"
#include "import/VdIBaseRunState.h"
#include "platform/Platform.h"

namespace VdImport {

using Vdei::TDataSet;
using Vdei::Variant;

namespace {

// Progress refreshes come no closer than this, whatever UpdateStep says.
constexpr auto kRefreshInterval = std::chrono::milliseconds(40);

[[noreturn]] void ThrowPropertyMissing(std::string_view name) {
  throw Vdei::Exception(ImportMessage(SPropertyNotSpecified, name));
}

// The run's transaction on a dataset that writes to a database: begun by
// the run unless the caller holds one already (then committing or rolling
// back is the caller's), committed when the run ends executed, rolled back
// otherwise.
class TRunTransaction {
 public:
  explicit TRunTransaction(TDataSet& dataSet)
      : dataSet_(dataSet), owned_(!dataSet.InTransaction()) {
    if (owned_) dataSet_.StartTransaction();
  }
  ~TRunTransaction() {
    if (!owned_) return;
    try {
      dataSet_.Rollback();
    } catch (...) {
      // The run has failed or was cancelled already; nothing is kept.
    }
  }
  TRunTransaction(const TRunTransaction&) = delete;
  TRunTransaction& operator=(const TRunTransaction&) = delete;
  // A commit the database refuses raises: the run fails.
  void Commit() {
    if (!owned_) return;
    owned_ = false;
    dataSet_.Commit();
  }

 private:
  TDataSet& dataSet_;
  bool owned_;
};

}  // namespace

// --- Execute -----------------------------------------------------------------

void TVdImportBaseComponent::Execute() {
  if (running_) throw Vdei::Exception(std::string(ImportMessage(SImportAlreadyRunning)));
  running_ = true;
  struct Running {
    bool& flag;
    ~Running() { flag = false; }
  } running{running_};
  errorText_.clear();
  statistic_->SetResult(irUnknown);
  if (OnBeforeExecute) OnBeforeExecute(this);
  CheckRequiredProperties();
  OpenSource();
  try {
    RunProtected();
    ReportEnd();
  } catch (...) {
    CloseSource();
    throw;
  }
  CloseSource();
  if (OnAfterExecute) OnAfterExecute(this);
}

void TVdImportBaseComponent::ImportFromStream(Vdei::TStream* stream) {
  sourceStream_ = stream;
  struct Forget {
    Vdei::TStream*& stream;
    ~Forget() { stream = nullptr; }
  } forget{sourceStream_};
  Execute();
}

void TVdImportBaseComponent::CheckRequiredProperties() {
  std::string missing;
  if (GetMissingProperty(missing)) ThrowPropertyMissing(missing);
  if (!IsKeyMode(mode_)) return;
  if (datasetKeys_.empty()) ThrowPropertyMissing("DatasetKeys");
  // Mappings made by the run itself are checked when the run makes them.
  if (mappings_->Count() > 0 && !MissingKeyNames().empty()) ThrowPropertyMissing("DatasetKeys");
}

void TVdImportBaseComponent::RunProtected() {
  try {
    if (HasOption(soWaitCursor)) Vdei::Platform().SetCursor(Vdei::crHourGlass);
    if (animatedStatus_) {
      ShowProgressWindow(
          titleStatus_, std::string(ImportMessage(SImporting)), HasOption(soExtendedStatistic),
          HasOption(soUseAnimatedControl), std::string(ImportMessage(SDeletedCaption)),
          std::string(ImportMessage(SUpdatedCaption)), std::string(ImportMessage(SAddedCaption)),
          std::string(ImportMessage(SErrorsCaption)), std::string(ImportMessage(SProcessedCaption)),
          std::string(ImportMessage(SCancelCaption)));
    }
    // Mappings the run makes for itself go again however the run ends.
    struct TemporaryMappings {
      Vdei::TStrings& mappings;
      bool made = false;
      ~TemporaryMappings() {
        if (made) mappings.Clear();
      }
    } temporary{*mappings_};
    MakeStructure(temporary.made);
    TRunTransaction transaction(*dataSet_);
    ImportRecords();
    if (IsCanceled() || abortFlag_) {
      finalText_ = ImportMessage(SImportCanceled);
      statistic_->SetResult(irCanceled);
    } else {
      transaction.Commit();
      const int errors = statistic_->TotalErrors();
      finalText_ = errors > 0 ? ImportMessage(SImportCompletedWithErrors, std::to_string(errors))
                              : std::string(ImportMessage(SImportCompleted));
      statistic_->SetResult(irExecuted);
    }
  } catch (...) {
    errorText_ = MessageOf(std::current_exception());
    finalText_ = ImportMessage(SImportFailed);
    statistic_->SetResult(irFailed);
  }
}

void TVdImportBaseComponent::MakeStructure(bool& temporaryMappings) {
  if (mappings_->Count() > 0) return;
  columns_->Clear();
  CreateColumns();
  if (OnCreateStructure) OnCreateStructure(this, columns_.get());
  if (mappings_->Count() > 0) return;
  CreateDefaultMappings();
  temporaryMappings = true;
}

void TVdImportBaseComponent::ReportEnd() {
  const TVdIStatistic& s = *statistic_;
  if (animatedStatus_) {
    UpdateProgress(finalText_, s.TotalImported(), s.TotalUpdated(), s.TotalDeleted(),
                   s.TotalAdded(), s.TotalErrors());
    CloseProgressWindow();
  } else if (HasOption(soShowMessage)) {
    Vdei::Platform().MessageBox(finalText_, "", Vdei::mtInformation, Vdei::MsgButton(Vdei::mbOK));
  }
  if (HasOption(soWaitCursor)) Vdei::Platform().SetCursor(Vdei::crDefault);
}

// --- the record loop ---------------------------------------------------------

void TVdImportBaseComponent::ImportRecords() {
  PrepareMappings();
  PrepareFieldList();
  if (IsKeyMode(mode_) && !MissingKeyNames().empty()) ThrowPropertyMissing("DatasetKeys");
  CompileSources();
  struct EndRun {
    std::unique_ptr<TVdIRunState>& run;
    ~EndRun() { run.reset(); }
  } endRun{run_};

  TDataSet& dataSet = *dataSet_;
  dataSet.DisableControls();
  struct RestoreDataSet {
    TDataSet& dataSet;
    ~RestoreDataSet() {
      try {
        if (IsChanging(dataSet)) dataSet.Cancel();
        dataSet.First();
      } catch (...) {
        // A closed dataset has no first record; its controls come back.
      }
      dataSet.EnableControls();
    }
  } restore{dataSet};

  statistic_->ResetCounters();
  statistic_->SetTotalCount(0);
  if (mode_ == imCopy) DeleteAllRecords();
  FirstRecord();
  statistic_->SetTotalCount(std::max(0, RecordCount()));
  if (animatedStatus_) SetProgressRange(0, statistic_->TotalCount(), 0);
  RunRecordLoop();
}

void TVdImportBaseComponent::CompileSources() {
  run_ = std::make_unique<TVdIRunState>(*dataFormats_, importKind_, AllowsCData());
  for (int i = 0; i < dataSet_->FieldCount(); ++i) run_->Fields.push_back(dataSet_->Fields(i));
  for (const TVdIEntry& entry : importEntries_) {
    run_->Sources.push_back(std::make_unique<TVdICompiledSource>(*this, entry.Source, entry.Link));
  }
  const TVdILoadCondition& condition = *loadCondition_;
  if (!condition.LoadWhen().empty()) {
    run_->LoadWhen = std::make_unique<TVdICompiledSource>(*this, condition.LoadWhen(), -1);
  }
  if (!condition.SkipIf().empty()) {
    run_->SkipIf = std::make_unique<TVdICompiledSource>(*this, condition.SkipIf(), -1);
  }
}

void TVdImportBaseComponent::DeleteAllRecords() {
  TDataSet& dataSet = *dataSet_;
  for (dataSet.First(); !dataSet.Eof() && !dataSet.IsEmpty();) {
    dataSet.Delete();
    statistic_->SetTotalDeleted(statistic_->TotalDeleted() + 1);
  }
}

void TVdImportBaseComponent::RunRecordLoop() {
  TVdIStatistic& s = *statistic_;
  abortFlag_ = false;
  int sinceRefresh = 0;
  auto lastRefresh = std::chrono::steady_clock::now() - kRefreshInterval;
  while (!abortFlag_ && !IsCanceled() && HasRecord()) {
    if (animatedStatus_ && sinceRefresh >= s.UpdateStep()) {
      const auto now = std::chrono::steady_clock::now();
      if (now - lastRefresh >= kRefreshInterval) {
        UpdateProgress(std::string(ImportMessage(SImporting)), s.TotalImported(), s.TotalUpdated(),
                       s.TotalDeleted(), s.TotalAdded(), s.TotalErrors());
        lastRefresh = now;
        sinceRefresh = 0;
      }
    }
    ++sinceRefresh;
    s.SetTotalImported(s.TotalImported() + 1);
    s.SetLastAction(iaUnknown);
    ImportCurrentRow();
    abortFlag_ = false;
    if (OnAfterRecordEvent) OnAfterRecordEvent(this, abortFlag_);
    NextRecord();
  }
}

void TVdImportBaseComponent::ImportCurrentRow() {
  std::exception_ptr failure;
  try {
    if (!ProcessRecord()) return;
    const bool exist = LocateRow();
    if (OnBeforeUpdate) OnBeforeUpdate(this);
    const TVdIAction action = ChooseAction(exist);
    statistic_->SetLastAction(action);
    StoreRow(action);
    return;
  } catch (const TStopRun& stop) {
    std::rethrow_exception(stop.Error);
  } catch (const EVdIRowError&) {
    failure = std::current_exception();
  } catch (...) {
    failure = std::make_exception_ptr(
        EVdIRowError(MessageOf(std::current_exception()), SourceRowNumber(), "", ""));
  }
  if (ReportRowError(failure)) std::rethrow_exception(failure);
}

bool TVdImportBaseComponent::ReportRowError(std::exception_ptr failure) {
  statistic_->SetTotalErrors(statistic_->TotalErrors() + 1);
  if (!OnErrorEvent) return false;
  abortFlag_ = abortOnProblem_;
  try {
    std::rethrow_exception(failure);
  } catch (const Vdei::Exception& error) {
    OnErrorEvent(this, error, abortFlag_);
  } catch (const std::exception& error) {
    OnErrorEvent(this, Vdei::Exception(error.what()), abortFlag_);
  }
  return abortFlag_;
}

}  // namespace VdImport
