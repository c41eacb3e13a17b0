#include "export/VdEStat.h"

#include "core/Properties.h"
#include "export/ExCnst.h"

namespace VdExport {

using Vdei::TClassInfo;

const TClassInfo& TfrmVdEProcess::StaticClassInfo() {
  static const TClassInfo info =
      Vdei::ClassInfoBuilder<TfrmVdEProcess, Vdei::TForm>("TfrmVdEProcess").Build();
  return info;
}

TfrmVdEProcess::TfrmVdEProcess(Vdei::TComponent* owner)
    : TForm(owner),
      bevel_(new Vdei::TBevel(this)),
      lblStatus_(new Vdei::TLabel(this)),
      progressBar_(new Vdei::TProgressBar(this)),
      btnCancel_(new Vdei::TButton(this)) {
  SetName("frmVdEProcess");
  SetClientSize(442, 87);
  SetBorderStyle(Vdei::bsDialog);
  SetFormStyle(Vdei::fsStayOnTop);
  SetPosition(Vdei::poScreenCenter);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);

  bevel_->SetName("Bevel");
  bevel_->SetBounds(0, 0, 442, 87);
  bevel_->SetShape(Vdei::bsFrame);
  bevel_->SetStyle(Vdei::bsRaised);

  lblStatus_->SetName("lblStatus");
  lblStatus_->SetBounds(8, 56, 339, 13);
  lblStatus_->SetAutoSize(false);

  progressBar_->SetName("ProgressBar");
  progressBar_->SetBounds(10, 70, 337, 10);
  progressBar_->SetMin(0);
  progressBar_->SetMax(100);

  btnCancel_->SetName("btnCancel");
  btnCancel_->SetBounds(355, 55, 75, 25);
  btnCancel_->SetCaption(std::string(ExportMessage(SCancelCaption)));
  btnCancel_->SetCancel(true);
  btnCancel_->SetCursor(Vdei::crArrow);
  btnCancel_->SetModalResult(Vdei::mrCancel);
  btnCancel_->OnClick = [this](Vdei::TObject* sender) { btnCancelClick(sender); };

  OnClose = [this](Vdei::TObject* sender, Vdei::TCloseAction& action) {
    FormClose(sender, action);
  };
  FormCreate(this);
}

void TfrmVdEProcess::FormCreate(Vdei::TObject*) {
  if (animation_ == nullptr) animation_ = new Vdei::TAnimate(this);
  animation_->SetName("Animate");
  animation_->SetBounds(8, 4, 427, 45);
  animation_->SetActive(false);
  animation_->SetStopFrame(34);
  animation_->SetTransparent(true);
  canceled_ = false;
}

void TfrmVdEProcess::btnCancelClick(Vdei::TObject*) {
  canceled_ = true;
}

void TfrmVdEProcess::FormClose(Vdei::TObject*, Vdei::TCloseAction&) {
  canceled_ = true;
}

}  // namespace VdExport
