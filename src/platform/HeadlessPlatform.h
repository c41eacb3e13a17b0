// The platform services of a process without windows, installed by
// default: pending messages need no handling, a message box is one line
// on standard error ("caption: text", in UTF-8) answered with its default
// button, the cursor is only a state (so tests can watch the hourglass),
// and forms get no view (their model keeps the state, nothing is drawn).
#pragma once

#include "platform/Platform.h"

namespace Vdei {

class HeadlessPlatform : public PlatformServices {
 public:
  void ProcessMessages() override {}
  TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                          TMsgDlgButtons buttons) override;
  void SetCursor(TCursor cursor) override { cursor_ = cursor; }
  TCursor Cursor() const override { return cursor_; }
  std::unique_ptr<FormView> CreateFormView(TForm&) override { return nullptr; }

 private:
  TCursor cursor_ = crDefault;
};

}  // namespace Vdei
