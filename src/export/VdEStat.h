// TfrmVdEProcess: the progress window of an export run, as a form model
// (platform/Forms.h) that the platform shows through its view.
//
// The shared progress window (platform/ProgressForm.h) with a client area
// of 442 x 87 that stays on top, the Cancel button beside the bar. The
// export component (ExportDS.h) creates, fills, updates and destroys the
// window; see ShowProgressWindow, UpdateProgress, CloseProgressWindow.
#pragma once

#include "platform/ProgressForm.h"

namespace VdExport {

class TfrmVdEProcess : public Vdei::TProgressForm {
 public:
  VDEI_CLASS(TfrmVdEProcess)
  explicit TfrmVdEProcess(Vdei::TComponent* owner);
};

}  // namespace VdExport
