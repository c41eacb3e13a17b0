#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "FormControlsSupport.h"
#include "platform/Forms.h"
#include "platform/qt/FileCopyIndicator.h"
#include "platform/qt/PlatformApplication.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/QtPlatform.h"

namespace Vdei {
namespace {

// A form laid out like the export's progress window.
struct ProgressForm {
  ProgressForm() : form(std::make_unique<TForm>(nullptr)) {
    form->SetCaption("VdExport 4.63");
    form->SetClientSize(442, 87);
    form->SetBorderStyle(bsDialog);
    form->SetFormStyle(fsStayOnTop);
    form->SetPosition(poScreenCenter);
    bevel = Add<TBevel>("Bevel", 0, 0, 442, 87);
    bevel->SetShape(bsFrame);
    bevel->SetStyle(bsRaised);
    animation = Add<TAnimate>("Animate", 8, 4, 427, 45);
    status = Add<TLabel>("lblStatus", 8, 56, 339, 13);
    status->SetAutoSize(false);
    status->SetCaption("Exporting... (5/91)");
    bar = Add<TProgressBar>("ProgressBar", 10, 70, 337, 10);
    bar->SetMax(91);
    bar->SetPosition(5);
    cancel = Add<TButton>("btnCancel", 355, 55, 75, 25);
    cancel->SetCaption("&Cancel");
    cancel->SetCancel(true);
    cancel->SetCursor(crArrow);
    cancel->OnClick = [this](TObject*) { ++clicks; };
    form->OnClose = [this](TObject*, TCloseAction& action) {
      ++closes;
      action = closeAction;
    };
    animation->SetActive(true);
    form->Show();
  }
  template <class T>
  T* Add(const char* name, int left, int top, int width, int height) {
    return VdeiTest::AddControl<T>(*form, name, left, top, width, height);
  }
  QtFormView& View() const { return *dynamic_cast<QtFormView*>(form->View()); }
  QWidget* Window() const { return View().Window(); }
  template <class W>
  W* Widget(const TControl* control) const {
    return dynamic_cast<W*>(View().WidgetOf(control));
  }

  std::unique_ptr<TForm> form;
  TBevel* bevel;
  TAnimate* animation;
  TLabel* status;
  TProgressBar* bar;
  TButton* cancel;
  int clicks = 0, closes = 0;
  TCloseAction closeAction = caHide;
};

void FlushDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(QtFormViewTest, ShowsTheProgressWindowAsLaidOut) {
  ASSERT_NE(dynamic_cast<QtPlatform*>(&Platform()), nullptr);
  ProgressForm p;
  QWidget* window = p.Window();
  ASSERT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "VdExport 4.63");
  EXPECT_EQ(window->size(), QSize(442, 87));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());  // dialog border: fixed size
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window->windowFlags() &
               (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  QPoint screenCentre = window->screen()->availableGeometry().center();
  EXPECT_LE((window->frameGeometry().center() - screenCentre).manhattanLength(), 1);
  EXPECT_EQ(window->font().family(),
            QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
  EXPECT_EQ(window->font().pointSize(), 8);

  auto* label = p.Widget<QLabel>(p.status);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->geometry(), QRect(8, 56, 339, 13));
  EXPECT_EQ(label->text(), "Exporting... (5/91)");
  EXPECT_FALSE(label->wordWrap());
  auto* bar = p.Widget<QProgressBar>(p.bar);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->geometry(), QRect(10, 70, 337, 10));
  EXPECT_EQ(bar->maximum(), 91);
  EXPECT_EQ(bar->value(), 5);
  EXPECT_FALSE(bar->isTextVisible());
  auto* button = p.Widget<QPushButton>(p.cancel);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->geometry(), QRect(355, 55, 75, 25));
  EXPECT_EQ(button->text(), "&Cancel");
  EXPECT_EQ(button->objectName(), "btnCancel");
  auto* bevel = p.Widget<QFrame>(p.bevel);
  ASSERT_NE(bevel, nullptr);
  EXPECT_EQ(bevel->geometry(), QRect(0, 0, 442, 87));
  EXPECT_EQ(bevel->frameShadow(), QFrame::Raised);
  auto* indicator = p.Widget<FileCopyIndicator>(p.animation);
  ASSERT_NE(indicator, nullptr);
  EXPECT_TRUE(indicator->IsActive());
  QTest::qWait(200);
  EXPECT_NE(indicator->Step(), 0);  // it moves

  QImage shot = window->grab().toImage();
  EXPECT_EQ(shot.size(), QSize(442, 87) * shot.devicePixelRatio());
  EXPECT_TRUE(shot.save(VDEI_BINARY_DIR "/progress-window.png"));
}

TEST(QtFormViewTest, UserActionsReachTheModel) {
  ProgressForm p;
  QTest::mouseClick(p.Widget<QPushButton>(p.cancel), Qt::LeftButton);
  EXPECT_EQ(p.clicks, 1);
  QTest::keyClick(p.Window(), Qt::Key_Escape);
  EXPECT_EQ(p.clicks, 2);

  p.closeAction = caNone;
  p.Window()->close();
  EXPECT_EQ(p.closes, 1);
  EXPECT_TRUE(p.Window()->isVisible());
  p.closeAction = caHide;
  p.Window()->close();
  EXPECT_EQ(p.closes, 2);
  EXPECT_FALSE(p.form->Visible());
  EXPECT_FALSE(p.Window()->isVisible());
  EXPECT_EQ(p.clicks, 2);  // closing is not a click

  // A click whose handler destroys the whole form (and so the view).
  p.form->Show();
  QPointer<QWidget> window = p.Window();
  p.cancel->OnClick = [&p](TObject*) { p.form.reset(); };
  QTest::mouseClick(p.Widget<QPushButton>(p.cancel), Qt::LeftButton);
  EXPECT_EQ(p.form, nullptr);
  ASSERT_FALSE(window.isNull());  // still inside its own event...
  EXPECT_FALSE(window->isVisible());
  FlushDeletes();
  EXPECT_TRUE(window.isNull());  // ...and gone after it
}

TEST(QtFormViewTest, WidgetsFollowTheModel) {
  ProgressForm p;
  const std::string longText =
      "Exporting the table CUSTOMER of the alias DBDEMOS with all its columns and rows... (5/91)";
  p.status->SetCaption(longText);
  auto* label = p.Widget<QLabel>(p.status);
  EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << label->text().toStdString();
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), 339);
  EXPECT_EQ(label->toolTip().toStdString(), longText);
  p.status->SetCaption("Caf\xE9");
  EXPECT_EQ(label->text(), QString::fromUtf8("Caf\xC3\xA9"));
  EXPECT_TRUE(label->toolTip().isEmpty());

  p.bar->SetPosition(42);
  p.bar->SetVisible(false);
  auto* bar = p.Widget<QProgressBar>(p.bar);
  EXPECT_EQ(bar->value(), 42);
  EXPECT_TRUE(bar->isHidden());

  // Controls added or destroyed while the window is shown.
  auto* panel = p.Add<TPanel>("pnlCounters", 10, 83, 337, 43);
  panel->SetBevelOuter(bvNone);
  auto* counter = p.Add<TLabel>("lblTotalAdded", 80, 1, 57, 13);
  counter->SetParent(panel);
  counter->SetAlignment(taRightJustify);
  QWidget* panelWidget = p.View().WidgetOf(panel);
  auto* counterLabel = p.Widget<QLabel>(counter);
  ASSERT_NE(counterLabel, nullptr);
  EXPECT_EQ(counterLabel->parentWidget(), panelWidget);
  EXPECT_EQ(counterLabel->mapTo(p.Window(), QPoint()), QPoint(90, 84));
  EXPECT_TRUE(counterLabel->alignment() & Qt::AlignRight);

  QPointer<QWidget> goneLabel = label;
  QPointer<QWidget> gonePanel = panelWidget;
  delete p.status;
  p.status = nullptr;
  delete panel;
  EXPECT_EQ(counterLabel->parentWidget(), p.Window());  // its control left the panel
  FlushDeletes();
  EXPECT_TRUE(goneLabel.isNull());
  EXPECT_TRUE(gonePanel.isNull());
  p.Window()->repaint();
}

TEST(QtPlatformTest, MessageBoxCursorAndStart) {
  QString seenTitle, seenText;
  QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons seenButtons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seenTitle = box->windowTitle();
    seenText = box->text();
    seenIcon = box->icon();
    seenButtons = box->standardButtons();
    box->button(QMessageBox::No)->click();
  });
  TModalResult answer = Platform().MessageBox(
      "Replace it?", "", mtConfirmation, MsgButton(mbYes) | MsgButton(mbNo) | MsgButton(mbCancel));
  EXPECT_EQ(answer, mrNo);
  EXPECT_EQ(seenTitle, "Confirm");
  EXPECT_EQ(seenText, "Replace it?");
  EXPECT_EQ(seenIcon, QMessageBox::Question);
  EXPECT_EQ(seenButtons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

  Platform().SetCursor(crHourGlass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Platform().SetCursor(crArrow);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
  Platform().SetCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  std::string saved = std::getenv("QT_QPA_PLATFORM");
  ::unsetenv("QT_QPA_PLATFORM");
  ::setenv("DISPLAY", "", 1);
  ::unsetenv("WAYLAND_DISPLAY");
  EXPECT_FALSE(WantsWindows(false));
  ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_TRUE(WantsWindows(false));
  EXPECT_FALSE(WantsWindows(true));
  ::unsetenv("WAYLAND_DISPLAY");
  ::setenv("QT_QPA_PLATFORM", saved.c_str(), 1);
  EXPECT_TRUE(WantsWindows(false));
}

}  // namespace
}  // namespace Vdei

int main(int argc, char** argv) {
  // Windows are drawn off screen, the same on every machine.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  Vdei::PlatformApplication app(argc, argv, false);
  return RUN_ALL_TESTS();
}
