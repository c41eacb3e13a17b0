// TVdESendTo: the e-mail settings of an export (published as SendTo), read
// by the component's SendMail: the recipient (name and address in one
// text; empty: none), the subject (empty: the component's KeyGenerator),
// the body text, and whether the mail program's compose window opens
// before sending. Assign copies the four settings.
#pragma once

#include <string>

#include "core/Object.h"

namespace VdExport {

class TVdESendTo : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdESendTo)
  TVdESendTo() = default;

  const std::string& EMailRecipient() const { return recipient_; }
  void SetEMailRecipient(std::string value) { recipient_ = std::move(value); }
  const std::string& EMailSubject() const { return subject_; }
  void SetEMailSubject(std::string value) { subject_ = std::move(value); }
  const std::string& EMailBody() const { return body_; }
  void SetEMailBody(std::string value) { body_ = std::move(value); }
  bool EMailOpenBeforeSend() const { return openBeforeSend_; }
  void SetEMailOpenBeforeSend(bool value) { openBeforeSend_ = value; }

  void Assign(const Vdei::TPersistent& source) override;

 private:
  std::string recipient_;
  std::string subject_;
  std::string body_;
  bool openBeforeSend_ = true;
};

}  // namespace VdExport
