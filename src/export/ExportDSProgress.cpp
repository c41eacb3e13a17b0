// TVdExportBaseComponent: the progress window of a run and the cancel flag.
#include <exception>

#include "export/ExCnst.h"
#include "export/ExportDS.h"
#include "export/VdEStat.h"
#include "platform/Platform.h"

namespace VdExport {

namespace {

void ProcessMessages() {
  Vdei::Platform().ProcessMessages();
}

}  // namespace

bool TVdExportBaseComponent::ShowProgressWindow(const std::string& caption,
                                                const std::string& statusText,
                                                const std::string& cancelCaption, int minimum,
                                                int maximum, int position) {
  canceled_ = false;
  try {
    CloseProgressWindow();
    progressWindow_ = std::make_unique<TfrmVdEProcess>(nullptr);
    ProcessMessages();
    TfrmVdEProcess& window = *progressWindow_;
    window.SetCaption(caption);
    window.lblStatus()->SetCaption(statusText);
    window.btnCancel()->SetCaption(cancelCaption);
    Vdei::TProgressBar& bar = *window.ProgressBar();
    bar.SetMin(minimum);
    bar.SetMax(maximum);
    bar.SetPosition(position);
    bar.SetVisible(minimum != 0 || maximum != 0);
    window.Animation()->SetActive(true);
    window.Show();
    ProcessMessages();
    return true;
  } catch (const std::exception&) {
    // Shown from the table itself: a handler of OnGetLanguageString may be
    // what failed.
    Vdei::Platform().MessageBox(std::string(ExportMessage(SCantCreateProcessDialog)), "",
                                Vdei::mtError, Vdei::MsgButton(Vdei::mbOK));
    progressWindow_.reset();
    return false;
  }
}

bool TVdExportBaseComponent::UpdateProgress(const std::string& statusText, int value) {
  const int step = Statistic()->UpdateStep();
  if (step > 0 && value % step != 0) return true;
  if (!progressWindow_) return false;
  TfrmVdEProcess& window = *progressWindow_;
  Vdei::TProgressBar& bar = *window.ProgressBar();
  window.lblStatus()->SetCaption(statusText + " (" + std::to_string(value) + "/" +
                                 std::to_string(bar.Max()) + ")");
  bar.SetPosition(value);
  window.Repaint();
  ProcessMessages();
  return true;
}

bool TVdExportBaseComponent::CloseProgressWindow() {
  return Vdei::CloseProgressForm(progressWindow_);
}

bool TVdExportBaseComponent::Canceled() const {
  return progressWindow_ ? progressWindow_->Canceled() : canceled_;
}

void TVdExportBaseComponent::SetCanceled(bool value) {
  if (progressWindow_) {
    progressWindow_->SetCanceled(value);
  } else {
    canceled_ = value;
  }
}

}  // namespace VdExport
