#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFormView.h"

namespace Vdei {

namespace {

constexpr TMsgDlgBtn kAllButtons[] = {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore};

QMessageBox::StandardButton ToStandardButton(TMsgDlgBtn b) {
  switch (b) {
    case mbYes:
      return QMessageBox::Yes;
    case mbNo:
      return QMessageBox::No;
    case mbOK:
      return QMessageBox::Ok;
    case mbCancel:
      return QMessageBox::Cancel;
    case mbAbort:
      return QMessageBox::Abort;
    case mbRetry:
      return QMessageBox::Retry;
    case mbIgnore:
      return QMessageBox::Ignore;
  }
  return QMessageBox::NoButton;
}

QMessageBox::Icon ToIcon(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    case mtCustom:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtPlatform::~QtPlatform() {
  if (cursor_ != crDefault && qApp) QApplication::restoreOverrideCursor();
}

void QtPlatform::ProcessMessages() {
  QCoreApplication::processEvents();
}

TModalResult QtPlatform::MessageBox(const std::string& text, const std::string& caption,
                                    TMsgDlgType type, TMsgDlgButtons buttons) {
  QMessageBox box(ToIcon(type), ToQString(MessageCaption(caption, type)), ToQString(text));
  const TMsgDlgBtn defaultButton = DefaultButton(buttons);
  QMessageBox::StandardButtons offered = ToStandardButton(defaultButton);
  for (TMsgDlgBtn b : kAllButtons) {
    if (buttons & MsgButton(b)) offered |= ToStandardButton(b);
  }
  box.setStandardButtons(offered);
  box.setDefaultButton(ToStandardButton(defaultButton));
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (TMsgDlgBtn b : kAllButtons) {
    if (clicked && clicked == box.button(ToStandardButton(b))) return ModalResultOf(b);
  }
  return mrCancel;
}

void QtPlatform::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  if (cursor_ != crDefault) QApplication::restoreOverrideCursor();
  if (cursor != crDefault) QApplication::setOverrideCursor(QCursor(ToQtCursor(cursor)));
  cursor_ = cursor;
}

std::unique_ptr<FormView> QtPlatform::CreateFormView(TForm& form) {
  return std::make_unique<QtFormView>(form);
}

}  // namespace Vdei
