// TVdImportBaseComponent: the progress window of a run.
#include <exception>

#include "import/ImpCnst.h"
#include "import/VdIBase.h"
#include "import/VdIStat.h"
#include "platform/Platform.h"

namespace VdImport {

namespace {

constexpr int kNoCountersHeight = 88;
constexpr int kNoCountersCancelTop = 55;

void ProcessMessages() {
  Vdei::Platform().ProcessMessages();
}

// The layout without the animation: the status, the bar, the button and
// the counters move up, the window loses the animation's height.
void LayOutWithoutAnimation(TfrmVdIProcess& window) {
  Vdei::TAnimate& animation = *window.Animation();
  animation.SetVisible(false);
  Vdei::TLabel& status = *window.lblStatus();
  Vdei::TProgressBar& bar = *window.ProgressBar();
  Vdei::TButton& cancel = *window.btnCancel();
  Vdei::TPanel& counters = *window.pnlCounters();
  status.SetBounds(status.Left(), 4, status.Width(), status.Height());
  bar.SetBounds(bar.Left(), status.Top() + status.Height() + 1, bar.Width(), bar.Height());
  cancel.SetBounds(cancel.Left(), bar.Top() + bar.Height(), cancel.Width(), cancel.Height());
  counters.SetBounds(counters.Left(), cancel.Top() + 3, counters.Width(), counters.Height());
  window.SetClientSize(window.ClientWidth(), window.ClientHeight() - animation.Height());
}

}  // namespace

bool TVdImportBaseComponent::ShowProgressWindow(
    const std::string& caption, const std::string& statusText, bool showCounters, bool animate,
    const std::string& deletedText, const std::string& updatedText, const std::string& addedText,
    const std::string& errorsText, const std::string& processedText,
    const std::string& cancelText) {
  CloseProgressWindow();
  try {
    progressWindow_ = std::make_unique<TfrmVdIProcess>(nullptr);
    ProcessMessages();
    TfrmVdIProcess& window = *progressWindow_;
    if (showCounters) {
      window.lblProcessed()->SetCaption(processedText);
      window.lblErrors()->SetCaption(errorsText);
      window.lblAdded()->SetCaption(addedText);
      window.lblUpdated()->SetCaption(updatedText);
      window.lblDeleted()->SetCaption(deletedText);
    } else {
      window.SetClientSize(window.ClientWidth(), kNoCountersHeight);
      window.pnlCounters()->SetVisible(false);
      Vdei::TButton& cancel = *window.btnCancel();
      cancel.SetBounds(cancel.Left(), kNoCountersCancelTop, cancel.Width(), cancel.Height());
    }
    window.SetCaption(caption);
    window.lblStatus()->SetCaption(statusText);
    window.btnCancel()->SetCaption(cancelText);
    if (animate) {
      window.Animation()->SetActive(true);
    } else {
      LayOutWithoutAnimation(window);
    }
    window.Show();
    ProcessMessages();
    return true;
  } catch (const std::exception&) {
    Vdei::Platform().MessageBox(std::string(ImportMessage(SCantCreateProcessDialog)), "",
                                Vdei::mtError, Vdei::MsgButton(Vdei::mbOK));
    progressWindow_.reset();
    return false;
  }
}

void TVdImportBaseComponent::SetProgressRange(int minimum, int maximum, int position) {
  if (!progressWindow_) return;
  Vdei::TProgressBar& bar = *progressWindow_->ProgressBar();
  bar.SetMin(minimum);
  bar.SetMax(maximum);
  bar.SetPosition(position);
  bar.SetVisible(minimum != 0 || maximum != 0);
}

bool TVdImportBaseComponent::UpdateProgress(const std::string& statusText, int processed,
                                            int updated, int deleted, int added, int errors) {
  if (!progressWindow_) return false;
  TfrmVdIProcess& window = *progressWindow_;
  window.lblStatus()->SetCaption(statusText);
  window.ProgressBar()->SetPosition(processed);
  window.lblTotalImported()->SetCaption(std::to_string(processed));
  window.lblTotalErrors()->SetCaption(std::to_string(errors));
  window.lblTotalAdded()->SetCaption(std::to_string(added));
  window.lblTotalDeleted()->SetCaption(std::to_string(deleted));
  window.lblTotalUpdated()->SetCaption(std::to_string(updated));
  window.Repaint();
  ProcessMessages();
  return true;
}

bool TVdImportBaseComponent::IsCanceled() const {
  return progressWindow_ && progressWindow_->Canceled();
}

bool TVdImportBaseComponent::CloseProgressWindow() {
  return Vdei::CloseProgressForm(progressWindow_);
}

}  // namespace VdImport
