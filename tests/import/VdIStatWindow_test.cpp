// The import's progress window drawn by Qt, off screen.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "ImportTestReader.h"
#include "import/VdIStat.h"
#include "platform/qt/PlatformApplication.h"
#include "platform/qt/QtFormView.h"

namespace VdImport {
namespace {

TEST(ImportWindow, BothLayoutsAreDrawnAsTheModelSays) {
  TTestReader reader(nullptr);
  for (bool full : {true, false}) {
    ASSERT_TRUE(reader.ShowProgressWindow(
        "Importing...", "Importing...", full, full,
        "Deleted:", "Updated:", "Added:", "Errors:", "Processed:", "&Cancel"));
    TfrmVdIProcess& model = *reader.ProgressWindow();
    reader.SetProgressRange(0, 200, 0);
    reader.UpdateProgress("Importing...", 150, 20, 0, 130, 3);
    auto* view = dynamic_cast<Vdei::QtFormView*>(model.View());
    ASSERT_NE(view, nullptr);
    QWidget* window = view->Window();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), full ? QSize(442, 130) : QSize(442, 43));
    auto* cancel = dynamic_cast<QPushButton*>(view->WidgetOf(model.btnCancel()));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->geometry().top(), full ? 80 : 28);
    auto* bar = dynamic_cast<QProgressBar*>(view->WidgetOf(model.ProgressBar()));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->value(), 150);
    auto* processed = dynamic_cast<QLabel*>(view->WidgetOf(model.lblTotalImported()));
    ASSERT_NE(processed, nullptr);
    EXPECT_EQ(processed->text(), "150");
    EXPECT_EQ(processed->isVisibleTo(window), full);
    const QImage shot = window->grab().toImage();
    EXPECT_TRUE(shot.save(full ? VDEI_BINARY_DIR "/import-progress.png"
                               : VDEI_BINARY_DIR "/import-progress-small.png"));
  }
  EXPECT_TRUE(reader.CloseProgressWindow());
}

}  // namespace
}  // namespace VdImport

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  Vdei::PlatformApplication app(argc, argv, false);
  return RUN_ALL_TESTS();
}
