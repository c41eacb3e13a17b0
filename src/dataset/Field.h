// TField: one typed, named column of a dataset, read and written on the
// dataset's current record.
//
// A field belongs to at most one dataset (which creates, owns and destroys
// it); a field outside a dataset reads as null and cannot be written.
// Readings look at the current record at the time of the call: the record
// under the cursor in browse state, the record being edited in edit or
// insert state. Nothing is cached, so texts always follow the process
// regional settings of the moment (an export swaps separators during its
// run and the texts show it).
//
// Readings of a null field: AsString "", AsInteger 0, AsFloat 0,
// AsBoolean false, AsDateTime 0, Value Null. Readings that do not convert
// raise EConvertError naming the field ("'abc' is not a valid integer
// value for field 'CustNo'").
//
// Writes (SetValue, SetAsString, ..., Clear) need the dataset in edit or
// insert state (EDatabaseError "Dataset not in edit or insert mode") and a
// field that is not ReadOnly (EDatabaseError "Field '%s' cannot be
// modified"); a value that does not fit raises EConvertError with the
// texts of the failure table, e.g. "'x' is not a valid floating point value
// for field '%s'" or "%g is not a valid value for field '%s'. The allowed
// range is %g to %g".
//
// Text and DisplayText call OnGetText when it is set (with DisplayText
// false / true); otherwise Text is the plain text (AsString) and
// DisplayText the field's display formatting (currency format for currency
// fields, otherwise the plain text).
//
// The concrete field classes are in Fields.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/DateTime.h"
#include "core/Graphics.h"
#include "core/Object.h"
#include "core/Variant.h"
#include "dataset/FieldType.h"

namespace Vdei {

class TDataSet;
class TField;

using TFieldGetTextEvent = std::function<void(TField* Sender, std::string& Text, bool DisplayText)>;

class TField : public TPersistent {
 public:
  VDEI_CLASS(TField)
  explicit TField(TFieldType dataType);
  ~TField() override;
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  // The dataset that owns the field, nullptr when it has none.
  TDataSet* DataSet() const { return dataSet_; }
  // Position in the dataset's field list, from 0; -1 outside a dataset.
  int Index() const { return index_; }

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string name);
  // The caption; reads as FieldName while none was set.
  const std::string& DisplayLabel() const;
  void SetDisplayLabel(std::string label) { displayLabel_ = std::move(label); }
  // Characters a grid shows; defaults by type (see DefaultDisplayWidth).
  int DisplayWidth() const;
  void SetDisplayWidth(int width) { displayWidth_ = width; }
  TFieldType DataType() const { return dataType_; }
  // Maximum characters of a string field (bytes of a bytes field); 0 for
  // fixed-size types.
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  // Class tests, also available as C++ type tests (Is<TFloatField>() ...):
  // float fields are TFloatField and its subclass TCurrencyField; numeric
  // fields are the integer fields, float fields and TBCDField; date-time
  // fields are TDateTimeField and its subclasses TDateField, TTimeField;
  // blob fields are TBlobField and its subclasses TMemoField, TGraphicField.
  virtual bool IsFloatField() const { return false; }
  virtual bool IsNumericField() const { return false; }
  virtual bool IsDateTimeField() const { return false; }
  virtual bool IsBlobField() const { return false; }

  bool IsNull() const;
  // Null when null; otherwise a variant of the field's kind: Integer for
  // the integer types, Float, Currency, DateTime, Boolean, String (string,
  // memo and blob fields); a BCD field gives Integer for a whole number
  // that fits 64 bits, else Float.
  virtual Variant Value() const = 0;
  // Null or Empty clears; other kinds are converted to the field's type.
  virtual void SetValue(const Variant& value) = 0;

  virtual std::string AsString() const = 0;
  virtual int64_t AsInteger() const;
  virtual double AsFloat() const;
  virtual bool AsBoolean() const;
  virtual TDateTime AsDateTime() const;
  double AsCurrency() const { return AsFloat(); }

  // The plain text without a copy where the field holds text: string,
  // memo and blob fields return a view of the stored bytes, valid until
  // that record is changed (a posted edit of it) or deleted, or the
  // dataset is closed or emptied; a walk over records that nobody changes
  // may keep every view it took (RecordStore.h). A view of the record
  // being edited lasts until the field is written again or the edit ends.
  // Other fields write their text into buffer and return a view of it.
  // Null gives an empty view.
  virtual std::string_view AsStringView(std::string& buffer) const;

  virtual void SetAsString(std::string_view text);
  virtual void SetAsInteger(int64_t value);
  virtual void SetAsFloat(double value);
  virtual void SetAsBoolean(bool value);
  virtual void SetAsDateTime(TDateTime value);
  void SetAsCurrency(double value) { SetAsFloat(value); }
  // Makes the field null.
  void Clear();

  // The edit text and the display text; see the header comment.
  std::string Text() const;
  std::string DisplayText() const;

  TFieldGetTextEvent OnGetText;

  // The default display width of a field type: Size for strings, 6 for
  // ftSmallint, 11 for ftInteger and ftAutoInc, 5 for ftWord and
  // ftBoolean, 18 for ftDateTime, 10 for every other type.
  static int DefaultDisplayWidth(TFieldType type, int size);
  // Right-justified for the numeric types, left for the rest.
  static TAlignment DefaultAlignment(TFieldType type);

 protected:
  // The display formatting used by DisplayText without OnGetText.
  virtual std::string FormatDisplayText() const { return AsString(); }

  // Raw access to the current record's slot of this field (see
  // RecordStore.h for the slot layouts). Reads return false for null (and
  // for a field without a current record).
  bool ReadInt(int64_t& value) const;
  bool ReadDouble(double& value) const;
  bool ReadText(std::string_view& value) const;
  // Writes check the state and ReadOnly, store, and tell the dataset.
  void WriteInt(int64_t value);
  void WriteDouble(double value);
  void WriteText(std::string_view value);
  void WriteNull();

  // EConvertError "'%s' is not a valid <what> value for field '%s'".
  [[noreturn]] void ThrowInvalidText(std::string_view text, const char* what) const;
  // EConvertError for a value outside [low, high].
  [[noreturn]] void ThrowRange(double value, double low, double high) const;
  // EDatabaseError "Cannot access field '%s' as type %s".
  [[noreturn]] void ThrowAccess(const char* typeName) const;

 private:
  friend class TDataSet;
  void CheckWritable() const;

  TDataSet* dataSet_ = nullptr;
  int index_ = -1;
  TFieldType dataType_;
  std::string fieldName_;
  std::string displayLabel_;
  int displayWidth_ = -1;  // -1: the default of the type
  int size_ = 0;
  TAlignment alignment_;
  bool visible_ = true;
  bool required_ = false;
  bool readOnly_ = false;
};

}  // namespace Vdei
