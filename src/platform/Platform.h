// The platform services that the libraries call: processing pending
// window messages, message boxes, the screen cursor, the shell's "open",
// mail, and the views that show forms (Forms.h).
//
// The libraries never talk to a window system themselves. One services
// object is installed per process (SetPlatform); the default is the
// headless implementation (HeadlessPlatform.h): no windows, message boxes
// logged to standard error and answered with their default button. The
// programs install the Qt implementation when a display is there.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Vdei {

class TForm;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
using TMsgDlgButtons = unsigned;  // bit n = TMsgDlgBtn n
constexpr TMsgDlgButtons MsgButton(TMsgDlgBtn b) { return 1u << b; }

// Results of dialogs and of buttons with a modal result.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                    mrYes = 6, mrNo = 7 };

enum TCursor { crDefault, crHourGlass, crArrow };

// One mail message as the export's e-mail action builds it.
struct MailMessage {
  std::string Subject;
  std::string NoteText;
  std::string Recipient;       // name and address; empty: none
  std::string AttachmentPath;  // empty: no attachment
};

// Something that shows a TForm on screen and reports the user's actions
// back to it (TForm::ButtonClicked, TForm::UserClose). Created by the
// services for each form that is shown; destroyed with the form.
class FormView {
 public:
  virtual ~FormView() = default;
  // The form's state changed (texts, positions, visibility): show it.
  virtual void Update() = 0;
  // Repaint at once, without waiting for the event loop.
  virtual void Repaint() = 0;
};

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // Lets the application handle the window messages that are waiting.
  virtual void ProcessMessages() = 0;
  // Shows a message box; returns the button chosen (headless: the default
  // button, which is the first of OK, Yes, Cancel, ... that is offered).
  virtual TModalResult MessageBox(const std::string& text, const std::string& caption,
                                  TMsgDlgType type, TMsgDlgButtons buttons) = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  virtual TCursor Cursor() const = 0;
  // A view for a form being shown, or nullptr where forms are not shown
  // (headless: the form keeps its state and nothing is drawn).
  virtual std::unique_ptr<FormView> CreateFormView(TForm& form) = 0;

  // Opens a file with the desktop's program for it ("open" verb); false
  // when no opener could be started. Never waits for the program.
  virtual bool ShellOpen(const std::string& fileName);
  // Sends or composes mail. With dialog, or without a recipient, the
  // desktop's mail program opens a compose window (xdg-email); otherwise
  // `sendmail -t` sends it when present. Returns -1 when no mail program is
  // available, otherwise the program's exit status (0 for success).
  virtual int SendMail(const MailMessage& message, bool dialog);
};

PlatformServices& Platform();
// Installs services for the process (nullptr restores the headless ones).
void SetPlatform(std::unique_ptr<PlatformServices> services);

}  // namespace Vdei
