// The platform services of a program with windows, on Qt Widgets. Needs a
// QApplication for as long as it is installed (PlatformApplication.h
// takes care of both).
//
//   ProcessMessages  QCoreApplication::processEvents()
//   MessageBox       a modal QMessageBox with the type's icon and the
//                    buttons given; the default button as headless
//   SetCursor        the application's override cursor (hourglass: the
//                    wait cursor; crDefault removes it)
//   CreateFormView   a QtFormView (QtFormView.h)
// ShellOpen and SendMail are the common ones (Platform.h).
#pragma once

#include "platform/Platform.h"

namespace Vdei {

class QtPlatform : public PlatformServices {
 public:
  ~QtPlatform() override;
  void ProcessMessages() override;
  TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                          TMsgDlgButtons buttons) override;
  void SetCursor(TCursor cursor) override;
  TCursor Cursor() const override { return cursor_; }
  std::unique_ptr<FormView> CreateFormView(TForm& form) override;

 private:
  TCursor cursor_ = crDefault;
};

}  // namespace Vdei
