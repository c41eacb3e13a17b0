#include "export/VdEStat.h"

#include <gtest/gtest.h>

#include "RunTestSupport.h"

namespace VdExport {
namespace {

using namespace Vdei;

TEST(TfrmVdEProcess, LayoutOfTheWindow) {
  TfrmVdEProcess window(nullptr);
  std::string layout =
      std::to_string(window.ClientWidth()) + "x" + std::to_string(window.ClientHeight());
  for (const TControl* c : window.Controls()) {
    layout += " " + c->Name() + ":" + std::to_string(c->Left()) + "," + std::to_string(c->Top()) +
              "," + std::to_string(c->Width()) + "," + std::to_string(c->Height());
  }
  EXPECT_EQ(layout,
            "442x87 Bevel:0,0,442,87 lblStatus:8,56,339,13 ProgressBar:10,70,337,10 "
            "btnCancel:355,55,75,25 Animate:8,4,427,45");
  EXPECT_EQ(window.btnCancel()->Caption(), "&Cancel");
  EXPECT_EQ(window.btnCancel()->ModalResult(), mrCancel);
  EXPECT_FALSE(window.Animation()->Active());
}

TEST(TfrmVdEProcess, CancelButtonEscAndClosingAllSetTheFlag) {
  for (int way = 0; way < 3; ++way) {
    TfrmVdEProcess window(nullptr);
    window.Show();
    ASSERT_FALSE(window.Canceled());
    if (way == 0) window.btnCancel()->Click();
    if (way == 1) window.CancelKey();
    if (way == 2) window.UserClose();
    EXPECT_TRUE(window.Canceled()) << way;
    EXPECT_EQ(window.Visible(), way != 2) << "closing hides the window, it stays";
  }
}

struct ProgressFixture : ::testing::Test {
  PlatformScope platform;
  TComponent form{nullptr};
  TRecordingWriter* writer = new TRecordingWriter(&form);
  TMemoryStream stream;
};

TEST_F(ProgressFixture, WindowShowsThrottledCountsAndTheFinalText) {
  writer->SetDataSet(MakeSampleTable(&form, 25));
  writer->SetAnimatedStatus(true);
  writer->SetKeyGenerator("Gen");
  writer->Statistic()->SetUpdateStep(10);
  std::vector<std::string> labels;
  platform->onProcessMessages = [&] {
    TfrmVdEProcess* window = writer->ProgressWindow();
    if (window != nullptr && window->Visible()) {
      EXPECT_EQ(window->Caption(), "Gen");
      EXPECT_TRUE(window->ProgressBar()->Visible());
      EXPECT_EQ(window->ProgressBar()->Max(), writer->RecordCountAtStart());
      EXPECT_TRUE(window->Animation()->Active());
      if (labels.empty() || labels.back() != window->lblStatus()->Caption()) {
        labels.push_back(window->lblStatus()->Caption());
      }
    }
  };
  writer->ExportToStream(&stream);
  EXPECT_EQ(labels, (std::vector<std::string>{"Exporting...", "Exporting... (0/25)",
                                              "Exporting... (10/25)", "Exporting... (20/25)"}))
      << "25 is no multiple of 10: the final text is not shown";
  EXPECT_EQ(writer->ProgressWindow(), nullptr);

  labels.clear();
  writer->Statistic()->SetUpdateStep(0);
  writer->SetDataSet(MakeSampleTable(&form, 2));
  writer->ExportToStream(&stream);
  EXPECT_EQ(labels.back(), "The " + writer->FileName() +
                               " file was successfully generated with exported data. (2/2)");
  EXPECT_EQ(labels.size(), 4u) << "the status, each of the two records, the final text";
}

TEST_F(ProgressFixture, UpdatesWithoutAWindowAndAnEmptySource) {
  EXPECT_FALSE(writer->UpdateProgress("x", 0));
  EXPECT_FALSE(writer->UpdateProgress("x", 3));
  writer->Statistic()->SetUpdateStep(2);
  EXPECT_TRUE(writer->UpdateProgress("x", 3)) << "a skipped value answers true";
  EXPECT_FALSE(writer->CloseProgressWindow());

  ASSERT_TRUE(writer->ShowProgressWindow("c", "Exporting...", "Stop", 0, 0, 0));
  EXPECT_FALSE(writer->ProgressWindow()->ProgressBar()->Visible());
  EXPECT_EQ(writer->ProgressWindow()->btnCancel()->Caption(), "Stop");
  EXPECT_TRUE(writer->UpdateProgress("Exporting...", 0));
  EXPECT_EQ(writer->ProgressWindow()->lblStatus()->Caption(), "Exporting... (0/0)");
  EXPECT_TRUE(writer->CloseProgressWindow());
  EXPECT_EQ(writer->ProgressWindow(), nullptr);
}

TEST_F(ProgressFixture, CancelInTheWindowEndsThisRunOnly) {
  TClientDataSet* table = MakeSampleTable(&form, 5);
  writer->SetDataSet(table);
  writer->SetAnimatedStatus(true);
  platform->onProcessMessages = [&] {
    TfrmVdEProcess* window = writer->ProgressWindow();
    if (window && table->Active() && table->FieldByName("CustNo")->AsInteger() == 2) {
      window->CancelKey();
    }
  };
  writer->ExportToStream(&stream);
  EXPECT_EQ(std::string(stream.View()), "1;C1;1.5;|2;C2;2.5;|")
      << "the click arrives while record 2 starts; the loop stops before record 3";
  EXPECT_EQ(writer->Statistic()->Result(), erCanceled);
  EXPECT_FALSE(writer->Canceled()) << "the flag went with the window";

  platform->onProcessMessages = nullptr;
  stream.Clear();
  writer->ExportToStream(&stream);
  EXPECT_EQ(writer->Statistic()->Result(), erCompleted);
  EXPECT_EQ(writer->Calls("Cell(4,0"), "Cell(4,0,1,5,f)");
}

TEST_F(ProgressFixture, AWindowThatCannotBeShownLeavesTheRunWithoutOne) {
  writer->SetDataSet(MakeSampleTable(&form, 3));
  writer->SetAnimatedStatus(true);
  platform->failViews = true;
  writer->OnAfterRecord = [](TObject* sender, bool&) {
    static_cast<TRecordingWriter*>(sender)->SetCanceled(true);
  };
  writer->ExportToStream(&stream);
  EXPECT_EQ(platform->boxes.front(), "Can't create a process dialog");
  EXPECT_EQ(std::string(stream.View()), "1;C1;1.5;|") << "the component's own flag cancels";
  EXPECT_EQ(writer->Statistic()->Result(), erCanceled);
}

}  // namespace
}  // namespace VdExport
