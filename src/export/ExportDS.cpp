#include "export/ExportDS.h"

#include "core/Exception.h"
#include "core/Properties.h"
#include "dataset/Field.h"
#include "export/ExCnst.h"
#include "platform/Platform.h"

namespace VdExport {

using Vdei::ClassInfoBuilder;
using Vdei::TClassInfo;
using Vdei::TField;
using Vdei::TPersistent;
using Vdei::Variant;

namespace {

bool IsZeroNumberType(TFieldType type) {
  switch (type) {
    case Vdei::ftSmallint:
    case Vdei::ftInteger:
    case Vdei::ftWord:
    case Vdei::ftFloat:
    case Vdei::ftCurrency:
    case Vdei::ftBCD:
    case Vdei::ftAutoInc:
      return true;
    default:
      return false;
  }
}

bool IsDateTimeType(TFieldType type) {
  return type == Vdei::ftDate || type == Vdei::ftTime || type == Vdei::ftDateTime;
}

// Whether BlankIfZero empties the text of field.
bool IsBlankValue(const TField& field) {
  const TFieldType type = field.DataType();
  if (IsZeroNumberType(type)) return field.AsFloat() == 0.0;
  if (IsDateTimeType(type)) return field.AsDateTime() == 0;
  return field.IsNull();
}

// The field's plain text into text, reusing its buffer.
void AssignPlainText(const TField& field, std::string& text) {
  const std::string_view view = field.AsStringView(text);
  if (view.data() == text.data()) {
    text.resize(view.size());
  } else {
    text.assign(view.data(), view.size());
  }
}

}  // namespace

const TClassInfo& TVdECustomBaseComponent::StaticClassInfo() {
  using C = TVdECustomBaseComponent;
  static const TClassInfo info =
      ClassInfoBuilder<C, Vdei::TComponent>("TVdECustomBaseComponent")
          .Boolean("AnimatedStatus", &C::AnimatedStatus, &C::SetAnimatedStatus, Variant(true))
          .Object<TVdEDataFormats>("DataFormats", &C::DataFormats, &C::SetDataFormats)
          .String("KeyGenerator", &C::KeyGenerator,
                  [](C& c, std::string v) { c.SetKeyGenerator(std::move(v)); })
          .Boolean("SelectedRecord", &C::SelectedRecord, &C::SetSelectedRecord, Variant(false))
          .Boolean("BlankIfZero", &C::BlankIfZero, &C::SetBlankIfZero, Variant(false))
          .Set("Options", OptionNames(), &C::Options, &C::SetOptions, Variant(int(kDefaultOptions)))
          .Boolean("RightToLeft", &C::RightToLeft, &C::SetRightToLeft, Variant(false))
          .Object<TVdESendTo>("SendTo", &C::SendTo, &C::SetSendTo)
          .Boolean("ExportIfEmpty", &C::ExportIfEmpty, &C::SetExportIfEmpty, Variant(true))
          .Object<TVdEStatistic>("Statistic", &C::Statistic, &C::SetStatistic)
          .Build();
  return info;
}

TVdECustomBaseComponent::TVdECustomBaseComponent(Vdei::TComponent* owner)
    : TComponent(owner),
      header_(std::make_unique<Vdei::TStringList>()),
      footer_(std::make_unique<Vdei::TStringList>()),
      sendTo_(std::make_unique<TVdESendTo>()),
      exportStyle_(std::make_unique<TVdExportStyle>()),
      pageSetup_(std::make_unique<TVdEPageSetup>()),
      statistic_(std::make_unique<TVdEStatistic>()),
      dataFormats_(std::make_unique<TVdEDataFormats>()) {}

TVdECustomBaseComponent::~TVdECustomBaseComponent() = default;

void TVdECustomBaseComponent::SetDataFormats(const TVdEDataFormats* value) {
  if (value != nullptr) dataFormats_->Assign(*value);
}

void TVdECustomBaseComponent::SetSendTo(const TVdESendTo* value) {
  if (value != nullptr) sendTo_->Assign(*value);
}

void TVdECustomBaseComponent::SetStatistic(const TVdEStatistic* value) {
  if (value != nullptr) statistic_->Assign(*value);
}

void TVdECustomBaseComponent::SetHeader(const Vdei::TStrings* value) {
  if (value != nullptr) header_->Assign(*value);
}

void TVdECustomBaseComponent::SetFooter(const Vdei::TStrings* value) {
  if (value != nullptr) footer_->Assign(*value);
}

void TVdECustomBaseComponent::SetExportStyle(const TVdExportStyle* value) {
  if (value != nullptr) exportStyle_->Assign(*value);
}

void TVdECustomBaseComponent::SetPageSetup(const TVdEPageSetup* value) {
  if (value != nullptr) pageSetup_->Assign(*value);
}

void TVdECustomBaseComponent::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TVdECustomBaseComponent*>(&source);
  if (other == nullptr) return TComponent::Assign(source);
  if (other == this) return;
  header_->Assign(*other->header_);
  footer_->Assign(*other->footer_);
  rowsPerFile_ = other->rowsPerFile_;
  SetTableType(other->tableType_);
  animatedStatus_ = other->animatedStatus_;
  dataFormats_->Assign(*other->dataFormats_);
  keyGenerator_ = other->keyGenerator_;
  selectedRecord_ = other->selectedRecord_;
  blankIfZero_ = other->blankIfZero_;
  options_ = other->options_;
  rightToLeft_ = other->rightToLeft_;
  sendTo_->Assign(*other->sendTo_);
  statistic_->Assign(*other->statistic_);
  OnGetLanguageString = other->OnGetLanguageString;
  OnBeforeRecord = other->OnBeforeRecord;
  OnAfterRecord = other->OnAfterRecord;
  OnBeforeExecute = other->OnBeforeExecute;
  OnAfterExecute = other->OnAfterExecute;
  OnGetFileName = other->OnGetFileName;
  OnProgress = other->OnProgress;
  OnGetCellParams = other->OnGetCellParams;
  addTitle_ = other->addTitle_;
  characterSet_ = other->characterSet_;
  exportStyle_->Assign(*other->exportStyle_);
  pageSetup_->Assign(*other->pageSetup_);
}

void TVdECustomBaseComponent::GetFieldText(TField* field, std::string& text) {
  text.clear();
  if (field == nullptr) return;
  if (!HasOption(soFieldMask)) {
    AssignPlainText(*field, text);
  } else if (field->DataType() == Vdei::ftBoolean) {
    // A Null Boolean is unknown, not false: its text is empty like any Null.
    if (!field->IsNull()) {
      text = field->AsBoolean() ? dataFormats_->BooleanTrue() : dataFormats_->BooleanFalse();
    }
  } else {
    text = field->DisplayText();
  }
  if (blankIfZero_ && IsBlankValue(*field)) text.clear();
}

std::string TVdECustomBaseComponent::GetLanguageString(int id) {
  std::string text(ExportMessage(id));
  if (OnGetLanguageString) OnGetLanguageString(this, id, text);
  return text;
}

TCellType TVdECustomBaseComponent::GetCellType(TField* field, bool blankIfZero) const {
  if (field == nullptr) return ctString;
  // The value only matters to the blank-if-zero rule; reading it for every
  // cell would copy every text.
  return MapCellType(field->DataType(), blankIfZero ? field->Value() : Variant(), blankIfZero);
}

void TVdECustomBaseComponent::GetRowColor(int row, TColor& color) const {
  if (exportStyle_->Style() == esNormal) return;
  color = row % 2 == 1 ? exportStyle_->OddColor() : exportStyle_->EvenColor();
}

int TVdECustomBaseComponent::GetTitleRowOffset() const {
  int offset = header_->Count() + 1;
  if (addTitle_) offset += HasOption(soBlankRowAfterCaptions) ? 2 : 1;
  return offset;
}

int TVdECustomBaseComponent::SendMail(const std::string& fileName, const std::string& text) {
  Vdei::MailMessage message;
  message.Subject = sendTo_->EMailSubject().empty() ? keyGenerator_ : sendTo_->EMailSubject();
  if (!text.empty()) {
    message.NoteText = text + "\r\n" + sendTo_->EMailBody();
  } else {
    message.NoteText = sendTo_->EMailBody();
    message.AttachmentPath = fileName;
  }
  message.Recipient = sendTo_->EMailRecipient();
  const bool dialog = sendTo_->EMailOpenBeforeSend() || message.Recipient.empty();
  const int result = Vdei::Platform().SendMail(message, dialog);
  if (result != 0 && HasOption(soShowMessage)) {
    Vdei::Platform().MessageBox(std::to_string(result) + " Error sending mail", "", Vdei::mtError,
                                Vdei::MsgButton(Vdei::mbOK));
  }
  return result;
}

}  // namespace VdExport
