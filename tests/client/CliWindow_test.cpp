// The client's window under Qt's offscreen platform (or any display named
// by QT_QPA_PLATFORM): its layout, a request through the real button into
// the grid with the progress window showing, the socket error box, and a
// close in the middle of an import. Saves a picture of the window with the
// table in it as tests/client/CliMain.png in the build folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QtTest/QTest>

#include "ClientFormSupport.h"
#include "LoopbackServer.h"
#include "SrvProcess.h"
#include "client/CliMain.h"
#include "dataset/ClientDataSet.h"
#include "import/VdI2XML.h"
#include "import/VdIStat.h"
#include "platform/Application.h"
#include "platform/qt/PlatformApplication.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/RadioGroupBox.h"

namespace Vdei {
namespace {

class ClientWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "CliWindow_test";
    static char* argv[] = {name, nullptr};
    app_ = new PlatformApplication(argc, argv, false);
  }
  static void TearDownTestSuite() { delete app_; }

  void SetUp() override {
    ASSERT_TRUE(app_->HasWindows());
    // A modal box would stop the test: close each one and keep its text.
    QObject::connect(&modalWatch_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes_.push_back(box->text().toStdString());
        box->close();
      }
    });
    modalWatch_.start(20);
  }

  std::unique_ptr<TfrmCliMain> ShowForm(int port) {
    auto form = std::make_unique<TfrmCliMain>(&Application(), VdeiTest::Loopback(port, 5));
    form->Show();
    view_ = dynamic_cast<QtFormView*>(form->View());
    return form;
  }
  template <class W>
  W* Widget(const TControl* control) const {
    return dynamic_cast<W*>(view_->WidgetOf(control));
  }
  void ClickRequest(TfrmCliMain& form) const {
    QTest::mouseClick(Widget<QPushButton>(form.btnGetData), Qt::LeftButton);
  }

  static PlatformApplication* app_;
  QtFormView* view_ = nullptr;
  QTimer modalWatch_;
  std::vector<std::string> boxes_;
};

PlatformApplication* ClientWindow::app_ = nullptr;

TEST_F(ClientWindow, ShowsItsLayoutAndTheTableThatArrives) {
  VdeiTest::ServerProcess server;
  auto form = ShowForm(server.Port());
  ASSERT_NE(view_, nullptr);
  EXPECT_EQ(view_->Window()->windowTitle(), "VdExport/Vdimport: 3tier streaming (client side)");
  EXPECT_EQ(view_->Window()->size(), QSize(564, 419));
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_EQ(view_->WidgetOf(form->StatusBar1)->geometry(), QRect(0, 400, 564, 19));
  EXPECT_EQ(view_->WidgetOf(form->gbPreview)->geometry(), QRect(0, 52, 564, 348));
  EXPECT_EQ(view_->WidgetOf(form->DBGrid1)->geometry(), QRect(2, 15, 560, 331));
  auto* choice = Widget<RadioGroupBox>(form->rgPackageFormat);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->title(), "Use package type ");
  EXPECT_EQ(choice->Button(0)->text(), "XML");
  EXPECT_TRUE(choice->Button(0)->isChecked());
  EXPECT_EQ(choice->Button(1)->text(), "HTML");
  EXPECT_EQ(choice->Button(0)->y(), choice->Button(1)->y()) << "two columns";
  EXPECT_EQ(Widget<QPushButton>(form->btnGetData)->text(), "Request dataset from server");

  // During the import the progress window shows and the request's
  // controls take no clicks.
  bool progressShown = false, controlsDisabled = false;
  form->VdImportFromXML1->OnAfterRecordEvent = [&](TObject*, bool&) {
    const auto* progress = form->VdImportFromXML1->ProgressWindow();
    progressShown = progress != nullptr && progress->View() != nullptr;
    controlsDisabled = !Widget<QPushButton>(form->btnGetData)->isEnabled() &&
                       !Widget<RadioGroupBox>(form->rgPackageFormat)->isEnabled();
  };
  ClickRequest(*form);
  EXPECT_TRUE(progressShown);
  EXPECT_TRUE(controlsDisabled);
  EXPECT_TRUE(Widget<QPushButton>(form->btnGetData)->isEnabled());
  EXPECT_EQ(Widget<QStatusBar>(form->StatusBar1)->currentMessage(), "Disconnected");

  QAbstractItemModel* grid = Widget<QTableView>(form->DBGrid1)->model();
  ASSERT_EQ(grid->rowCount(), 55);
  ASSERT_EQ(grid->columnCount(), 13);
  EXPECT_EQ(grid->headerData(0, Qt::Horizontal).toString(), "CustNo");
  EXPECT_EQ(grid->headerData(12, Qt::Horizontal).toString(), "LastInvoiceDate");
  EXPECT_EQ(grid->data(grid->index(0, 1)).toString(), "Amberfin Outfitters");
  EXPECT_EQ(grid->data(grid->index(0, 0)).toInt(), 1000);
  EXPECT_TRUE(boxes_.empty());

  // HTML through the radio button: the same rows, now as texts.
  QTest::mouseClick(choice->Button(1), Qt::LeftButton);
  EXPECT_EQ(form->PackageType(), ptHTML);
  ClickRequest(*form);
  EXPECT_EQ(grid->rowCount(), 55);
  EXPECT_EQ(grid->data(grid->index(0, 1)).toString(), "Amberfin Outfitters");
  QTest::mouseClick(choice->Button(0), Qt::LeftButton);
  ClickRequest(*form);
  QTest::qWait(50);
  EXPECT_TRUE(view_->Window()->grab().save(VDEI_BINARY_DIR "/tests/client/CliMain.png"));
}

TEST_F(ClientWindow, ShowsOneBoxForASocketErrorAndKeepsTheGrid) {
  auto form = ShowForm(VdeiTest::UnusedPort());
  ClickRequest(*form);
  EXPECT_EQ(boxes_, std::vector<std::string>{"Socket error:111"});
  EXPECT_EQ(Widget<QTableView>(form->DBGrid1)->model()->rowCount(), 0);
  EXPECT_EQ(Widget<QStatusBar>(form->StatusBar1)->currentMessage(), "Connecting...");
  EXPECT_TRUE(Widget<QPushButton>(form->btnGetData)->isEnabled());
}

TEST_F(ClientWindow, ClosingDuringARequestCancelsTheImportAndClosesAfterIt) {
  VdeiTest::ServerProcess server;
  auto form = ShowForm(server.Port());
  int closed = 0;
  form->OnClosed = [&] { ++closed; };
  bool stillOpen = false;
  form->VdImportFromXML1->OnAfterRecordEvent = [&](TObject*, bool&) {
    if (form->VdImportFromXML1->Statistic()->TotalImported() != 3) return;
    form->UserClose();                        // the close box
    form->btnGetDataClick(form->btnGetData);  // a click that got through anyway
    stillOpen = form->Visible() && closed == 0;
  };
  ClickRequest(*form);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->VdImportFromXML1->Statistic()->Result(), VdImport::irCanceled);
  EXPECT_EQ(form->ClientDataSet1->RecordCount(), 3);
  EXPECT_EQ(form->StatusBar1->SimpleText(), "The data import process was canceled by the user.");
  EXPECT_TRUE(boxes_.empty());
}

}  // namespace
}  // namespace Vdei
