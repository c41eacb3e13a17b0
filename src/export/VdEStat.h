// TfrmVdEProcess: the progress window of an export run, as a form model
// (platform/Forms.h) that the platform shows through its view.
//
// The layout is fixed (client area 442 x 87, a raised frame bevel over the
// whole area, a busy animation at the top, the status label and the
// progress bar below it, the Cancel button on the right). The window holds
// a cancel flag: the Cancel button, Esc (which presses the button) and
// closing the window set it; nothing clears it while the window lives.
// Closing hides the window but keeps it and its flag.
//
// The export component (ExportDS.h) creates, fills, updates and destroys
// the window; see ShowProgressWindow, UpdateProgress, CloseProgressWindow.
#pragma once

#include "platform/Forms.h"

namespace VdExport {

class TfrmVdEProcess : public Vdei::TForm {
 public:
  VDEI_CLASS(TfrmVdEProcess)
  explicit TfrmVdEProcess(Vdei::TComponent* owner);

  Vdei::TBevel* Bevel() const { return bevel_; }
  Vdei::TLabel* lblStatus() const { return lblStatus_; }
  Vdei::TProgressBar* ProgressBar() const { return progressBar_; }
  Vdei::TButton* btnCancel() const { return btnCancel_; }
  // Created by FormCreate.
  Vdei::TAnimate* Animation() const { return animation_; }

  bool Canceled() const { return canceled_; }
  void SetCanceled(bool value) { canceled_ = value; }

  // Creates the animation and clears the cancel flag (run by the
  // constructor).
  void FormCreate(Vdei::TObject* Sender);
  // Both set the cancel flag; the window stays.
  void btnCancelClick(Vdei::TObject* Sender);
  void FormClose(Vdei::TObject* Sender, Vdei::TCloseAction& Action);

 private:
  Vdei::TBevel* bevel_;
  Vdei::TLabel* lblStatus_;
  Vdei::TProgressBar* progressBar_;
  Vdei::TButton* btnCancel_;
  Vdei::TAnimate* animation_ = nullptr;
  bool canceled_ = false;
};

}  // namespace VdExport
