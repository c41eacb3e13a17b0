// TfrmVdIProcess: the progress window of an import run, as a form model
// (platform/Forms.h) that the platform shows through its view.
//
// The shared progress window (platform/ProgressForm.h) with a client area
// of 442 x 130, the progress bar hidden until a range is set, the Cancel
// button below the bar's right end and, under the bar, a panel of
// counters (Added, Updated, Deleted on the left; Errors, Processed on the
// right, values right-justified in blue). The import component shows,
// lays out, refreshes and destroys it (ShowProgressWindow and its siblings
// on TVdImportBaseComponent).
#pragma once

#include "platform/ProgressForm.h"

namespace VdImport {

class TfrmVdIProcess : public Vdei::TProgressForm {
 public:
  VDEI_CLASS(TfrmVdIProcess)
  explicit TfrmVdIProcess(Vdei::TComponent* owner);

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

 private:
  // A caption label and its value label on the counters panel.
  void AddCounter(Vdei::TLabel*& caption, Vdei::TLabel*& value, const char* name, int left,
                  int top);

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
};

}  // namespace VdImport
