// The import's progress window: its layouts and what a run writes into it.
#include "import/VdIStat.h"

#include <gtest/gtest.h>

#include "ImportTestReader.h"
#include "RecordingPlatform.h"

namespace VdImport {
namespace {

std::string Layout(const TfrmVdIProcess& window) {
  std::string layout =
      std::to_string(window.ClientWidth()) + "x" + std::to_string(window.ClientHeight());
  for (const Vdei::TControl* c : window.Controls()) {
    if (!c->Visible() || c->Parent() != nullptr) continue;
    layout += " " + c->Name() + ":" + std::to_string(c->Left()) + "," + std::to_string(c->Top());
  }
  return layout;
}

struct ProgressWindow : ::testing::Test {
  Vdei::PlatformScope platform;
  TTestReader reader{nullptr};

  TfrmVdIProcess& Show(bool counters, bool animate) {
    EXPECT_TRUE(reader.ShowProgressWindow("Title", "Status", counters, animate,
                                          "D:", "U:", "A:", "E:", "P:", "Stop"));
    return *reader.ProgressWindow();
  }
};

TEST_F(ProgressWindow, FourLayoutsByCountersAndAnimation) {
  TfrmVdIProcess& full = Show(true, true);
  EXPECT_EQ(Layout(full),
            "442x130 Bevel:0,0 lblStatus:8,56 btnCancel:355,80 Animate:8,4 pnlCounters:10,83")
      << "the bar is hidden until a range is set";
  EXPECT_EQ(full.ProgressBar()->Top(), 70);
  EXPECT_TRUE(full.Animation()->Active());
  EXPECT_EQ(full.Caption(), "Title");
  EXPECT_EQ(full.btnCancel()->Caption(), "Stop");
  EXPECT_EQ(full.lblProcessed()->Caption() + full.lblErrors()->Caption() +
                full.lblAdded()->Caption() + full.lblUpdated()->Caption() +
                full.lblDeleted()->Caption(),
            "P:E:A:U:D:");
  EXPECT_EQ(full.lblTotalErrors()->Left(), 272);
  EXPECT_EQ(full.lblTotalErrors()->Font().Color(), Vdei::clBlue);

  EXPECT_EQ(Layout(Show(false, true)),
            "442x88 Bevel:0,0 lblStatus:8,56 btnCancel:355,55 Animate:8,4");
  EXPECT_EQ(Layout(Show(false, false)), "442x43 Bevel:0,0 lblStatus:8,4 btnCancel:355,28");
  TfrmVdIProcess& counters = Show(true, false);
  EXPECT_EQ(Layout(counters), "442x85 Bevel:0,0 lblStatus:8,4 btnCancel:355,28 pnlCounters:10,31");
  EXPECT_EQ(counters.ProgressBar()->Top(), 18);

  reader.SetProgressRange(0, 0, 0);
  EXPECT_FALSE(counters.ProgressBar()->Visible()) << "an empty range keeps the bar hidden";
  reader.SetProgressRange(0, 40, 0);
  EXPECT_TRUE(reader.UpdateProgress("Busy", 12, 3, 4, 5, 6));
  EXPECT_EQ(counters.ProgressBar()->Position(), 12);
  EXPECT_EQ(counters.lblStatus()->Caption(), "Busy");
  EXPECT_EQ(counters.lblTotalImported()->Caption() + counters.lblTotalUpdated()->Caption() +
                counters.lblTotalDeleted()->Caption() + counters.lblTotalAdded()->Caption() +
                counters.lblTotalErrors()->Caption(),
            "123456");
  counters.UserClose();
  EXPECT_TRUE(reader.IsCanceled());
  EXPECT_TRUE(reader.CloseProgressWindow());
  EXPECT_FALSE(reader.IsCanceled());
  EXPECT_FALSE(reader.UpdateProgress("x", 1, 1, 1, 1, 1));
}

TEST_F(ProgressWindow, AWindowThatCannotBeMadeLetsTheRunGoOn) {
  platform->failViews = true;
  Vdei::TComponent form(nullptr);
  reader.SetDataSet(MakeTable(&form, {}));
  reader.SetAnimatedStatus(true);
  reader.columns = {"ID"};
  reader.rows = {{"1"}, {"2"}};
  reader.Execute();
  EXPECT_EQ(platform->boxes, std::vector<std::string>{"Can't create a process dialog"});
  EXPECT_EQ(reader.Statistic()->Result(), irExecuted);
  EXPECT_EQ(reader.Statistic()->TotalAdded(), 2);
}

}  // namespace
}  // namespace VdImport
