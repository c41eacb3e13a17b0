// The import run: modes, keys, counts, errors, ends of a run, structure.
#include "import/VdIBase.h"

#include <gtest/gtest.h>

#include "ImportTestReader.h"
#include "RecordingPlatform.h"
#include "core/Exception.h"
#include "core/Stream.h"
#include "dataset/DataSource.h"
#include "import/VdIStat.h"

namespace VdImport {
namespace {

using Vdei::Variant;

struct ImportRun : ::testing::Test {
  Vdei::PlatformScope platform;
  Vdei::TComponent form{nullptr};
  Vdei::TClientDataSet* table = MakeTable(&form, {"a", "b", "c", "d", "e"});
  TTestReader* reader = new TTestReader(&form);

  ImportRun() {
    reader->SetDataSet(table);
    reader->columns = {"ID", "NAME"};
  }
  std::string Counts() const {
    const TVdIStatistic& s = *reader->Statistic();
    return std::to_string(s.TotalImported()) + " imported, " + std::to_string(s.TotalAdded()) +
           " added, " + std::to_string(s.TotalUpdated()) + " updated, " +
           std::to_string(s.TotalDeleted()) + " deleted, " + std::to_string(s.TotalErrors()) +
           " errors";
  }
};

TEST_F(ImportRun, CopyReplacesTheRecordsWithMappingsMadeForTheRunOnly) {
  reader->SetMode(imCopy);
  reader->rows = {{"7", "x"}, {"8", "y"}, {"9", "z"}};
  std::vector<std::string> structure;
  reader->OnCreateStructure = [&](Vdei::TObject*, TVdIColumns* columns) {
    for (int i = 0; i < columns->Count(); ++i) structure.push_back((*columns)[i]->FieldName());
  };
  table->Next();
  reader->Execute();
  EXPECT_EQ(Contents(*table), "7:x:- 8:y:- 9:z:-");
  EXPECT_EQ(Counts(), "3 imported, 3 added, 0 updated, 5 deleted, 0 errors");
  EXPECT_EQ(reader->Statistic()->TotalCount(), 3);
  EXPECT_EQ(reader->SourceStream(), nullptr);
  EXPECT_EQ(reader->Statistic()->Result(), irExecuted);
  EXPECT_EQ(reader->FinalText(), "The data import process has completed successfully.");
  EXPECT_EQ(structure, (std::vector<std::string>{"ID", "NAME"}));
  EXPECT_EQ(reader->Mappings()->Count(), 0) << "default mappings live for one run";
  EXPECT_EQ(table->RecNo(), 1);
  EXPECT_FALSE(table->ControlsDisabled());
  EXPECT_EQ(reader->opened, 1);
  EXPECT_EQ(reader->closed, 1);

  // Lines added by the structure handler stay, so the next run uses them.
  reader->OnCreateStructure = [&](Vdei::TObject*, TVdIColumns*) {
    reader->Mappings()->Add("Name=NAME");
    reader->Mappings()->Add("Amount=ID * 2");
  };
  reader->Execute();
  reader->OnCreateStructure = [](Vdei::TObject*, TVdIColumns*) { FAIL() << "not raised again"; };
  reader->Execute();
  EXPECT_EQ(Contents(*table), "-:x:14 -:y:16 -:z:18");
  EXPECT_EQ(reader->Mappings()->Count(), 2);
}

TEST_F(ImportRun, KeyModesLocateByOneOrTwoFields) {
  reader->Mappings()->SetText("Id=ID\nName=NAME\n");
  reader->SetDatasetKeys("Id");
  reader->rows = {{"2", "B"}, {"9", "new"}, {"4", "D"}};

  reader->SetMode(imAppendUpdate);
  reader->Execute();
  EXPECT_EQ(Counts(), "3 imported, 1 added, 2 updated, 0 deleted, 0 errors");
  EXPECT_EQ(Contents(*table), "1:a:1.5 2:B:3 3:c:4.5 4:D:6 5:e:7.5 9:new:-");

  reader->rows = {{"3", "C"}, {"10", "no"}};
  reader->SetMode(imUpdate);
  reader->Execute();
  EXPECT_EQ(Counts(), "2 imported, 0 added, 1 updated, 0 deleted, 0 errors");
  reader->SetMode(imAppendNewOnly);
  reader->Execute();
  EXPECT_EQ(Counts(), "2 imported, 1 added, 0 updated, 0 deleted, 0 errors");
  EXPECT_EQ(Contents(*table), "1:a:1.5 2:B:3 3:C:4.5 4:D:6 5:e:7.5 9:new:- 10:no:-");

  reader->SetMode(imDelete);
  reader->SetDatasetKeys("Id;Name");
  reader->rows = {{"1", "a"}, {"3", "x"}, {"10", "no"}, {"5", "e"}};
  reader->Execute();
  EXPECT_EQ(Counts(), "4 imported, 0 added, 0 updated, 3 deleted, 0 errors");
  EXPECT_EQ(Contents(*table), "2:B:3 3:C:4.5 4:D:6 9:new:-");
}

TEST_F(ImportRun, NullKeysMatchNothingAndLocateCanBeAnswered) {
  reader->Mappings()->SetText("Id=ID\nName=NAME\n");
  reader->SetDatasetKeys("Id");
  reader->SetMode(imAppendUpdate);
  reader->rows = {{std::nullopt, "p"}, {std::nullopt, "q"}};
  reader->Execute();
  EXPECT_EQ(Counts(), "2 imported, 2 added, 0 updated, 0 deleted, 0 errors");

  // A handler that answers the lookup itself: no locate, the current
  // record is updated.
  reader->SetMode(imUpdate);
  std::vector<std::string> keys;
  reader->OnLocateRecord = [&](Vdei::TObject*, const std::string& fields, const Variant& values,
                               bool& exist, bool& executeLocate) {
    keys.push_back(fields + "=" + values.AsString());
    exist = true;
    executeLocate = false;
  };
  reader->rows = {{"77", "r"}};
  reader->Execute();
  EXPECT_EQ(keys, std::vector<std::string>{"Id=77"});
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "r");
}

TEST_F(ImportRun, KeysWithoutMappingAndMissingPropertiesStopBeforeReading) {
  const auto message = [&] {
    try {
      reader->Execute();
    } catch (const Vdei::Exception& error) {
      return error.Message();
    }
    return std::string("no error");
  };
  reader->SetMode(imUpdate);
  EXPECT_EQ(message(), "Property DatasetKeys wasn't specified.");
  reader->SetDatasetKeys("Id;Name");
  reader->Mappings()->Add("Name=NAME");
  EXPECT_EQ(message(), "Property DatasetKeys wasn't specified.") << "Id has no mapping line";
  EXPECT_EQ(reader->opened, 0);
  EXPECT_EQ(reader->Statistic()->Result(), irUnknown);

  // Mappings made by the run are checked when they are made.
  reader->Mappings()->Clear();
  reader->SetDatasetKeys("Amount");
  reader->Execute();
  EXPECT_EQ(reader->Statistic()->Result(), irFailed);
  EXPECT_EQ(reader->ErrorText(), "Property DatasetKeys wasn't specified.");
  EXPECT_EQ(reader->Mappings()->Count(), 0) << "the run's mappings go when it fails";

  delete table;
  EXPECT_EQ(reader->DataSet(), nullptr);
  EXPECT_EQ(message(), "Property DataSet wasn't specified.");
}

TEST_F(ImportRun, RowErrorsAreCountedAndReportedOnce) {
  reader->Mappings()->SetText("Id=ID\nName=NAME\n");
  reader->SetMode(imCopy);
  reader->rows = {{"1", "ok"}, {"x1", "bad id"}, {"3", "ok"}};
  reader->Execute();
  EXPECT_EQ(Counts(), "3 imported, 2 added, 0 updated, 5 deleted, 1 errors");
  EXPECT_EQ(reader->Statistic()->Result(), irExecuted);
  EXPECT_EQ(reader->FinalText(), "The data import process has completed with 1 error(s).");
  EXPECT_EQ(Contents(*table), "1:ok:- 3:ok:-");

  std::vector<std::string> reported;
  reader->OnErrorEvent = [&](Vdei::TObject*, const Vdei::Exception& error, bool&) {
    const auto* row = dynamic_cast<const EVdIRowError*>(&error);
    ASSERT_NE(row, nullptr);
    reported.push_back(std::to_string(row->Row()) + " " + row->FieldName() + " " +
                       row->ValueText() + ": " + error.Message());
  };
  reader->Execute();  // Abort stays preset from AbortOnProblem: the run stops
  EXPECT_EQ(reported,
            std::vector<std::string>{"2 Id x1: 'x1' is not a valid integer value for field 'Id'"});
  EXPECT_EQ(Counts(), "2 imported, 1 added, 0 updated, 2 deleted, 1 errors");
  EXPECT_EQ(reader->Statistic()->Result(), irFailed);
  EXPECT_EQ(table->State(), Vdei::dsBrowse);

  // An expression that fails counts as a row error too.
  reported.clear();
  reader->SetAbortOnProblem(false);
  reader->Mappings()->SetText("Id=ID\nName=NAME +\n");
  reader->Execute();
  EXPECT_EQ(reported.size(), 3u);
  EXPECT_EQ(Counts(), "3 imported, 0 added, 0 updated, 1 deleted, 3 errors");
  EXPECT_EQ(reader->Statistic()->Result(), irExecuted);
}

TEST_F(ImportRun, AbortFromTheRecordEventOrCancelFromTheWindowEndsCanceled) {
  reader->SetMode(imAppend);
  reader->rows = {{"1", "a"}, {"2", "b"}, {"3", "c"}};
  reader->OnAfterRecordEvent = [&](Vdei::TObject*, bool& abort) {
    abort = reader->Statistic()->TotalImported() == 2;
  };
  reader->Execute();
  EXPECT_EQ(reader->Statistic()->Result(), irCanceled);
  EXPECT_EQ(reader->FinalText(), "The data import process was canceled by the user.");
  EXPECT_EQ(reader->Statistic()->TotalAdded(), 2);

  reader->OnAfterRecordEvent = nullptr;
  reader->SetAnimatedStatus(true);
  std::vector<std::string> seen;
  platform->onProcessMessages = [&] {
    TfrmVdIProcess* window = reader->ProgressWindow();
    if (window == nullptr || !window->Visible()) return;
    seen.push_back(window->lblStatus()->Caption() + " " + window->lblTotalImported()->Caption());
    if (reader->Statistic()->TotalImported() == 1) window->btnCancel()->Click();
  };
  reader->Execute();
  EXPECT_EQ(reader->Statistic()->Result(), irCanceled);
  // Cancel is seen before the next row: the row of the refresh goes in.
  EXPECT_EQ(reader->Statistic()->TotalImported(), 2);
  EXPECT_EQ(reader->ProgressWindow(), nullptr) << "closed at the end of the run";
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), "The data import process was canceled by the user. 2");
}

TEST_F(ImportRun, RowBoundsCountWithoutOverflow) {
  reader->rows = {{"1", "a"}, {"2", "b"}, {"3", "c"}};
  reader->SetRowFirst(-5);  // counts as 1
  EXPECT_EQ(reader->RowLimit(), 2147483647);
  reader->SetRowFirst(2);
  reader->SetRowLast(2);
  EXPECT_EQ(reader->RowLimit(), 1);
  reader->SetRowLast(-2147483647 - 1);
  EXPECT_EQ(reader->RowLimit(), 0);
  reader->SetRowFirst(1);
  reader->SetRowLast(2147483647);
  Vdei::TMemoryStream stream;
  reader->ImportFromStream(&stream);
  EXPECT_EQ(reader->Statistic()->TotalCount(), 3);
  EXPECT_EQ(reader->SourceStream(), nullptr) << "the caller's stream is forgotten";
}

// An in-memory table that logs the transaction calls a run makes.
class TTransactionLog : public Vdei::TClientDataSet {
 public:
  using TClientDataSet::TClientDataSet;
  std::string log;
  bool held = false;  // a transaction of the caller's
  void StartTransaction() override { log += "start "; }
  void Commit() override { log += "commit"; }
  void Rollback() override { log += "rollback"; }
  bool InTransaction() const override { return held; }
  void BeginRow() override { log += "("; }
  void ReleaseRow() override { log += ")"; }
  void RollbackRow() override { log += "!) "; }
};

TEST_F(ImportRun, ARunIsOneTransactionAndAFailedRowIsUndoneAlone) {
  auto* logged = new TTransactionLog(&form);
  logged->FieldDefs()->Add("Id", Vdei::ftInteger);
  logged->CreateDataSet();
  reader->SetDataSet(logged);
  reader->Mappings()->Add("Id=ID");
  reader->rows = {{"1"}, {"x"}, {"3"}};
  reader->Execute();
  EXPECT_EQ(logged->log, "start ()(!) ()commit");

  logged->log.clear();
  reader->OnErrorEvent = [](Vdei::TObject*, const Vdei::Exception&, bool&) {};  // stops the run
  reader->Execute();
  EXPECT_EQ(reader->Statistic()->Result(), irFailed);
  EXPECT_EQ(logged->log, "start ()(!) rollback");

  logged->log.clear();
  logged->held = true;  // the caller's transaction: neither committed nor rolled back here
  reader->OnErrorEvent = nullptr;
  reader->Execute();
  EXPECT_EQ(logged->log, "()(!) ()");
}

TEST_F(ImportRun, StartingARunInsideARunRaises) {
  reader->rows = {{"1", "a"}};
  std::string inner;
  reader->OnAfterRecordEvent = [&](Vdei::TObject*, bool&) {
    try {
      reader->Execute();
    } catch (const Vdei::Exception& error) {
      inner = error.Message();
    }
  };
  reader->Execute();
  EXPECT_EQ(inner, "An import is already running on this component.");
  EXPECT_EQ(reader->Statistic()->Result(), irExecuted);
}

TEST_F(ImportRun, DataSetControlsStayDisabledForTheWholeLoop) {
  Vdei::TDataSource source(&form);
  source.SetDataSet(table);
  int changesDuringRun = 0;
  reader->OnAfterRecordEvent = [&](Vdei::TObject*, bool&) {
    changesDuringRun += table->ControlsDisabled() ? 0 : 1;
  };
  reader->SetMode(imCopy);
  reader->rows = {{"1", "a"}, {"2", "b"}};
  reader->Execute();
  EXPECT_EQ(changesDuringRun, 0);
  EXPECT_FALSE(table->ControlsDisabled());
}

TEST_F(ImportRun, AssignCopiesTheSettingsButNotTheRunFrame) {
  reader->SetMode(imDelete);
  reader->SetDatasetKeys("Id");
  reader->Mappings()->Add("Id=ID");
  reader->SetTrimSpaces(tsTrimLeft);
  reader->SetRowFirst(3);
  reader->SetAbortOnProblem(false);
  reader->LoadCondition()->SetSkipIf("ID = 1");
  reader->DataFormats()->SetDateSeparator('.');
  reader->Statistic()->SetUpdateStep(50);
  reader->OnErrorEvent = [](Vdei::TObject*, const Vdei::Exception&, bool&) {};
  reader->OnBeforeExecute = [](Vdei::TObject*) {};
  reader->Columns()->Add();

  TTestReader copy(nullptr);
  copy.Mappings()->Add("Name=NAME");
  copy.Assign(*reader);
  EXPECT_EQ(copy.Mode(), imDelete);
  EXPECT_EQ(copy.DataSet(), table);
  EXPECT_EQ(copy.Mappings()->CommaText(), "Name=NAME,Id=ID") << "lines are appended";
  EXPECT_EQ(copy.TrimSpaces(), tsTrimLeft);
  EXPECT_EQ(copy.RowFirst(), 3);
  EXPECT_EQ(copy.LoadCondition()->SkipIf(), "ID = 1");
  EXPECT_EQ(copy.DataFormats()->DateSeparator(), '.');
  EXPECT_EQ(copy.Statistic()->UpdateStep(), 50);
  EXPECT_TRUE(copy.OnErrorEvent);
  EXPECT_TRUE(copy.AbortOnProblem()) << "not copied";
  EXPECT_FALSE(copy.OnBeforeExecute) << "not copied";
  EXPECT_EQ(copy.Columns()->Count(), 0) << "not copied";
}

}  // namespace
}  // namespace VdImport
