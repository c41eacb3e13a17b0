// The concrete field classes, one per family of field types, and the
// factory that makes the field of a TFieldType.
//
//   TStringField          ftString
//   TNumericField         base of the numeric fields (right-justified)
//     TIntegerField       ftInteger (-2147483648..2147483647)
//       TSmallintField    ftSmallint (-32768..32767)
//       TWordField        ftWord (0..65535)
//       TAutoIncField     ftAutoInc (TClientDataSet numbers new records)
//     TFloatField         ftFloat, Precision 15 by default
//       TCurrencyField    ftCurrency; display text in the currency format
//     TBCDField           ftBCD, held as its exact decimal text
//   TBooleanField         ftBoolean, texts "True" / "False"
//   TDateTimeField        ftDateTime; texts by DateTimeToStr
//     TDateField          ftDate; texts by DateToStr
//     TTimeField          ftTime; texts by TimeToStr
//   TBytesField           ftBytes, TVarBytesField ftVarBytes (raw bytes)
//   TBlobField            ftBlob, ftParadoxOle, ftDBaseOle, ftTypedBinary
//     TMemoField          ftMemo, ftFmtMemo (text)
//     TGraphicField       ftGraphic (picture bytes)
//
// Range checks apply to values assigned to integer fields; an integer
// field filled from a database holds the database's 64-bit value as it is.
// A text assigned to a string field longer than Size is cut to Size bytes,
// or raises EConvertError "'%s' is too long for field '%s' (at most %d
// characters)" in a dataset that does not cut (TDataSet::CutsLongStrings).
// Assigning an empty text to a numeric, Boolean or date field clears it.
#pragma once

#include <memory>

#include "dataset/Field.h"

namespace Vdei {

// The blob kinds: ftBlob .. ftTypedBinary (ftGraphic tells a picture).
using TBlobType = TFieldType;

class TStringField : public TField {
 public:
  VDEI_CLASS(TStringField)
  TStringField() : TField(ftString) {}
  Variant Value() const override;
  void SetValue(const Variant& value) override;
  std::string AsString() const override;
  std::string_view AsStringView(std::string& buffer) const override;
  int64_t AsInteger() const override;
  double AsFloat() const override;
  bool AsBoolean() const override;
  TDateTime AsDateTime() const override;
  void SetAsString(std::string_view text) override;
};

class TNumericField : public TField {
 public:
  VDEI_CLASS(TNumericField)
  bool IsNumericField() const override { return true; }

 protected:
  using TField::TField;
};

class TIntegerField : public TNumericField {
 public:
  VDEI_CLASS(TIntegerField)
  TIntegerField() : TIntegerField(ftInteger, INT32_MIN, INT32_MAX) {}
  int64_t MinValue() const { return minValue_; }
  int64_t MaxValue() const { return maxValue_; }

  Variant Value() const override;
  void SetValue(const Variant& value) override;
  std::string AsString() const override;
  int64_t AsInteger() const override;
  double AsFloat() const override;
  bool AsBoolean() const override;
  TDateTime AsDateTime() const override { return AsFloat(); }
  void SetAsString(std::string_view text) override;
  void SetAsInteger(int64_t value) override;
  void SetAsFloat(double value) override;  // rounded to the nearest integer

 protected:
  TIntegerField(TFieldType type, int64_t minValue, int64_t maxValue);

 private:
  int64_t minValue_;
  int64_t maxValue_;
};

class TSmallintField : public TIntegerField {
 public:
  VDEI_CLASS(TSmallintField)
  TSmallintField() : TIntegerField(ftSmallint, -32768, 32767) {}
};

class TWordField : public TIntegerField {
 public:
  VDEI_CLASS(TWordField)
  TWordField() : TIntegerField(ftWord, 0, 65535) {}
};

class TAutoIncField : public TIntegerField {
 public:
  VDEI_CLASS(TAutoIncField)
  TAutoIncField() : TIntegerField(ftAutoInc, INT32_MIN, INT32_MAX) {}
};

class TFloatField : public TNumericField {
 public:
  VDEI_CLASS(TFloatField)
  TFloatField() : TFloatField(ftFloat) {}
  bool IsFloatField() const override { return true; }
  // Significant digits of the display text (15 by default; the plain text
  // always has 15).
  int Precision() const { return precision_; }
  void SetPrecision(int precision) { precision_ = precision; }

  Variant Value() const override;
  void SetValue(const Variant& value) override;
  std::string AsString() const override;
  int64_t AsInteger() const override;  // rounded, half away from zero
  double AsFloat() const override;
  bool AsBoolean() const override;
  TDateTime AsDateTime() const override { return AsFloat(); }
  void SetAsString(std::string_view text) override;
  void SetAsFloat(double value) override;

 protected:
  explicit TFloatField(TFieldType type) : TNumericField(type) {}
  std::string FormatDisplayText() const override;

 private:
  int precision_ = 15;
};

class TCurrencyField : public TFloatField {
 public:
  VDEI_CLASS(TCurrencyField)
  TCurrencyField() : TFloatField(ftCurrency) {}
  Variant Value() const override;  // a Currency variant

 protected:
  std::string FormatDisplayText() const override;  // FormatCurrency
};

// A packed decimal held as its exact text ("-123.45", "9007199254740993"):
// no digit is lost, whatever the size. Texts use the current decimal
// separator.
class TBCDField : public TNumericField {
 public:
  VDEI_CLASS(TBCDField)
  TBCDField() : TNumericField(ftBCD) {}
  Variant Value() const override;
  void SetValue(const Variant& value) override;
  std::string AsString() const override;
  int64_t AsInteger() const override;
  double AsFloat() const override;
  bool AsBoolean() const override { return AsFloat() != 0; }
  TDateTime AsDateTime() const override { return AsFloat(); }
  // A decimal text with '.' or the current decimal separator.
  void SetAsString(std::string_view text) override;
  void SetAsInteger(int64_t value) override;
  void SetAsFloat(double value) override;
};

class TBooleanField : public TField {
 public:
  VDEI_CLASS(TBooleanField)
  TBooleanField() : TField(ftBoolean) {}
  Variant Value() const override;
  void SetValue(const Variant& value) override;
  std::string AsString() const override;  // "True" / "False", null ""
  int64_t AsInteger() const override;     // -1 / 0, as variants convert
  double AsFloat() const override { return static_cast<double>(AsInteger()); }
  bool AsBoolean() const override;
  // "True"/"False"/"T"/"F"/"Yes"/"No"/"Y"/"N" in any case, or a number;
  // else "'%s' is not a valid boolean value for field '%s'".
  void SetAsString(std::string_view text) override;
  void SetAsBoolean(bool value) override;
};

class TDateTimeField : public TField {
 public:
  VDEI_CLASS(TDateTimeField)
  TDateTimeField() : TDateTimeField(ftDateTime) {}
  bool IsDateTimeField() const override { return true; }
  Variant Value() const override;  // a DateTime variant
  void SetValue(const Variant& value) override;
  std::string AsString() const override;
  int64_t AsInteger() const override;
  double AsFloat() const override { return AsDateTime(); }
  TDateTime AsDateTime() const override;
  // Read by StrToDateTime (StrToDate / StrToTime for the subclasses).
  void SetAsString(std::string_view text) override;
  void SetAsDateTime(TDateTime value) override;

 protected:
  explicit TDateTimeField(TFieldType type) : TField(type) {}
};

class TDateField : public TDateTimeField {
 public:
  VDEI_CLASS(TDateField)
  TDateField() : TDateTimeField(ftDate) {}
  void SetAsDateTime(TDateTime value) override;  // keeps the date part
};

class TTimeField : public TDateTimeField {
 public:
  VDEI_CLASS(TTimeField)
  TTimeField() : TDateTimeField(ftTime) {}
  void SetAsDateTime(TDateTime value) override;  // keeps the time part
};

// Raw bytes read and written as byte strings; AsString is the bytes.
class TBinaryField : public TField {
 public:
  VDEI_CLASS(TBinaryField)
  Variant Value() const override;
  void SetValue(const Variant& value) override;
  std::string AsString() const override;
  std::string_view AsStringView(std::string& buffer) const override;
  void SetAsString(std::string_view bytes) override;

 protected:
  using TField::TField;
};

class TBytesField : public TBinaryField {
 public:
  VDEI_CLASS(TBytesField)
  TBytesField() : TBinaryField(ftBytes) {}
};

class TVarBytesField : public TBinaryField {
 public:
  VDEI_CLASS(TVarBytesField)
  TVarBytesField() : TBinaryField(ftVarBytes) {}
};

// Large objects. AsString and the display text are the content (bytes for
// blobs and pictures, text for memos); there is no size limit.
class TBlobField : public TBinaryField {
 public:
  VDEI_CLASS(TBlobField)
  TBlobField() : TBlobField(ftBlob) {}
  explicit TBlobField(TFieldType blobType) : TBinaryField(blobType) {}
  bool IsBlobField() const override { return true; }
  TBlobType BlobType() const { return DataType(); }
  bool IsGraphic() const { return DataType() == ftGraphic; }
  // The content's length in bytes (0 when null).
  int64_t BlobSize() const;
};

class TMemoField : public TBlobField {
 public:
  VDEI_CLASS(TMemoField)
  explicit TMemoField(TFieldType type = ftMemo) : TBlobField(type) {}
};

class TGraphicField : public TBlobField {
 public:
  VDEI_CLASS(TGraphicField)
  TGraphicField() : TBlobField(ftGraphic) {}
};

// The field class for a type; EDatabaseError "Field type %s is not
// supported" for ftUnknown and ftCursor.
std::unique_ptr<TField> CreateField(TFieldType type);

// "ftString", "ftInteger", ... (the enumeration's names by ordinal).
const char* FieldTypeName(TFieldType type);

}  // namespace Vdei
