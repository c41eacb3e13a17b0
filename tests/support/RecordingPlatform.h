// Platform services for tests that record what a run asks of the platform
// (message boxes, cursor changes, shell opens, mails) and let a test act
// whenever the run processes window messages.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "platform/HeadlessPlatform.h"

namespace Vdei {

// Records message boxes, cursor changes, shell opens and mails.
class TRecordingPlatform : public HeadlessPlatform {
 public:
  std::vector<std::string> boxes;
  std::vector<TCursor> cursors;
  std::vector<std::string> opened;
  std::vector<MailMessage> mails;
  std::vector<bool> mailDialogs;
  int mailResult = 0;
  bool failViews = false;
  std::function<void()> onProcessMessages;

  std::unique_ptr<FormView> CreateFormView(TForm&) override {
    if (failViews) throw Exception("no window system");
    return nullptr;
  }

  void ProcessMessages() override {
    if (onProcessMessages) onProcessMessages();
  }
  TModalResult MessageBox(const std::string& text, const std::string&, TMsgDlgType,
                          TMsgDlgButtons) override {
    boxes.push_back(text);
    return mrOk;
  }
  void SetCursor(TCursor cursor) override {
    HeadlessPlatform::SetCursor(cursor);
    cursors.push_back(cursor);
  }
  bool ShellOpen(const std::string& fileName) override {
    opened.push_back(fileName);
    return true;
  }
  int SendMail(const MailMessage& message, bool dialog) override {
    mails.push_back(message);
    mailDialogs.push_back(dialog);
    return mailResult;
  }
};

// Installs a TRecordingPlatform for the test's lifetime.
class PlatformScope {
 public:
  PlatformScope() {
    auto services = std::make_unique<TRecordingPlatform>();
    platform_ = services.get();
    SetPlatform(std::move(services));
  }
  ~PlatformScope() { SetPlatform(nullptr); }
  TRecordingPlatform& operator*() const { return *platform_; }
  TRecordingPlatform* operator->() const { return platform_; }

 private:
  TRecordingPlatform* platform_;
};

}  // namespace Vdei
