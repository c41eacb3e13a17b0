// Reading database values into a RecordStore, typed by their columns.
#include <algorithm>
#include <cmath>

#include "core/NumberFormat.h"
#include "core/StrUtils.h"
#include "dataset/SqlBackend.h"
#include "dataset/ValueText.h"

namespace Vdei {

namespace {

bool IsIntegerType(TFieldType type) {
  return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc;
}

bool IsTextType(TFieldType type) {
  return type == ftString || type == ftMemo || type == ftFmtMemo;
}

bool IsDateType(TFieldType type) {
  return type == ftDate || type == ftTime || type == ftDateTime;
}

bool ParseBoolean(std::string_view text, bool& value) {
  text = Trim(text);
  for (const char* word : {"1", "t", "true", "y", "yes"})
    if (SameText(text, word)) return value = true, true;
  for (const char* word : {"0", "f", "false", "n", "no"})
    if (SameText(text, word)) return value = false, true;
  return false;
}

const char* DateWhat(TFieldType type) {
  return type == ftDate ? "date" : type == ftTime ? "time" : "date and time";
}

}  // namespace

void ResultBuilder::Start(std::vector<ResultColumn> columns) {
  store_.Reset(static_cast<int>(columns.size()));
  Continue(std::move(columns));
  if (sink_ == nullptr || batchRows_ == 0) return;
  streaming_ = std::all_of(columns_.begin(), columns_.end(), [](const ResultColumn& c) {
    return c.Type != ftUnknown && !c.SizeFromData;
  });
  if (!streaming_) return;
  std::vector<int> textFields;
  for (size_t i = 0; i < columns_.size(); ++i)
    if (StoresText(columns_[i].Type)) textFields.push_back(static_cast<int>(i));
  store_.SetTextFields(std::move(textFields));
  sink_->ColumnsKnown(FinalColumns());
}

void ResultBuilder::DropOpenRow() {
  if (rowOpen_ && store_.Count() > 0) store_.Erase(store_.Order().Last());
  rowOpen_ = false;
}

void ResultBuilder::Continue(std::vector<ResultColumn> columns) {
  columns_ = std::move(columns);
  longest_.assign(columns_.size(), 0);
}

void ResultBuilder::SetSlot(int column, RecordWord value) {
  store_.Layout().SetSlot(row_, column, value);
  RecordLayout::SetNull(row_, column, false);
}

void ResultBuilder::SetArenaText(int column, std::string_view text) {
  longest_[column] = std::max(longest_[column], text.size());
  SetSlot(column, store_.Arena().AddCompact(text));
}

void ResultBuilder::ResolveType(int column, TFieldType type) {
  ResultColumn& c = columns_[column];
  if (c.Type != ftUnknown) return;
  c.Type = type;
  c.SizeFromData = type == ftString;
}

void ResultBuilder::SetInteger(int column, int64_t value) {
  ResolveType(column, ftInteger);
  const TFieldType type = columns_[column].Type;
  if (IsIntegerType(type)) return SetSlot(column, static_cast<RecordWord>(value));
  if (type == ftBoolean) return SetSlot(column, value != 0);
  if (type == ftFloat || type == ftCurrency)
    return SetSlot(column, DoubleBits(static_cast<double>(value)));
  if (IsDateType(type))
    ThrowInvalidFieldText(IntToStr(value), DateWhat(type), columns_[column].Name);
  SetArenaText(column, IntToStr(value));
}

void ResultBuilder::SetFloat(int column, double value) {
  ResolveType(column, ftFloat);
  const ResultColumn& c = columns_[column];
  if (c.Type == ftFloat || c.Type == ftCurrency) return SetSlot(column, DoubleBits(value));
  const std::string text = FloatToStr(value, '.');
  if (IsIntegerType(c.Type)) {
    if (value != std::trunc(value) || std::fabs(value) >= 9.2233720368547758e18)
      ThrowInvalidFieldText(text, "integer", c.Name);
    return SetSlot(column, static_cast<RecordWord>(static_cast<int64_t>(value)));
  }
  if (c.Type == ftBoolean) return SetSlot(column, value != 0);
  if (IsDateType(c.Type)) ThrowInvalidFieldText(text, DateWhat(c.Type), c.Name);
  if (c.Type == ftBCD) {
    std::string canonical;
    if (!CanonicalDecimal(text, '.', canonical)) ThrowInvalidFieldText(text, "BCD", c.Name);
    return SetArenaText(column, canonical);
  }
  SetArenaText(column, text);
}

void ResultBuilder::SetText(int column, std::string_view text) {
  ResolveType(column, ftString);
  const ResultColumn& c = columns_[column];
  switch (c.Type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: {
      int64_t value;
      if (!TryStrToInt64(text, value)) ThrowInvalidFieldText(text, "integer", c.Name);
      return SetSlot(column, static_cast<RecordWord>(value));
    }
    case ftBoolean: {
      bool value;
      if (!ParseBoolean(text, value)) ThrowInvalidFieldText(text, "boolean", c.Name);
      return SetSlot(column, value);
    }
    case ftFloat:
    case ftCurrency: {
      double value;
      if (!TryStrToFloat(text, value, '.')) ThrowInvalidFieldText(text, "floating point", c.Name);
      return SetSlot(column, DoubleBits(value));
    }
    case ftBCD: {
      std::string canonical;
      if (!CanonicalDecimal(text, '.', canonical)) ThrowInvalidFieldText(text, "BCD", c.Name);
      return SetArenaText(column, canonical);
    }
    case ftDate:
    case ftTime:
    case ftDateTime: {
      TDateTime value;
      bool hasDate, hasTime;
      if (!TryParseIsoDateTime(text, value, hasDate, hasTime) || (c.Type == ftTime && !hasTime) ||
          (c.Type != ftTime && !hasDate))
        ThrowInvalidFieldText(text, DateWhat(c.Type), c.Name);
      if (c.Type == ftDate) value = DateOf(value);
      if (c.Type == ftTime) value = TimeOf(value);
      return SetSlot(column, DoubleBits(value));
    }
    default:
      if (IsTextType(c.Type) && !IsAscii(text))
        return SetArenaText(column, DatabaseTextToAnsi(text));
      return SetArenaText(column, text);
  }
}

void ResultBuilder::SetBytes(int column, std::string_view bytes) {
  ResolveType(column, ftBlob);
  if (IsTextType(columns_[column].Type) || columns_[column].Type == ftBlob ||
      columns_[column].Type == ftGraphic || columns_[column].Type == ftBytes ||
      columns_[column].Type == ftVarBytes)
    return SetArenaText(column, bytes);
  SetText(column, bytes);
}

std::vector<ResultColumn> ResultBuilder::FinalColumns() const {
  std::vector<ResultColumn> columns = columns_;
  for (size_t i = 0; i < columns.size(); ++i) {
    ResultColumn& c = columns[i];
    if (c.Type == ftUnknown) {
      c.Type = ftString;
      c.SizeFromData = true;
    }
    if (c.SizeFromData) c.Size = static_cast<int>(std::max<size_t>(longest_[i], 1));
    c.SizeFromData = false;
  }
  return columns;
}

void ResultBuilder::WriteFieldDefs(const std::vector<ResultColumn>& columns, TFieldDefs& defs) {
  defs.Clear();
  for (const ResultColumn& c : columns) {
    std::string name = c.Name;
    for (int n = 1; defs.IndexOf(name) >= 0; ++n) name = c.Name + "_" + IntToStr(n);
    defs.Add(std::move(name), c.Type, c.Size, c.Required);
  }
}

}  // namespace Vdei
