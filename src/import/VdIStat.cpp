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
      Vdei::ClassInfoBuilder<TfrmVdIProcess, Vdei::TProgressForm>("TfrmVdIProcess").Build();
  return info;
}

TfrmVdIProcess::TfrmVdIProcess(Vdei::TComponent* owner)
    : TProgressForm(owner, "frmVdIProcess", 130, 80, std::string(ImportMessage(SCancelCaption))),
      pnlCounters_(new Vdei::TPanel(this)) {
  ProgressBar()->SetVisible(false);
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

}  // namespace VdImport
