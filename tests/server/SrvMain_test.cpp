// The server's window under Qt's offscreen platform: its layout, the status
// texts a request goes through, and an export failure that shows no box.
#include "server/SrvMain.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <thread>

#include "SrvProcess.h"
#include "TestDatabases.h"
#include "dataset/Database.h"
#include "dataset/Query.h"
#include "platform/qt/PlatformApplication.h"
#include "platform/qt/QtFormView.h"
#include "server/ServerSocket.h"

namespace Vdei {
namespace {

// Turns the event loop until done() holds; false after ten seconds.
bool RunUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

void TurnEventLoop(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(TfrmSrvMain, ShowsItsLayoutAndWhatEachRequestDoes) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "SrvMain_test";
  char* argv[] = {name, nullptr};
  PlatformApplication app(argc, argv, false);
  ASSERT_TRUE(app.HasWindows());
  // A modal box would stop the loop; close any that opens and remember it.
  bool sawModalBox = false;
  QTimer modalWatch;
  QObject::connect(&modalWatch, &QTimer::timeout, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      sawModalBox = true;
      box->close();
    }
  });
  modalWatch.start(20);

  VdeiTest::TempDir dir;
  const std::string sample = AliasUrl("DBDEMOS");
  SetAlias("DBDEMOS", "sqlite:" + dir.File("missing.db"));
  TSrvListenSettings listen;
  listen.Port = 0;
  listen.Address = "127.0.0.1";
  auto form = std::make_unique<TfrmSrvMain>(nullptr, listen, false);
  form->Show();
  const int port = form->ServerSocket1->LocalPort();
  ASSERT_GT(port, 0);

  EXPECT_EQ(form->Caption(), "VdExport/VdImport: 3tier streaming (server side)");
  EXPECT_EQ(form->Left(), 78);
  EXPECT_EQ(form->Top(), 90);
  EXPECT_EQ(form->ClientWidth(), 421);
  EXPECT_EQ(form->ClientHeight(), 113);
  TLabel* status = form->lblStatus;
  EXPECT_EQ(status->Align(), alBottom);
  EXPECT_FALSE(status->AutoSize());
  EXPECT_EQ(status->Top() + status->Height(), 113);
  EXPECT_EQ(status->Width(), 421);
  auto* view = dynamic_cast<QtFormView*>(form->View());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Window()->windowTitle().toStdString(), form->Caption());
  EXPECT_EQ(view->Window()->size(), QSize(421, 113));
  EXPECT_EQ(view->WidgetOf(status)->geometry(), QRect(0, 100, 421, 13));
  EXPECT_FALSE(form->qryExample1->Active());

  auto statusIs = [&](const std::string& text) {
    return RunUntil([&] { return status->Caption() == text; });
  };
  {
    // The database cannot be opened: the client is let go without an
    // answer, the reason stands in the window, nothing modal shows.
    VdeiTest::Connection client(port);
    EXPECT_TRUE(statusIs("Client connected"));
    client.Send("%GET DATA%");
    EXPECT_TRUE(RunUntil([&] { return status->Caption().rfind("Export failed: ", 0) == 0; }))
        << status->Caption();
    EXPECT_NE(status->Caption().find("missing.db"), std::string::npos) << status->Caption();
    TurnEventLoop(200);  // time for a box to come, if one would
  }
  EXPECT_FALSE(sawModalBox);

  // A package larger than the socket buffers to a client that does not
  // read yet: the window shows it sent once the client has read it all.
  const std::string big = dir.File("big.db");
  VdeiTest::RunProgram(VdeiTest::GenDbBinary(), {"--rows", "20000", big});
  SetAlias("DBDEMOS", "sqlite:" + big);
  VdeiTest::Connection client(port, 16384);
  ASSERT_TRUE(statusIs("Client connected"));
  client.Send("%get data%");
  EXPECT_TRUE(statusIs("Client requested some info"));
  client.Send("%GET DATA%XML%");
  EXPECT_TRUE(RunUntil([&] { return form->ServerSocket1->PendingBytes() > 0; }));
  EXPECT_EQ(status->Caption(), "Client requested some info");
  EXPECT_TRUE(form->qryExample1->Active());
  std::string package;
  std::thread reader([&] { package = client.Read(); });
  EXPECT_TRUE(statusIs("Sent the dataset to client"));
  const QImage shot = view->Window()->grab().toImage();
  EXPECT_TRUE(shot.save(QString(VDEI_BINARY_DIR) + "/tests/server/SrvMain.png"));
  EXPECT_TRUE(statusIs("Client disconnected"));
  reader.join();
  EXPECT_GT(package.size(), 4u << 20);
  EXPECT_TRUE(client.Closed());
  EXPECT_TRUE(form->qryExample1->Active()) << "the query stays open between requests";

  // FormDestroy closes the listening socket.
  form.reset();
  VdeiTest::Connection late(port);
  EXPECT_FALSE(late.Connected());
  SetAlias("DBDEMOS", sample);
}

}  // namespace
}  // namespace Vdei
