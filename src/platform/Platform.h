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
constexpr TMsgDlgButtons MsgButton(TMsgDlgBtn b) {
  return 1u << b;
}

// Results of dialogs and of buttons with a modal result.
enum TModalResult {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7
};

// The result a message box gives when button b is chosen.
TModalResult ModalResultOf(TMsgDlgBtn b);
// The button a message box answers with when nobody chooses: the first of
// OK, Yes, Cancel, No, Abort, Retry, Ignore that is offered (OK when none
// is offered, as a box without buttons shows OK).
TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons);
// The caption a message box shows: the one given, or the type's title
// ("Warning", "Error", "Information", "Confirm") when it is empty.
std::string MessageCaption(const std::string& caption, TMsgDlgType type);

enum TCursor { crDefault, crHourGlass, crArrow };

// One mail message as the export's e-mail action builds it. Texts are in
// the ANSI code page; the attachment path is a file name as the streams
// take it.
struct MailMessage {
  std::string Subject;
  std::string NoteText;
  std::string Recipient;       // name and address; empty: none
  std::string AttachmentPath;  // empty: no attachment
};

// SendMail results besides -1 (no mail program) and the programs' own exit
// statuses; the values are those the system mail library used.
constexpr int kMailAttachmentNotFound = 11;  // the attachment cannot be read
constexpr int kMailUnknownRecipient = 14;    // a recipient that cannot be addressed

// Something that shows a TForm on screen and reports the user's actions
// back to it (TButton::Click, TForm::CancelKey, TForm::UserClose). Created by the
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

  // Opens a file with the desktop's program for it ("open" verb, realised
  // by xdg-open started detached, its standard streams on /dev/null and
  // none of this process's other descriptors); false when no opener could
  // be started. Never waits for the program.
  virtual bool ShellOpen(const std::string& fileName);
  // Sends or composes mail. With dialog, or without a recipient, the
  // desktop's mail program opens a compose window (xdg-email); otherwise
  // `sendmail -t` sends it when present (and xdg-email composes it when
  // sendmail is not there). Waits for the program. Returns -1 when no mail
  // program is available, kMailUnknownRecipient for a recipient with a
  // line break or a leading '-', kMailAttachmentNotFound when sendmail
  // would have to send an attachment that cannot be read, otherwise the
  // program's exit status (0 for success; 128 + n when signal n ended it).
  virtual int SendMail(const MailMessage& message, bool dialog);
};

PlatformServices& Platform();
// Installs services for the process (nullptr restores the headless ones).
void SetPlatform(std::unique_ptr<PlatformServices> services);

}  // namespace Vdei
