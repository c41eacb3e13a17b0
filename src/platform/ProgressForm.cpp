#include "platform/ProgressForm.h"

#include "core/Properties.h"

namespace Vdei {

namespace {

constexpr int kClientWidth = 442;

}  // namespace

const TClassInfo& TProgressForm::StaticClassInfo() {
  static const TClassInfo info = ClassInfoBuilder<TProgressForm, TForm>("TProgressForm").Build();
  return info;
}

TProgressForm::TProgressForm(TComponent* owner, const char* name, int clientHeight, int cancelTop,
                             std::string cancelCaption)
    : TForm(owner),
      bevel_(new TBevel(this)),
      lblStatus_(new TLabel(this)),
      progressBar_(new TProgressBar(this)),
      btnCancel_(new TButton(this)) {
  SetName(name);
  SetClientSize(kClientWidth, clientHeight);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);

  bevel_->SetName("Bevel");
  bevel_->SetBounds(0, 0, kClientWidth, clientHeight);
  bevel_->SetShape(bsFrame);
  bevel_->SetStyle(bsRaised);

  lblStatus_->SetName("lblStatus");
  lblStatus_->SetBounds(8, 56, 339, 13);
  lblStatus_->SetAutoSize(false);

  progressBar_->SetName("ProgressBar");
  progressBar_->SetBounds(10, 70, 337, 10);
  progressBar_->SetMin(0);
  progressBar_->SetMax(100);

  btnCancel_->SetName("btnCancel");
  btnCancel_->SetBounds(355, cancelTop, 75, 25);
  btnCancel_->SetCaption(std::move(cancelCaption));
  btnCancel_->SetCancel(true);
  btnCancel_->SetCursor(crArrow);
  btnCancel_->SetModalResult(mrCancel);
  btnCancel_->OnClick = [this](TObject* sender) { btnCancelClick(sender); };

  OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
  FormCreate(this);
}

void TProgressForm::FormCreate(TObject*) {
  if (animation_ == nullptr) animation_ = new TAnimate(this);
  animation_->SetName("Animate");
  animation_->SetBounds(8, 4, 427, 45);
  animation_->SetActive(false);
  animation_->SetStopFrame(34);
  animation_->SetTransparent(true);
  canceled_ = false;
}

void TProgressForm::btnCancelClick(TObject*) {
  canceled_ = true;
}

void TProgressForm::FormClose(TObject*, TCloseAction&) {
  canceled_ = true;
}

}  // namespace Vdei
