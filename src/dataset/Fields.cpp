// Class information of the field classes, the factory, and the text-like
// fields (strings, bytes, blobs) and Booleans.
#include "dataset/Fields.h"

#include "core/DateTimeFormat.h"
#include "core/Exception.h"
#include "core/NumberFormat.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/DataSet.h"

namespace Vdei {

#define VDEI_FIELD_CLASS_INFO(Class, Parent)                                        \
  const TClassInfo& Class::StaticClassInfo() {                                      \
    static const TClassInfo info = ClassInfoBuilder<Class, Parent>(#Class).Build(); \
    return info;                                                                    \
  }

VDEI_FIELD_CLASS_INFO(TStringField, TField)
VDEI_FIELD_CLASS_INFO(TNumericField, TField)
VDEI_FIELD_CLASS_INFO(TIntegerField, TNumericField)
VDEI_FIELD_CLASS_INFO(TSmallintField, TIntegerField)
VDEI_FIELD_CLASS_INFO(TWordField, TIntegerField)
VDEI_FIELD_CLASS_INFO(TAutoIncField, TIntegerField)
VDEI_FIELD_CLASS_INFO(TCurrencyField, TFloatField)
VDEI_FIELD_CLASS_INFO(TBCDField, TNumericField)
VDEI_FIELD_CLASS_INFO(TBooleanField, TField)
VDEI_FIELD_CLASS_INFO(TDateTimeField, TField)
VDEI_FIELD_CLASS_INFO(TDateField, TDateTimeField)
VDEI_FIELD_CLASS_INFO(TTimeField, TDateTimeField)
VDEI_FIELD_CLASS_INFO(TBinaryField, TField)
VDEI_FIELD_CLASS_INFO(TBytesField, TBinaryField)
VDEI_FIELD_CLASS_INFO(TVarBytesField, TBinaryField)
VDEI_FIELD_CLASS_INFO(TBlobField, TBinaryField)
VDEI_FIELD_CLASS_INFO(TMemoField, TBlobField)
VDEI_FIELD_CLASS_INFO(TGraphicField, TBlobField)
#undef VDEI_FIELD_CLASS_INFO

const TClassInfo& TFloatField::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TFloatField, TNumericField>("TFloatField")
          .Integer("Precision", &TFloatField::Precision, &TFloatField::SetPrecision, Variant(15))
          .Build();
  return info;
}

namespace {

constexpr const char* kFieldTypeNames[] = {
    "ftUnknown", "ftString",     "ftSmallint", "ftInteger",     "ftWord",  "ftBoolean",
    "ftFloat",   "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",  "ftDateTime",
    "ftBytes",   "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",  "ftGraphic",
    "ftFmtMemo", "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor"};

}  // namespace

const char* FieldTypeName(TFieldType type) {
  const auto index = static_cast<size_t>(type);
  return index < std::size(kFieldTypeNames) ? kFieldTypeNames[index] : "ftUnknown";
}

std::unique_ptr<TField> CreateField(TFieldType type) {
  switch (type) {
    case ftString:
      return std::make_unique<TStringField>();
    case ftSmallint:
      return std::make_unique<TSmallintField>();
    case ftInteger:
      return std::make_unique<TIntegerField>();
    case ftWord:
      return std::make_unique<TWordField>();
    case ftAutoInc:
      return std::make_unique<TAutoIncField>();
    case ftBoolean:
      return std::make_unique<TBooleanField>();
    case ftFloat:
      return std::make_unique<TFloatField>();
    case ftCurrency:
      return std::make_unique<TCurrencyField>();
    case ftBCD:
      return std::make_unique<TBCDField>();
    case ftDate:
      return std::make_unique<TDateField>();
    case ftTime:
      return std::make_unique<TTimeField>();
    case ftDateTime:
      return std::make_unique<TDateTimeField>();
    case ftBytes:
      return std::make_unique<TBytesField>();
    case ftVarBytes:
      return std::make_unique<TVarBytesField>();
    case ftMemo:
    case ftFmtMemo:
      return std::make_unique<TMemoField>(type);
    case ftGraphic:
      return std::make_unique<TGraphicField>();
    case ftBlob:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return std::make_unique<TBlobField>(type);
    default:
      throw EDatabaseError(Format("Field type %s is not supported", FieldTypeName(type)));
  }
}

// --- TStringField ---------------------------------------------------------

Variant TStringField::Value() const {
  std::string_view text;
  return ReadText(text) ? Variant(text) : Variant::Null();
}

void TStringField::SetValue(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  if (value.IsString()) return SetAsString(value.StringRef());
  SetAsString(value.AsString());
}

std::string TStringField::AsString() const {
  std::string_view text;
  return ReadText(text) ? std::string(text) : std::string();
}

std::string_view TStringField::AsStringView(std::string&) const {
  std::string_view text;
  return ReadText(text) ? text : std::string_view();
}

int64_t TStringField::AsInteger() const {
  std::string_view text;
  if (!ReadText(text)) return 0;
  int64_t result;
  if (!TryStrToInt64(text, result)) ThrowInvalidText(text, "integer");
  return result;
}

double TStringField::AsFloat() const {
  std::string_view text;
  if (!ReadText(text)) return 0;
  double result;
  if (!TryStrToFloat(text, result)) ThrowInvalidText(text, "floating point");
  return result;
}

bool TStringField::AsBoolean() const {
  std::string_view text;
  if (!ReadText(text)) return false;
  try {
    return Variant(text).AsBoolean();
  } catch (const EConvertError&) {
    ThrowInvalidText(text, "boolean");
  }
}

TDateTime TStringField::AsDateTime() const {
  std::string_view text;
  return ReadText(text) ? StrToDateTime(text) : 0;
}

void TStringField::SetAsString(std::string_view text) {
  if (Size() > 0 && text.size() > static_cast<size_t>(Size())) {
    if (DataSet() != nullptr && !DataSet()->CutsLongStrings()) {
      throw EConvertError(Format("'%s' is too long for field '%s' (at most %d characters)",
                                 std::string(text).c_str(), FieldName().c_str(), Size()));
    }
    text = text.substr(0, Size());
  }
  WriteText(text);
}

// --- TBinaryField and blobs -------------------------------------------------

Variant TBinaryField::Value() const {
  std::string_view bytes;
  return ReadText(bytes) ? Variant(bytes) : Variant::Null();
}

void TBinaryField::SetValue(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  SetAsString(value.AsString());
}

std::string TBinaryField::AsString() const {
  std::string_view bytes;
  return ReadText(bytes) ? std::string(bytes) : std::string();
}

std::string_view TBinaryField::AsStringView(std::string&) const {
  std::string_view bytes;
  return ReadText(bytes) ? bytes : std::string_view();
}

void TBinaryField::SetAsString(std::string_view bytes) {
  const bool sized = DataType() == ftBytes || DataType() == ftVarBytes;
  if (sized && Size() > 0 && bytes.size() > static_cast<size_t>(Size()))
    bytes = bytes.substr(0, Size());
  WriteText(bytes);
}

int64_t TBlobField::BlobSize() const {
  std::string_view bytes;
  return ReadText(bytes) ? static_cast<int64_t>(bytes.size()) : 0;
}

// --- TBooleanField ----------------------------------------------------------

Variant TBooleanField::Value() const {
  int64_t value;
  return ReadInt(value) ? Variant(value != 0) : Variant::Null();
}

void TBooleanField::SetValue(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  if (value.IsString()) return SetAsString(value.StringRef());
  SetAsBoolean(value.AsBoolean());
}

std::string TBooleanField::AsString() const {
  int64_t value;
  if (!ReadInt(value)) return std::string();
  return value != 0 ? "True" : "False";
}

int64_t TBooleanField::AsInteger() const {
  return AsBoolean() ? -1 : 0;
}

bool TBooleanField::AsBoolean() const {
  int64_t value;
  return ReadInt(value) && value != 0;
}

void TBooleanField::SetAsString(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty()) return Clear();
  for (const char* word : {"True", "T", "Yes", "Y"})
    if (SameText(trimmed, word)) return SetAsBoolean(true);
  for (const char* word : {"False", "F", "No", "N"})
    if (SameText(trimmed, word)) return SetAsBoolean(false);
  double number;
  if (!TryStrToFloat(trimmed, number)) ThrowInvalidText(text, "boolean");
  SetAsBoolean(number != 0);
}

void TBooleanField::SetAsBoolean(bool value) {
  WriteInt(value ? 1 : 0);
}

}  // namespace Vdei
