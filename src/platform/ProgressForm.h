// TProgressForm: what the progress windows of the export and the import
// have in common, as a form model.
//
// A dialog-bordered window centred on the screen, 442 pixels wide, with a
// raised frame bevel over the whole client area, a busy animation at the
// top (made by FormCreate, inactive), the status label and the progress bar
// below it and the Cancel button on the right (Esc presses it; modal
// result mrCancel, arrow cursor). The window holds a cancel flag: the
// Cancel button, Esc and closing the window set it; nothing clears it while
// the window lives. Closing hides the window but keeps it and its flag.
// Each window adds its own controls and sizes (TfrmVdEProcess,
// TfrmVdIProcess).
#pragma once

#include <memory>
#include <string>

#include "platform/Forms.h"

namespace Vdei {

class TProgressForm : public TForm {
 public:
  VDEI_CLASS(TProgressForm)
  // The window named name, clientHeight high, its Cancel button at
  // cancelTop with cancelCaption.
  TProgressForm(TComponent* owner, const char* name, int clientHeight, int cancelTop,
                std::string cancelCaption);

  TBevel* Bevel() const { return bevel_; }
  TLabel* lblStatus() const { return lblStatus_; }
  TProgressBar* ProgressBar() const { return progressBar_; }
  TButton* btnCancel() const { return btnCancel_; }
  // Created by FormCreate.
  TAnimate* Animation() const { return animation_; }

  bool Canceled() const { return canceled_; }
  void SetCanceled(bool value) { canceled_ = value; }

  // Creates the animation and clears the cancel flag (run by the
  // constructor).
  void FormCreate(TObject* Sender);
  // Both set the cancel flag; the window stays.
  void btnCancelClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);

 private:
  TBevel* bevel_;
  TLabel* lblStatus_;
  TProgressBar* progressBar_;
  TButton* btnCancel_;
  TAnimate* animation_ = nullptr;
  bool canceled_ = false;
};

// Stops the window's animation and destroys it; true when there was one.
// Never raises: a failure while closing still forgets the window.
template <class Window>
bool CloseProgressForm(std::unique_ptr<Window>& window) {
  if (!window) return false;
  try {
    window->Animation()->SetActive(false);
    window.reset();
    Platform().ProcessMessages();
    return true;
  } catch (...) {
    window.reset();
    return false;
  }
}

}  // namespace Vdei
