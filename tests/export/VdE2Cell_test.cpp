#include "export/VdE2Cell.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "RunTestSupport.h"
#include "core/FormatSettings.h"
#include "export/VdEEngDB.h"

namespace VdExport {
namespace {

using namespace Vdei;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

struct RunFixture : ::testing::Test {
  PlatformScope platform;
  TComponent form{nullptr};
  TRecordingWriter* writer = new TRecordingWriter(&form);
  TMemoryStream stream;

  TClientDataSet* UseTable(int records) {
    TClientDataSet* table = MakeSampleTable(&form, records);
    writer->SetDataSet(table);
    return table;
  }
  std::string Output() const { return std::string(stream.View()); }
};

TEST_F(RunFixture, FrameRowsAndCellsComeInHookOrderWithTheirRowNumbers) {
  UseTable(1);
  writer->SetAddTitle(true);
  writer->SetOptions(OptionBit(soBlankRowAfterCaptions));
  writer->Header()->SetText("H0\nH1");
  writer->Footer()->SetText("F0\nF1");
  writer->Columns()->Add()->SetFieldName("Company");
  TVdEColumn* hidden = writer->Columns()->Add();
  hidden->SetFieldName("Amount");
  hidden->SetVisible(false);
  writer->Columns()->Items(0)->SetWidth(7);
  writer->Columns()->Items(0)->Title()->SetCaption("Firm");
  writer->Columns()->Items(0)->Font()->SetName("Courier");
  stream.WriteString("<>");

  writer->ExportToStream(&stream);

  const std::string expected =
      "Create(VdExport.EXP) BeginDocument Dim(3,2) Width(0,7) "
      "BeginRow(t) Cell(0,1,3,H0) BeginRow(t) Cell(1,1,3,H1) BeginTable "
      "BeginRow(t) Cell(2,0,3,Firm) BeginRow(t) Cell(6,0,0,) "
      "BeginRow(d) Cell(8,0,3,C1,f) "
      "EndTable BeginRow(t) Cell(9,1,3,F0) BeginRow(t) Cell(11,1,3,F1) EndDocument";
  std::string all;
  for (const std::string& line : writer->log) all += (all.empty() ? "" : " ") + line;
  EXPECT_EQ(all, expected);
  EXPECT_EQ(Output(), "<>H0;|H1;|Firm;|;|C1;|F0;|F1;|");
  EXPECT_EQ(stream.Position(), stream.Size());
  EXPECT_EQ(writer->Statistic()->TotalCount(), 2 + 2 + 1 + 2);
  EXPECT_EQ(writer->Statistic()->Result(), erCompleted);
  EXPECT_EQ(writer->lastFont, "Courier") << "footer lines keep the font of the last cell";
  EXPECT_EQ(writer->Columns()->Count(), 2) << "columns the user defined stay";
}

TEST_F(RunFixture, EmptySourceGivesTheFrameOnlyWhenExportIfEmpty) {
  UseTable(0);
  writer->SetAddTitle(true);
  writer->Header()->Add("H");
  writer->Footer()->Add("F");
  writer->ExportToStream(&stream);
  EXPECT_EQ(Output(), "H;|CustNo;Company;Amount;|F;|");
  EXPECT_EQ(writer->Statistic()->TotalCount(), 3);
  EXPECT_EQ(writer->Columns()->Count(), 0) << "columns the engine filled go after the run";

  stream.Clear();
  writer->log.clear();
  writer->SetExportIfEmpty(false);
  writer->ExportToStream(&stream);
  EXPECT_EQ(Output(), "");
  EXPECT_TRUE(writer->log.empty());
  EXPECT_EQ(writer->Statistic()->TotalCount(), 0);
  EXPECT_EQ(writer->Statistic()->Result(), erCompleted);
}

TEST_F(RunFixture, LayoutsPlaceCellsByTheirOwnCoordinates) {
  UseTable(2);
  auto cells = [&](TVdELayout layout, bool title) {
    writer->log.clear();
    writer->SetLayout(layout);
    writer->SetAddTitle(title);
    writer->ExportToStream(&stream);
    return writer->Calls("Cell") + " / " + writer->Calls("Dim") + " " + writer->Calls("Width");
  };
  EXPECT_EQ(cells(elColumnar, false),
            "Cell(0,0,1,1,f) Cell(0,1,3,C1,f) Cell(0,2,2,1.5,f) "
            "Cell(1,0,1,2,f) Cell(1,1,3,C2,f) Cell(1,2,2,2.5,f) / "
            "Dim(2,4) Width(0,11) Width(1,20) Width(2,10)");
  EXPECT_EQ(cells(elReversedColumnar, true),
            "Cell(0,0,3,CustNo) Cell(1,0,3,Company) Cell(2,0,3,Amount) "
            "Cell(0,2,1,1,f) Cell(1,2,3,C1,f) Cell(2,2,2,1.5,f) "
            "Cell(0,3,1,2,f) Cell(1,3,3,C2,f) Cell(2,3,2,2.5,f) / "
            "Dim(3,4) Width(0,20) Width(1,20) Width(2,20) Width(3,20)");
  // One row per value; the rows of a record follow the rows of the one
  // before with one row left between them.
  writer->SetOptions(OptionBit(soUseFieldNameAsCaption));
  EXPECT_EQ(cells(elTabularForm, true),
            "Cell(0,0,3,CustNo) Cell(0,1,1,1,f) Cell(1,0,3,Company) Cell(1,1,3,C1,f) "
            "Cell(2,0,3,Amount) Cell(2,1,2,1.5,f) "
            "Cell(4,0,3,CustNo) Cell(4,1,1,2,f) Cell(5,0,3,Company) Cell(5,1,3,C2,f) "
            "Cell(6,0,3,Amount) Cell(6,1,2,2.5,f) / Dim(9,2) Width(0,20) Width(1,20)");
}

TEST_F(RunFixture, RejectedRecordsWriteNothingAndNeverSplitTheOutput) {
  UseTable(4);
  writer->SetRowsPerFile(1);
  std::vector<int> progress;
  writer->OnBeforeRecord = [](TObject*, bool& accept) { accept = false; };
  writer->OnProgress = [&](TObject*, int cur, int max, bool&) {
    progress.push_back(cur * 10 + max);
  };
  writer->ExportToStream(&stream);
  EXPECT_EQ(writer->Calls("Cell"), "");
  EXPECT_EQ(writer->Calls("Create"), "Create(VdExport.EXP)");
  EXPECT_EQ(progress, std::vector<int>{44}) << "only the final call of EndExport";
}

TEST_F(RunFixture, AbortEndsTheRunAfterTheCurrentRecordAsCanceled) {
  for (bool fromProgress : {true, false}) {
    SCOPED_TRACE(fromProgress);
    TClientDataSet* table = UseTable(5);
    writer->SetOptions(OptionBit(soShowMessage));
    writer->OnProgress = [&](TObject*, int done, int, bool& abort) {
      abort = fromProgress && done == 1;
    };
    int afterRecord = 0;
    writer->OnAfterRecord = [&](TObject*, bool& abort) {
      abort = !fromProgress && ++afterRecord == 2;
    };
    stream.Clear();
    platform->boxes.clear();
    writer->ExportToStream(&stream);
    EXPECT_EQ(Output(), "1;C1;1.5;|2;C2;2.5;|");
    EXPECT_EQ(writer->Statistic()->Result(), erCanceled);
    EXPECT_EQ(platform->boxes, std::vector<std::string>{"Data export was canceled by user."});
    delete table;
  }
}

TEST_F(RunFixture, CancelFromAnEarlierRunDoesNotEndTheNextOne) {
  UseTable(3);
  writer->OnAfterRecord = [](TObject*, bool& abort) { abort = true; };
  writer->ExportToStream(&stream);
  ASSERT_TRUE(writer->Canceled());
  writer->OnAfterRecord = nullptr;
  stream.Clear();
  writer->ExportToStream(&stream);
  EXPECT_EQ(Output(), "1;C1;1.5;|2;C2;2.5;|3;C3;3.5;|");
  EXPECT_EQ(writer->Statistic()->Result(), erCompleted);
}

TEST_F(RunFixture, RowsPerFileSplitsOwnFilesButNeverAStream) {
  UseTable(5);
  const auto folder = std::filesystem::path(::testing::TempDir()) / "vdei_rows_per_file";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  writer->SetFileName((folder / "A.XML").string());
  writer->SetRowsPerFile(2);
  writer->Footer()->Add("end");
  std::vector<int> numbers;
  writer->OnGetFileName = [&](TObject*, int number, std::string&) { numbers.push_back(number); };

  writer->Execute();
  EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(ReadFile(folder / "A.XML"), "1;C1;1.5;|2;C2;2.5;|end;|");
  EXPECT_EQ(ReadFile(folder / "A001.XML"), "3;C3;3.5;|4;C4;4.5;|end;|");
  EXPECT_EQ(ReadFile(folder / "A002.XML"), "5;C5;5.5;|end;|");
  EXPECT_EQ(writer->Calls("Dim"), "Dim(2,4) Dim(2,4) Dim(1,4)");
  EXPECT_EQ(writer->Statistic()->Result(), erCompleted);

  numbers.clear();
  writer->ExportToStream(&stream);
  EXPECT_EQ(numbers, std::vector<int>{0});
  EXPECT_EQ(Output(), "1;C1;1.5;|2;C2;2.5;|3;C3;3.5;|4;C4;4.5;|5;C5;5.5;|end;|");
  std::filesystem::remove_all(folder);
}

TEST(NumberedFileName, PadsTheNumberToThreeDigitsBeforeTheExtension) {
  EXPECT_EQ(NumberedFileName("/out/A.XML", 0), "/out/A.XML");
  EXPECT_EQ(NumberedFileName("/out/A.XML", 1), "/out/A001.XML");
  EXPECT_EQ(NumberedFileName("/out/A.XML", 99), "/out/A099.XML");
  EXPECT_EQ(NumberedFileName("/out/A.XML", 100), "/out/A100.XML");
  EXPECT_EQ(NumberedFileName("/out.d/A", 12), "/out.d/A012");
}

TEST_F(RunFixture, OwnFilesAreMergedOnlyWhereTheFormatAllowsItAndFailClearly) {
  UseTable(1);
  const auto path = std::filesystem::path(::testing::TempDir()) / "vdei_merge.TXT";
  std::ofstream(path) << "old|";
  writer->SetFileName(path.string());
  writer->SetOptions(OptionBit(soMergeData));
  writer->Execute();
  EXPECT_EQ(ReadFile(path), "1;C1;1.5;|") << "a format that cannot append overwrites";
  writer->canAppend = true;
  writer->Execute();
  EXPECT_EQ(ReadFile(path), "1;C1;1.5;|1;C1;1.5;|");
  std::filesystem::remove(path);

  writer->SetFileName("/nonexistent-folder/x.TXT");
  EXPECT_THROW(writer->Execute(), EFOpenError);
  EXPECT_EQ(writer->Statistic()->Result(), erFailed);
  EXPECT_FALSE(writer->InRun());
}

TEST_F(RunFixture, StyleColoursDataRowsByTheirDocumentRow) {
  UseTable(3);
  writer->SetAddTitle(true);
  writer->Header()->SetText("a\nb");
  writer->ExportStyle()->SetStyle(esBrick);
  std::string colours;
  writer->OnGetCellParams = [&](TObject*, TField* field, std::string&, TFont*, TAlignment&,
                                TColor& background, TCellType&) {
    if (field && field->FieldName() == "CustNo") colours += background == 0x00CFDFDF ? "O" : "E";
  };
  writer->ExportToStream(&stream);
  EXPECT_EQ(colours, "EOE") << "2 header lines + 1 title row + Done";
}

TEST_F(RunFixture, CellParamsHandlerAndOemConversionShapeEveryCell) {
  TClientDataSet* table = UseTable(1);
  table->Edit();
  table->FieldByName("Company")->SetAsString("Caf\xE9");
  table->Post();
  writer->SetAddTitle(true);
  writer->Header()->Add("\xE9t\xE9");
  writer->SetCharacterSet(csASCII_MSDOS);
  writer->OnGetCellParams = [](TObject*, TField* field, std::string& text, TFont* font, TAlignment&,
                               TColor&, TCellType& type) {
    if (field && field->FieldName() == "CustNo") {
      text = "#" + text;
      type = ctBlank;
      font->SetName("Arial");
    }
  };
  writer->ExportToStream(&stream);
  EXPECT_EQ(Output(), "\x82t\x82;|CustNo;Company;Amount;|#1;Caf\x82;1.5;|");
  EXPECT_EQ(writer->Calls("Cell(4,0"), "Cell(4,0,0,#1,f)");
  EXPECT_EQ(writer->lastFont, "MS Sans Serif") << "each cell starts from its column's font";
}

// A user's engine: three records, values for every column, and the
// colour of one cell of the columnar layout.
class TCountingEngine : public TVdECustomDataEngine {
 public:
  using TVdECustomDataEngine::TVdECustomDataEngine;
  int record = 0;
  std::vector<int> cellRows;
  bool IsEof() override { return record >= 3; }
  void MoveFirst() override { record = 0; }
  void MoveNext() override { ++record; }
  int GetRecordCount() override { return 3; }
  Variant GetValue(TVdEColumn&) override { return record == 1 ? 0 : (record + 1) * 10; }
  void GetCellParams(int row, int column, TColor& color, TFont&, TAlignment&) override {
    if (column == 0) cellRows.push_back(row);
    if (row == 2) color = clRed;
  }
};

TEST_F(RunFixture, UserEngineSuppliesValuesAndMayColourCells) {
  auto* engine = new TCountingEngine(&form);
  writer->SetColumnSource(csDataEngine);
  writer->SetDataEngine(engine);
  writer->SetBlankIfZero(true);
  writer->Header()->Add("h");
  TVdEColumn* number = writer->Columns()->Add();
  number->SetDataType(ctInteger);
  TVdEColumn* constant = writer->Columns()->Add();
  constant->SetColumnKind(ckConstant);
  constant->SetFieldName("k");
  constant->SetDataType(ctDate);
  writer->ExportToStream(&stream);
  EXPECT_EQ(writer->Calls("Cell(2"), "Cell(2,0,3,10) Cell(2,1,5,k)");
  EXPECT_EQ(writer->Calls("Cell(3,0"), "Cell(3,0,0,0)") << "a zero value is blank";
  EXPECT_EQ(engine->cellRows, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(writer->backgrounds,
            (std::vector<TColor>{clWhite, clWhite, clWhite, clRed, clRed, clWhite, clWhite}));
  EXPECT_EQ(writer->DataEngine(), engine) << "a user's engine outlives the run";

  writer->OnAfterRecord = [&](TObject*, bool&) { delete engine; };
  EXPECT_THROW(writer->ExportToStream(&stream), Exception) << "no use of an engine that went";
  EXPECT_EQ(writer->Statistic()->Result(), erFailed);
  EXPECT_FALSE(writer->InRun());
  EXPECT_EQ(writer->DataEngine(), nullptr);
}

TEST_F(RunFixture, RunSwapsSeparatorsAndUndoesEverythingWhenItFails) {
  TClientDataSet* table = UseTable(3);
  writer->SetOptions(OptionBit(soWaitCursor) | OptionBit(soDisableControls));
  writer->DataFormats()->SetDecimalSeparator(',');
  writer->DataFormats()->SetCurrencyString("EUR");
  FormatSettings().ShortDateFormat = "d.m.yyyy";
  writer->Footer()->Add("end");
  bool disabledDuringRun = false;
  writer->OnGetCellParams = [&](TObject*, TField* field, std::string&, TFont*, TAlignment&, TColor&,
                                TCellType&) {
    disabledDuringRun = table->ControlsDisabled();
    EXPECT_EQ(FormatSettings().CurrencyString, "EUR");
    if (field && field->FieldName() == "CustNo" && field->AsInteger() == 2) {
      throw EConvertError("bad value");
    }
  };
  EXPECT_THROW(writer->ExportToStream(&stream), EConvertError);

  EXPECT_EQ(Output(), "1;C1;1,5;|end;|") << "the output is still closed";
  EXPECT_TRUE(disabledDuringRun);
  EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
  EXPECT_EQ(FormatSettings().CurrencyString, "$");
  EXPECT_EQ(FormatSettings().ShortDateFormat, "d.m.yyyy") << "only the five settings are restored";
  FormatSettings() = DefaultFormatSettings();
  EXPECT_EQ(writer->Statistic()->Result(), erFailed);
  EXPECT_EQ(platform->cursors, (std::vector<TCursor>{crHourGlass, crDefault}));
  EXPECT_FALSE(table->ControlsDisabled());
  EXPECT_FALSE(writer->InRun());
  EXPECT_EQ(writer->Columns()->Count(), 0);

  writer->OnGetCellParams = nullptr;
  stream.Clear();
  writer->ExportToStream(&stream);
  EXPECT_EQ(writer->Statistic()->Result(), erCompleted) << "the next run starts afresh";
}

}  // namespace
}  // namespace VdExport
