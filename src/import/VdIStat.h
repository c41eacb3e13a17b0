// TfrmVdIProcess: the progress window of an import run, as a form model
// (platform/Forms.h) that the platform shows through its view.
//
// The full layout (client area 442 x 130) has a raised frame bevel, a busy
// animation at the top, the status label and the progress bar below it,
// the Cancel button on the right and, under the bar, a panel of counters
// (Added, Updated, Deleted on the left; Errors, Processed on the right,
// values right-justified in blue). The import component shows, lays out,
// refreshes and destroys it (ShowProgressWindow and its siblings on
// TVdImportBaseComponent). The window holds a cancel flag: the Cancel
// button, Esc (which presses it) and closing the window set it.
#pragma once

#include "platform/Forms.h"

namespace VdImport {

class TfrmVdIProcess : public Vdei::TForm {
 public:
  VDEI_CLASS(TfrmVdIProcess)
  explicit TfrmVdIProcess(Vdei::TComponent* owner);

  Vdei::TBevel* Bevel() const { return bevel_; }
  Vdei::TLabel* lblStatus() const { return lblStatus_; }
  Vdei::TProgressBar* ProgressBar() const { return progressBar_; }
  Vdei::TButton* btnCancel() const { return btnCancel_; }
  Vdei::TPanel* pnlCounters() const { return pnlCounters_; }
  Vdei::TLabel* lblAdded() const { return lblAdded_; }
  Vdei::TLabel* lblUpdated() const { return lblUpdated_; }
  Vdei::TLabel* lblDeleted() const { return lblDeleted_; }
  Vdei::TLabel* lblErrors() const { return lblErrors_; }
  Vdei::TLabel* lblProcessed() const { return lblProcessed_; }
  Vdei::TLabel* lblTotalAdded() const { return lblTotalAdded_; }
  Vdei::TLabel* lblTotalUpdated() const { return lblTotalUpdated_; }
  Vdei::TLabel* lblTotalDeleted() const { return lblTotalDeleted_; }
  Vdei::TLabel* lblTotalErrors() const { return lblTotalErrors_; }
  Vdei::TLabel* lblTotalImported() const { return lblTotalImported_; }
  // Created by FormCreate.
  Vdei::TAnimate* Animation() const { return animation_; }

  bool Canceled() const { return canceled_; }
  void SetCanceled(bool value) { canceled_ = value; }

  // Creates the animation and clears the cancel flag (run by the
  // constructor).
  void FormCreate(Vdei::TObject* Sender);
  // Both set the cancel flag.
  void btnCancelClick(Vdei::TObject* Sender);
  void FormClose(Vdei::TObject* Sender, Vdei::TCloseAction& Action);

 private:
  // A caption label and its value label on the counters panel.
  void AddCounter(Vdei::TLabel*& caption, Vdei::TLabel*& value, const char* name, int left,
                  int top);

  Vdei::TBevel* bevel_;
  Vdei::TLabel* lblStatus_;
  Vdei::TProgressBar* progressBar_;
  Vdei::TButton* btnCancel_;
  Vdei::TPanel* pnlCounters_;
  Vdei::TLabel* lblAdded_ = nullptr;
  Vdei::TLabel* lblUpdated_ = nullptr;
  Vdei::TLabel* lblDeleted_ = nullptr;
  Vdei::TLabel* lblErrors_ = nullptr;
  Vdei::TLabel* lblProcessed_ = nullptr;
  Vdei::TLabel* lblTotalAdded_ = nullptr;
  Vdei::TLabel* lblTotalUpdated_ = nullptr;
  Vdei::TLabel* lblTotalDeleted_ = nullptr;
  Vdei::TLabel* lblTotalErrors_ = nullptr;
  Vdei::TLabel* lblTotalImported_ = nullptr;
  Vdei::TAnimate* animation_ = nullptr;
  bool canceled_ = false;
};

}  // namespace VdImport
