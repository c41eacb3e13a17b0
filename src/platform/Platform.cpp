#include "platform/Platform.h"

#include "platform/HeadlessPlatform.h"
#include "platform/Mail.h"
#include "platform/Process.h"

namespace Vdei {

namespace {

std::unique_ptr<PlatformServices>& Installed() {
  static std::unique_ptr<PlatformServices> services = std::make_unique<HeadlessPlatform>();
  return services;
}

}  // namespace

PlatformServices& Platform() {
  return *Installed();
}

void SetPlatform(std::unique_ptr<PlatformServices> services) {
  Installed() = services ? std::move(services) : std::make_unique<HeadlessPlatform>();
}

TModalResult ModalResultOf(TMsgDlgBtn b) {
  switch (b) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
  }
  return mrNone;
}

TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {mbOK, mbYes, mbCancel, mbNo, mbAbort, mbRetry, mbIgnore}) {
    if (buttons & MsgButton(b)) return b;
  }
  return mbOK;
}

std::string MessageCaption(const std::string& caption, TMsgDlgType type) {
  if (!caption.empty()) return caption;
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    case mtCustom:
      break;
  }
  return "";
}

bool PlatformServices::ShellOpen(const std::string& fileName) {
  if (fileName.empty()) return false;
  std::string opener = FindProgram("xdg-open");
  if (opener.empty()) return false;
  // A name starting with '-' would be read as an option of xdg-open.
  std::string target = fileName.front() == '-' ? "./" + fileName : fileName;
  return SpawnDetached(opener, {target});
}

int PlatformServices::SendMail(const MailMessage& message, bool dialog) {
  return DeliverMail(message, dialog);
}

}  // namespace Vdei
