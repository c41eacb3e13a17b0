#include "import/VdIStat.h"

#include "core/Properties.h"
#include "import/ImpCnst.h"

namespace VdImport {

namespace {

constexpr int kLabelHeight = 13;
constexpr int kCaptionWidth = 65;
constexpr int kValueWidth = 57;
constexpr int kValueOffset = 72;  // value label's left, from its caption's left

}  // namespace

const Vdei::TClassInfo& TfrmVdIProcess::StaticClassInfo() {
  static const Vdei::TClassInfo info =
      Vdei::ClassInfoBuilder<TfrmVdIProcess, Vdei::TForm>("TfrmVdIProcess").Build();
  return info;
}

TfrmVdIProcess::TfrmVdIProcess(Vdei::TComponent* owner)
    : TForm(owner),
      bevel_(new Vdei::TBevel(this)),
      lblStatus_(new Vdei::TLabel(this)),
      progressBar_(new Vdei::TProgressBar(this)),
      btnCancel_(new Vdei::TButton(this)),
      pnlCounters_(new Vdei::TPanel(this)) {
  SetName("frmVdIProcess");
  SetClientSize(442, 130);
  SetBorderStyle(Vdei::bsDialog);
  SetPosition(Vdei::poScreenCenter);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);

  bevel_->SetName("Bevel");
  bevel_->SetBounds(0, 0, 442, 130);
  bevel_->SetShape(Vdei::bsFrame);
  bevel_->SetStyle(Vdei::bsRaised);

  lblStatus_->SetName("lblStatus");
  lblStatus_->SetBounds(8, 56, 339, kLabelHeight);
  lblStatus_->SetAutoSize(false);

  progressBar_->SetName("ProgressBar");
  progressBar_->SetBounds(10, 70, 337, 10);
  progressBar_->SetMin(0);
  progressBar_->SetMax(100);
  progressBar_->SetVisible(false);

  btnCancel_->SetName("btnCancel");
  btnCancel_->SetBounds(355, 80, 75, 25);
  btnCancel_->SetCaption(std::string(ImportMessage(SCancelCaption)));
  btnCancel_->SetCancel(true);
  btnCancel_->SetCursor(Vdei::crArrow);
  btnCancel_->SetModalResult(Vdei::mrCancel);
  btnCancel_->OnClick = [this](Vdei::TObject* sender) { btnCancelClick(sender); };

  pnlCounters_->SetName("pnlCounters");
  pnlCounters_->SetBounds(10, 83, 337, 43);
  pnlCounters_->SetBevelOuter(Vdei::bvNone);
  AddCounter(lblAdded_, lblTotalAdded_, "Added", 8, 1);
  AddCounter(lblUpdated_, lblTotalUpdated_, "Updated", 8, 15);
  AddCounter(lblDeleted_, lblTotalDeleted_, "Deleted", 8, 29);
  AddCounter(lblErrors_, lblTotalErrors_, "Errors", 200, 8);
  AddCounter(lblProcessed_, lblTotalImported_, "Processed", 200, 22);
  lblTotalImported_->SetName("lblTotalImported");
  lblAdded_->SetCaption(std::string(ImportMessage(SAddedCaption)));
  lblUpdated_->SetCaption(std::string(ImportMessage(SUpdatedCaption)));
  lblDeleted_->SetCaption(std::string(ImportMessage(SDeletedCaption)));
  lblErrors_->SetCaption(std::string(ImportMessage(SErrorsCaption)));
  lblProcessed_->SetCaption(std::string(ImportMessage(SProcessedCaption)));

  OnClose = [this](Vdei::TObject* sender, Vdei::TCloseAction& action) {
    FormClose(sender, action);
  };
  FormCreate(this);
}

void TfrmVdIProcess::AddCounter(Vdei::TLabel*& caption, Vdei::TLabel*& value, const char* name,
                                int left, int top) {
  caption = new Vdei::TLabel(this);
  caption->SetName(std::string("lbl") + name);
  caption->SetParent(pnlCounters_);
  caption->SetBounds(left, top, kCaptionWidth, kLabelHeight);
  caption->SetAutoSize(false);
  caption->SetAlignment(Vdei::taRightJustify);

  value = new Vdei::TLabel(this);
  value->SetName(std::string("lblTotal") + name);
  value->SetParent(pnlCounters_);
  value->SetBounds(left + kValueOffset, top, kValueWidth, kLabelHeight);
  value->SetAutoSize(false);
  value->SetAlignment(Vdei::taRightJustify);
  Vdei::TFont blue = Font();
  blue.SetColor(Vdei::clBlue);
  value->SetFont(blue);
  value->SetCaption("0");
}

void TfrmVdIProcess::FormCreate(Vdei::TObject*) {
  if (animation_ == nullptr) animation_ = new Vdei::TAnimate(this);
  animation_->SetName("Animate");
  animation_->SetBounds(8, 4, 427, 45);
  animation_->SetActive(false);
  animation_->SetStopFrame(34);
  animation_->SetTransparent(true);
  canceled_ = false;
}

void TfrmVdIProcess::btnCancelClick(Vdei::TObject*) {
  canceled_ = true;
}

void TfrmVdIProcess::FormClose(Vdei::TObject*, Vdei::TCloseAction&) {
  canceled_ = true;
}

}  // namespace VdImport
