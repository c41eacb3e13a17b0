#include "dataset/Field.h"

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/DataSet.h"
#include "dataset/ValueText.h"

namespace Vdei {

const TClassInfo& TField::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TField, TPersistent>("TField")
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TField::Alignment,
                &TField::SetAlignment)
          .String("DisplayLabel", &TField::DisplayLabel,
                  [](TField& f, std::string v) { f.SetDisplayLabel(std::move(v)); })
          .Integer("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth)
          .String("FieldName", &TField::FieldName,
                  [](TField& f, std::string v) { f.SetFieldName(std::move(v)); })
          .Integer("Index", &TField::Index, nullptr)
          .Boolean("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly, Variant(false))
          .Boolean("Required", &TField::Required, &TField::SetRequired, Variant(false))
          .Integer("Size", &TField::Size, &TField::SetSize, Variant(0))
          .Boolean("Visible", &TField::Visible, &TField::SetVisible, Variant(true))
          .Build();
  return info;
}

TField::TField(TFieldType dataType) : dataType_(dataType), alignment_(DefaultAlignment(dataType)) {}

TField::~TField() = default;

void TField::SetFieldName(std::string name) {
  if (dataSet_ != nullptr) dataSet_->RenameField(this, name);
  fieldName_ = std::move(name);
}

const std::string& TField::DisplayLabel() const {
  return displayLabel_.empty() ? fieldName_ : displayLabel_;
}

int TField::DisplayWidth() const {
  return displayWidth_ >= 0 ? displayWidth_ : DefaultDisplayWidth(dataType_, size_);
}

int TField::DefaultDisplayWidth(TFieldType type, int size) {
  switch (type) {
    case ftString:
      return size;
    case ftSmallint:
      return 6;
    case ftInteger:
    case ftAutoInc:
      return 11;
    case ftWord:
    case ftBoolean:
      return 5;
    case ftDateTime:
      return 18;
    default:
      return 10;
  }
}

TAlignment TField::DefaultAlignment(TFieldType type) {
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
      return taRightJustify;
    default:
      return taLeftJustify;
  }
}

bool TField::IsNull() const {
  const RecordWord* row = dataSet_ ? dataSet_->CurrentRow() : nullptr;
  return row == nullptr || RecordLayout::IsNull(row, index_);
}

bool TField::ReadInt(int64_t& value) const {
  const RecordWord* row = dataSet_ ? dataSet_->CurrentRow() : nullptr;
  if (row == nullptr || RecordLayout::IsNull(row, index_)) return false;
  value = static_cast<int64_t>(dataSet_->Layout().Slot(row, index_));
  return true;
}

bool TField::ReadDouble(double& value) const {
  const RecordWord* row = dataSet_ ? dataSet_->CurrentRow() : nullptr;
  if (row == nullptr || RecordLayout::IsNull(row, index_)) return false;
  value = BitsDouble(dataSet_->Layout().Slot(row, index_));
  return true;
}

bool TField::ReadText(std::string_view& value) const {
  const RecordWord* row = dataSet_ ? dataSet_->CurrentRow() : nullptr;
  if (row == nullptr || RecordLayout::IsNull(row, index_)) return false;
  value = TextArena::Read(dataSet_->Layout().Slot(row, index_));
  return true;
}

void TField::CheckWritable() const {
  if (dataSet_ == nullptr)
    throw EDatabaseError(Format("Field '%s' has no dataset", fieldName_.c_str()));
  if (dataSet_->State() != dsEdit && dataSet_->State() != dsInsert)
    throw EDatabaseError("Dataset not in edit or insert mode");
  if (readOnly_) throw EDatabaseError(Format("Field '%s' cannot be modified", fieldName_.c_str()));
}

void TField::WriteInt(int64_t value) {
  CheckWritable();
  dataSet_->WriteField(this, static_cast<RecordWord>(value), false);
}

void TField::WriteDouble(double value) {
  CheckWritable();
  dataSet_->WriteField(this, DoubleBits(value), false);
}

void TField::WriteText(std::string_view value) {
  CheckWritable();
  dataSet_->WriteField(this, dataSet_->Store().Arena().Add(value), false);
}

void TField::WriteNull() {
  CheckWritable();
  dataSet_->WriteField(this, 0, true);
}

void TField::Clear() {
  WriteNull();
}

int64_t TField::AsInteger() const {
  return IsNull() ? 0 : Value().AsInteger();
}
double TField::AsFloat() const {
  return IsNull() ? 0 : Value().AsFloat();
}
bool TField::AsBoolean() const {
  return IsNull() ? false : Value().AsBoolean();
}
TDateTime TField::AsDateTime() const {
  return IsNull() ? 0 : Value().AsDateTime();
}

std::string_view TField::AsStringView(std::string& buffer) const {
  buffer = AsString();
  return buffer;
}

void TField::SetAsString(std::string_view text) {
  SetValue(Variant(text));
}
void TField::SetAsInteger(int64_t value) {
  SetValue(Variant(value));
}
void TField::SetAsFloat(double value) {
  SetValue(Variant(value));
}
void TField::SetAsBoolean(bool value) {
  SetValue(Variant(value));
}
void TField::SetAsDateTime(TDateTime value) {
  SetValue(Variant::DateTime(value));
}

std::string TField::Text() const {
  if (!OnGetText) return AsString();
  std::string text;
  OnGetText(const_cast<TField*>(this), text, false);
  return text;
}

std::string TField::DisplayText() const {
  if (!OnGetText) return FormatDisplayText();
  std::string text;
  OnGetText(const_cast<TField*>(this), text, true);
  return text;
}

void TField::ThrowInvalidText(std::string_view text, const char* what) const {
  ThrowInvalidFieldText(text, what, fieldName_);
}

void TField::ThrowRange(double value, double low, double high) const {
  throw EConvertError(
      Format("%g is not a valid value for field '%s'. The allowed range is %g to %g", value,
             fieldName_.c_str(), low, high));
}

void TField::ThrowAccess(const char* typeName) const {
  throw EDatabaseError(Format("Cannot access field '%s' as type %s", fieldName_.c_str(), typeName));
}

}  // namespace Vdei
